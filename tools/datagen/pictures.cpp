// Pictures: the menu picture and sky, the map view's sky, the ride layer, the splash screen,
// the studio card and the credits.
#include "textures.h"

#include <algorithm>
#include <cmath>

namespace gen {

namespace {

constexpr float kPi = 3.14159265358979f;

// Dusk sky: deep blue above, violet, then a warm glow at the horizon row.
Rgb dusk(float y, float horizon) {
    float t = std::clamp(y / horizon, 0.0f, 1.0f);
    const Rgb top = rgb(16, 24, 72), mid = rgb(96, 70, 150), low = rgb(236, 120, 120),
              glow = rgb(255, 190, 110);
    if (t < 0.45f) return mix(top, mid, t / 0.45f);
    if (t < 0.8f) return mix(mid, low, (t - 0.45f) / 0.35f);
    return mix(low, glow, (t - 0.8f) / 0.2f);
}

// Soft clouds, periodic across the width; lit from below by the sunset.
void clouds(Image& img, int y0, int y1, float horizon, uint32_t seed, float cover) {
    const int w = img.width();
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < w; ++x) {
            float fx = float(x) / float(w) * 8.0f, fy = float(y) / 40.0f;
            float n = fractal_noise(fx, fy * 0.9f, 8, 0, 5, seed);
            float band = std::sin(std::clamp(float(y - y0) / float(y1 - y0), 0.0f, 1.0f) * kPi);
            float d = std::clamp((n - (1.0f - cover)) * 3.0f, 0.0f, 1.0f) * band;
            if (d <= 0) continue;
            float under = std::clamp(float(y) / horizon, 0.0f, 1.0f);
            Rgb c = mix(rgb(120, 100, 170), rgb(255, 170, 150), under);
            float shade = fractal_noise(fx + 0.3f, fy * 0.9f - 0.15f, 8, 0, 4, seed);
            c = mix(c, rgb(255, 230, 210), std::clamp((n - shade) * 2.5f, 0.0f, 0.6f));
            img.blend(x, y, c, d * 0.85f);
        }
}

void stars(Image& img, int y1, uint32_t seed, int count) {
    Rng rng(seed);
    for (int k = 0; k < count; ++k) {
        float x = rng.range(0, float(img.width())), y = rng.range(0, float(y1)) * rng.uniform();
        float b = rng.range(0.4f, 1.0f);
        img.disc(x, y, rng.range(0.5f, 1.2f), rgb(255, 250, 230), b * (1.0f - y / float(y1)));
    }
}

// A skyline, periodic across the width: building silhouettes standing on `base`, lit windows.
void skyline(Image& img, float base, float max_h, uint32_t seed, Rgb body, float lit) {
    Rng rng(seed);
    const int w = img.width();
    int x = 0;
    while (x < w) {
        int bw = 18 + rng.below(40);
        if (x + bw > w) bw = w - x;
        float h = rng.range(max_h * 0.25f, max_h);
        int top = int(base - h);
        img.fill_rect(x, top, x + bw, int(base) + 1, body);
        if (rng.below(4) == 0)
            img.fill_rect(x + bw / 2 - 1, top - 12, x + bw / 2 + 1, top, body); // mast
        for (int wy = top + 4; wy < int(base) - 3; wy += 6)
            for (int wx = x + 3; wx < x + bw - 3; wx += 5)
                if (rng.uniform() < lit)
                    img.fill_rect(wx, wy, wx + 2, wy + 3,
                                  mix(rgb(255, 200, 110), rgb(255, 240, 190), rng.uniform()));
        x += bw;
    }
}

// A tower crane silhouette with its jib to the right.
void crane(Image& img, float x, float base, float height, Rgb c) {
    float top = base - height;
    img.line(x, base, x, top, 6, c);
    img.line(x + 8, base, x + 8, top, 2, c);
    for (float y = base; y > top + 10; y -= 14)
        img.line(x, y, x + 8, y - 14, 1.5f, c);
    img.line(x - 60, top, x + 220, top, 5, c);
    img.line(x - 60, top + 8, x + 220, top + 8, 2, c);
    for (float jx = x - 60; jx < x + 220; jx += 14)
        img.line(jx, top + 8, jx + 14, top, 1.5f, c);
    img.line(x + 4, top - 30, x - 60, top, 1.5f, c);
    img.line(x + 4, top - 30, x + 220, top, 1.5f, c);
    img.fill_rect(int(x - 60), int(top - 2), int(x - 30), int(top + 16), c);      // counterweight
    img.line(x + 150, top + 8, x + 150, top + 120, 1.2f, c);                      // hook cable
    img.fill_rect(int(x + 140), int(top + 120), int(x + 190), int(top + 126), c); // a girder on it
}

// A big title with a dark outline and a soft shadow.
void title(Image& img, const std::string& text, float cx, float y, int px, Rgb c) {
    draw_text_centred(img, font_sans_bold(), px, cx + 5, y + 6, text, rgb(10, 8, 20), 4.0f,
                      rgb(10, 8, 20));
    draw_text_centred(img, font_sans_bold(), px, cx, y, text, c, 4.0f, rgb(40, 16, 8));
}

} // namespace

