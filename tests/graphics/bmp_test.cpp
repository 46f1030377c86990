// The BMP loader's pure part: files written byte by byte, converted without a window.
#include "bmp_writer.h"
#include "graphics/bmp.h"

#include <climits>
#include <gtest/gtest.h>
#include <random>

namespace {

const uint8_t* bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

struct Texel {
    uint8_t r, g, b, a;
    bool operator==(const Texel&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Texel& t) {
    return o << "(" << int(t.r) << "," << int(t.g) << "," << int(t.b) << "," << int(t.a) << ")";
}

// Texel (x, y) with y counted from the image's bottom row (texture row 0).
Texel texel(const TexelImage& img, int x, int y) {
    const uint8_t* t = &img.texels[(size_t(y) * img.texture_width + x) * 4];
    return {t[0], t[1], t[2], t[3]};
}

BmpConvertOptions sprite_options() {
    BmpConvertOptions o;
    o.keyed = true;
    o.key = kSpriteColourKey;
    o.bleed = true;
    return o;
}

TexelImage decode(const std::string& file, const BmpConvertOptions& options = {}) {
    TexelImage img;
    std::string error;
    EXPECT_TRUE(decode_bmp(bytes(file), file.size(), options, img, &error)) << error;
    return img;
}

std::string decode_error(const std::string& file) {
    TexelImage img;
    std::string error;
    EXPECT_FALSE(decode_bmp(bytes(file), file.size(), sprite_options(), img, &error));
    EXPECT_TRUE(img.texels.empty());
    return error;
}

constexpr Rgb kKey{255, 0, 128};

} // namespace

TEST(BmpDecode, SizesArePowersOfTwoAndRowsStartAtTheBottom) {
    // 3 x 2, 24-bit: rows padded to 4 bytes.
    std::vector<Rgb> px = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, {13, 14, 15}, {16, 17, 18}};
    TexelImage img = decode(make_bmp(3, 2, 24, px));
    EXPECT_EQ(img.width, 3);
    EXPECT_EQ(img.height, 2);
    EXPECT_EQ(img.texture_width, 4);
    EXPECT_EQ(img.texture_height, 2);
    EXPECT_EQ(texel(img, 0, 0), (Texel{10, 11, 12, 255})); // bottom-left of the image
    EXPECT_EQ(texel(img, 2, 1), (Texel{7, 8, 9, 255}));    // top-right
    EXPECT_EQ(texel(img, 3, 0), (Texel{0, 0, 0, 0}));      // outside the image: zero

    // The same image stored top-down gives the same texels; 32-bit too.
    EXPECT_EQ(decode(make_bmp(3, 2, 24, px, true)).texels, img.texels);
    EXPECT_EQ(decode(make_bmp(3, 2, 32, px)).texels, img.texels);
    EXPECT_EQ(decode(make_bmp(3, 2, 32, px, true)).texels, img.texels);

    TexelImage one = decode(solid_bmp(1, 1, {9, 9, 9}));
    EXPECT_EQ(one.texture_width, 2);
    EXPECT_EQ(one.texture_height, 2);
    TexelImage wide = decode(solid_bmp(100, 50, {9, 9, 9}));
    EXPECT_EQ(wide.texture_width, 128);
    EXPECT_EQ(wide.texture_height, 64);
    EXPECT_EQ(texel(wide, 99, 49), (Texel{9, 9, 9, 255}));
    EXPECT_EQ(texel(wide, 100, 49), (Texel{0, 0, 0, 0}));
}

