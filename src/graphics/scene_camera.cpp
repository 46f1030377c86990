// The 3D engine's frame: entering and leaving 3D, the camera, transform levels, culling, fog,
// and conversions between scene and screen coordinates.
#include "graphics/scene.h"
#include "graphics/scene_engine.h"
#include "runtime/numbers.h"

#include <cmath>
#include <cstring>

Zivevidu3D scene(gfx);

namespace {

constexpr double kPi = 3.14159265358979323846;

void normalise(float v[3]) {
    float len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (len == 0) return;
    for (int a = 0; a < 3; ++a)
        v[a] /= len;
}

void cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

void multiply(const float a[16], const float b[16], float out[16]) {
    float r[16];
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row) {
            float s = 0;
            for (int k = 0; k < 4; ++k)
                s += a[k * 4 + row] * b[c * 4 + k];
            r[c * 4 + row] = s;
        }
    std::memcpy(out, r, sizeof r);
}

void rotation_matrix(float angle, float x, float y, float z, float m[16]) {
    float len = std::sqrt(x * x + y * y + z * z);
    std::memset(m, 0, 16 * sizeof(float));
    m[0] = m[5] = m[10] = m[15] = 1;
    if (len == 0) return;
    x /= len;
    y /= len;
    z /= len;
    double rad = double(angle) * kPi / 180.0;
    float c = float(std::cos(rad)), s = float(std::sin(rad)), t = 1 - c;
    m[0] = x * x * t + c;
    m[1] = y * x * t + z * s;
    m[2] = x * z * t - y * s;
    m[4] = x * y * t - z * s;
    m[5] = y * y * t + c;
    m[6] = y * z * t + x * s;
    m[8] = x * z * t + y * s;
    m[9] = y * z * t - x * s;
    m[10] = z * z * t + c;
}

TransformLevel& current_level() {
    return scene.levels[size_t(scene.transform_level)];
}

// Clip coordinates of a scene point under the camera and the projection.
bool project(const float p[3], double out[3]) {
    float eye[3], clip[4];
    transform_point(scene.camera_matrix, p, eye);
    float proj[16];
    std::memcpy(proj, scene.projection, sizeof proj);
    for (int r = 0; r < 4; ++r)
        clip[r] = proj[r] * eye[0] + proj[4 + r] * eye[1] + proj[8 + r] * eye[2] + proj[12 + r];
    if (clip[3] == 0) return false;
    for (int a = 0; a < 3; ++a)
        out[a] = double(clip[a]) / double(clip[3]);
    return true;
}

} // namespace

void transform_point(const float m[16], const float p[3], float out[3]) {
    float r[3];
    for (int row = 0; row < 3; ++row)
        r[row] = m[row] * p[0] + m[4 + row] * p[1] + m[8 + row] * p[2] + m[12 + row];
    std::memcpy(out, r, sizeof r);
}

bool invert_matrix(const float m[16], float out[16]) {
    double inv[16], a[16];
    for (int i = 0; i < 16; ++i)
        a[i] = m[i];
    inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] +
             a[9] * a[7] * a[14] + a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
    inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] -
             a[8] * a[7] * a[14] - a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
    inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] +
             a[8] * a[7] * a[13] + a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
    inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] -
              a[8] * a[6] * a[13] - a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
    inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] -
             a[9] * a[3] * a[14] - a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
    inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] +
             a[8] * a[3] * a[14] + a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
    inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] -
             a[8] * a[3] * a[13] - a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
    inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] +
              a[8] * a[2] * a[13] + a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
    inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] + a[5] * a[3] * a[14] +
             a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
    inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] -
             a[4] * a[3] * a[14] - a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
    inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] +
              a[4] * a[3] * a[13] + a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
    inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] -
              a[4] * a[2] * a[13] - a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
    inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] -
             a[5] * a[3] * a[10] - a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
    inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] + a[4] * a[3] * a[10] +
             a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
    inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] - a[4] * a[3] * a[9] -
              a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
    inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] + a[4] * a[2] * a[9] +
              a[8] * a[1] * a[6] - a[8] * a[2] * a[5];
    double det = a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
    if (det == 0 || !std::isfinite(det)) return false;
    for (int i = 0; i < 16; ++i)
        out[i] = float(inv[i] / det);
    return true;
}

