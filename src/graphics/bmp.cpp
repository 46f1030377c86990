#include "graphics/bmp.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

uint16_t get16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t get32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

bool fail(std::string* error, const char* why) {
    if (error) *error = why;
    return false;
}

constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeader = 40;

// Turns the blue channel of the image area into a normal map: heights wrap at the borders,
// a 3 x 3 Sobel gradient gives the normal (-gx, -gy, 1) normalised, each component mapped from
// -1..1 to 0..255. Alpha is kept.
void make_normal_map(TexelImage& img) {
    const int w = img.width, h = img.height, tw = img.texture_width;
    std::vector<float> height(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            height[size_t(y) * w + x] = img.texels[(size_t(y) * tw + x) * 4 + 2] / 255.0f;
    auto at = [&](int x, int y) {
        x = (x % w + w) % w;
        y = (y % h + h) % h;
        return height[size_t(y) * w + x];
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float gx = (at(x + 1, y - 1) + 2 * at(x + 1, y) + at(x + 1, y + 1)) -
                       (at(x - 1, y - 1) + 2 * at(x - 1, y) + at(x - 1, y + 1));
            float gy = (at(x - 1, y + 1) + 2 * at(x, y + 1) + at(x + 1, y + 1)) -
                       (at(x - 1, y - 1) + 2 * at(x, y - 1) + at(x + 1, y - 1));
            float nx = -gx, ny = -gy, nz = 1.0f;
            float len = std::sqrt(nx * nx + ny * ny + nz * nz);
            uint8_t* t = &img.texels[(size_t(y) * tw + x) * 4];
            t[0] = uint8_t(std::lround((nx / len + 1) * 0.5f * 255));
            t[1] = uint8_t(std::lround((ny / len + 1) * 0.5f * 255));
            t[2] = uint8_t(std::lround((nz / len + 1) * 0.5f * 255));
        }
    }
}

} // namespace

int power_of_two_at_least(int n, int minimum) {
    int p = std::max(minimum, 1);
    while (p < n && p < (1 << 30)) p <<= 1;
    return p;
}

bool parse_bmp_header(const uint8_t* data, size_t size, BmpHeader& header, std::string* error) {
    header = BmpHeader{};
    if (!data || size < kFileHeader + kInfoHeader) return fail(error, "file too short for a BMP");
    if (data[0] != 'B' || data[1] != 'M') return fail(error, "not a BMP file (no 'BM')");
    uint32_t offset = get32(data + 10);
    uint32_t info_size = get32(data + 14);
    if (info_size < kInfoHeader || info_size > size - kFileHeader)
        return fail(error, "bad info header size");
    int32_t width = int32_t(get32(data + 18));
    int32_t height = int32_t(get32(data + 22));
    uint16_t bits = get16(data + 28);
    uint32_t compression = get32(data + 30);
    uint32_t colours_used = get32(data + 46);
    if (width <= 0) return fail(error, "width not positive");
    if (height == 0 || height == INT_MIN) return fail(error, "bad height");
    if (bits != 8 && bits != 24 && bits != 32) return fail(error, "unsupported bit depth");
    size_t masks_end = kFileHeader + info_size;
    if (compression == 3 || compression == 6) {
        // Bit fields: accepted for 32-bit files whose masks are the plain byte order.
        if (bits != 32) return fail(error, "unsupported compression");
        size_t masks = kFileHeader + kInfoHeader;
        if (info_size == kInfoHeader) masks_end += compression == 3 ? 12 : 16;
        if (masks + 12 > size) return fail(error, "file too short for colour masks");
        if (get32(data + masks) != 0x00FF0000u || get32(data + masks + 4) != 0x0000FF00u ||
            get32(data + masks + 8) != 0x000000FFu)
            return fail(error, "unsupported colour masks");
    } else if (compression != 0) {
        return fail(error, "compressed BMP not supported");
    }
    if (offset > size) return fail(error, "pixel offset past the end of the file");
    if (offset < masks_end) return fail(error, "pixel offset inside the headers");

    header.width = width;
    header.height = height < 0 ? -height : height;
    header.top_down = height < 0;
    header.bits = bits;
    header.pixel_offset = offset;
    uint64_t row_bytes = uint64_t(width) * (bits / 8);
    header.stride = size_t((row_bytes + 3) & ~uint64_t(3));
    size_t available = size - offset;
    if (header.stride > available || uint64_t(header.height) > available / header.stride)
        return fail(error, "pixel data shorter than the image");

    if (bits == 8) {
        size_t start = masks_end;
        size_t count = colours_used == 0 || colours_used > 256 ? 256 : colours_used;
        count = std::min(count, (offset - start) / 4);
        header.palette.resize(count);
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* e = data + start + i * 4;
            header.palette[i] = uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0];
        }
        if (count == 0) return fail(error, "8-bit BMP without a palette");
    }
    return true;
}