TEST(BmpDecode, PaletteImagesAndTheColourKey) {
    std::vector<Rgb> palette = {{0, 0, 0}, {200, 100, 50}, kKey};
    std::vector<uint8_t> idx = {1, 2, 0, 1};
    TexelImage img = decode(make_bmp(2, 2, 8, {}, false, palette, idx), sprite_options());
    EXPECT_EQ(texel(img, 0, 1), (Texel{200, 100, 50, 255}));
    EXPECT_EQ(texel(img, 1, 1), (Texel{0, 0, 0, 0})); // keyed; no neighbour strictly inside
    EXPECT_EQ(texel(img, 0, 0), (Texel{0, 0, 0, 255}));
    // Without a key the same colour is an ordinary opaque one.
    EXPECT_EQ(texel(decode(make_bmp(2, 2, 8, {}, false, palette, idx)), 1, 1),
              (Texel{255, 0, 128, 255}));
    // Font key 0: black is transparent and nothing is bled.
    BmpConvertOptions font;
    font.keyed = true;
    font.key = 0;
    TexelImage f = decode(make_bmp(2, 2, 8, {}, false, palette, idx), font);
    EXPECT_EQ(texel(f, 0, 0), (Texel{0, 0, 0, 0}));
    EXPECT_EQ(texel(f, 1, 1), (Texel{255, 0, 128, 255}));
}

TEST(BmpDecode, TransparentTexelsTakeTheRoundedAverageOfOpaqueNeighboursInside) {
    // 4 x 4; texels strictly inside are x, y in 1..2 (rows from the top here).
    std::vector<Rgb> px(16, Rgb{90, 90, 90});
    auto at = [&](int x, int y) -> Rgb& { return px[size_t(y) * 4 + x]; };
    at(0, 0) = kKey; // corner: its only inside neighbour is (1, 1)
    at(1, 1) = {10, 0, 200};
    at(2, 1) = kKey; // inside; neighbours inside: (1,1), (1,2), (2,2) ((3,*) is the last column)
    at(1, 2) = {11, 5, 100};
    at(2, 2) = {11, 6, 101};
    at(3, 3) = kKey; // corner: inside neighbour (2, 2)
    TexelImage img = decode(make_bmp(4, 4, 24, px), sprite_options());
    auto top = [&](int x, int y) { return texel(img, x, 3 - y); };
    EXPECT_EQ(top(0, 0), (Texel{10, 0, 200, 0}));
    // (10 + 11 + 11) / 3 = 10.67 -> 11; (0 + 5 + 6) / 3 = 3.67 -> 4; 401 / 3 = 133.67 -> 134
    EXPECT_EQ(top(2, 1), (Texel{11, 4, 134, 0}));
    EXPECT_EQ(top(3, 3), (Texel{11, 6, 101, 0}));
    // Edge texels never lend their colour: a keyed texel whose only opaque neighbours lie on
    // the border stays (0, 0, 0, 0).
    std::vector<Rgb> ring(9, Rgb{50, 60, 70});
    ring[4] = kKey; // centre of 3 x 3: all neighbours are border texels
    ring[0] = kKey;
    TexelImage r = decode(make_bmp(3, 3, 24, ring), sprite_options());
    EXPECT_EQ(texel(r, 1, 1), (Texel{0, 0, 0, 0}));
    EXPECT_EQ(texel(r, 0, 2), (Texel{0, 0, 0, 0})); // its inside neighbour (1,1) is keyed
}

