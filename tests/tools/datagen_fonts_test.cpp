// The generated bitmap fonts as type: every printable glyph is its own (no two alike), sits
// in the middle of its cell with its outline inside it, and the stems of the straight letters
// have one stroke width per font.
#include "game/bmp_read.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const std::string kGameDir = SS_GAME_DIR;

struct FontCase {
    const char* file;
    int cell_w, cell_h;
    bool shadow; // the big font's drop shadow takes a column on the right
};
const FontCase kFonts[] = {{"bigfont.bmp", 15, 20, true}, {"smalfont.bmp", 8, 16, false}};

// Bright fill pixels of a glyph cell (the outline and the shadow are dark).
std::vector<bool> fill_mask(const Screenshot& img, const FontCase& f, int code) {
    std::vector<bool> m(size_t(f.cell_w * f.cell_h));
    const int x0 = (code % 16) * f.cell_w, y0 = (code / 16) * f.cell_h;
    for (int y = 0; y < f.cell_h; ++y)
        for (int x = 0; x < f.cell_w; ++x) {
            const Rgba p = img.at(x0 + x, y0 + y);
            m[size_t(y * f.cell_w + x)] = p.r + p.g + p.b > 420;
        }
    return m;
}

// Columns of the cell that hold anything but the transparent black.
std::pair<int, int> used_columns(const Screenshot& img, const FontCase& f, int code) {
    const int x0 = (code % 16) * f.cell_w, y0 = (code / 16) * f.cell_h;
    int lo = f.cell_w, hi = -1;
    for (int y = 0; y < f.cell_h; ++y)
        for (int x = 0; x < f.cell_w; ++x) {
            const Rgba p = img.at(x0 + x, y0 + y);
            if (p.r + p.g + p.b == 0) continue;
            lo = std::min(lo, x);
            hi = std::max(hi, x);
        }
    return {lo, hi};
}

TEST(DatagenFonts, EveryGlyphIsItsOwnAndSitsInTheMiddleOfItsCell) {
    for (const FontCase& f : kFonts) {
        SCOPED_TRACE(f.file);
        Screenshot img(kGameDir + "/" + f.file);
        ASSERT_EQ(img.width, f.cell_w * 16);
        ASSERT_EQ(img.height, f.cell_h * 8);
        std::vector<std::vector<bool>> masks;
        for (int code = 33; code < 127; ++code) {
            SCOPED_TRACE(std::string("glyph '") + char(code) + "'");
            masks.push_back(fill_mask(img, f, code));
            auto [lo, hi] = used_columns(img, f, code);
            ASSERT_LE(lo, hi) << "empty";
            // Centred by its ink: the gaps left and right differ by at most two pixels (a
            // pixel of rounding, a faint edge column; the shadow's column aside), so narrow and
            // wide letters space alike.
            const int left = lo, right = f.cell_w - 1 - hi, shadow = f.shadow ? 1 : 0;
            EXPECT_LE(std::abs(left - right), 2 + shadow) << lo << ".." << hi;
        }
        // No two glyphs alike: each differs from every other in at least three fill pixels.
        for (size_t a = 0; a < masks.size(); ++a)
            for (size_t b = a + 1; b < masks.size(); ++b) {
                int differ = 0;
                for (size_t i = 0; i < masks[a].size(); ++i)
                    differ += masks[a][i] != masks[b][i];
                EXPECT_GE(differ, 3) << "'" << char(33 + a) << "' and '" << char(33 + b) << "'";
            }
    }
}

// Width of the first run of fill pixels from the left on row y.
int stem_width(const std::vector<bool>& m, int w, int y) {
    int x = 0;
    while (x < w && !m[size_t(y * w + x)])
        ++x;
    int n = 0;
    while (x < w && m[size_t(y * w + x)]) {
        ++n;
        ++x;
    }
    return n;
}

TEST(DatagenFonts, StraightStemsHaveOneStrokeWidth) {
    for (const FontCase& f : kFonts) {
        SCOPED_TRACE(f.file);
        Screenshot img(kGameDir + "/" + f.file);
        ASSERT_TRUE(img.valid());
        // The left stems of these letters, halfway between the x-height and the baseline.
        std::vector<int> widths;
        for (char c : std::string("HIlnmiuEL")) {
            const std::vector<bool> m = fill_mask(img, f, c);
            int top = f.cell_h, bottom = -1;
            for (int y = 0; y < f.cell_h; ++y)
                for (int x = 0; x < f.cell_w; ++x)
                    if (m[size_t(y * f.cell_w + x)]) {
                        top = std::min(top, y);
                        bottom = std::max(bottom, y);
                    }
            ASSERT_LT(top, bottom) << c;
            const int w = stem_width(m, f.cell_w, bottom - (bottom - top) / 4);
            EXPECT_GE(w, 1) << c;
            widths.push_back(w);
        }
        const auto [lo, hi] = std::minmax_element(widths.begin(), widths.end());
        EXPECT_LE(*hi - *lo, 1) << "stems of " << *lo << " to " << *hi << " pixels";
    }
}

} // namespace
