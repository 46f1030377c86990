#pragma once
// Glyph rendering with FreeType from the fonts installed with the system.
#include <string>
#include <vector>

namespace gen {

// Coverage (0..1) of one rendered glyph; (left, top) is its bitmap's offset from the pen
// position on the baseline (top upwards), advance the pen step in pixels.
struct GlyphMask {
    int width = 0, height = 0, left = 0, top = 0;
    float advance = 0;
    std::vector<float> coverage; // rows from the top
};

// Renders character `code` of the font at px_w x px_h pixels (anti-aliased), moved right by
// shift_x pixels (a fraction, to put stems on whole pixels). False when the font file cannot
// be opened.
bool render_glyph(const std::string& font_file, int px_w, int px_h, unsigned code, GlyphMask* out,
                  float shift_x = 0.0f);
// Ascender and descender (positive, pixels) of the font at that size.
bool font_metrics(const std::string& font_file, int px_w, int px_h, int* ascender, int* descender);

} // namespace gen