Image sky_picture() {
    const int w = 800, h = 600;
    const float horizon = 380;
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.at(x, y) = dusk(float(y), horizon);
    stars(img, 200, 11, 160);
    clouds(img, 50, 270, horizon, 21, 0.58f);
    clouds(img, 240, 365, horizon, 22, 0.5f);
    // Far skyline in haze, near skyline darker, ground below the horizon lit by streets.
    skyline(img, horizon, 60, 31, rgb(120, 80, 120), 0.1f);
    skyline(img, horizon + 6, 110, 32, rgb(44, 32, 60), 0.3f);
    crane(img, 560, horizon - 40, 190, rgb(40, 28, 52));
    for (int y = int(horizon) + 6; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float t = float(y - horizon) / float(h - horizon);
            img.at(x, y) = mix(rgb(44, 32, 60), rgb(14, 12, 26), t);
        }
    // The city far below: streets as rows of lamps, closer together towards the horizon,
    // windows scattered between them; rows wrap around the picture's sides.
    Rng rng(41);
    for (int row = 0; row < 16; ++row) {
        float d = float(row + 1) / 16.0f; // 0 near the horizon .. 1 at the bottom
        float y = horizon + 10 + d * d * (float(h) - horizon - 14);
        float step = 6.0f + 22.0f * d, size = 0.5f + 1.4f * d;
        float shift = rng.range(0, step);
        for (float x = shift; x < float(w); x += step * rng.range(0.8f, 1.2f)) {
            if (rng.uniform() < 0.15f) continue; // a dark stretch
            img.disc(x, y, size * 2.2f, rgb(255, 170, 80), 0.18f);
            img.disc(x, y, size, mix(rgb(255, 200, 110), rgb(255, 245, 210), rng.uniform()), 0.9f);
        }
    }
    for (int k = 0; k < 500; ++k) {
        float y = horizon + 8 + std::pow(rng.uniform(), 1.6f) * (h - horizon - 8);
        float x = rng.range(0, float(w));
        float s = 0.4f + 1.0f * (y - horizon) / float(h - horizon);
        img.disc(x, y, s, mix(rgb(255, 190, 100), rgb(200, 220, 255), rng.uniform()), 0.6f);
    }
    return img;
}

Image sky_layer_picture() {
    // The map view: a blueprint below (a polar grid seen from above), night sky above.
    const int n = 512;
    Image img(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float t = float(y) / float(n);
            Rgb c = t < 0.5f ? mix(rgb(10, 20, 60), rgb(40, 80, 150), t * 2.0f)
                             : mix(rgb(30, 70, 150), rgb(18, 50, 120), (t - 0.5f) * 2.0f);
            img.at(x, y) = scale(
                c, 0.92f + 0.12f * fractal_noise(float(x) / 32, float(y) / 32, 16, 16, 3, 91));
        }
    stars(img, 200, 12, 90);
    for (int k = 0; k < 32; ++k)
        img.line(float(k * 16), 256, float(k * 16), 512, k % 4 ? 1.0f : 2.0f, rgb(200, 225, 255),
                 0.35f);
    for (int k = 0; k < 16; ++k)
        img.line(0, 256.0f + float(k * 16), 512, 256.0f + float(k * 16), k % 4 ? 1.0f : 2.0f,
                 rgb(200, 225, 255), 0.35f);
    return img;
}

Image ride_layer_picture() {
    // Tileable soft clouds on the transparent colour. The layer fades in with a translucent
    // alpha mode, which scales its colour as well as its alpha: so the clouds are near white
    // (a dim colour would show as grey blotches against the sky while the layer fades in), their
    // shapes are broad and round (a fine threshold of noise gives jagged, pixel-sized edges on
    // a dome this large) and there are no thin streaks, which read as dark lines when faint.
    const int n = 512;
    Image img(n, n, key_colour());
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const float v = fractal_noise(float(x) / 128.0f, float(y) / 128.0f, 4, 4, 3, 101);
            if (v < 0.55f) continue;
            // Brightest inside, a touch of blue only at the rims.
            const float l = std::clamp((v - 0.55f) * 6.0f, 0.0f, 1.0f);
            img.at(x, y) = mix(rgb(232, 238, 255), rgb(255, 255, 255), l);
        }
    return img;
}

