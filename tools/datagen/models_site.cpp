// Models of the building site: girders, floor, lift, bolt and remote control.
#include "atlas.h"
#include "models.h"
#include "shapes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace gen {

namespace {

// The I profile of a girder (x across, y down from the walking surface): two flanges as wide
// as the cell, a web between them.
constexpr float kFlange = 0.2f;       // thickness of the flanges
constexpr float kWeb = 0.12f;         // half thickness of the web
constexpr float kDepth = 1.2f;        // total depth
constexpr float kSplice = 0.36f;      // length of a bolt plate at an end
constexpr float kSpliceThick = 0.05f; // its thickness beside the web

// A textured quad: corners in order, each with its (s, t) in the rectangle.
void quad(Mesh& m, const std::array<V3, 4>& c, const TexRect& r,
          const std::array<std::pair<float, float>, 4>& st, V3 outward) {
    std::vector<UV> uv;
    for (auto [u, v] : st)
        uv.push_back(r.at(u, v));
    m.poly({c[0], c[1], c[2], c[3]}, uv, white(), outward);
}

// The beam itself from za to zb: flanges, edges and web (its ends are left open).
void girder_body(Mesh& m, float za, float zb) {
    using namespace girder_tex;
    const float yb = -kDepth + kFlange; // top of the bottom flange
    auto t = [](float z) { return (z + 1) / 2; };
    const float ta = t(za), tb = t(zb);
    // Walking surface: s across, t along the beam.
    quad(m, {V3{-1, 0, za}, {1, 0, za}, {1, 0, zb}, {-1, 0, zb}}, girder_tex::top(),
         {{{0, ta}, {1, ta}, {1, tb}, {0, tb}}}, {0, 1, 0});
    for (float side : {-1.0f, 1.0f}) {
        // Flange edges, lit from above: s along the beam, t down the edge.
        for (auto [y0, y1] : {std::pair{0.0f, -kFlange}, std::pair{yb, -kDepth}})
            quad(m, {V3{side, y0, za}, {side, y0, zb}, {side, y1, zb}, {side, y1, za}},
                 flange_edge(), {{{ta, 0}, {tb, 0}, {tb, 1}, {ta, 1}}}, {side, 0, 0});
        // Under the top flange and on the bottom flange, beside the web.
        quad(m,
             {V3{side * kWeb, -kFlange, za},
              {side, -kFlange, za},
              {side, -kFlange, zb},
              {side * kWeb, -kFlange, zb}},
             under(), {{{0, ta}, {1, ta}, {1, tb}, {0, tb}}}, {0, -1, 0});
        quad(m, {V3{side * kWeb, yb, za}, {side, yb, za}, {side, yb, zb}, {side * kWeb, yb, zb}},
             under(), {{{0, ta}, {1, ta}, {1, tb}, {0, tb}}}, {0, 1, 0});
        // The web: s along the beam, t from the top flange down.
        quad(m,
             {V3{side * kWeb, -kFlange, za},
              {side * kWeb, -kFlange, zb},
              {side * kWeb, yb, zb},
              {side * kWeb, yb, za}},
             web(), {{{ta, 0}, {tb, 0}, {tb, 1}, {ta, 1}}}, {side, 0, 0});
    }
    quad(m, {V3{-1, -kDepth, za}, {1, -kDepth, za}, {1, -kDepth, zb}, {-1, -kDepth, zb}}, bottom(),
         {{{0, ta}, {1, ta}, {1, tb}, {0, tb}}}, {0, -1, 0});
}

// The cut end at z = dir (+1 or -1): the I shape as three rectangles.
void end_cap(Mesh& m, float dir) {
    const TexRect e = girder_tex::end_cap();
    auto st = [](float x, float y) { return std::pair{(x + 1) / 2, -y / kDepth}; };
    auto rect = [&](float xa, float ya, float xb, float yb) {
        quad(m, {V3{xa, ya, dir}, {xb, ya, dir}, {xb, yb, dir}, {xa, yb, dir}}, e,
             {{st(xa, ya), st(xb, ya), st(xb, yb), st(xa, yb)}}, {0, 0, dir});
    };
    const float yb = -kDepth + kFlange;
    rect(-1, 0, 1, -kFlange);
    rect(-kWeb, -kFlange, kWeb, yb);
    rect(-1, yb, 1, -kDepth);
}

// Bolted plates on both sides of the web at the end z = dir. At an open end they bridge the
// joint together with the next piece's plates; at a closed end they are the cleats that
// would bolt the beam to the next one, and their ends show.
void bolt_plates(Mesh& m, float dir, bool closed) {
    using namespace girder_tex;
    const float yb = -kDepth + kFlange, zo = dir, zi = dir * (1 - kSplice);
    const float lo = std::min(zo, zi), hi = std::max(zo, zi);
    // s runs from the plate's inner end to the end of the beam, so both halves of a joint
    // mirror each other.
    const float s_lo = dir > 0 ? 0.0f : 1.0f, s_hi = 1.0f - s_lo;
    for (float side : {-1.0f, 1.0f}) {
        const float x = side * (kWeb + kSpliceThick);
        quad(m, {V3{x, -kFlange, lo}, {x, -kFlange, hi}, {x, yb, hi}, {x, yb, lo}}, splice(),
             {{{s_lo, 0}, {s_hi, 0}, {s_hi, 1}, {s_lo, 1}}}, {side, 0, 0});
        for (float z : closed ? std::vector<float>{zi, zo} : std::vector<float>{zi})
            quad(m,
                 {V3{side * kWeb, -kFlange, z}, {x, -kFlange, z}, {x, yb, z}, {side * kWeb, yb, z}},
                 splice(), {{{0.96f, 0}, {1, 0}, {1, 1}, {0.96f, 1}}},
                 {0, 0, z == zo ? dir : -dir});
    }
}

} // namespace

