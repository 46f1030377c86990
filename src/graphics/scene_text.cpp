// Text at a point of the 3D scene, drawn with the current bitmap font.
#include "graphics/font.h"
#include "graphics/scene.h"
#include "graphics/scene_engine.h"

#include <cmath>
#include <cstring>

namespace {

// Camera-facing text: glyph pixels become `size` scene units along the camera's right and up.
void print_facing(const char* text, const float p[3], float size, double glyph_w,
                  double glyph_h) {
    const float* m = scene.camera_matrix; // rows of its rotation are the camera's axes
    float right[3] = {m[0], m[4], m[8]}, up[3] = {m[1], m[5], m[9]}, back[3] = {m[2], m[6], m[10]};
    float basis[16] = {right[0] * size, right[1] * size, right[2] * size, 0,
                       up[0] * size,    up[1] * size,    up[2] * size,    0,
                       back[0] * size,  back[1] * size,  back[2] * size,  0,
                       p[0],            p[1],            p[2],            1};
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(scene.camera_matrix);
    glMultMatrixf(basis);
    double width = glyph_w * double(std::strlen(text));
    // Glyph rows run downwards in text space (y negated when drawn).
    print_text(text, -width * 0.5, -glyph_h * 0.5);
    glPopMatrix();
}

void print_projected(const char* text, const float p[3], double glyph_w, double glyph_h) {
    float eye[3];
    transform_point(scene.camera_matrix, p, eye);
    const float* pr = scene.projection;
    float clip[4];
    for (int r = 0; r < 4; ++r)
        clip[r] = pr[r] * eye[0] + pr[4 + r] * eye[1] + pr[8 + r] * eye[2] + pr[12 + r];
    if (clip[3] == 0) return;
    double nx = clip[0] / clip[3], ny = clip[1] / clip[3], nz = clip[2] / clip[3];
    const int* vp = scene.viewport;
    double px = (nx + 1) * vp[2] * 0.5 + vp[0];
    double py = vp[3] - ((ny + 1) * vp[3] * 0.5 + vp[1]);
    double width = glyph_w * double(std::strlen(text));

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, scene.device.screen_width, -scene.device.screen_height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(0, 0, -nz);
    print_text(text, px - vp[0] - width * 0.5, py - vp[1] - glyph_h);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

} // namespace

void print_text_3d(const char* text, double x, double y, double z, double size) {
    if (!text || !*text) return;
    double glyph_w = 0, glyph_h = 0;
    font_size(glyph_w, glyph_h);
    float p[3] = {float(x), float(y), float(z)};
    glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    if (size == 0) print_projected(text, p, glyph_w, glyph_h);
    else print_facing(text, p, float(size), glyph_w, glyph_h);
    glPopAttrib();
}
