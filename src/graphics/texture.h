#pragma once
// Texture upload and BMP files into sprite slots (the OpenGL side of the BMP loader).
#include "graphics/bmp.h"
#include "platform/gl.h"

// A texture from an RGBA buffer: unpack alignment 1, repeat wrapping, linear filters (nearest
// when `nearest`), RGBA8. Leaves the new texture bound.
GLuint upload_texture(const TexelImage& image, bool nearest);
// A mipmapped copy: linear magnification, trilinear minification, levels built by halving.
GLuint upload_mip_texture(const TexelImage& image);

// True when the (mapped) file name exists, readable or not.
bool data_file_exists(const char* file);

enum class BmpLoad { loaded, missing, failed };
// Reads and converts a BMP file with the device's maximum texture size.
BmpLoad read_bmp_file(const char* file, const BmpConvertOptions& options, TexelImage& out);
// Loads a BMP file into a slot: missing leaves the slot alone; failed leaves it empty.
// `font`: nearest filtering and no mip texture.
BmpLoad load_bmp_into_slot(const char* file, int slot, const BmpConvertOptions& options, bool font);
// Puts converted texels into a slot (replacing what was there).
void install_slot_image(int slot, const TexelImage& image, bool font);