void bleed_transparent_edges(TexelImage& img) {
    const int w = img.width, h = img.height, tw = img.texture_width;
    if (w < 3 || h < 3) return; // no texel lies strictly inside
    uint8_t* t = img.texels.data();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t* texel = t + (size_t(y) * tw + x) * 4;
            if (texel[3] != 0) continue;
            unsigned sum[3] = {0, 0, 0};
            unsigned n = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                int ny = y + dy;
                if (ny < 1 || ny > h - 2) continue;
                for (int dx = -1; dx <= 1; ++dx) {
                    int nx = x + dx;
                    if ((dx == 0 && dy == 0) || nx < 1 || nx > w - 2) continue;
                    const uint8_t* nb = t + (size_t(ny) * tw + nx) * 4;
                    if (nb[3] == 0) continue;
                    sum[0] += nb[0];
                    sum[1] += nb[1];
                    sum[2] += nb[2];
                    ++n;
                }
            }
            if (n == 0) continue;
            for (int c = 0; c < 3; ++c) texel[c] = uint8_t((sum[c] + n / 2) / n);
        }
    }
}

bool convert_bmp_region(const uint8_t* data, size_t size, const BmpHeader& header, int x, int y,
                        int width, int height, const BmpConvertOptions& options, TexelImage& out,
                        std::string* error) {
    out = TexelImage{};
    if (header.width <= 0 || header.height <= 0) return fail(error, "empty image");
    // Cut the region to the image, then to the largest texture.
    x = std::clamp(x, 0, header.width);
    y = std::clamp(y, 0, header.height);
    width = std::clamp(width, 0, header.width - x);
    height = std::clamp(height, 0, header.height - y);
    int max_size = std::max(1, options.max_texture_size);
    width = std::min(width, max_size);
    height = std::min(height, max_size);
    if (width == 0 || height == 0) return fail(error, "empty region");
    // The header was checked against a file of this size; make sure the rows are still there.
    if (header.pixel_offset > size ||
        uint64_t(header.stride) * uint64_t(header.height) > size - header.pixel_offset)
        return fail(error, "pixel data shorter than the image");

    out.width = width;
    out.height = height;
    out.texture_width = power_of_two_at_least(width, 2);
    out.texture_height = power_of_two_at_least(height, 2);
    out.texels.assign(size_t(out.texture_width) * out.texture_height * 4, 0);
    const int bytes_per_pixel = header.bits / 8;
    const size_t palette_size = header.palette.size();
    for (int r = 0; r < height; ++r) {
        int image_row = y + r; // counted from the bottom
        int file_row = header.top_down ? header.height - 1 - image_row : image_row;
        const uint8_t* src = data + header.pixel_offset + size_t(file_row) * header.stride +
                             size_t(x) * bytes_per_pixel;
        uint8_t* dst = &out.texels[size_t(r) * out.texture_width * 4];
        for (int c = 0; c < width; ++c, src += bytes_per_pixel, dst += 4) {
            uint32_t red, green, blue;
            if (bytes_per_pixel == 1) {
                if (*src >= palette_size) {
                    out = TexelImage{};
                    return fail(error, "palette index past the palette");
                }
                uint32_t e = header.palette[*src];
                red = e >> 16 & 0xff;
                green = e >> 8 & 0xff;
                blue = e & 0xff;
            } else {
                blue = src[0];
                green = src[1];
                red = src[2];
            }
            if (options.keyed && (red | green << 8 | blue << 16) == options.key) continue;
            dst[0] = uint8_t(red);
            dst[1] = uint8_t(green);
            dst[2] = uint8_t(blue);
            dst[3] = 255;
        }
    }
    if (options.normal_map) make_normal_map(out);
    if (options.keyed && options.bleed) bleed_transparent_edges(out);
    return true;
}

bool decode_bmp(const uint8_t* data, size_t size, const BmpConvertOptions& options,
                TexelImage& out, std::string* error, int* bits) {
    BmpHeader header;
    if (!parse_bmp_header(data, size, header, error)) {
        out = TexelImage{};
        return false;
    }
    if (bits) *bits = header.bits;
    return convert_bmp_region(data, size, header, 0, 0, header.width, header.height, options, out,
                              error);
}

MipLevel halve_level(const uint8_t* src, int width, int height) {
    MipLevel level;
    level.width = std::max(1, width / 2);
    level.height = std::max(1, height / 2);
    level.texels.resize(size_t(level.width) * level.height * 4);
    auto texel = [&](int x, int y) { return src + (size_t(y) * width + x) * 4; };
    for (int y = 0; y < level.height; ++y) {
        const bool last_row = y == level.height - 1;
        for (int x = 0; x < level.width; ++x) {
            const bool last_column = x == level.width - 1;
            const int sx = 2 * x, sy = 2 * y;
            uint8_t* d = &level.texels[(size_t(y) * level.width + x) * 4];
            const uint8_t* t = texel(sx, sy);
            for (int c = 0; c < 4; ++c) {
                unsigned v;
                if (last_row && last_column)
                    v = t[c];
                else if (last_column)
                    v = (2u * t[c] + texel(sx, sy + 1)[c]) / 3;
                else if (last_row)
                    v = (2u * t[c] + texel(sx + 1, sy)[c]) / 3;
                else
                    v = (4u * t[c] + 2u * texel(sx + 1, sy)[c] + 2u * texel(sx + 1, sy + 1)[c] +
                         texel(sx, sy + 1)[c]) /
                        9;
                d[c] = uint8_t(v);
            }
        }
    }
    return level;
}

std::vector<MipLevel> build_mip_chain(const uint8_t* texels, int width, int height) {
    std::vector<MipLevel> levels;
    const uint8_t* src = texels;
    while (width > 1 || height > 1) {
        levels.push_back(halve_level(src, width, height));
        src = levels.back().texels.data();
        width = levels.back().width;
        height = levels.back().height;
    }
    return levels;
}
