#pragma once
// Where each model finds its parts in its texture: rectangles in pixels of the generated
// textures, shared by the texture painters and the model builders.
#include "mesh.h"

namespace gen {

// stahltraeger.bmp / stahltraeger_static.bmp, 256 x 256.
namespace girder_tex {
constexpr int kSize = 256;
inline TexRect top() {
    return {0, 0, 128, 128, kSize, kSize};
} // walking surface
inline TexRect flange_edge() {
    return {0, 128, 128, 144, kSize, kSize};
} // sides of the flanges
inline TexRect web() {
    return {0, 144, 128, 224, kSize, kSize};
} // the web, top to bottom
inline TexRect under() {
    return {0, 224, 128, 256, kSize, kSize};
} // under and inner faces
inline TexRect end_cap() {
    return {128, 0, 256, 128, kSize, kSize};
} // the bolted end plate, seen from outside
inline TexRect bottom() {
    return {128, 128, 256, 192, kSize, kSize};
} // underside
inline TexRect splice() {
    return {128, 192, 256, 256, kSize, kSize};
} // splice plate beside the web, from its inner end (left) to the joint (right)
} // namespace girder_tex

// schraube.bmp / schraube_doof.bmp, 64 x 64.
namespace bolt_tex {
constexpr int kSize = 64;
inline TexRect nut_side() {
    return {0, 0, 64, 16, kSize, kSize};
}
inline TexRect thread() {
    return {0, 16, 64, 32, kSize, kSize};
}
inline TexRect washer() {
    return {0, 32, 64, 40, kSize, kSize};
}
inline TexRect top() {
    return {0, 40, 24, 64, kSize, kSize};
} // flat faces seen from above
inline TexRect tip() {
    return {32, 40, 56, 64, kSize, kSize};
} // end of the thread
} // namespace bolt_tex

// remote.bmp, 128 x 128.
namespace remote_tex {
constexpr int kSize = 128;
inline TexRect top() {
    return {0, 0, 128, 64, kSize, kSize};
} // the keypad, +x to the right
inline TexRect side() {
    return {0, 64, 128, 80, kSize, kSize};
}
inline TexRect bottom() {
    return {0, 80, 128, 112, kSize, kSize};
}
inline TexRect red() {
    return {0, 112, 32, 128, kSize, kSize};
} // the big button
inline TexRect metal() {
    return {32, 112, 64, 128, kSize, kSize};
} // antenna
inline TexRect knob() {
    return {64, 112, 96, 128, kSize, kSize};
}
} // namespace remote_tex

// worker.bmp, 256 x 256 (also the texture of the lives figure).
namespace worker_tex {
constexpr int kSize = 256;
inline TexRect face() {
    return {0, 0, 64, 64, kSize, kSize};
}
inline TexRect head_side() {
    return {64, 0, 96, 64, kSize, kSize};
}
inline TexRect head_back() {
    return {96, 0, 128, 64, kSize, kSize};
}
inline TexRect helmet() {
    return {128, 0, 256, 48, kSize, kSize};
}
inline TexRect helmet_top() {
    return {128, 48, 176, 64, kSize, kSize};
}
inline TexRect chest() {
    return {0, 64, 64, 128, kSize, kSize};
} // bib of the overalls
inline TexRect back() {
    return {64, 64, 128, 128, kSize, kSize};
}
inline TexRect torso_side() {
    return {128, 64, 160, 128, kSize, kSize};
}
inline TexRect shoulders() {
    return {160, 64, 192, 96, kSize, kSize};
}
inline TexRect sleeve() {
    return {192, 64, 256, 128, kSize, kSize};
} // checked shirt
inline TexRect denim() {
    return {0, 128, 64, 192, kSize, kSize};
} // trouser legs
inline TexRect hips() {
    return {64, 128, 128, 192, kSize, kSize};
} // belt and seat
inline TexRect skin() {
    return {128, 128, 160, 160, kSize, kSize};
}
inline TexRect glove() {
    return {160, 128, 192, 160, kSize, kSize};
}
inline TexRect boot() {
    return {128, 160, 192, 192, kSize, kSize};
}
inline TexRect sole() {
    return {192, 128, 256, 160, kSize, kSize};
}
inline TexRect wrench() {
    return {192, 160, 256, 192, kSize, kSize};
}
inline TexRect badge() {
    return {0, 192, 64, 256, kSize, kSize};
} // the lives figure's plate
} // namespace worker_tex

// wecker.bmp, 256 x 256.
namespace clock_tex {
constexpr int kSize = 256;
inline TexRect dial() {
    return {0, 0, 128, 128, kSize, kSize};
}
inline TexRect case_side() {
    return {128, 0, 256, 32, kSize, kSize};
}
inline TexRect chrome() {
    return {128, 32, 256, 64, kSize, kSize};
}
inline TexRect back() {
    return {128, 64, 192, 128, kSize, kSize};
}
inline TexRect bell() {
    return {0, 128, 128, 192, kSize, kSize};
}
inline TexRect feet() {
    return {128, 128, 160, 160, kSize, kSize};
}
} // namespace clock_tex

// Stadt.bmp, 512 x 512: facades in four rows of four, roofs, streets.
namespace city_tex {
constexpr int kSize = 512;
// Facade k (0..11), each 128 x 128: windows of one building style, tileable sideways.
inline TexRect facade(int k) {
    float x = float((k % 4) * 128), y = float((k / 4) * 128);
    return {x, y, x + 128, y + 128, kSize, kSize};
}
inline TexRect roof(int k) { // 0..3
    float x = float(k * 64);
    return {x, 384, x + 64, 448, kSize, kSize};
}
inline TexRect street() {
    return {256, 384, 512, 512, kSize, kSize};
}
inline TexRect park() {
    return {0, 448, 128, 512, kSize, kSize};
}
inline TexRect plaza() {
    return {128, 448, 256, 512, kSize, kSize};
}
} // namespace city_tex

} // namespace gen
