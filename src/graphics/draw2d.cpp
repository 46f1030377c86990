// Rectangles, lines, points and polygons in screen pixels.
#include "graphics/draw2d.h"

#include "graphics/device.h"
#include "runtime/numbers.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Lines, points and rectangles hit pixel centres with a 3/8-pixel shift.
constexpr double kPixelShift = 0.375;

struct PolyCorner {
    double x, y;
    float u, v;
    ColourF colour;
};

struct PolyState {
    int slot = -1;
    std::vector<PolyCorner> corners;
};

PolyState& poly() {
    static PolyState state;
    return state;
}

double finite_or_zero(double v) { return std::isfinite(v) ? v : 0.0; }

// Positions far outside any screen are held where floats still resolve whole pixels.
double clamp_position(double v) { return std::clamp(finite_or_zero(v), -1.0e7, 1.0e7); }

} // namespace

ColourF colour_from_value(double colour, float alpha_value) {
    uint32_t c = uint32_t(to_int64(colour)) & 0xFFFFFFu;
    ColourF f;
    f.transparent = c == kTransparentColour;
    f.r = float(c & 0xff) / 255.0f * alpha_value;
    f.g = float((c >> 8) & 0xff) / 255.0f * alpha_value;
    f.b = float((c >> 16) & 0xff) / 255.0f * alpha_value;
    f.a = f.transparent ? 0.0f : alpha_value;
    return f;
}

PrimitiveScope::PrimitiveScope() : texturing(glIsEnabled(GL_TEXTURE_2D)) {
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslated(kPixelShift, kPixelShift, 0);
}

PrimitiveScope::~PrimitiveScope() {
    glPopMatrix();
    const float v = gfx.alpha_value;
    glColor4f(v, v, v, v);
    if (texturing) glEnable(GL_TEXTURE_2D);
    glEnable(GL_ALPHA_TEST);
}

void draw_rect(double x1, double y1, double x2, double y2, double colour) {
    if (gfx.no_draw) return;
    ColourF c = colour_from_value(colour, gfx.alpha_value);
    if (c.transparent) return; // the transparent colour draws nothing
    double left = std::ceil(clamp_position(x1)), right = std::ceil(clamp_position(x2));
    double top = std::ceil(clamp_position(y1)), bottom = std::ceil(clamp_position(y2));
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    right += 1;
    bottom += 1;
    PrimitiveScope scope;
    glColor4f(c.r, c.g, c.b, c.a);
    glBegin(GL_QUADS);
    glVertex2d(left, -bottom);
    glVertex2d(right, -bottom);
    glVertex2d(right, -top);
    glVertex2d(left, -top);
    glEnd();
}

void draw_line(double x1, double y1, double x2, double y2, double colour) {
    if (gfx.no_draw) return;
    ColourF c = colour_from_value(colour, gfx.alpha_value);
    if (c.transparent) return;
    x1 = clamp_position(x1);
    y1 = clamp_position(y1);
    x2 = clamp_position(x2);
    y2 = clamp_position(y2);
    PrimitiveScope scope;
    glColor4f(c.r, c.g, c.b, c.a);
    glBegin(GL_LINES);
    glVertex2d(x1, -(y1 + 1));
    glVertex2d(x2, -(y2 + 1));
    glEnd();
    // The last pixel of a line is left out by the rasteriser: set it on its own.
    glBegin(GL_POINTS);
    glVertex2d(x2, -(y2 + 1));
    glEnd();
}

void draw_point(double x, double y, double colour) {
    if (gfx.no_draw) return;
    ColourF c = colour_from_value(colour, gfx.alpha_value);
    if (c.transparent) return;
    PrimitiveScope scope;
    glColor4f(c.r, c.g, c.b, c.a);
    glBegin(GL_POINTS);
    glVertex2d(clamp_position(x), -(clamp_position(y) + 1));
    glEnd();
}

void start_poly(double slot) {
    PolyState& p = poly();
    p.slot = to_int32(slot);
    p.corners.clear();
    p.corners.reserve(9);
}

void poly_vertex(double x, double y, double tx, double ty, double colour) {
    PolyState& p = poly();
    PolyCorner corner;
    corner.x = to_int32(x);
    corner.y = -double(to_int32(y));
    corner.u = corner.v = 0;
    const SpriteSlot* s = sprite_slot(sprite_slot_index(p.slot));
    if (p.slot >= 0 && s && s->texture_width > 0 && s->texture_height > 0) {
        corner.u = float(finite_or_zero(tx) / s->texture_width);
        corner.v = float((s->height - finite_or_zero(ty)) / s->texture_height);
    }
    corner.colour = colour_from_value(colour, gfx.alpha_value);
    if (!corner.colour.transparent) corner.colour.a = 1.0f;
    p.corners.push_back(corner);
}

void end_poly() {
    if (gfx.no_draw) return;
    PolyState& p = poly();
    const SpriteSlot* s = p.slot >= 0 ? sprite_slot(sprite_slot_index(p.slot)) : nullptr;
    const bool textured = s && s->texture;
    if (textured) {
        glBindTexture(GL_TEXTURE_2D, s->texture);
        glEnable(GL_TEXTURE_2D);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DITHER);
    glShadeModel(GL_SMOOTH);
    glBegin(GL_TRIANGLE_FAN);
    for (const PolyCorner& c : p.corners) {
        glColor4f(c.colour.r, c.colour.g, c.colour.b, c.colour.a);
        glTexCoord2f(c.u, c.v);
        glVertex2d(c.x, c.y);
    }
    glEnd();
    glShadeModel(GL_FLAT);
    glEnable(GL_TEXTURE_2D);
    const float v = gfx.alpha_value;
    glColor4f(v, v, v, v);
    glDisable(GL_DITHER);
    glDisable(GL_COLOR_MATERIAL);
}