void placement_matrix(float m[16]) {
    static const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    std::memcpy(m, identity, sizeof identity);
    for (int l = 0; l <= scene.transform_level; ++l) {
        const TransformLevel& level = scene.levels[size_t(l)];
        float t[16];
        std::memcpy(t, identity, sizeof t);
        t[12] = level.translation[0];
        t[13] = level.translation[1];
        t[14] = level.translation[2];
        multiply(m, t, m);
        for (int r = level.rotation_count - 1; r >= 0; --r) {
            const Rotation& rot = level.rotations[r];
            rotation_matrix(rot.angle, rot.x, rot.y, rot.z, t);
            multiply(m, t, m);
        }
        std::memcpy(t, identity, sizeof t);
        t[0] = level.scale[0];
        t[5] = level.scale[1];
        t[10] = level.scale[2];
        multiply(m, t, m);
    }
}

FrameBlend choose_frames(int a, int b, double t, bool animate, int frame_count) {
    // Frame numbers are worked out in 64 bits and clamped at the end, so the whole int range
    // of the game's frame numbers is safe.
    int64_t first = a, second = a;
    float w = 0;
    if (animate) {
        if (t > 1 || t < 0) t = std::fabs(std::fmod(t, 1.0));
        double f = (double(b) - double(a)) * t + a;
        int64_t i = to_int32(f);
        if (a < b) {
            first = i;
            second = i + 1;
            w = float(1 - (f - double(i)));
        } else if (b < a) {
            first = i + 1;
            second = i;
            w = float(f - double(i));
        }
    } else {
        first = b;
        second = a;
        w = float(t);
    }
    auto clamp = [&](int64_t f) { return f < 0 ? 0 : f >= frame_count ? frame_count - 1 : int(f); };
    return {clamp(first), clamp(second), w};
}

bool sphere_in_view(const float c[3], float r, const float eye[3], const float target[3],
                    float cull_tangent) {
    float d[3] = {target[0] - eye[0], target[1] - eye[1], target[2] - eye[2]};
    normalise(d);
    float v[3] = {c[0] - eye[0], c[1] - eye[1], c[2] - eye[2]};
    float p = d[0] * v[0] + d[1] * v[1] + d[2] * v[2];
    if (p >= 0) {
        float off[3] = {v[0] - p * d[0], v[1] - p * d[1], v[2] - p * d[2]};
        float off2 = off[0] * off[0] + off[1] * off[1] + off[2] * off[2];
        float cone = std::fabs(p) * cull_tangent * 1.05f;
        return off2 < cone * cone + r * r;
    }
    return v[0] * v[0] + v[1] * v[1] + v[2] * v[2] <= r * r;
}

bool sphere_outside_frustum(const float place[16], const float c[3], float r) {
    if (!std::isfinite(c[0]) || !std::isfinite(c[1]) || !std::isfinite(c[2]) || !std::isfinite(r))
        return false;
    // The clip matrix into model space, in double: projection x camera x placement.
    double pc[16], m[16];
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += double(scene.projection[k * 4 + row]) * scene.camera_matrix[col * 4 + k];
            pc[col * 4 + row] = sum;
        }
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += pc[k * 4 + row] * double(place[col * 4 + k]);
            m[col * 4 + row] = sum;
        }
    // The six planes w + x, w - x, w + y, w - y, w + z, w - z, each a model-space plane.
    for (int axis = 0; axis < 3; ++axis)
        for (double sign : {1.0, -1.0}) {
            double p[4], size = 0;
            for (int k = 0; k < 4; ++k)
                p[k] = m[k * 4 + 3] + sign * m[k * 4 + axis];
            const double at = p[0] * c[0] + p[1] * c[1] + p[2] * c[2] + p[3];
            const double length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
            for (int k = 0; k < 3; ++k)
                size += std::fabs(p[k]) * std::fabs(c[k]);
            size += std::fabs(p[3]) + length * r;
            if (!std::isfinite(at) || !std::isfinite(size)) return false;
            if (at + length * r < -1e-4 * size) return true;
        }
    return false;
}

