// BMP files written by an independent writer (ImageMagick's convert from Debian) in 8-bit
// palette, 24-bit and 32-bit form, bottom-up and top-down, through the pure loader and through
// `steel_data bmp`.
#include "graphics/bmp.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

namespace {

const char* kConvert = "/usr/bin/convert";

// A 6 x 4 picture of 24 distinct colours (more than 16, so the palette file is 8-bit):
// pixel (x, y) from the top = (40 x, 60 y, 10 + x + 6 y), and (2, 1) is the colour key.
std::string ppm() {
    std::string s = "P3\n6 4\n255\n";
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            if (x == 2 && y == 1)
                s += "255 0 128\n";
            else
                s += std::to_string(40 * x) + " " + std::to_string(60 * y) + " " +
                     std::to_string(10 + x + 6 * y) + "\n";
        }
    return s;
}

// Rewrites a bottom-up file as top-down: rows reversed, height negated.
std::string to_top_down(std::string file) {
    auto get32 = [&](size_t at) {
        return uint32_t(uint8_t(file[at])) | uint32_t(uint8_t(file[at + 1])) << 8 |
               uint32_t(uint8_t(file[at + 2])) << 16 | uint32_t(uint8_t(file[at + 3])) << 24;
    };
    uint32_t offset = get32(10);
    int32_t width = int32_t(get32(18)), height = int32_t(get32(22));
    int bits = uint8_t(file[28]);
    size_t stride = (size_t(width) * bits / 8 + 3) & ~size_t(3);
    std::string rows = file.substr(offset, stride * height);
    for (int y = 0; y < height; ++y)
        file.replace(offset + y * stride, stride, rows.substr((height - 1 - y) * stride, stride));
    uint32_t h = uint32_t(-height);
    for (int i = 0; i < 4; ++i) file[22 + i] = char((h >> (8 * i)) & 0xff);
    return file;
}

class MagickBmp : public testing::Test {
protected:
    void SetUp() override {
        struct stat st{};
        if (stat(kConvert, &st) != 0) GTEST_SKIP() << "ImageMagick's convert is not installed";
        dir = make_temp_dir();
        ASSERT_TRUE(write_bytes(dir + "/in.ppm", ppm()));
    }
    // Runs convert with `options` writing `format`:`name` and returns the file's bytes.
    std::string convert(const std::string& options, const std::string& format,
                        const std::string& name) {
        std::string out;
        std::string cmd = std::string(kConvert) + " " + dir + "/in.ppm " + options + " " +
                          format + ":" + dir + "/" + name;
        EXPECT_EQ(run_command(cmd, &out), 0) << out;
        return read_text(dir + "/" + name);
    }
    std::string dir;
};

struct Expect {
    int x, y; // texel, row 0 = bottom
    uint8_t r, g, b, a;
};

void check(const std::string& file, int bits) {
    TexelImage img;
    BmpConvertOptions o;
    o.keyed = true;
    o.key = kSpriteColourKey;
    o.bleed = true;
    std::string error;
    int got_bits = 0;
    ASSERT_TRUE(decode_bmp(reinterpret_cast<const uint8_t*>(file.data()), file.size(), o, img,
                           &error, &got_bits))
        << error;
    EXPECT_EQ(got_bits, bits);
    EXPECT_EQ(img.width, 6);
    EXPECT_EQ(img.height, 4);
    EXPECT_EQ(img.texture_width, 8);
    EXPECT_EQ(img.texture_height, 4);
    // Row 0 is the picture's bottom row (y = 3 from the top).
    const Expect expect[] = {
        {0, 0, 0, 180, 28, 255},   // (0, 3)
        {5, 3, 200, 0, 15, 255},   // (5, 0)
        {3, 1, 120, 120, 25, 255}, // (3, 2)
        // The keyed pixel (2, 1): inside neighbours (1,1) (3,1) (1,2) (2,2) (3,2):
        // red 400 / 5 = 80, green 480 / 5 = 96, blue 108 / 5 = 21.6 -> 22.
        {2, 2, 80, 96, 22, 0},
        {6, 0, 0, 0, 0, 0}, // outside the image
    };
    for (const Expect& e : expect) {
        const uint8_t* t = &img.texels[(size_t(e.y) * img.texture_width + e.x) * 4];
        EXPECT_EQ(std::vector<int>({t[0], t[1], t[2], t[3]}), std::vector<int>({e.r, e.g, e.b, e.a}))
            << "texel " << e.x << "," << e.y << " of a " << bits << "-bit file";
    }
}

} // namespace

TEST_F(MagickBmp, PaletteFilesBottomUpAndTopDown) {
    std::string file = convert("-type Palette -compress None", "BMP3", "p8.bmp");
    ASSERT_GT(file.size(), 54u);
    check(file, 8);
    check(to_top_down(file), 8);
}

TEST_F(MagickBmp, TrueColourFilesBottomUpAndTopDown) {
    std::string file = convert("-type TrueColor -compress None", "BMP3", "p24.bmp");
    ASSERT_GT(file.size(), 54u);
    check(file, 24);
    check(to_top_down(file), 24);
}

TEST_F(MagickBmp, ThirtyTwoBitFilesWithColourMasks) {
    std::string file = convert("-alpha set -compress None", "BMP", "p32.bmp");
    ASSERT_GT(file.size(), 54u);
    check(file, 32);
    check(to_top_down(file), 32);
}

TEST_F(MagickBmp, DataToolReportsSizesAndTexels) {
    convert("-type TrueColor -compress None", "BMP3", "p24.bmp");
    std::string out;
    EXPECT_EQ(run_command(data_tool() + " bmp " + dir + "/p24.bmp --texel 2 2 --texel 0 0", &out),
              0);
    EXPECT_EQ(out, "{\"width\":6,\"height\":4,\"texture_width\":8,\"texture_height\":4,\"bits\":24,"
                   "\"texels\":[[80,96,22,0],[0,180,28,255]]}\n");
    ASSERT_TRUE(write_bytes(dir + "/bad.bmp", "BM not really"));
    EXPECT_EQ(run_command(data_tool() + " bmp " + dir + "/bad.bmp", &out), 1);
    EXPECT_EQ(out.rfind("{\"error\":", 0), 0u) << out;
    EXPECT_EQ(run_command(data_tool() + " bmp " + dir + "/missing.bmp", &out), 1);
    EXPECT_EQ(out.rfind("{\"error\":", 0), 0u) << out;
}
