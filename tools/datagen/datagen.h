#pragma once
// The data generator: every data file of the game, made by our own code, deterministically.
#include <string>

// Models, textures, pictures and fonts (gfx/..., smalfont.bmp, bigfont.bmp).
bool generate_graphics(const std::string& out_dir);
// Sound effects (sfx/...) and music modules (music/...).
bool generate_audio(const std::string& out_dir);
// The desktop icon as PNG files: OUT_DIR/<size>x<size>/apps/steel_spree.png, 48 to 256.
bool generate_icons(const std::string& out_dir);