TEST(BmpDecode, MipLevelsUseTheFourTwoTwoOneWeights) {
    // A 4 x 2 level (rows from texture row 0), one value per texel in every channel.
    const uint8_t v[2][4] = {{90, 0, 9, 18}, {36, 45, 27, 255}};
    std::vector<uint8_t> level(4 * 2 * 4);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            for (int c = 0; c < 4; ++c) level[(size_t(y) * 4 + x) * 4 + c] = v[y][x];
    std::vector<MipLevel> chain = build_mip_chain(level.data(), 4, 2);
    ASSERT_EQ(chain.size(), 2u);
    ASSERT_EQ(chain[0].width, 2);
    ASSERT_EQ(chain[0].height, 1);
    // The next level has one row, its last: (2 x texel + texel to the right) / 3, and its last
    // texel is the texel alone.
    EXPECT_EQ(chain[0].texels[0], (2 * 90 + 0) / 3);
    EXPECT_EQ(chain[0].texels[4], 9);
    EXPECT_EQ(chain[1].width, 1);
    EXPECT_EQ(chain[1].texels[3], 60);

    // 4 x 4 -> 2 x 2: texel (0,0) weighs its 2 x 2 block 4/2/2/1; the last column uses the texel
    // below, the last row the texel to the right.
    std::vector<uint8_t> sq(4 * 4 * 4);
    const uint8_t s[4][4] = {{9, 18, 27, 36}, {45, 54, 63, 72}, {81, 90, 99, 108}, {1, 2, 3, 4}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            for (int c = 0; c < 4; ++c) sq[(size_t(y) * 4 + x) * 4 + c] = s[y][x];
    MipLevel half = halve_level(sq.data(), 4, 4);
    EXPECT_EQ(half.texels[0], (4 * 9 + 2 * 18 + 2 * 54 + 45) / 9);   // (0,0)
    EXPECT_EQ(half.texels[4], (2 * 27 + 63) / 3);                    // (1,0): last column
    EXPECT_EQ(half.texels[8], (2 * 81 + 90) / 3);                    // (0,1): last row
    EXPECT_EQ(half.texels[12], 99);                                  // (1,1): last texel
    EXPECT_EQ(half.texels[15], 99);                                  // alpha too

    // Sizes halve down to 1 x 1.
    std::vector<uint8_t> tall(2 * 8 * 4, 7);
    std::vector<MipLevel> t = build_mip_chain(tall.data(), 2, 8);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].width, 1);
    EXPECT_EQ(t[0].height, 4);
    EXPECT_EQ(t[2].height, 1);
    EXPECT_EQ(t[2].texels[0], 7);
}

TEST(BmpDecode, LargeImagesAreClampedAndRegionsCut) {
    std::vector<Rgb> px(40 * 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 40; ++x) px[size_t(y) * 40 + x] = {uint8_t(x), uint8_t(y), 0};
    BmpConvertOptions small;
    small.max_texture_size = 16;
    TexelImage img = decode(make_bmp(40, 10, 24, px), small);
    EXPECT_EQ(img.width, 16);
    EXPECT_EQ(img.height, 10);
    EXPECT_EQ(img.texture_width, 16);
    EXPECT_EQ(texel(img, 15, 0), (Texel{15, 9, 0, 255}));

    // A region measured from the bottom-left: (20, 2) 8 x 3.
    std::string file = make_bmp(40, 10, 24, px);
    BmpHeader header;
    ASSERT_TRUE(parse_bmp_header(bytes(file), file.size(), header, nullptr));
    TexelImage region;
    ASSERT_TRUE(convert_bmp_region(bytes(file), file.size(), header, 20, 2, 8, 3, {}, region,
                                   nullptr));
    EXPECT_EQ(region.width, 8);
    EXPECT_EQ(region.height, 3);
    EXPECT_EQ(texel(region, 0, 0), (Texel{20, 7, 0, 255})); // image row 2 from the bottom
    EXPECT_EQ(texel(region, 7, 2), (Texel{27, 5, 0, 255}));
}

