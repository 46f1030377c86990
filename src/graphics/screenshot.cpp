#include "graphics/screenshot.h"

#include "graphics/device.h"

#include "platform/gl.h"
#include "platform/window.h"
#include "runtime/files.h"

#include <algorithm>
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
    // Nothing is drawn: the screen is black.
    if (gfx.no_draw) return write_file_atomic(file, encode_bmp24(pixels.data(), w, h));
    platform::bind_game_read_framebuffer();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return write_file_atomic(file, encode_bmp24(pixels.data(), w, h));
}

bool save_sprite(double slot, const char* file) {
    const SpriteSlot* s = sprite_slot(sprite_slot_index(slot));
    if (!s || !s->texture || s->width <= 0 || s->height <= 0 || !file) return false;
    std::vector<uint8_t> texels(size_t(s->texture_width) * s->texture_height * 4);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glBindTexture(GL_TEXTURE_2D, s->texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, GLuint(bound));
    // Texture rows run from the image's bottom row up, as the file wants them.
    std::vector<uint8_t> image(size_t(s->width) * s->height * 4);
    for (int y = 0; y < s->height; ++y)
        std::copy_n(&texels[size_t(y) * s->texture_width * 4], size_t(s->width) * 4,
                    &image[size_t(y) * s->width * 4]);
    return write_file_atomic(file, encode_bmp24(image.data(), s->width, s->height));
}
