#pragma once
// The current font's data, for code that draws text itself (text in the 3D scene).
#include "platform/gl.h"

struct FontMetrics {
    int font = 0;          // 0..15
    int slot = 0;          // sprite slot 65520 + font
    GLuint texture = 0;    // 0 when the font slot is empty
    int glyph_width = 0;   // image width / 16
    int glyph_height = 0;  // image height / rows
    int rows = 8;          // 8 (codes 0..127) or 16 (codes 0..255)
    float step_x = 0;      // texture step per glyph column: (image width / texture width) / 16
    float step_y = 0;      // per glyph row: (image height / texture height) / rows
};

int current_font();
FontMetrics current_font_metrics();

// Emits one quad per byte of `text` (glBegin/glEnd inside) with the current font's texture
// coordinates: the first glyph's top-left at screen pixel (x, y) of the 2D projection (vertices
// have y negated), at depth z. Binds nothing: the caller binds metrics.texture.
void emit_text_quads(const char* text, double x, double y, double z);