TEST(BmpDecode, HeadersThatLieFailCleanly) {
    const std::string good = solid_bmp(4, 4, {1, 2, 3});
    auto with32 = [&](size_t at, uint32_t v) {
        std::string s = good;
        set32(s, at, v);
        return s;
    };
    EXPECT_NE(decode_error(with32(10, 1000)), "");          // pixel offset past the end
    EXPECT_NE(decode_error(with32(10, 20)), "");            // pixel offset inside the headers
    EXPECT_NE(decode_error(with32(18, 0)), "");             // zero width
    EXPECT_NE(decode_error(with32(18, uint32_t(-4))), "");  // negative width
    EXPECT_NE(decode_error(with32(22, 0)), "");             // zero height
    EXPECT_NE(decode_error(with32(22, uint32_t(INT_MIN))), "");
    EXPECT_NE(decode_error(with32(18, 0x7FFFFFFF)), "");    // rows longer than the file
    EXPECT_NE(decode_error(with32(22, 0x7FFFFFFF)), "");    // more rows than the file holds
    {
        std::string s = with32(18, 0x40000000);             // stride x height overflows 32 bits
        set32(s, 22, 0x40000000);
        EXPECT_NE(decode_error(s), "");
    }
    EXPECT_NE(decode_error(with32(14, 0xFFFFFFF0)), "");    // info header larger than the file
    EXPECT_NE(decode_error(with32(30, 1)), "");             // run-length compressed
    {
        std::string s = good;
        s[28] = 16;                                          // 16 bits per pixel
        EXPECT_NE(decode_error(s), "");
        s = good;
        s[0] = 'X';
        EXPECT_NE(decode_error(s), "");
        EXPECT_NE(decode_error(good.substr(0, good.size() - 1)), ""); // short pixel data
        EXPECT_NE(decode_error(good.substr(0, 30)), "");
        EXPECT_NE(decode_error(""), "");
    }
    // An 8-bit image whose index lies past its two-entry palette.
    std::vector<uint8_t> idx = {0, 1, 2, 1};
    EXPECT_EQ(decode_error(make_bmp(2, 2, 8, {}, false, {{1, 1, 1}, {2, 2, 2}}, idx)),
              "palette index past the palette");
}

TEST(BmpDecode, MutatedFilesNeverReadOutOfBounds) {
    // Random corruption of valid files of every depth: each must decode or fail, never crash
    // (AddressSanitizer watches every read).
    std::vector<Rgb> px(7 * 5);
    for (size_t i = 0; i < px.size(); ++i) px[i] = {uint8_t(i * 7), uint8_t(i), uint8_t(i * 3)};
    px[10] = kKey;
    std::vector<Rgb> palette = {{0, 0, 0}, kKey, {5, 6, 7}};
    std::vector<uint8_t> idx(35);
    for (size_t i = 0; i < idx.size(); ++i) idx[i] = uint8_t(i % 3);
    const std::string seeds[] = {make_bmp(7, 5, 24, px), make_bmp(7, 5, 32, px, true),
                                 make_bmp(7, 5, 8, {}, false, palette, idx)};
    std::mt19937 rng(1234);
    int decoded = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string s = seeds[round % 3];
        int edits = 1 + int(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            size_t at = rng() % std::min<size_t>(s.size(), 70); // mostly the headers
            s[at] = char(rng());
        }
        if (rng() % 5 == 0) s.resize(rng() % s.size());
        BmpConvertOptions o = sprite_options();
        o.normal_map = round % 2;
        o.max_texture_size = 64;
        TexelImage img;
        // A fresh copy on the heap of exactly the file's size, so overreads are caught.
        std::vector<uint8_t> heap(s.begin(), s.end());
        if (decode_bmp(heap.data(), heap.size(), o, img, nullptr)) {
            ++decoded;
            ASSERT_EQ(img.texels.size(), size_t(img.texture_width) * img.texture_height * 4);
            ASSERT_LE(img.texture_width, 64);
            build_mip_chain(img.texels.data(), img.texture_width, img.texture_height);
        }
    }
    EXPECT_GT(decoded, 0);
}

TEST(BmpDecode, BumpSpritesBecomeNormalMaps) {
    BmpConvertOptions bump = sprite_options();
    bump.normal_map = true;
    // A flat height field points straight out: (0, 0, 1) -> (128, 128, 255).
    TexelImage flat = decode(solid_bmp(4, 4, {10, 20, 99}), bump);
    EXPECT_EQ(texel(flat, 2, 2), (Texel{128, 128, 255, 255}));
    // Heights rising to the right tilt the normal to the left (red below 128); alpha is kept.
    std::vector<Rgb> ramp(8 * 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ramp[size_t(y) * 8 + x] = {0, 0, uint8_t(x * 30)};
    TexelImage r = decode(make_bmp(8, 8, 24, ramp), bump);
    Texel t = texel(r, 3, 3);
    EXPECT_LT(t.r, 128);
    EXPECT_EQ(t.g, 128);
    EXPECT_EQ(t.a, 255);
}
