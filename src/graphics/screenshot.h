#pragma once
// Screenshots of the game screen: uncompressed 24-bit BMP (14-byte file header, 40-byte info
// header, pixel data at offset 54, rows bottom-up, each padded to 4 bytes).
#include <cstdint>
#include <string>

// Encodes an RGBA image whose rows run from the bottom up (as OpenGL reads them).
std::string encode_bmp24(const uint8_t* rgba_bottom_up, int width, int height);

// Writes the game screen (the framebuffer being drawn) to `file`; false when it cannot.
bool save_screenshot(const char* file);
// save_sprite (slot, file) is declared with the sprites in graphics/device.h.