double sphere_may_show(double x, double y, double z, double r) {
    if (scene.device.no_draw) return 0;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z) || !(r < HUGE_VAL)) return 1;
    // sphere_in_view passes a sphere only when its centre lies within its radius of the view
    // cone (apex at the eye, half-angle atan(1.05 * cull_tangent)); a sphere holding it must
    // then come within its own radius of the cone too.
    double d[3] = {double(scene.target[0]) - scene.eye[0], double(scene.target[1]) - scene.eye[1],
                   double(scene.target[2]) - scene.eye[2]};
    const double dl = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (!(dl > 0)) return 1;
    const double v[3] = {x - scene.eye[0], y - scene.eye[1], z - scene.eye[2]};
    const double p = (d[0] * v[0] + d[1] * v[1] + d[2] * v[2]) / dl;
    const double vv = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
    const double off = std::sqrt(std::fmax(vv - p * p, 0.0));
    const double k = double(scene.cull_tangent) * 1.05;
    const double cos_a = 1 / std::sqrt(1 + k * k), sin_a = k * cos_a;
    double distance = 0;
    if (off > k * p) {
        // Outside the cone: to its nearest side line, or to the apex behind it.
        distance = p * cos_a + off * sin_a <= 0 ? std::sqrt(vv) : off * cos_a - p * sin_a;
    }
    // Room for the float arithmetic of the per-object test.
    const double slack = 0.01 + 1e-4 * (std::sqrt(vv) + r);
    return distance <= r + slack ? 1 : 0;
}

void begin_3d(double near_distance, double far_distance, double fov) {
    flush_outlines();
    finish_shadow_pass();
    scene.in_3d = true;
    scene.near_distance = float(near_distance);
    scene.far_distance = float(far_distance);
    double cone = fov + 5 <= 89 ? fov + 5 : 89;
    scene.cull_tangent = float(std::tan(cone * kPi / 180.0));

    // The 2D viewport of the device, in OpenGL's bottom-up window coordinates.
    const OpenGLZivevidu& d = scene.device;
    int* vp = scene.viewport;
    vp[0] = d.viewport_x;
    vp[1] = d.screen_height - d.viewport_y - d.viewport_height;
    vp[2] = d.viewport_width;
    vp[3] = d.viewport_height;
    glViewport(vp[0], vp[1], vp[2], vp[3]);
    double aspect = vp[3] > 0 ? double(vp[2]) / vp[3] : 1.0;

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    double h;
    if (fov > 0) {
        h = std::tan(fov * kPi / 360.0) * near_distance;
        glFrustum(-h * aspect, h * aspect, -h, h, near_distance, far_distance);
    } else {
        h = std::tan(-fov * kPi / 360.0) * near_distance * 100;
        glOrtho(-h * aspect, h * aspect, -h, h, near_distance, far_distance);
        scene.cull_tangent = float(std::tan(89 * kPi / 180.0));
    }
    // The same arguments make the same matrix: it is read back only when they change.
    const double key[5] = {fov > 0 ? 1.0 : -1.0, h, aspect, near_distance, far_distance};
    if (!scene.projection_known || std::memcmp(key, scene.projection_key, sizeof key) != 0) {
        glGetFloatv(GL_PROJECTION_MATRIX, scene.projection);
        std::memcpy(scene.projection_key, key, sizeof key);
        scene.projection_known = true;
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    scene.device.load_identity_modelview();
    std::memcpy(scene.camera_matrix, scene.device.modelview, sizeof scene.camera_matrix);

    glBindTexture(GL_TEXTURE_2D, 0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 1);
    glDisable(GL_FOG);
    scene.device.linear_fog = false;
    glDisable(GL_POLYGON_SMOOTH);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_NORMALIZE);
    glDisable(GL_LIGHTING);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DITHER);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    set_culling(0);
    scene.texture_offset[0] = scene.texture_offset[1] = 0;
    scene.sphere_mapping = 0;
    scene.fade_keeps_colour = 0;
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    scene.shade_on = 0;
    scene.up[0] = 0;
    scene.up[1] = 1;
    scene.up[2] = 0;
    scene.transform_level = 0;
}

void end_3d() {
    flush_outlines();
    finish_shadow_pass();
    scene.in_3d = false;
    set_viewport(0, 0, 0, 0);
}

void set_camera_up(double x, double y, double z) {
    scene.up[0] = float(x);
    scene.up[1] = float(y);
    scene.up[2] = float(z);
}

void set_camera(double ex, double ey, double ez, double tx, double ty, double tz) {
    float eye[3] = {float(ex), float(ey), float(ez)};
    float target[3] = {float(tx), float(ty), float(tz)};
    std::memcpy(scene.eye, eye, sizeof eye);
    std::memcpy(scene.target, target, sizeof target);
    float z[3] = {eye[0] - target[0], eye[1] - target[1], eye[2] - target[2]}, x[3], y[3];
    normalise(z);
    cross(scene.up, z, x);
    normalise(x);
    cross(z, x, y);
    normalise(y);
    float m[16] = {x[0], y[0], z[0], 0, x[1], y[1], z[1], 0, x[2], y[2], z[2], 0, 0, 0, 0, 1};
    float t[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -eye[0], -eye[1], -eye[2], 1};
    multiply(m, t, scene.camera_matrix);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(scene.camera_matrix);
    std::memcpy(scene.device.modelview, scene.camera_matrix, sizeof scene.camera_matrix);
    scene.levels[0].reset();
    scene.transform_level = 0;
}