Mesh girder_model(int kind) {
    // kind 0: one cell, closed at both ends; 1: middle piece, open at both; 2: end piece,
    // closed towards +z.
    Mesh m;
    const bool closed_pos = kind == 0 || kind == 2, closed_neg = kind == 0;
    girder_body(m, -1, 1);
    bolt_plates(m, 1, closed_pos);
    bolt_plates(m, -1, closed_neg);
    if (closed_pos) end_cap(m, 1);
    if (closed_neg) end_cap(m, -1);
    return m;
}

Mesh floor_model() {
    Mesh m;
    // A cast concrete slab: four panels with joints between them, a steel angle round the edge.
    const Colour concrete_a{186, 182, 170}, concrete_b{170, 166, 156}, joint{120, 116, 108};
    const Colour steel{96, 104, 112}, steel_top{150, 158, 166}, side{140, 136, 126},
        under{90, 88, 84};
    const float e = 0.9f, g = 0.04f, h = 0.45f;
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) {
            float xa = i ? g : -e, xb = i ? e : -g, za = j ? g : -e, zb = j ? e : -g;
            m.poly({{xa, 0, za}, {xb, 0, za}, {xb, 0, zb}, {xa, 0, zb}}, {},
                   (i + j) % 2 ? concrete_b : concrete_a, {0, 1, 0});
        }
    // Joints: a cross of dark strips between the panels.
    m.poly({{-g, 0, -e}, {g, 0, -e}, {g, 0, e}, {-g, 0, e}}, {}, joint, {0, 1, 0});
    m.poly({{-e, 0, -g}, {-g, 0, -g}, {-g, 0, g}, {-e, 0, g}}, {}, joint, {0, 1, 0});
    m.poly({{g, 0, -g}, {e, 0, -g}, {e, 0, g}, {g, 0, g}}, {}, joint, {0, 1, 0});
    for (int s = 0; s < 4; ++s) {
        Xform r = rotate_y(90.0f * float(s));
        // Edge angle on top, then the slab's side.
        m.poly({r.apply({e, 0, -e}), r.apply({1, 0, -1}), r.apply({1, 0, 1}), r.apply({e, 0, e})},
               {}, steel_top, r.rotate({0, 1, 0}));
        m.poly({r.apply({1, 0, -1}), r.apply({1, 0, 1}), r.apply({1, -0.15f, 1}),
                r.apply({1, -0.15f, -1})},
               {}, steel, r.rotate({1, 0, 0}));
        m.poly({r.apply({1, -0.15f, -1}), r.apply({1, -0.15f, 1}), r.apply({1, -h, 1}),
                r.apply({1, -h, -1})},
               {}, side, r.rotate({1, 0, 0}));
    }
    m.poly({{-1, -h, -1}, {1, -h, -1}, {1, -h, 1}, {-1, -h, 1}}, {}, under, {0, -1, 0});
    return m;
}

