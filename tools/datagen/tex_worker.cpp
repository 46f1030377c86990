// The worker's texture: face, helmet, checked shirt, denim overalls, gloves, boots, wrench.
#include "atlas.h"
#include "textures.h"

#include <cmath>

namespace gen {

namespace {

void fill(Image& img, const TexRect& r, Rgb c) {
    img.fill_rect(int(r.x0), int(r.y0), int(r.x1), int(r.y1), c);
}

void denim_cloth(Image& img, const TexRect& r, Rgb base, uint32_t seed) {
    for (int y = int(r.y0); y < int(r.y1); ++y)
        for (int x = int(r.x0); x < int(r.x1); ++x) {
            float twill = ((x + y) % 4 < 2) ? 1.04f : 0.96f;
            float n = value_noise(float(x) / 3.0f, float(y) / 3.0f, 0, 0, seed);
            img.set(x, y, scale(base, twill * (0.9f + 0.2f * n)));
        }
}

void stitch_v(Image& img, float x, float y0, float y1, Rgb c) {
    for (float y = y0; y < y1; y += 4)
        img.line(x, y, x, y + 2, 1, c, 0.9f);
}

void stitch_h(Image& img, float y, float x0, float x1, Rgb c) {
    for (float x = x0; x < x1; x += 4)
        img.line(x, y, x + 2, y, 1, c, 0.9f);
}

} // namespace

Image worker_texture() {
    using namespace worker_tex;
    Image img(kSize, kSize, rgb(128, 128, 128));
    const Rgb skin_c = rgb(236, 176, 130), skin_dark = rgb(196, 130, 92);
    const Rgb denim_c = rgb(52, 92, 170), stitch = rgb(232, 170, 60);
    const Rgb yellow = rgb(250, 200, 30);

    // Face (seen from the front; the helmet covers the top).
    TexRect f = face();
    fill(img, f, skin_c);
    img.gradient_rect(0, 0, 64, 10, skin_dark, skin_c);
    img.disc(19, 26, 6.5f, rgb(255, 255, 255));
    img.disc(45, 26, 6.5f, rgb(255, 255, 255));
    img.disc(20, 27, 3.5f, rgb(40, 80, 140));
    img.disc(44, 27, 3.5f, rgb(40, 80, 140));
    img.disc(20, 27, 1.8f, rgb(10, 10, 10));
    img.disc(44, 27, 1.8f, rgb(10, 10, 10));
    img.line(12, 17, 26, 16, 2.5f, rgb(90, 50, 20));
    img.line(38, 16, 52, 17, 2.5f, rgb(90, 50, 20));
    // Moustache and a grin.
    img.line(18, 43, 32, 40, 5, rgb(110, 60, 25));
    img.line(32, 40, 46, 43, 5, rgb(110, 60, 25));
    img.line(22, 51, 32, 54, 2.2f, rgb(150, 60, 50));
    img.line(32, 54, 42, 51, 2.2f, rgb(150, 60, 50));
    img.disc(12, 38, 4, rgb(240, 140, 120), 0.5f);
    img.disc(52, 38, 4, rgb(240, 140, 120), 0.5f);
    // Side of the head: ear and sideburn; back: short hair.
    TexRect hs = head_side();
    fill(img, hs, skin_c);
    img.fill_rect(64, 0, 96, 14, rgb(110, 60, 25));
    img.disc(80, 30, 7, skin_dark);
    img.disc(80, 30, 4, skin_c);
    img.fill_rect(86, 14, 92, 34, rgb(110, 60, 25));
    TexRect hb = head_back();
    fill(img, hb, skin_c);
    img.fill_rect(96, 0, 128, 30, rgb(110, 60, 25));
    for (int k = 0; k < 8; ++k)
        img.line(98.0f + 4 * k, 26, 100.0f + 4 * k, 31, 2, rgb(110, 60, 25));

    // Helmet: yellow shell with a white stripe, darker brim below.
    TexRect h = helmet();
    for (int y = int(h.y0); y < int(h.y1); ++y)
        for (int x = int(h.x0); x < int(h.x1); ++x) {
            float t = float(y - h.y0) / (h.y1 - h.y0);
            float shade = 1.15f - 0.3f * t;
            img.set(x, y, scale(yellow, shade));
        }
    img.fill_rect(128, 4, 256, 9, rgb(255, 255, 240));
    img.fill_rect(128, 34, 256, 36, rgb(170, 120, 10));
    img.fill_rect(128, 36, 256, 48, rgb(220, 170, 20));
    TexRect ht = helmet_top();
    fill(img, ht, scale(yellow, 1.1f));

    // Bib of the overalls over a checked shirt: the shirt shows at the shoulders.
    auto checked = [&](const TexRect& r) {
        for (int y = int(r.y0); y < int(r.y1); ++y)
            for (int x = int(r.x0); x < int(r.x1); ++x) {
                bool a = (x / 6) % 2 == 0, b = (y / 6) % 2 == 0;
                Rgb c = rgb(200, 40, 36);
                if (a && b)
                    c = rgb(120, 20, 20);
                else if (a || b)
                    c = rgb(176, 32, 30);
                if (x % 6 == 0 || y % 6 == 0) c = mix(c, rgb(240, 220, 200), 0.4f);
                img.set(x, y, c);
            }
    };
    TexRect ch = chest();
    checked(ch);
    denim_cloth(img, {8, 84, 56, 128, kSize, kSize}, denim_c, 11);
    img.fill_rect(8, 64, 14, 84, denim_c); // straps
    img.fill_rect(50, 64, 56, 84, denim_c);
    img.disc(11, 86, 3.5f, rgb(230, 220, 120));
    img.disc(53, 86, 3.5f, rgb(230, 220, 120));
    img.fill_rect(20, 92, 44, 110, scale(denim_c, 0.85f)); // bib pocket
    stitch_h(img, 92, 20, 44, stitch);
    stitch_v(img, 20, 92, 110, stitch);
    stitch_v(img, 44, 92, 110, stitch);
    stitch_h(img, 110, 20, 44, stitch);
    img.line(26, 97, 26, 108, 2.5f, rgb(220, 220, 225)); // a pencil in the pocket
    img.fill_rect(29, 96, 36, 99, rgb(250, 200, 30));
    // Back: straps crossing over the shirt.
    TexRect bk = back();
    checked(bk);
    img.line(70, 64, 122, 128, 7, denim_c);
    img.line(122, 64, 70, 128, 7, denim_c);
    denim_cloth(img, {64, 104, 128, 128, kSize, kSize}, denim_c, 12);
    // Sides of the torso: shirt above, denim below.
    TexRect ts = torso_side();
    checked(ts);
    denim_cloth(img, {128, 92, 160, 128, kSize, kSize}, denim_c, 13);
    TexRect sh = shoulders();
    checked(sh);
    img.fill_rect(160, 64, 192, 70, denim_c);
    img.fill_rect(160, 90, 192, 96, denim_c);
    TexRect sl = sleeve();
    checked(sl);
    img.fill_rect(192, 118, 256, 128, rgb(230, 200, 180)); // cuff

    // Trouser legs and hips: denim with seams, a tool belt.
    denim_cloth(img, denim(), denim_c, 14);
    stitch_v(img, 4, 128, 192, stitch);
    stitch_v(img, 60, 128, 192, stitch);
    img.fill_rect(0, 184, 64, 192, scale(denim_c, 0.7f)); // turned-up hem
    denim_cloth(img, hips(), denim_c, 15);
    img.fill_rect(64, 128, 128, 140, rgb(110, 70, 30)); // belt
    img.fill_rect(92, 128, 100, 140, rgb(220, 200, 100));
    stitch_h(img, 150, 64, 128, stitch);

    // Skin, gloves, boots, soles, wrench.
    fill(img, skin(), skin_c);
    TexRect gl = glove();
    fill(img, gl, rgb(220, 180, 90));
    img.fill_rect(160, 128, 192, 134, rgb(180, 140, 60));
    img.gradient_rect(128, 160, 192, 192, rgb(120, 76, 40), rgb(70, 42, 20));
    img.fill_rect(128, 160, 192, 163, rgb(150, 100, 60));
    for (int k = 0; k < 4; ++k)
        img.line(140.0f + 12 * k, 166, 146.0f + 12 * k, 176, 2, rgb(220, 200, 150));
    fill(img, sole(), rgb(40, 36, 32));
    img.gradient_rect(192, 160, 256, 192, rgb(230, 234, 240), rgb(110, 116, 128));
    img.fill_rect(192, 175, 256, 177, rgb(250, 250, 255));

    // The lives figure's plate.
    TexRect bd = badge();
    fill(img, bd, rgb(250, 200, 30));
    img.add_noise(81, 0.025f);
    return img;
}

} // namespace gen
