#pragma once
// The font used when a font file is missing: 5 x 6 glyphs for codes 32..127 in 8 x 8 cells.
#include "graphics/bmp.h"

#include <cstdint>

// Word n holds the glyph of code 32 + n: bit (row * 5 + column) set where the glyph is.
extern const uint32_t kBuiltinGlyphs[96];

// The 128 x 64 font image as texels (row 0 at the bottom): glyph pixels white, a one-pixel dark
// (8, 8, 8) outline around them (all eight neighbours), everything else transparent.
TexelImage builtin_font_image();
