// Bitmap fonts: the built-in font, font files of 8 and 16 glyph rows, text placement.
#include "draw_fixture.h"
#include "graphics/font.h"
#include "graphics/font_info.h"

#include <cstring>

namespace {

// A font image whose glyph cells are each filled with a colour that names the code:
// (code, 255 - code, 100) with a one-pixel black (transparent) frame in each cell.
std::string coded_font(int width, int height) {
    const int rows = width >= height ? 8 : 16;
    const int gw = width / 16, gh = height / rows;
    std::vector<Rgb> px(size_t(width) * height, Rgb{0, 0, 0});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int cx = x % gw, cy = y % gh;
            if (cx == 0 || cy == 0 || cx == gw - 1 || cy == gh - 1) continue;
            const int code = (y / gh) * 16 + x / gw;
            px[size_t(y) * width + x] = {uint8_t(code), uint8_t(255 - code), 100};
        }
    return make_bmp(width, height, 24, px);
}

} // namespace

TEST_F(DrawTest, BuiltInFontDrawsTheGlyphPatternsWithADarkOutline) {
    load_font("", 0);
    double gw, gh;
    font_size(gw, gh);
    EXPECT_EQ(gw, 8);
    EXPECT_EQ(gh, 8);
    print_text("A", 40, 20);
    // The pattern of "A", rows from the top, placed at (1, 1) of its 8 x 8 cell.
    const char* pattern[6] = {".###.", ".#.#.", ".###.", ".#.#.", ".#.#.", "....."};
    auto lit = [&](int col, int row) {
        return col >= 0 && col < 5 && row >= 0 && row < 6 && pattern[row][col] == '#';
    };
    for (int py = 0; py < 8; ++py) {
        for (int px = 0; px < 8; ++px) {
            const int col = px - 1, row = py - 1;
            bool outline = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) outline = outline || lit(col + dx, row + dy);
            const Rgba expect = lit(col, row) ? kWhite : outline ? rgb(8, 8, 8) : kBlack;
            EXPECT_EQ(read_pixel(40 + px, 20 + py), expect) << "cell pixel " << px << "," << py;
        }
    }
    // Nothing outside the glyph's cell.
    EXPECT_EQ(read_pixel(48, 22), kBlack);
    EXPECT_EQ(read_pixel(39, 22), kBlack);
}

TEST_F(DrawTest, FontFilesSizeTheirGlyphsByTheirGrid) {
    load_font(file("f8.bmp", coded_font(256, 128)).c_str(), 3);
    EXPECT_EQ(current_font(), 3);
    double gw, gh;
    font_size(gw, gh);
    EXPECT_EQ(gw, 16);
    EXPECT_EQ(gh, 16);
    EXPECT_EQ(gfx.slots[kFontSlotBase + 3].mip_texture, 0u);
    print_text("A~", 100, 100);
    EXPECT_EQ(read_pixel(108, 108), rgb(65, 190, 100));
    EXPECT_EQ(read_pixel(124, 108), rgb(126, 129, 100));
    EXPECT_EQ(read_pixel(100, 100), kBlack); // the cell's black frame is transparent

    // Taller than wide: 16 rows, codes 0..255.
    load_font(file("f16.bmp", coded_font(128, 256)).c_str(), 4);
    font_size(gw, gh);
    EXPECT_EQ(gw, 8);
    EXPECT_EQ(gh, 16);
    glClear(GL_COLOR_BUFFER_BIT);
    const char high[] = {char(200), char(65), 0};
    print_text(high, 0, 0);
    EXPECT_EQ(read_pixel(4, 8), rgb(200, 55, 100));
    EXPECT_EQ(read_pixel(12, 8), rgb(65, 190, 100));
    EXPECT_EQ(read_pixel(16, 8), kBlack);

    // A square image is at least as wide as high: 8 rows of 16 x 32 glyphs.
    load_font(file("sq.bmp", coded_font(256, 256)).c_str(), 5);
    font_size(gw, gh);
    EXPECT_EQ(gw, 16);
    EXPECT_EQ(gh, 32);
    EXPECT_EQ(current_font_metrics().rows, 8);

    // set_font switches between loaded fonts; numbers outside 0..15 are clamped.
    set_font(3);
    EXPECT_EQ(current_font(), 3);
    set_font(99);
    EXPECT_EQ(current_font(), 15);
    set_font(-4);
    EXPECT_EQ(current_font(), 0);
    load_font("", 42);
    EXPECT_EQ(current_font(), 15);
}

TEST_F(DrawTest, TextSpansCharacterCountTimesGlyphWidthAtTheNextWholePixel) {
    // Every glyph solid white: "Loading..." in a 16-pixel font is 160 pixels wide.
    load_font(file("w.bmp", solid_bmp(256, 128, {255, 255, 255})).c_str(), 0);
    print_text("Loading...", 99.5, 49.2); // drawn from (100, 50)
    EXPECT_EQ(read_pixel(100, 50), kWhite);
    EXPECT_EQ(read_pixel(259, 65), kWhite);
    EXPECT_EQ(read_pixel(99, 50), kBlack);
    EXPECT_EQ(read_pixel(260, 50), kBlack);
    EXPECT_EQ(read_pixel(100, 49), kBlack);
    EXPECT_EQ(read_pixel(100, 66), kBlack);

    glClear(GL_COLOR_BUFFER_BIT);
    print_text("", 0, 0);
    print_text(nullptr, 0, 0);
    EXPECT_EQ(read_pixel(1, 1), kBlack);

    FontMetrics m = current_font_metrics();
    EXPECT_EQ(m.slot, kFontSlotBase);
    EXPECT_EQ(m.rows, 8);
    EXPECT_FLOAT_EQ(m.step_x, 1.0f / 16);
    EXPECT_FLOAT_EQ(m.step_y, 1.0f / 8);
}

TEST_F(DrawTest, NumbersPrintAsTheValueRulesWriteThem) {
    load_font("", 0);
    print_number(-3, 0, 0); // two glyphs
    bool second = false;
    for (int x = 8; x < 16; ++x)
        for (int y = 0; y < 8; ++y) second = second || read_pixel(x, y) == kWhite;
    EXPECT_TRUE(second);
}

TEST_F(DrawTest, FontFileThatCannotBeReadEndsTheProgram) {
    const std::string bad = file("bad.bmp", "BM");
    EXPECT_EXIT(load_font(bad.c_str(), 0), testing::ExitedWithCode(3), "");
    // A missing file is the built-in font.
    load_font((dir + "/missing.bmp").c_str(), 1);
    EXPECT_EQ(gfx.slots[kFontSlotBase + 1].width, 128);
    EXPECT_EQ(gfx.slots[kFontSlotBase + 1].height, 64);
}
