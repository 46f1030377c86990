#pragma once
// BMP files into texture data, without OpenGL: header parsing, conversion of a region into an
// RGBA texel buffer of power-of-two size (colour key, edge bleeding), and the mip chain.
// Uncompressed 8-bit (palette), 24-bit and 32-bit files, bottom-up or top-down. Every read is
// checked against the file's own size; a header that lies gives an error, never a wild read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The transparent colour of sprites: red 255, green 0, blue 128 as red + green*256 + blue*65536.
constexpr uint32_t kSpriteColourKey = 8388863;
// Texture size used where no OpenGL implementation can be asked (tools, fuzzing).
constexpr int kDefaultMaxTextureSize = 16384;

struct BmpHeader {
    int width = 0;           // pixels
    int height = 0;          // pixels (the absolute value of the file's height)
    int bits = 0;            // 8, 24 or 32
    bool top_down = false;   // the file stores its top row first
    size_t pixel_offset = 0; // where the rows start
    size_t stride = 0;       // bytes per row, padded to 4
    std::vector<uint32_t> palette; // 8-bit files: 0x00RRGGBB per entry
};

// Parses and validates the headers; false with a reason in *error when the file cannot be used.
bool parse_bmp_header(const uint8_t* data, size_t size, BmpHeader& header, std::string* error);

struct BmpConvertOptions {
    bool keyed = false;      // pixels of colour `key` become (0, 0, 0, 0)
    uint32_t key = 0;        // packed red + green*256 + blue*65536
    bool bleed = false;      // give transparent texels the colour of their opaque neighbours
    bool normal_map = false; // turn the blue channel into a normal map (bump sprites)
    int max_texture_size = kDefaultMaxTextureSize;
};

// RGBA texels, row 0 at the bottom of the image (OpenGL's texture order).
struct TexelImage {
    int width = 0;  // the image's own size
    int height = 0;
    int texture_width = 0; // power-of-two size of the buffer
    int texture_height = 0;
    std::vector<uint8_t> texels; // texture_width * texture_height * 4
};

// Smallest power of two >= n, at least `minimum`; n above 2^30 gives 2^30.
int power_of_two_at_least(int n, int minimum);

// Converts the region (x, y, width, height) of the image, measured from its bottom-left
// corner, into a texel buffer. The region is cut to the image and to the maximum texture size.
// False (with a reason) when a row or palette index lies outside the file or the palette.
bool convert_bmp_region(const uint8_t* data, size_t size, const BmpHeader& header, int x, int y,
                        int width, int height, const BmpConvertOptions& options, TexelImage& out,
                        std::string* error);

// The whole image (clamped to the maximum texture size).
bool decode_bmp(const uint8_t* data, size_t size, const BmpConvertOptions& options,
                TexelImage& out, std::string* error, int* bits = nullptr);

// Colour-key handling on a texel buffer (exposed for fonts built in code and for tests).
void bleed_transparent_edges(TexelImage& image);

// Levels 1.. of the mip chain of a power-of-two RGBA buffer, down to 1 x 1. Each texel is a
// 4/2/2/1 weighted sum of its 2 x 2 block (last row, last column and last texel handled apart).
struct MipLevel {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> texels;
};
std::vector<MipLevel> build_mip_chain(const uint8_t* texels, int width, int height);
// One halving step.
MipLevel halve_level(const uint8_t* texels, int width, int height);
