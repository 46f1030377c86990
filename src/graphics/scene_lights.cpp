// Lights: the eight OpenGL lights, the special light (cel shading with its ramp textures, and
// the stencil shadow pass switch), and the bump-mode parameter.
#include "graphics/scene.h"
#include "graphics/scene_engine.h"
#include "runtime/numbers.h"

#include <cmath>

namespace {

// Brightness of the 16 steps of a cel-shading ramp, from unlit to fully lit.
constexpr int kRampSteps[16] = {100, 160, 160, 160, 160, 160, 160, 207,
                                255, 255, 255, 255, 255, 255, 255, 255};

void start_shadow_pass() {
    if (scene.shadow_pass) return;
    scene.shadow_pass = 1;
    glShadeModel(GL_FLAT);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glEnable(GL_STENCIL_TEST);
    glDepthMask(GL_FALSE);
    glStencilFunc(GL_ALWAYS, 0, 0xff);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INVERT);
}

} // namespace

void finish_shadow_pass() {
    if (!scene.shadow_pass) return;
    scene.shadow_pass = 0;
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LEQUAL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    set_viewport(0, 0, 0, 0);
    // Darken where the stencil was left odd: a half-transparent black screen-sized rectangle.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, scene.device.screen_width, -scene.device.screen_height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    GLboolean depth = glIsEnabled(GL_DEPTH_TEST), texture = glIsEnabled(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glStencilFunc(GL_NOTEQUAL, 0, 0xff);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    set_blending(true);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0, 0, 0, 0.5f);
    if (!scene.device.no_draw) {
        glBegin(GL_QUADS);
        glVertex2f(0, 0);
        glVertex2f(0, -2000);
        glVertex2f(3000, -2000);
        glVertex2f(3000, 0);
        glEnd();
    }
    set_blending(false);
    scene.device.alpha_value = 1;
    glColor4f(1, 1, 1, 1);
    if (depth) glEnable(GL_DEPTH_TEST);
    if (texture) glEnable(GL_TEXTURE_2D);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glShadeModel(GL_SMOOTH);
    glDepthFunc(GL_LESS);
    glDisable(GL_STENCIL_TEST);
    if (!scene.device.no_draw) glClear(GL_STENCIL_BUFFER_BIT);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
}

void end_stencil_pass() {
    finish_shadow_pass();
}

void ensure_ramp(MeshObject& mesh) {
    if (mesh.ramp_texture) return;
    const auto& colours = mesh.data.colours;
    int h = 1;
    while (h < int(colours.size()) && h < 32768)
        h *= 2;
    std::vector<uint8_t> texels(size_t(h) * 16 * 4);
    for (int row = 0; row < h; ++row) {
        uint32_t c = size_t(row) < colours.size() ? colours[size_t(row)]
                     : colours.empty()            ? kColourWhite
                                                  : colours[0];
        for (int step = 0; step < 16; ++step) {
            int f = kRampSteps[step];
            uint8_t* t = &texels[(size_t(row) * 16 + size_t(step)) * 4];
            if (c >= kColourWhite) {
                t[0] = t[1] = t[2] = uint8_t(f);
            } else {
                t[0] = uint8_t(int(c & 0xff) * f / 255);
                t[1] = uint8_t(int((c >> 8) & 0xff) * f / 255);
                t[2] = uint8_t(int((c >> 16) & 0xff) * f / 255);
            }
            t[3] = 255;
        }
    }
    glGenTextures(1, &mesh.ramp_texture);
    glBindTexture(GL_TEXTURE_2D, mesh.ramp_texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 16, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    mesh.ramp_height = h;
    mesh.ramp_inv_height = 1.0f / float(h);
}

void set_light(double n, double colour, double x, double y, double z, double dx, double dy,
               double dz, double cutoff) {
    int64_t c = to_int64(colour);
    float rgb[3] = {float(c & 0xff) / 255.0f, float((c >> 8) & 0xff) / 255.0f,
                    float((c >> 16) & 0xff) / 255.0f};
    int number = to_int32(n);
    if (number < 0) {
        scene.shade_on = cutoff != 0 ? 1 : 0;
        scene.shade_position[0] = float(x);
        scene.shade_position[1] = float(y);
        scene.shade_position[2] = float(z);
        for (int a = 0; a < 3; ++a)
            scene.shade_colour[a] = rgb[a];
        scene.shade_mode = number == -1 ? 1 : number == -3 ? 3 : 2;
        if (scene.shade_mode == 3) {
            if (scene.shade_on)
                start_shadow_pass();
            else
                finish_shadow_pass();
        }
        return;
    }
    int index = number % 8;
    GLenum light = GLenum(GL_LIGHT0 + index);
    if (cutoff == 0) {
        glDisable(light);
        scene.lights_on = uint8_t(scene.lights_on & ~(1u << index));
        if (!scene.lights_on) glDisable(GL_LIGHTING);
        return;
    }
    glEnable(GL_LIGHTING);
    glEnable(light);
    scene.lights_on = uint8_t(scene.lights_on | (1u << index));
    glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
    GLfloat diffuse[4] = {rgb[0], rgb[1], rgb[2], 1};
    GLfloat colour4[4] = {rgb[0], rgb[1], rgb[2], 1};
    GLfloat none[4] = {0, 0, 0, 1};
    glLightfv(light, GL_DIFFUSE, diffuse);

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(scene.camera_matrix);
    float d[3] = {float(dx), float(dy), float(dz)};
    float len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (len > 0)
        for (float& v : d)
            v /= len;
    if (x == 0 && y == 0 && z == 0 && dx == 0 && dy == 0 && dz == 0) {
        glLoadIdentity();
        GLfloat pos[4] = {0, 0, 1, 0};
        glLightfv(light, GL_POSITION, pos);
        glLightf(light, GL_SPOT_CUTOFF, 180);
        glLightfv(light, GL_SPECULAR, none);
    } else if (cutoff == 180) {
        GLfloat pos[4] = {-d[0], -d[1], -d[2], 0};
        glLightfv(light, GL_POSITION, pos);
        glLightf(light, GL_SPOT_CUTOFF, 180);
        glLightfv(light, GL_SPECULAR, none);
    } else {
        GLfloat pos[4] = {float(x), float(y), float(z), 1};
        glLightfv(light, GL_POSITION, pos);
        glLightfv(light, GL_SPECULAR, colour4);
        if (cutoff > 90) {
            glLightf(light, GL_SPOT_CUTOFF, 180);
        } else {
            GLfloat dir[3] = {d[0], d[1], d[2]};
            glLightfv(light, GL_SPOT_DIRECTION, dir);
            glLightf(light, GL_SPOT_CUTOFF, cutoff < 0 ? 0.0f : float(cutoff));
        }
    }
    glPopMatrix();
}

void set_view_light(double n, double colour) {
    set_light(n, colour, 0, 0, 0, 0, 0, 0, 180);
}

void set_bump_mode(double mode) {
    int m = to_int32(mode) % 3;
    scene.bump_mode = m < 0 ? m + 3 : m;
}
