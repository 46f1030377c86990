// Sprites: loading BMPs into slots, drawing them, grabbing the screen, collisions.
#include "graphics/device.h"
#include "graphics/draw2d.h"
#include "graphics/texture.h"
#include "platform/window.h"
#include "runtime/numbers.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A loaded slot, or null (empty slots draw nothing).
const SpriteSlot* drawable(double slot) {
    const SpriteSlot* s = sprite_slot(sprite_slot_index(slot));
    return s && s->texture && s->width > 0 && s->height > 0 ? s : nullptr;
}

void load_with(const char* file, double slot, bool normal_map) {
    BmpConvertOptions options;
    options.keyed = true;
    options.key = kSpriteColourKey;
    options.bleed = true;
    options.normal_map = normal_map;
    load_bmp_into_slot(file, sprite_slot_index(slot), options, false);
}

// Level 0 of a slot's texture, rows from the bottom.
std::vector<uint8_t> read_texture(const SpriteSlot& s) {
    std::vector<uint8_t> texels(size_t(s.texture_width) * s.texture_height * 4);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glBindTexture(GL_TEXTURE_2D, s.texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, GLuint(bound));
    return texels;
}

double finite_or_zero(double v) { return std::isfinite(v) ? v : 0.0; }

} // namespace

void emit_sprite_quad(double x, double y, double width, double height, float u, float v) {
    const double left = x, right = x + width, top = -y, bottom = -(y + height);
    glTexCoord2f(0, 0);
    glVertex2d(left, bottom);
    glTexCoord2f(u, 0);
    glVertex2d(right, bottom);
    glTexCoord2f(u, v);
    glVertex2d(right, top);
    glTexCoord2f(0, v);
    glVertex2d(left, top);
}

void load_sprite(const char* file, double slot) { load_with(file, slot, false); }

void load_bump_sprite(const char* file, double slot) { load_with(file, slot, true); }

void stretch_sprite(double slot, double x, double y, double width, double height) {
    const SpriteSlot* s = drawable(slot);
    if (!s || gfx.no_draw) return;
    x = std::ceil(finite_or_zero(x));
    y = std::ceil(finite_or_zero(y));
    width = std::ceil(finite_or_zero(width));
    height = std::ceil(finite_or_zero(height));
    glBindTexture(GL_TEXTURE_2D, s->texture);
    glBegin(GL_QUADS);
    emit_sprite_quad(x, y, width, height, float(s->width) / float(s->texture_width),
                     float(s->height) / float(s->texture_height));
    glEnd();
}

void draw_sprite(double slot, double x, double y) {
    const SpriteSlot* s = drawable(slot);
    if (!s) return;
    stretch_sprite(slot, x, y, s->width, s->height);
}

void zoom_sprite(double slot, double x, double y, double scale_x, double scale_y) {
    const SpriteSlot* s = drawable(slot);
    if (!s) return;
    double w = std::fabs(s->width * finite_or_zero(scale_x));
    double h = std::fabs(s->height * finite_or_zero(scale_y));
    stretch_sprite(slot, x - (w - s->width) * 0.5, y - (h - s->height) * 0.5, w, h);
}

void rotozoom_sprite(double slot, double x, double y, double angle, double scale) {
    const SpriteSlot* s = drawable(slot);
    if (!s || gfx.no_draw) return;
    angle = std::fmod(finite_or_zero(angle), 360.0);
    if (angle < 0) angle += 360.0;
    scale = finite_or_zero(scale);
    // Rotated about the sprite's centre, counter-clockwise on the screen for positive angles.
    const double cx = std::ceil(finite_or_zero(x)) + s->width * 0.5;
    const double cy = -(std::ceil(finite_or_zero(y)) + s->height * 0.5);
    const double hw = s->width * scale * 0.5, hh = s->height * scale * 0.5;
    const double rad = angle * 3.14159265358979323846 / 180.0;
    const double c = std::cos(rad), sn = std::sin(rad);
    const float u = float(s->width) / float(s->texture_width);
    const float v = float(s->height) / float(s->texture_height);
    const double corners[4][2] = {{-hw, -hh}, {hw, -hh}, {hw, hh}, {-hw, hh}};
    const float tex[4][2] = {{0, 0}, {u, 0}, {u, v}, {0, v}};
    glBindTexture(GL_TEXTURE_2D, s->texture);
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(tex[i][0], tex[i][1]);
        glVertex2d(cx + corners[i][0] * c - corners[i][1] * sn,
                   cy + corners[i][0] * sn + corners[i][1] * c);
    }
    glEnd();
}