Image splash_picture() {
    const int w = 800, h = 600;
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.at(x, y) = dusk(float(y) * 0.8f, 400);
    stars(img, 220, 13, 120);
    clouds(img, 80, 300, 420, 23, 0.4f);
    skyline(img, 520, 150, 33, rgb(40, 30, 58), 0.3f);
    img.fill_rect(0, 520, w, h, rgb(24, 18, 36));
    crane(img, 90, 520, 380, rgb(30, 22, 44));
    // A red girder across the picture, riveted.
    img.gradient_rect(0, 330, w, 346, rgb(240, 110, 70), rgb(190, 60, 34));
    img.gradient_rect(0, 346, w, 380, rgb(150, 44, 26), rgb(100, 28, 18));
    img.gradient_rect(0, 380, w, 394, rgb(200, 70, 40), rgb(140, 40, 24));
    for (int k = 0; k < 40; ++k)
        img.rivet(10.0f + 20.0f * float(k), 338, 3.0f, rgb(200, 70, 40));
    title(img, "STEEL SPREE", 400, 300, 96, rgb(255, 214, 80));
    draw_text_centred(img, font_sans_bold(), 26, 400, 440,
                      "Bolt the girders. Beat the clock. Ride the lift!", rgb(255, 240, 220), 2.5f,
                      rgb(20, 10, 30));
    draw_text_centred(img, font_sans(), 18, 400, 585, "Press SPACE", rgb(220, 210, 240), 2.0f,
                      rgb(20, 10, 30));
    return img;
}

Image studio_picture() {
    const int w = 800, h = 600;
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float d = std::hypot(float(x - 400) / 500.0f, float(y - 260) / 420.0f);
            img.at(x, y) = mix(rgb(30, 44, 70), rgb(6, 8, 16), std::clamp(d, 0.0f, 1.0f));
        }
    // The emblem: a cogwheel around a bold T.
    const float cx = 400, cy = 240;
    for (int k = 0; k < 12; ++k) {
        float a = float(k) * 30.0f * kPi / 180.0f;
        img.line(cx + std::cos(a) * 96, cy + std::sin(a) * 96, cx + std::cos(a) * 122,
                 cy + std::sin(a) * 122, 26, rgb(230, 160, 40));
    }
    img.disc(cx, cy, 104, rgb(230, 160, 40));
    img.disc(cx, cy, 84, rgb(20, 28, 48));
    img.ring(cx, cy, 84, 90, rgb(255, 210, 120));
    img.fill_rect(int(cx - 52), int(cy - 50), int(cx + 52), int(cy - 26), rgb(255, 236, 200));
    img.fill_rect(int(cx - 12), int(cy - 50), int(cx + 12), int(cy + 56), rgb(255, 236, 200));
    img.rivet(cx - 40, cy - 38, 4, rgb(200, 140, 60));
    img.rivet(cx + 40, cy - 38, 4, rgb(200, 140, 60));
    const std::string name = "T R E L M O N D";
    draw_text_centred(img, font_sans_bold(), 64, cx, 450, name, rgb(255, 240, 220), 2.0f,
                      rgb(8, 8, 16));
    draw_text_centred(img, font_sans(), 24, cx, 500, "interactive", rgb(230, 160, 40));
    draw_text_centred(img, font_sans(), 16, cx, 570, "presents", rgb(150, 160, 190));
    return img;
}

Image credits_picture() {
    const int w = 800, h = 600;
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.at(x, y) = mix(rgb(20, 22, 48), rgb(60, 30, 60), float(y) / float(h));
    stars(img, 600, 14, 140);
    // Girders framing the page.
    for (int y : {0, 572}) {
        img.gradient_rect(0, y, w, y + 28, rgb(220, 90, 50), rgb(130, 36, 20));
        for (int k = 0; k < 40; ++k)
            img.rivet(10.0f + 20.0f * float(k), float(y) + 14, 3.0f, rgb(200, 70, 40));
    }
    title(img, "Credits", 400, 100, 64, rgb(255, 214, 80));
    struct Line {
        const char* role;
        const char* who;
    };
    // For players: the game, who made it, what it is built on. Everything sits above y 390:
    // the ending shows its own box below that.
    const Line lines[] = {
        {"Steel_Spree, a game by", "the Steel_Spree team"},
        {"Design, programming, pictures, music and sound", "the Steel_Spree team"},
        {"Built on", "SDL2, Mesa/OpenGL and libopenmpt"},
        {"Published by", "Trelmond interactive"},
    };
    float y = 170;
    for (const Line& l : lines) {
        draw_text_centred(img, font_sans(), 18, 400, y, l.role, rgb(230, 170, 90));
        draw_text_centred(img, font_sans_bold(), 24, 400, y + 28, l.who, rgb(255, 250, 240), 2.0f,
                          rgb(10, 8, 24));
        y += 56;
    }
    return img;
}

} // namespace gen