namespace {
// Height of the lift's hook block above the deck.
constexpr float kLiftBlockY = 2.6f;
} // namespace

Mesh lift_model() {
    Mesh m;
    const Colour deck{60, 96, 150}, deck2{48, 80, 130}, yellow{246, 196, 30}, black{34, 34, 38};
    const Colour steel{150, 156, 166}, cable{60, 60, 66}, hook{226, 160, 30}, red{210, 40, 36};
    const float h = 0.3f, b = 0.78f;
    // Deck: checker plate in the middle, hazard stripes around it.
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) {
            float xa = i ? 0 : -b, xb = i ? b : 0, za = j ? 0 : -b, zb = j ? b : 0;
            m.poly({{xa, 0, za}, {xb, 0, za}, {xb, 0, zb}, {xa, 0, zb}}, {},
                   (i + j) % 2 ? deck : deck2, {0, 1, 0});
        }
    const int stripes = 6;
    for (int s = 0; s < 4; ++s) {
        Xform r = rotate_y(90.0f * float(s));
        // The band between the plate (x = b) and the edge (x = 1), cut into slanted stripes.
        for (int k = 0; k < stripes; ++k) {
            float ia = -b + 2 * b * float(k) / stripes, ib = -b + 2 * b * float(k + 1) / stripes;
            float oa = -1 + 2.0f * float(k) / stripes, ob = -1 + 2.0f * float(k + 1) / stripes;
            m.poly({r.apply({b, 0, ia}), r.apply({1, 0, oa}), r.apply({1, 0, ob}),
                    r.apply({b, 0, ib})},
                   {}, k % 2 ? black : yellow, r.rotate({0, 1, 0}));
        }
        m.poly({r.apply({1, 0, -1}), r.apply({1, 0, 1}), r.apply({1, -h, 1}), r.apply({1, -h, -1})},
               {}, yellow, r.rotate({1, 0, 0}));
        // Cable eye at the corner.
        Xform c = r * translate({0.86f, 0, 0.86f});
        box(m, c, {-0.08f, 0, -0.08f}, {0.08f, 0.16f, 0.08f}, steel, {},
            kAllFaces & ~(1u << kNegY));
    }
    m.poly({{-1, -h, -1}, {1, -h, -1}, {1, -h, 1}, {-1, -h, 1}}, {}, black, {0, -1, 0});
    // Four cables up to the hook block. Kept low: seen from the play camera, a taller mast
    // would reach up into the row of the status texts.
    const float block_y = kLiftBlockY;
    const V3 top{0, block_y, 0};
    for (int s = 0; s < 4; ++s) {
        Xform r = rotate_y(90.0f * float(s));
        V3 a = r.apply({0.86f, 0.12f, 0.86f});
        V3 dir = normalized(top - a);
        V3 side1 = normalized(cross(dir, {0, 1, 0})) * 0.035f;
        V3 side2 = normalized(cross(dir, side1)) * 0.035f;
        V3 ring[3] = {side1, side2 * 1.0f - side1 * 0.5f, -side2 - side1 * 0.5f};
        for (int k = 0; k < 3; ++k) {
            V3 p0 = ring[k], p1 = ring[(k + 1) % 3];
            V3 out = normalized(p0 + p1);
            m.poly({a + p0, top + p0 * 0.4f, top + p1 * 0.4f, a + p1}, {}, cable, out);
        }
    }
    // Hook block: a yellow box with a pulley, the hook above it.
    const Colour block_cols[6] = {hook, hook, yellow, black, hook, hook};
    box_coloured(m, translate({0, block_y, 0}), {-0.3f, -0.15f, -0.2f}, {0.3f, 0.55f, 0.2f},
                 block_cols);
    cylinder(m, translate({0, block_y + 0.35f, 0}) * rotate_x(90), 0.24f, 0.24f, -0.24f, 0.24f, 8,
             steel);
    cylinder(m, translate({0, block_y + 0.55f, 0}), 0.06f, 0.06f, 0, 0.5f, 6, steel);
    // The hook: a bent bar of boxes.
    const float hk[][2] = {{0, block_y + 1.1f},
                           {0.18f, block_y + 1.22f},
                           {0.22f, block_y + 1.45f},
                           {0.1f, block_y + 1.6f},
                           {-0.08f, block_y + 1.55f}};
    for (int k = 0; k + 1 < 5; ++k) {
        V3 a{hk[k][0], hk[k][1], 0}, bb{hk[k + 1][0], hk[k + 1][1], 0};
        V3 d = bb - a;
        float len = length(d), ang = std::atan2(d.y, d.x) * 180.0f / 3.14159265f;
        box(m, translate(a) * rotate_z(ang), {-0.05f, -0.06f, -0.06f}, {len + 0.05f, 0.06f, 0.06f},
            k == 0 ? steel : red);
    }
    return m;
}