void set_translation(double x, double y, double z) {
    TransformLevel& l = current_level();
    l.translation[0] = float(x);
    l.translation[1] = float(y);
    l.translation[2] = float(z);
    l.rotation_count = 0;
}

void set_scaling(double x, double y, double z) {
    TransformLevel& l = current_level();
    l.scale[0] = float(x);
    l.scale[1] = float(y);
    l.scale[2] = float(z);
    l.rotation_count = 0;
}

void add_rotation(double angle, double x, double y, double z) {
    TransformLevel& l = current_level();
    if (l.rotation_count >= kMaxRotations) return;
    l.rotations[l.rotation_count++] = {float(angle), float(x), float(y), float(z)};
}

void push_transform() {
    if (scene.transform_level + 1 >= kTransformLevels) return;
    ++scene.transform_level;
    current_level().reset();
}

void pop_transform() {
    if (scene.transform_level > 0) --scene.transform_level;
}

void set_texture_mode(double mode) {
    scene.texture_mode = to_int32(mode) != 0 ? 1 : 0;
}

void set_culling(double mode) {
    scene.cull_mode = mode < 0 ? -1 : mode > 0 ? 1 : 0;
    if (scene.cull_mode == 0) {
        glDisable(GL_CULL_FACE);
        return;
    }
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(scene.cull_mode < 0 ? GL_CCW : GL_CW);
}

void clear_depth() {
    flush_outlines();
    if (!scene.device.no_draw) glClear(GL_DEPTH_BUFFER_BIT);
}

void set_fog(double colour, double mode, double start, double end) {
    flush_outlines(); // waiting outlines are fogged as they were drawn
    int64_t c = to_int64(colour);
    scene.device.linear_fog = false;
    if (int32_t(c) == -1) {
        glDisable(GL_FOG);
        return;
    }
    GLfloat rgba[4] = {float(c & 0xff) / 255.0f, float((c >> 8) & 0xff) / 255.0f,
                       float((c >> 16) & 0xff) / 255.0f, 0};
    glEnable(GL_FOG);
    glFogfv(GL_FOG_COLOR, rgba);
    if (mode != 0) {
        glFogi(GL_FOG_MODE, GL_EXP);
        glFogf(GL_FOG_DENSITY, float(start));
        return;
    }
    if (start == 0 && end == 0) {
        start = scene.near_distance;
        end = scene.far_distance;
    }
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, float(start));
    glFogf(GL_FOG_END, float(end));
    const float s = float(start), e = float(end);
    scene.device.linear_fog = std::isfinite(s) && std::isfinite(e) && s < e;
    scene.device.fog_end = e;
}

void world_to_screen(double x, double y, double z, double& sx, double& sy, double& sz) {
    float p[3] = {float(x), float(y), float(z)};
    double ndc[3];
    sx = sy = sz = 0;
    if (!project(p, ndc)) return;
    const int* vp = scene.viewport;
    sx = (ndc[0] + 1) * vp[2] * 0.5 + vp[0];
    double gl_y = (ndc[1] + 1) * vp[3] * 0.5 + vp[1];
    sy = scene.device.screen_height - gl_y;
    sz = (ndc[2] + 1) * 0.5;
}

void screen_to_world(double sx, double sy, double sz, double& x, double& y, double& z) {
    const int* vp = scene.viewport;
    x = y = z = 0;
    if (vp[2] <= 0 || vp[3] <= 0) return;
    float ndc[4] = {float((sx - vp[0]) / vp[2] * 2 - 1),
                    float((scene.device.screen_height - sy - vp[1]) / vp[3] * 2 - 1),
                    float(sz * 2 - 1), 1};
    float pc[16], inv[16];
    multiply(scene.projection, scene.camera_matrix, pc);
    if (!invert_matrix(pc, inv)) return;
    float r[4];
    for (int row = 0; row < 4; ++row)
        r[row] = inv[row] * ndc[0] + inv[4 + row] * ndc[1] + inv[8 + row] * ndc[2] + inv[12 + row];
    if (r[3] == 0) return;
    x = r[0] / r[3];
    y = r[1] / r[3];
    z = r[2] / r[3];
}
