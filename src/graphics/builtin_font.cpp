#include "graphics/builtin_font.h"

const uint32_t kBuiltinGlyphs[96] = {
    0x00000000, 0x08021080, 0x00002940, 0x15F57D40, 0x08E619C4, 0x14222140, 0x0ED114E0,
    0x00001080, 0x08210880, 0x04421040, 0x09575480, 0x08471080, 0x04400000, 0x00070000,
    0x08000000, 0x04222100, 0x00E5294E, 0x004210C4, 0x00E1390E, 0x00E4390E, 0x0084394A,
    0x00E4384E, 0x00E5384E, 0x0042210E, 0x00E5394E, 0x00E4394E, 0x00020080, 0x00220080,
    0x00820888, 0x000701C0, 0x00222082, 0x0040310E, 0x00E0B526, 0x00A5394E, 0x00E5194E,
    0x00E5094E, 0x00E52946, 0x00E1384E, 0x0021384E, 0x00E5284E, 0x00A5394A, 0x00E2108E,
    0x00E5210C, 0x00A5194A, 0x00E10842, 0x015AD6BF, 0x00A5294E, 0x00E5294E, 0x0021394E,
    0x00F294A7, 0x00A5194E, 0x00E4384E, 0x0042108E, 0x00E5294A, 0x0045294A, 0x01FAD6B5,
    0x00A5114A, 0x0042394A, 0x00E1110E, 0x00610846, 0x01041041, 0x00621086, 0x00000144,
    0x00E00000, 0x00000082, 0x00E53000, 0x00E53842, 0x00E13800, 0x00E53908, 0x08273800,
    0x00423888, 0x08873800, 0x00A51842, 0x00421004, 0x04421004, 0x00A32842, 0x00421084,
    0x015ABC00, 0x00A51800, 0x00E53800, 0x04E51800, 0x10E53000, 0x00253800, 0x00E409C0,
    0x00C23884, 0x00C52800, 0x00452800, 0x00EAD400, 0x00A22800, 0x1C872800, 0x00E121C0,
    0x00821888, 0x00421084, 0x00223082, 0x0002A800, 0x3F18C63F,
};

TexelImage builtin_font_image() {
    constexpr int kWidth = 128, kHeight = 64, kCell = 8;
    TexelImage img;
    img.width = img.texture_width = kWidth;
    img.height = img.texture_height = kHeight;
    img.texels.assign(size_t(kWidth) * kHeight * 4, 0);
    // Rows counted from the top of the image here; stored from the bottom.
    auto texel = [&](int x, int y) { return &img.texels[(size_t(kHeight - 1 - y) * kWidth + x) * 4]; };
    auto set = [](uint8_t* t, uint8_t v) { t[0] = t[1] = t[2] = v, t[3] = 255; };
    for (int code = 32; code < 128; ++code) {
        const uint32_t word = kBuiltinGlyphs[code - 32];
        const int cell_x = (code % 16) * kCell, cell_y = (code / 16) * kCell;
        auto lit = [word](int col, int row) {
            return col >= 0 && col < 5 && row >= 0 && row < 6 && (word >> (row * 5 + col)) & 1u;
        };
        // Glyph pixel (col, row) sits at (col + 1, row + 1) of the cell; the outline may use the
        // whole cell around it.
        for (int py = 0; py < kCell; ++py) {
            for (int px = 0; px < kCell; ++px) {
                const int col = px - 1, row = py - 1;
                uint8_t* t = texel(cell_x + px, cell_y + py);
                if (lit(col, row)) {
                    set(t, 255);
                    continue;
                }
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (lit(col + dx, row + dy)) set(t, 8);
            }
        }
    }
    return img;
}
