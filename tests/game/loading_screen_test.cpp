// The first frame of the program: "Loading..." centred on a black screen.
#include "support/test_support.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

struct Image {
    int width = 0, height = 0;
    std::string bytes;
    // Colour of pixel (x, y), origin top-left, as 0xRRGGBB.
    uint32_t at(int x, int y) const {
        uint32_t stride = (uint32_t(width) * 3 + 3) & ~3u;
        size_t o = 54 + size_t(height - 1 - y) * stride + size_t(x) * 3;
        auto b = [&](size_t i) { return uint32_t(uint8_t(bytes[i])); };
        return b(o + 2) << 16 | b(o + 1) << 8 | b(o);
    }
};

Image read_bmp24(const std::string& path) {
    Image img;
    img.bytes = read_text(path);
    if (img.bytes.size() < 54) return img;
    auto u32 = [&](size_t o) {
        return uint32_t(uint8_t(img.bytes[o])) | uint32_t(uint8_t(img.bytes[o + 1])) << 8 |
               uint32_t(uint8_t(img.bytes[o + 2])) << 16 | uint32_t(uint8_t(img.bytes[o + 3])) << 24;
    };
    img.width = int(u32(18));
    img.height = int(u32(22));
    return img;
}

} // namespace

// The game runs from a folder of its own without font files, so the built-in font (8 x 8 cells)
// draws the text: 10 characters, 80 x 8 pixels, at ((800 - 80) / 2, (600 - 8) / 2).
TEST(LoadingScreen, FirstFrameShowsLoadingCentredInTheBuiltInFont) {
    const std::string dir = make_temp_dir();
    std::filesystem::copy_file(game_executable(), dir + "/steel_spree");
    write_bytes(dir + "/script.txt", "0 screenshot loading.bmp\n50 close\n");
    std::string out;
    int status = run_command("cd '" + dir + "' && TMPDIR='" + dir +
                                 "' ./steel_spree --script script.txt --max-ms 5000",
                             &out);
    ASSERT_EQ(status, 0) << out;

    Image img = read_bmp24(dir + "/loading.bmp");
    ASSERT_EQ(img.width, 800);
    ASSERT_EQ(img.height, 600);
    int left = img.width, right = -1, top = img.height, bottom = -1, white = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            uint32_t c = img.at(x, y);
            if (c == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            if (c == 0xffffff) ++white;
        }
    ASSERT_GE(right, 0) << "the screen is black";
    EXPECT_GT(white, 40); // the glyphs' set pixels
    // Everything drawn lies inside the text's cells...
    EXPECT_GE(left, 360);
    EXPECT_LE(right, 439);
    EXPECT_GE(top, 296);
    EXPECT_LE(bottom, 303);
    // ...and the text is centred: "L" starts at the left of its cell, the last "." ends near
    // the middle of its cell.
    EXPECT_LE(left, 361);
    EXPECT_GE(right, 431);
}