void grab_sprite(double slot, double x, double y, double width, double height) {
    int n = sprite_slot_index(slot);
    SpriteSlot* s = sprite_slot(n);
    if (!s) return;
    clear_sprite_slot(n);
    int max_size = gfx.max_texture_size > 0 ? gfx.max_texture_size : 1024;
    int gx = to_int32(x), gy = to_int32(y);
    int w = std::min(to_int32(width), max_size), h = std::min(to_int32(height), max_size);
    if (w <= 0 || h <= 0) return;
    s->texture_width = power_of_two_at_least(w, 32);
    s->texture_height = power_of_two_at_least(h, 32);
    s->width = w;
    s->height = h;
    if (gfx.no_draw) return; // no screen to copy: the slot has the size and no pixels
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGenTextures(1, &s->texture);
    glBindTexture(GL_TEXTURE_2D, s->texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    std::vector<uint8_t> zero(size_t(s->texture_width) * s->texture_height * 4, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, s->texture_width, s->texture_height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, zero.data());
    // Only the part of the rectangle that lies on the screen is copied (64-bit arithmetic: the
    // rectangle may lie anywhere in the int range).
    const int64_t src_x = gx, src_y = int64_t(gfx.screen_height) - gy - h;
    const int64_t x0 = std::max<int64_t>(0, -src_x), y0 = std::max<int64_t>(0, -src_y);
    const int64_t x1 = std::min<int64_t>(w, gfx.screen_width - src_x);
    const int64_t y1 = std::min<int64_t>(h, gfx.screen_height - src_y);
    platform::bind_game_read_framebuffer();
    if (x1 > x0 && y1 > y0)
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, GLint(x0), GLint(y0), GLint(src_x + x0),
                            GLint(src_y + y0), GLsizei(x1 - x0), GLsizei(y1 - y0));
    glBindTexture(GL_TEXTURE_2D, GLuint(bound));
}

void sprite_size(double slot, double& width, double& height) {
    const SpriteSlot* s = sprite_slot(sprite_slot_index(slot));
    width = s ? s->width : 0;
    height = s ? s->height : 0;
}

double sprites_collide(double slot_a, double xa, double ya, double slot_b, double xb, double yb) {
    const SpriteSlot* a = drawable(slot_a);
    const SpriteSlot* b = drawable(slot_b);
    if (!a || !b) return 0;
    const int64_t ax = to_int32(std::ceil(xa)), ay = to_int32(std::ceil(ya));
    const int64_t bx = to_int32(std::ceil(xb)), by = to_int32(std::ceil(yb));
    const int64_t left = std::max(ax, bx), right = std::min(ax + a->width, bx + b->width);
    const int64_t top = std::max(ay, by), bottom = std::min(ay + a->height, by + b->height);
    if (left >= right || top >= bottom) return 0;
    const std::vector<uint8_t> ta = read_texture(*a), tb = read_texture(*b);
    auto alpha = [](const SpriteSlot& s, const std::vector<uint8_t>& t, int64_t x, int64_t y) {
        int64_t row = s.height - 1 - y; // texture row 0 is the image's bottom row
        return t[(size_t(row) * s.texture_width + x) * 4 + 3];
    };
    for (int64_t py = top; py < bottom; ++py)
        for (int64_t px = left; px < right; ++px)
            if (alpha(*a, ta, px - ax, py - ay) != 0 && alpha(*b, tb, px - bx, py - by) != 0)
                return 1;
    return 0;
}