Mesh bolt_model() {
    using namespace bolt_tex;
    Mesh m;
    // The bolt stands beside the cell's centre, where the worker's wrench reaches it.
    const Xform at = translate({0.55f, 0, 0});
    // Washer, nut, and the end of the thread above it.
    prism(m, at, 0.23f, 0.23f, 0, 0.05f, 6, white(), washer(), top(), false, false, 30);
    prism(m, at, 0.17f, 0.17f, 0.05f, 0.26f, 6, white(), nut_side(), top());
    prism(m, at, 0.09f, 0.08f, 0.26f, 0.48f, 6, white(), thread(), tip(), true, false, 30);
    return m;
}

Mesh remote_model() {
    using namespace remote_tex;
    Mesh m;
    BoxTex body;
    body.face[kPosY] = top();
    for (int f : {kPosX, kNegX, kPosZ, kNegZ})
        body.face[f] = side();
    body.face[kNegY] = bottom();
    // A handset 1.1 long lying flat, keypad up, long side along x.
    box(m, Xform{}, {-0.55f, 0, -0.28f}, {0.55f, 0.16f, 0.28f}, white(), body);
    // Big red button on the keypad.
    lathe(m, translate({-0.05f, 0.16f, 0}),
          {{0, 0.1f}, {0.09f, 0.1f, false}, {0.12f, 0.07f}, {0.12f, 0}}, 8, white(), red());
    // Antenna from the far end, leaning back, with a knob.
    Xform ant = translate({0.45f, 0.12f, 0.18f}) * rotate_z(-20);
    prism(m, ant, 0.025f, 0.02f, 0, 0.45f, 5, white(), metal(), metal(), true);
    lathe(
        m, ant * translate({0, 0.47f, 0}),
        {{0, 0.06f}, {0.045f, 0.04f, true}, {0.06f, 0, true}, {0.045f, -0.04f, true}, {0, -0.06f}},
        6, white(), knob());
    // The scene bobs it by 0.1 when it lies on the lift: raised by that much, it never dips
    // into the deck.
    m.transform(translate({0, 0.1f, 0}));
    return m;
}

} // namespace gen
