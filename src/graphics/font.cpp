// Fixed-width bitmap fonts in sprite slots 65520..65535 and text drawing.
#include "graphics/font.h"

#include "graphics/builtin_font.h"
#include "graphics/device.h"
#include "graphics/font_info.h"
#include "graphics/texture.h"
#include "runtime/errors.h"
#include "runtime/numbers.h"
#include "runtime/rt_string.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

int g_current_font = 0;

int clamp_font(double font) { return std::clamp(to_int32(font), 0, 15); }

} // namespace

int current_font() { return g_current_font; }

FontMetrics current_font_metrics() {
    FontMetrics m;
    m.font = g_current_font;
    m.slot = kFontSlotBase + g_current_font;
    const SpriteSlot* s = sprite_slot(m.slot);
    if (!s || !s->texture || s->texture_width <= 0 || s->texture_height <= 0) return m;
    m.texture = s->texture;
    m.rows = s->width >= s->height ? 8 : 16;
    m.glyph_width = s->width / 16;
    m.glyph_height = s->height / m.rows;
    m.step_x = float(double(s->width) / s->texture_width / 16);
    m.step_y = float(double(s->height) / s->texture_height / m.rows);
    return m;
}

void load_font(const char* file, double font) {
    g_current_font = clamp_font(font);
    const int slot = kFontSlotBase + g_current_font;
    if (!data_file_exists(file)) {
        install_slot_image(slot, builtin_font_image(), true);
        return;
    }
    BmpConvertOptions options;
    options.keyed = true;
    options.key = 0; // pure black is transparent; no edge bleeding
    if (load_bmp_into_slot(file, slot, options, true) != BmpLoad::loaded) runtime_error(3);
}

void set_font(double font) { g_current_font = clamp_font(font); }

void font_size(double& glyph_width, double& glyph_height) {
    FontMetrics m = current_font_metrics();
    glyph_width = m.glyph_width;
    glyph_height = m.glyph_height;
}

void emit_text_quads(const char* text, double x, double y, double z) {
    if (!text || !*text) return;
    const FontMetrics m = current_font_metrics();
    if (!m.texture) return;
    const int codes = m.rows * 16;
    const double gw = m.glyph_width, gh = m.glyph_height;
    double pen = std::ceil(std::isfinite(x) ? std::clamp(x, -1.0e7, 1.0e7) : 0.0);
    const double top = std::ceil(std::isfinite(y) ? std::clamp(y, -1.0e7, 1.0e7) : 0.0);
    glBegin(GL_QUADS);
    for (const char* p = text; *p; ++p, pen += gw) {
        // Bytes are taken as unsigned codes modulo the grid (128 or 256 glyphs).
        const int code = int(static_cast<unsigned char>(*p)) % codes;
        const float u0 = float(code % 16) * m.step_x, u1 = u0 + m.step_x;
        const float v0 = float(m.rows - 1 - code / 16) * m.step_y, v1 = v0 + m.step_y;
        glTexCoord2f(u0, v0);
        glVertex3d(pen, -(top + gh), z);
        glTexCoord2f(u1, v0);
        glVertex3d(pen + gw, -(top + gh), z);
        glTexCoord2f(u1, v1);
        glVertex3d(pen + gw, -top, z);
        glTexCoord2f(u0, v1);
        glVertex3d(pen, -top, z);
    }
    glEnd();
}

void print_text(const char* text, double x, double y) {
    if (!text || !*text || gfx.no_draw) return;
    const FontMetrics m = current_font_metrics();
    if (!m.texture) return;
    glBindTexture(GL_TEXTURE_2D, m.texture);
    emit_text_quads(text, x, y, 0);
}

void print_number(double value, double x, double y) {
    print_text(str_from_number(value).c_str(), x, y);
}
