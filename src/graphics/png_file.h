#pragma once
// PNG pictures through the system's PNG library: the game screen as a file and back.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// An RGB PNG of an RGBA image whose rows run from the bottom up (as OpenGL reads them); ""
// when the library fails.
std::string encode_png(const uint8_t* rgba_bottom_up, int width, int height);

// A PNG file's pixels as RGBA rows from the top down; false for anything that is not a
// readable PNG (or larger than 16384 pixels a side).
bool decode_png(std::string_view bytes, int& width, int& height, std::vector<uint8_t>& rgba);

// Writes the game screen as drawn so far to `file` as a PNG (atomically); false when it cannot.
bool save_screen_png(const std::string& file);
