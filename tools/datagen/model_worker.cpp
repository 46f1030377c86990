// The worker: a figure in overalls and helmet, posed by joint angles, six frames with the
// same vertices; and the bust of the same figure for the lives display.
#include "atlas.h"
#include "models.h"
#include "shapes.h"

#include <algorithm>
#include <cstdio>

namespace gen {

namespace {

// Joint angles in degrees. Pitch angles turn about z (positive swings a limb forward, +x);
// raise angles turn an arm about x, away from the body for positive values.
struct Pose {
    float hip_height = 2.45f;
    float torso_pitch = 0; // negative leans forward
    float head_pitch = 0;
    float leg_pitch[2] = {0, 0}; // [0] left (-z), [1] right (+z)
    float knee[2] = {0, 0};      // negative bends the shin back
    float ankle[2] = {0, 0};
    float arm_pitch[2] = {0, 0};
    float arm_raise[2] = {8, 8};
    float elbow[2] = {12, 12}; // positive bends the forearm forward
    float wrench_turn = 0;     // the wrench about the right hand's axis
};

// Legs, pelvis, torso, arms, head and helmet. Leaves out legs and most of the arms for the
// bust (the same part builders keep both figures alike).
void build_figure(Mesh& m, const Pose& p, bool bust) {
    using namespace worker_tex;
    const Xform pelvis = translate({0, p.hip_height, 0});
    if (!bust) {
        for (int s = 0; s < 2; ++s) {
            float side = s ? 1.0f : -1.0f;
            Xform hip = pelvis * translate({0, -0.1f, 0.27f * side}) * rotate_z(p.leg_pitch[s]);
            cylinder(m, hip, 0.2f, 0.23f, -1.08f, 0.05f, 8, white(), denim());
            Xform knee = hip * translate({0, -1.05f, 0}) * rotate_z(p.knee[s]);
            cylinder(m, knee, 0.17f, 0.2f, -1.0f, 0.02f, 8, white(), denim());
            Xform ankle = knee * translate({0, -1.0f, 0}) * rotate_z(p.ankle[s]);
            BoxTex boot_tex = BoxTex::all(boot());
            boot_tex.face[kNegY] = sole();
            box(m, ankle, {-0.2f, -0.3f, -0.19f}, {0.45f, 0.08f, 0.19f}, white(), boot_tex);
        }
        BoxTex hip_tex = BoxTex::all(hips());
        box(m, pelvis, {-0.3f, -0.3f, -0.5f}, {0.3f, 0.3f, 0.5f}, white(), hip_tex);
    }
    const Xform torso = pelvis * rotate_z(p.torso_pitch);
    BoxTex torso_tex;
    torso_tex.face[kPosX] = chest();
    torso_tex.face[kNegX] = back();
    torso_tex.face[kPosZ] = torso_side();
    torso_tex.face[kNegZ] = torso_side();
    torso_tex.face[kPosY] = shoulders();
    torso_tex.face[kNegY] = hips();
    box(m, torso, {-0.3f, bust ? 0.9f : 0.2f, -0.56f}, {0.3f, 1.75f, 0.56f}, white(), torso_tex);
    // Head with nose, and the helmet.
    const Xform head = torso * translate({0, 1.75f, 0}) * rotate_z(p.head_pitch);
    BoxTex head_tex;
    head_tex.face[kPosX] = face();
    head_tex.face[kNegX] = head_back();
    head_tex.face[kPosZ] = head_side();
    head_tex.face[kNegZ] = head_side();
    head_tex.face[kNegY] = skin();
    box(m, head, {-0.3f, 0.02f, -0.3f}, {0.3f, 0.72f, 0.3f}, white(), head_tex,
        kAllFaces & ~(1u << kPosY));
    box(m, head, {0.28f, 0.28f, -0.06f}, {0.4f, 0.42f, 0.06f}, white(), BoxTex::all(skin()),
        kAllFaces & ~(1u << kNegX));
    lathe(m, head * translate({0.02f, 0.58f, 0}),
          {{0, 0.42f},
           {0.22f, 0.39f, true},
           {0.36f, 0.28f, true},
           {0.42f, 0.12f},
           {0.42f, 0.04f},
           {0.56f, 0.0f},
           {0.56f, -0.05f},
           {0, -0.05f}},
          10, white(), helmet());
    // Arms.
    for (int s = 0; s < 2; ++s) {
        float side = s ? 1.0f : -1.0f;
        Xform shoulder = torso * translate({0, 1.55f, 0.68f * side}) *
                         rotate_x(-side * p.arm_raise[s]) * rotate_z(p.arm_pitch[s]);
        cylinder(m, shoulder, 0.14f, 0.17f, bust ? -0.5f : -0.85f, 0.12f, 8, white(), sleeve());
        if (bust) continue;
        Xform elbow = shoulder * translate({0, -0.85f, 0}) * rotate_z(p.elbow[s]);
        cylinder(m, elbow, 0.11f, 0.14f, -0.8f, 0.04f, 8, white(), skin());
        Xform wrist = elbow * translate({0, -0.8f, 0});
        box(m, wrist, {-0.13f, -0.3f, -0.1f}, {0.13f, 0.02f, 0.1f}, white(), BoxTex::all(glove()));
        if (s == 1) {
            // Wrench held in the fist, pointing forward.
            Xform w = wrist * translate({0, -0.17f, 0}) * rotate_y(p.wrench_turn);
            box(m, w, {-0.05f, -0.05f, -0.04f}, {0.75f, 0.05f, 0.04f}, white(),
                BoxTex::all(wrench()));
            box(m, w * translate({0.82f, 0, 0}), {-0.1f, -0.07f, -0.16f}, {0.1f, 0.07f, 0.16f},
                white(), BoxTex::all(wrench()));
        }
    }
}

Pose standing() {
    return Pose{};
}

Pose step(bool left_forward) {
    Pose p;
    int f = left_forward ? 0 : 1, b = 1 - f;
    p.hip_height = 2.36f;
    p.leg_pitch[f] = 26;
    p.knee[f] = -6;
    p.ankle[f] = -16;
    p.leg_pitch[b] = -22;
    p.knee[b] = -18;
    p.ankle[b] = 12;
    p.arm_pitch[b] = 28; // the opposite arm swings forward
    p.elbow[b] = 30;
    p.arm_pitch[f] = -24;
    p.elbow[f] = 8;
    p.torso_pitch = -4;
    return p;
}

Pose wrenching(float turn) {
    Pose p;
    p.hip_height = 1.45f;
    for (int s = 0; s < 2; ++s) {
        p.leg_pitch[s] = 70;
        p.knee[s] = -120;
        p.ankle[s] = 50;
    }
    p.leg_pitch[0] = 50;
    p.knee[0] = -95;
    p.ankle[0] = 45;
    p.torso_pitch = -38;
    p.head_pitch = 18;
    p.arm_pitch[1] = 55 + turn * 0.3f;
    p.elbow[1] = -5;
    p.arm_raise[1] = 4;
    p.arm_pitch[0] = 35;
    p.elbow[0] = 30;
    p.arm_raise[0] = 14;
    p.wrench_turn = turn;
    return p;
}

Pose cheering() {
    Pose p;
    for (int s = 0; s < 2; ++s) {
        p.arm_raise[s] = 162;
        p.elbow[s] = 12;
        p.arm_pitch[s] = 10;
    }
    p.head_pitch = 14;
    p.torso_pitch = 4;
    p.leg_pitch[0] = 6;
    p.leg_pitch[1] = -6;
    return p;
}

// The figure in a pose, lifted or lowered so that its lowest point touches the ground.
Mesh posed(const Pose& p) {
    Mesh m;
    build_figure(m, p, false);
    float low = 1e9f;
    for (const auto& v : m.vertices())
        low = std::min(low, v.first.y);
    m.transform(translate({0, -low, 0}));
    return m;
}

} // namespace

Mesh worker_model() {
    // Frames: 0 left foot forward, 1 standing, 2 right foot forward, 3 and 4 turning the
    // wrench at his feet, 5 cheering on the ride.
    Mesh m = posed(step(true));
    const Pose rest[] = {standing(), step(false), wrenching(-35), wrenching(35), cheering()};
    for (const Pose& p : rest)
        if (!m.add_frame(posed(p))) std::fprintf(stderr, "datagen: worker frames differ\n");
    return m;
}

Mesh lives_model() {
    Mesh m;
    Pose p;
    p.arm_raise[0] = p.arm_raise[1] = 20;
    build_figure(m, p, true);
    // Seen from the status row's viewpoint: the bust faces (-x, +z); raised to sit above its
    // label.
    m.transform(rotate_y(-135) * scaling(1.4f) * translate({0, -3.2f, 0}));
    return m;
}

} // namespace gen
