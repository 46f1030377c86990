#pragma once
// The texture and picture painters. Each returns a finished image; file names are chosen by
// the caller (graphics.cpp).
#include "gfx_image.h"

namespace gen {

Image girder_texture(bool static_variant);
Image bolt_texture(bool wrong_place);
Image remote_texture();
Image clock_texture();
Image worker_texture();
Image city_texture();

Image sky_picture();        // hintergrund.bmp: menu picture and sky dome, 800 x 600
Image sky_layer_picture();  // hintergrund_sky.bmp: the map view's sky, 512 x 512
Image ride_layer_picture(); // superman.bmp: clouds rushing past during the lift ride, keyed
Image splash_picture();     // 800 x 600
Image studio_picture();     // Trelmond.bmp, 800 x 600
Image credits_picture();    // 800 x 600

Image big_font();   // 240 x 160: 15 x 20 glyphs
Image small_font(); // 128 x 128: 8 x 16 glyphs

} // namespace gen
