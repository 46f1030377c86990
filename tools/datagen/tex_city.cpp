// The city's texture: facades with lit windows at dusk, roofs, streets, parks and plazas.
#include "atlas.h"
#include "textures.h"

#include <cmath>

namespace gen {

Image city_texture() {
    using namespace city_tex;
    Image img(kSize, kSize, rgb(40, 40, 48));
    Rng rng(777);
    const Rgb walls[] = {rgb(120, 118, 126), rgb(130, 70, 56),   rgb(46, 60, 90),
                         rgb(170, 156, 130), rgb(90, 96, 110),   rgb(150, 90, 70),
                         rgb(60, 76, 80),    rgb(190, 180, 160), rgb(100, 60, 50),
                         rgb(70, 80, 120),   rgb(140, 140, 150), rgb(110, 100, 80)};
    for (int k = 0; k < 12; ++k) {
        TexRect r = facade(k);
        int x0 = int(r.x0), y0 = int(r.y0);
        Rgb wall = scale(walls[k], 0.8f); // dusk: the walls darker than the lit windows
        bool glass = k == 2 || k == 9;    // curtain walls: bands of glass
        img.fill_rect(x0, y0, x0 + 128, y0 + 128, wall);
        for (int y = y0; y < y0 + 128; ++y)
            for (int x = x0; x < x0 + 128; ++x) {
                float n = value_noise(float(x) / 4.0f, float(y) / 4.0f, 0, 0, 900u + uint32_t(k));
                img.at(x, y) = scale(img.at(x, y), 0.9f + 0.2f * n);
            }
        const int floors = 8, per_row = glass ? 8 : 4 + (k % 3) * 2;
        const int cell_w = 128 / per_row;
        for (int f = 0; f < floors; ++f) {
            int fy = y0 + f * 16;
            bool ground = f == floors - 1;
            img.fill_rect(x0, fy + 14, x0 + 128, fy + 16, scale(wall, 0.7f)); // floor ledge
            for (int c = 0; c < per_row; ++c) {
                int wx0 = x0 + c * cell_w + (glass ? 1 : cell_w / 5);
                int wx1 = x0 + (c + 1) * cell_w - (glass ? 1 : cell_w / 5);
                int wy0 = fy + (ground ? 3 : 4), wy1 = fy + (glass ? 13 : 11);
                bool lit = rng.uniform() < (ground ? 0.85f : 0.42f);
                Rgb glass_dark = mix(rgb(24, 34, 64), rgb(80, 90, 140), rng.uniform() * 0.5f);
                Rgb light = mix(rgb(255, 214, 120), rgb(255, 245, 200), rng.uniform());
                if (rng.uniform() < 0.12f) light = rgb(170, 210, 255); // a television's glow
                for (int y = wy0; y < wy1; ++y)
                    for (int x = wx0; x < wx1; ++x) {
                        float t = float(y - wy0) / float(wy1 - wy0);
                        Rgb c2 = lit ? scale(light, 1.0f - 0.25f * t)
                                     : mix(glass_dark, rgb(120, 110, 150), 0.35f * (1 - t));
                        img.set(x, y, c2);
                    }
                if (!glass) img.fill_rect(wx0, wy1, wx1, wy1 + 1, scale(wall, 1.25f)); // sill
            }
        }
    }
    // Roofs: gravel with a parapet and roof furniture.
    for (int k = 0; k < 4; ++k) {
        TexRect r = roof(k);
        int x0 = int(r.x0), y0 = int(r.y0);
        for (int y = y0; y < y0 + 64; ++y)
            for (int x = x0; x < x0 + 64; ++x)
                img.set(x, y,
                        scale(rgb(84, 84, 92),
                              0.85f + 0.3f * value_noise(float(x), float(y), 0, 0, 31)));
        img.fill_rect(x0, y0, x0 + 64, y0 + 3, rgb(130, 130, 140));
        img.fill_rect(x0, y0 + 61, x0 + 64, y0 + 64, rgb(50, 50, 56));
        img.fill_rect(x0, y0, x0 + 3, y0 + 64, rgb(120, 120, 130));
        img.fill_rect(x0 + 61, y0, x0 + 64, y0 + 64, rgb(56, 56, 62));
        if (k == 0) {
            img.disc(float(x0) + 32, float(y0) + 32, 18, rgb(60, 60, 66));
            img.line(float(x0) + 24, float(y0) + 22, float(x0) + 24, float(y0) + 42, 4,
                     rgb(240, 240, 240));
            img.line(float(x0) + 40, float(y0) + 22, float(x0) + 40, float(y0) + 42, 4,
                     rgb(240, 240, 240));
            img.line(float(x0) + 24, float(y0) + 32, float(x0) + 40, float(y0) + 32, 4,
                     rgb(240, 240, 240));
        } else {
            for (int b = 0; b < 2 + k; ++b) {
                int bx = x0 + 8 + rng.below(36), by = y0 + 8 + rng.below(36);
                img.fill_rect(bx + 2, by + 2, bx + 16, by + 14, rgb(40, 40, 44));
                img.fill_rect(bx, by, bx + 14, by + 12, rgb(150, 150, 156));
                img.disc(float(bx) + 7, float(by) + 6, 4, rgb(90, 90, 96));
            }
            if (k == 3)
                img.disc(float(x0) + 46, float(y0) + 46, 6, rgb(255, 60, 40)); // warning light
        }
    }
    // Street: asphalt.
    TexRect s = street();
    for (int y = int(s.y0); y < int(s.y1); ++y)
        for (int x = int(s.x0); x < int(s.x1); ++x)
            img.set(x, y,
                    scale(rgb(52, 54, 62),
                          0.9f + 0.2f * value_noise(float(x) / 2, float(y) / 2, 0, 0, 41)));
    // Park: grass with trees.
    for (int y = 448; y < 512; ++y)
        for (int x = 0; x < 128; ++x)
            img.set(x, y,
                    scale(rgb(52, 100, 50),
                          0.85f + 0.3f * value_noise(float(x) / 3, float(y) / 3, 0, 0, 51)));
    img.line(0, 480, 128, 470, 4, rgb(170, 150, 110));
    for (int t = 0; t < 14; ++t) {
        float x = rng.range(6, 122), y = rng.range(454, 506);
        img.disc(x + 2, y + 2, 6, rgb(20, 40, 20));
        img.disc(x, y, 6, rgb(40, 110, 40));
        img.disc(x - 2, y - 2, 3, rgb(80, 150, 70));
    }
    // Plaza: paving slabs with lamp glows.
    for (int y = 448; y < 512; ++y)
        for (int x = 128; x < 256; ++x) {
            bool joint = (x % 8 == 0) || (y % 8 == 0);
            img.set(x, y,
                    joint ? rgb(100, 98, 96)
                          : scale(rgb(140, 136, 130),
                                  0.9f + 0.2f * value_noise(float(x), float(y), 0, 0, 61)));
        }
    for (int k = 0; k < 4; ++k)
        img.disc(140.0f + 32 * k, 460, 6, rgb(255, 220, 150), 0.6f);
    return img;
}

} // namespace gen
