#pragma once
// BMP files written byte by byte for the graphics tests.
#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r, g, b;
};

inline void put16(std::string& s, uint32_t v) {
    s += char(v & 0xff);
    s += char((v >> 8) & 0xff);
}
inline void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xffff);
    put16(s, v >> 16);
}
inline void set32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = char((v >> (8 * i)) & 0xff);
}

// An uncompressed BMP with a 40-byte info header. `rows` run from the top of the image; for
// 8 bits `indices` (one per pixel, from the top) index `palette`. top_down stores the rows
// top first with a negative height.
inline std::string make_bmp(int width, int height, int bits, const std::vector<Rgb>& rows,
                            bool top_down = false, const std::vector<Rgb>& palette = {},
                            const std::vector<uint8_t>& indices = {}) {
    const int bpp = bits / 8;
    const uint32_t stride = (uint32_t(width) * bpp + 3) & ~3u;
    const uint32_t palette_bytes = bits == 8 ? uint32_t(palette.size()) * 4 : 0;
    const uint32_t offset = 54 + palette_bytes;
    std::string s = "BM";
    put32(s, offset + stride * height);
    put32(s, 0);
    put32(s, offset);
    put32(s, 40);
    put32(s, uint32_t(width));
    put32(s, uint32_t(top_down ? -height : height));
    put16(s, 1);
    put16(s, uint32_t(bits));
    put32(s, 0);
    put32(s, stride * height);
    put32(s, 2835);
    put32(s, 2835);
    put32(s, bits == 8 ? uint32_t(palette.size()) : 0);
    put32(s, 0);
    for (const Rgb& c : palette) {
        s += char(c.b);
        s += char(c.g);
        s += char(c.r);
        s += '\0';
    }
    for (int i = 0; i < height; ++i) {
        const int y = top_down ? i : height - 1 - i; // row from the top
        size_t start = s.size();
        for (int x = 0; x < width; ++x) {
            const size_t p = size_t(y) * width + x;
            if (bits == 8) {
                s += char(indices[p]);
            } else {
                s += char(rows[p].b);
                s += char(rows[p].g);
                s += char(rows[p].r);
                if (bits == 32) s += char(0xff);
            }
        }
        while (s.size() - start < stride) s += '\0';
    }
    return s;
}

// A solid image of one colour.
inline std::string solid_bmp(int width, int height, Rgb colour, int bits = 24) {
    return make_bmp(width, height, bits, std::vector<Rgb>(size_t(width) * height, colour));
}
