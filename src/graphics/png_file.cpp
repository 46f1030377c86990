#include "graphics/png_file.h"

#include "graphics/device.h"
#include "platform/gl.h"
#include "platform/window.h"
#include "runtime/files.h"

#include <csetjmp>
#include <cstring>
#include <png.h>

namespace {

constexpr int kMaxSide = 16384;

struct ReadCursor {
    const uint8_t* data;
    size_t size;
    size_t at;
};

void write_bytes(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

void flush_nothing(png_structp) {}

void read_bytes(png_structp png, png_bytep data, png_size_t length) {
    auto* cursor = static_cast<ReadCursor*>(png_get_io_ptr(png));
    if (length > cursor->size - cursor->at) png_error(png, "truncated PNG");
    std::memcpy(data, cursor->data + cursor->at, length);
    cursor->at += length;
}

// Library warnings are no business of the player.
void quiet_warning(png_structp, png_const_charp) {}

} // namespace

std::string encode_png(const uint8_t* rgba_bottom_up, int width, int height) {
    if (!rgba_bottom_up || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return {};
    std::string out;
    std::vector<uint8_t> row(size_t(width) * 3);
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, quiet_warning);
    if (!png) return {};
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, write_bytes, flush_nothing);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = height - 1; y >= 0; --y) {
        const uint8_t* src = rgba_bottom_up + size_t(y) * size_t(width) * 4;
        for (int x = 0; x < width; ++x) {
            row[size_t(x) * 3 + 0] = src[x * 4 + 0];
            row[size_t(x) * 3 + 1] = src[x * 4 + 1];
            row[size_t(x) * 3 + 2] = src[x * 4 + 2];
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

bool decode_png(std::string_view bytes, int& width, int& height, std::vector<uint8_t>& rgba) {
    width = height = 0;
    rgba.clear();
    if (bytes.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8))
        return false;
    ReadCursor cursor{reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), 0};
    std::vector<png_bytep> rows;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, quiet_warning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        rgba.clear();
        return false;
    }
    png_set_read_fn(png, &cursor, read_bytes);
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_read_info(png, info);
    const png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(w) * 4) png_error(png, "unexpected row size");
    rgba.resize(size_t(w) * h * 4);
    rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y)
        rows[y] = rgba.data() + size_t(y) * w * 4;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    width = int(w);
    height = int(h);
    return true;
}

bool save_screen_png(const std::string& file) {
    if (!platform::window_is_open() || file.empty()) return false;
    const int w = platform::game_width(), h = platform::game_height();
    std::vector<uint8_t> pixels(size_t(w) * size_t(h) * 4);
    if (!gfx.no_draw) {
        platform::bind_game_read_framebuffer();
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    }
    const std::string png = encode_png(pixels.data(), w, h);
    return !png.empty() && write_file_atomic(file, png);
}
