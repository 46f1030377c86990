#include "graphics/screenshot.h"

#include "platform/gl.h"
#include "platform/window.h"
#include "runtime/files.h"

#include <vector>

namespace {
void put16(std::string& s, uint32_t v) {
    s += char(v & 0xff);
    s += char((v >> 8) & 0xff);
}
void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xffff);
    put16(s, v >> 16);
}
} // namespace

std::string encode_bmp24(const uint8_t* rgba, int width, int height) {
    uint32_t stride = (uint32_t(width) * 3 + 3) & ~3u;
    uint32_t image_size = stride * uint32_t(height);
    std::string out;
    out.reserve(54 + image_size);
    out += "BM";
    put32(out, 54 + image_size);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, uint32_t(width));
    put32(out, uint32_t(height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, image_size);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = rgba + size_t(y) * width * 4;
        for (int x = 0; x < width; ++x) {
            out += char(row[x * 4 + 2]);
            out += char(row[x * 4 + 1]);
            out += char(row[x * 4 + 0]);
        }
        for (uint32_t p = uint32_t(width) * 3; p < stride; ++p) out += '\0';
    }
    return out;
}

bool save_screenshot(const char* file) {
    if (!platform::window_is_open() || !file) return false;
    int w = platform::game_width(), h = platform::game_height();
    std::vector<uint8_t> pixels(size_t(w) * h * 4);
    platform::bind_game_framebuffer();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return write_file_atomic(file, encode_bmp24(pixels.data(), w, h));
}
