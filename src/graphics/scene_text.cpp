// Text at a point of the 3D scene, drawn with the current bitmap font.
#include "graphics/font_info.h"
#include "graphics/scene.h"
#include "graphics/scene_engine.h"

#include <cmath>
#include <cstring>

namespace {

// Camera-facing text: a glyph is size x glyph width scene units wide and high, along the
// camera's right and up directions, the row centred on the point.
void print_facing(const char* text, const float p[3], float size, const FontMetrics& m) {
    const float* c = scene.camera_matrix; // rows of its rotation are the camera's axes
    const float sx = size, sy = size * float(m.glyph_width) / float(m.glyph_height);
    float basis[16] = {c[0] * sx, c[4] * sx, c[8] * sx, 0, c[1] * sy, c[5] * sy, c[9] * sy, 0,
                       c[2],      c[6],      c[10],     0, p[0],      p[1],      p[2],      1};
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(scene.camera_matrix);
    glMultMatrixf(basis);
    double width = double(m.glyph_width) * double(std::strlen(text));
    // Text space has y downwards (negated when emitted), so the row spans -h/2..h/2.
    emit_text_quads(text, -width * 0.5, -m.glyph_height * 0.5, 0);
    glPopMatrix();
}

// Screen-sized text: centred on the projected point, its bottom edge there, at the point's depth.
void print_projected(const char* text, const float p[3], const FontMetrics& m) {
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
    double width = double(m.glyph_width) * double(std::strlen(text));

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, scene.device.screen_width, -scene.device.screen_height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    emit_text_quads(text, px - vp[0] - width * 0.5, py - vp[1] - m.glyph_height, -nz);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

} // namespace

void print_text_3d(const char* text, double x, double y, double z, double size) {
    if (!text || !*text || scene.device.no_draw) return;
    flush_outlines();
    const FontMetrics m = current_font_metrics();
    if (!m.texture || m.glyph_width <= 0 || m.glyph_height <= 0) return;
    float p[3] = {float(x), float(y), float(z)};
    glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_TEXTURE_BIT);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, m.texture);
    if (size == 0)
        print_projected(text, p, m);
    else
        print_facing(text, p, float(size), m);
    glPopAttrib();
}
