// Textures of the building site: girders, bolts, the remote control and the alarm clock.
#include "atlas.h"
#include "textures.h"

#include <cmath>

namespace gen {

namespace {

constexpr float kPi = 3.14159265358979f;

// Painted steel: mottled paint, tileable with the given periods (pixels).
void paint_steel(Image& img, int x0, int y0, int x1, int y1, Rgb base, uint32_t seed, int period_x,
                 int period_y) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            float fx = float(x - x0) / 16.0f, fy = float(y - y0) / 16.0f;
            float n = fractal_noise(fx, fy, period_x / 16, period_y / 16, 3, seed);
            float fine = value_noise(float(x - x0) / 2.0f, float(y - y0) / 2.0f, period_x / 2,
                                     period_y / 2, seed + 7);
            img.set(x, y, scale(base, 0.86f + 0.22f * n + 0.06f * fine));
        }
}

void rust_streak(Image& img, float x, float y0, float len, Rgb base, float strength) {
    for (int y = int(y0); y < int(y0 + len); ++y) {
        float a = strength * (1.0f - float(y - y0) / len);
        for (int dx = -1; dx <= 1; ++dx)
            img.blend(int(x) + dx, y, mix(base, rgb(90, 40, 20), 0.6f),
                      a * (dx == 0 ? 1.0f : 0.4f));
    }
}

// A hexagon bolt head with its washer, lit from the top left.
void bolt_head(Image& img, float cx, float cy, float r, Rgb base) {
    img.disc(cx + r * 0.3f, cy + r * 0.4f, r * 1.35f, scale(base, 0.35f), 0.7f); // shadow
    img.disc(cx, cy, r * 1.25f, scale(base, 0.8f));                              // washer
    for (int k = 0; k < 6; ++k) {
        const float a0 = kPi / 3 * float(k) + kPi / 6, a1 = a0 + kPi / 3;
        const float lit = 0.75f + 0.45f * std::cos(a0 + kPi / 6 + kPi * 0.75f);
        img.line(cx + r * 0.55f * std::cos(a0), cy + r * 0.55f * std::sin(a0),
                 cx + r * 0.55f * std::cos(a1), cy + r * 0.55f * std::sin(a1), r * 0.9f,
                 scale(base, lit));
    }
    img.disc(cx, cy, r * 0.5f, scale(base, 1.05f));
    img.disc(cx - r * 0.2f, cy - r * 0.2f, r * 0.22f, mix(base, rgb(255, 255, 255), 0.55f), 0.8f);
}

// A plate: flat paint with a bright upper-left bevel and a dark lower-right one.
void plate(Image& img, int x0, int y0, int x1, int y1, Rgb base, uint32_t seed, int bevel) {
    paint_steel(img, x0, y0, x1, y1, base, seed, x1 - x0, y1 - y0);
    const Rgb hi = mix(base, rgb(255, 240, 220), 0.4f), lo = scale(base, 0.45f);
    img.fill_rect(x0, y0, x1, y0 + bevel, hi);
    img.fill_rect(x0, y0, x0 + bevel, y1, hi);
    img.fill_rect(x0, y1 - bevel, x1, y1, lo);
    img.fill_rect(x1 - bevel, y0, x1, y1, lo);
}

} // namespace

Image girder_texture(bool static_variant) {
    using namespace girder_tex;
    const Rgb base = static_variant ? rgb(104, 118, 136) : rgb(204, 72, 36);
    const Rgb hi = mix(base, rgb(255, 240, 220), 0.45f);
    const Rgb steel = mix(base, rgb(120, 120, 124), 0.35f); // bare steel of bolts and plates
    const uint32_t seed = static_variant ? 4101u : 4001u;
    Image img(kSize, kSize);

    // Walking surface (the top flange; s across, t along the beam): painted steel worn
    // brighter where the worker walks, a rivet row along each edge and a weld seam over the
    // web.
    paint_steel(img, 0, 0, 128, 128, base, seed, 128, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const float d = std::fabs(float(x) - 63.5f) / 64.0f;
            img.at(x, y) = scale(img.at(x, y), 1.08f - 0.12f * d * d);
        }
    img.fill_rect(0, 0, 2, 128, hi);
    img.fill_rect(126, 0, 128, 128, scale(base, 0.55f));
    for (int x : {16, 110})
        img.fill_rect(x, 0, x + 2, 128, scale(base, 0.8f));
    for (int k = 0; k < 8; ++k) {
        const float y = 8.0f + 16.0f * float(k);
        img.rivet(9, y, 3.4f, base);
        img.rivet(119, y, 3.4f, base);
    }
    for (int y = 0; y < 128; y += 4) // the seam: a row of small weld ripples
        img.line(60, float(y) + 0.5f, 68, float(y) + 2.5f, 1.6f, scale(base, 0.8f), 0.8f);

    // Flange edges: lit from above, a bright arris on top, shadow at the bottom.
    paint_steel(img, 0, 128, 128, 144, base, seed + 1, 128, 16);
    for (int y = 128; y < 144; ++y)
        for (int x = 0; x < 128; ++x)
            img.at(x, y) = scale(img.at(x, y), 1.2f - 0.4f * float(y - 128) / 16.0f);
    img.fill_rect(0, 128, 128, 130, hi);
    img.fill_rect(0, 142, 128, 144, scale(base, 0.4f));

    // Web (s along the beam, t down): deep in the flanges' shadow at the top, rivet rows
    // where the flange angles hold it.
    paint_steel(img, 0, 144, 128, 224, base, seed + 2, 128, 80);
    for (int y = 144; y < 224; ++y) {
        const float t = float(y - 144) / 80.0f;
        const float shade = 0.5f + 0.4f * std::sin(t * kPi * 0.85f + 0.1f);
        for (int x = 0; x < 128; ++x)
            img.at(x, y) = scale(img.at(x, y), shade);
    }
    for (int k = 0; k < 8; ++k) {
        const float x = 8.0f + 16.0f * float(k);
        img.rivet(x, 152, 2.8f, scale(base, 0.8f));
        img.rivet(x, 215, 2.8f, scale(base, 0.8f));
    }
    Rng rng(seed + 3);
    for (int k = 0; k < 5; ++k)
        rust_streak(img, rng.range(4, 124), 156 + rng.range(0, 10), rng.range(20, 50), base,
                    static_variant ? 0.12f : 0.25f);

    // Under faces: in shadow.
    paint_steel(img, 0, 224, 128, 256, scale(base, 0.5f), seed + 4, 128, 32);

    // The cut end (s across, t down the 1.2 depth): bare steel, brushed, with the paint
    // ending in a rim along the I outline.
    paint_steel(img, 128, 0, 256, 128, mix(base, steel, 0.6f), seed + 5, 128, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 128; x < 256; ++x) {
            const float brushed = value_noise(float(x) / 9.0f, float(y) * 2.0f, 0, 0, seed + 9);
            img.at(x, y) = scale(img.at(x, y), 0.9f + 0.2f * brushed);
        }
    auto cap_x = [](float gx) { return 128.0f + (gx + 1.0f) * 64.0f; };
    auto cap_y = [](float gy) { return -gy / 1.2f * 128.0f; };
    const float ft = 0.2f, wb = 1.0f, web = 0.12f;
    struct Seg {
        float ax, ay, bx, by;
    };
    const Seg rim[] = {{-1, 0, 1, 0},          {1, 0, 1, -ft},       {1, -ft, web, -ft},
                       {web, -ft, web, -wb},   {web, -wb, 1, -wb},   {1, -wb, 1, -1.2f},
                       {1, -1.2f, -1, -1.2f},  {-1, -1.2f, -1, -wb}, {-1, -wb, -web, -wb},
                       {-web, -wb, -web, -ft}, {-web, -ft, -1, -ft}, {-1, -ft, -1, 0}};
    for (const Seg& sg : rim)
        img.line(cap_x(sg.ax), cap_y(sg.ay), cap_x(sg.bx), cap_y(sg.by), 5.0f, base);

    // Underside of the bottom flange.
    paint_steel(img, 128, 128, 256, 192, scale(base, 0.5f), seed + 6, 128, 64);
    for (int k = 0; k < 8; ++k) {
        img.rivet(138, 132.0f + 8.0f * float(k), 2.5f, scale(base, 0.6f));
        img.rivet(246, 132.0f + 8.0f * float(k), 2.5f, scale(base, 0.6f));
    }

    // Splice plate (s from its inner end to the joint, t down the web): a lighter plate with
    // two columns of three bolts; the joint's half of the plate meets the next piece's.
    plate(img, 128, 192, 256, 256, mix(base, hi, 0.25f), seed + 7, 3);
    for (float u : {0.3f, 0.7f})
        for (float v : {0.2f, 0.5f, 0.8f})
            bolt_head(img, 128.0f + 128.0f * u, 192.0f + 64.0f * v, 5.0f, steel);
    img.fill_rect(252, 192, 256, 256, scale(base, 0.5f)); // the joint line
    return img;
}

Image bolt_texture(bool wrong_place) {
    using namespace bolt_tex;
    const Rgb base = wrong_place ? rgb(220, 40, 32) : rgb(196, 198, 188);
    const Rgb hi = wrong_place ? rgb(255, 190, 170) : rgb(250, 250, 240);
    const Rgb dark = scale(base, 0.45f);
    Image img(kSize, kSize, base);
    // Nut facets: six, each with a bright edge and a darker middle.
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x) {
            float f = std::fmod(float(x) / (64.0f / 6.0f), 1.0f);
            float shade = 0.75f + 0.3f * std::sin(f * kPi);
            float band = (y < 2) ? 1.25f : (y > 13 ? 0.7f : 1.0f);
            img.at(x, y) = scale(base, shade * band);
        }
    for (int k = 0; k <= 6; ++k)
        img.line(k * 64.0f / 6.0f, 0, k * 64.0f / 6.0f, 16, 1.2f, hi, 0.8f);
    // Thread: a helix of light and dark stripes.
    for (int y = 16; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
            float p = std::fmod(float(x) / 16.0f + float(y - 16) / 4.0f, 1.0f);
            img.at(x, y) = scale(base, 0.55f + 0.6f * std::fabs(std::sin(p * kPi)));
        }
    // Washer.
    for (int y = 32; y < 40; ++y)
        for (int x = 0; x < 64; ++x)
            img.at(x, y) = scale(base, 1.1f - 0.06f * float(y - 32));
    // Flat tops: a turned ring pattern.
    for (int y = 40; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            float cx = x < 32 ? 12.0f : 44.0f;
            float d = std::hypot(float(x) + 0.5f - cx, float(y) + 0.5f - 52.0f);
            float rings = 0.9f + 0.12f * std::sin(d * 2.2f);
            img.at(x, y) = scale(mix(base, hi, 0.25f), rings);
        }
    img.disc(44, 52, 4, dark);
    if (wrong_place) {
        // White warning stripes on the nut and a white cross on the top.
        for (int k = 0; k < 6; ++k)
            img.line(k * 64.0f / 6.0f + 3, 2, k * 64.0f / 6.0f + 7, 14, 2.5f, rgb(255, 255, 255),
                     0.9f);
        img.line(5, 45, 19, 59, 3, rgb(255, 255, 255));
        img.line(19, 45, 5, 59, 3, rgb(255, 255, 255));
    }
    img.add_noise(wrong_place ? 51u : 52u, 0.05f);
    return img;
}

Image remote_texture() {
    using namespace remote_tex;
    Image img(kSize, kSize, rgb(60, 64, 74));
    const Rgb body = rgb(236, 190, 40); // safety yellow housing
    // Keypad face: yellow housing, dark panel, display, buttons.
    img.gradient_rect(0, 0, 128, 64, scale(body, 1.08f), scale(body, 0.9f));
    img.fill_rect(0, 0, 128, 2, rgb(255, 240, 170));
    img.fill_rect(6, 6, 122, 58, rgb(40, 42, 50));
    img.fill_rect(10, 10, 46, 30, rgb(90, 170, 110));
    img.fill_rect(10, 10, 46, 12, rgb(130, 210, 150));
    for (int k = 0; k < 4; ++k)
        img.fill_rect(14 + 8 * k, 16, 19 + 8 * k, 25, rgb(30, 70, 40));
    // Direction pad.
    img.fill_rect(23, 36, 33, 56, rgb(150, 150, 160));
    img.fill_rect(18, 41, 38, 51, rgb(150, 150, 160));
    img.disc(28, 46, 3, rgb(90, 90, 100));
    // Up and down buttons (green and orange).
    img.disc(104, 20, 6, rgb(60, 200, 70));
    img.disc(103, 19, 3, rgb(160, 255, 160), 0.8f);
    img.disc(104, 44, 6, rgb(240, 120, 30));
    img.disc(103, 43, 3, rgb(255, 200, 150), 0.8f);
    draw_text(img, font_sans_bold(), 8, 92, 33, "UP", rgb(240, 240, 240));
    draw_text(img, font_sans_bold(), 8, 88, 57, "DOWN", rgb(240, 240, 240));
    // Hazard stripes along the far end.
    for (int k = -2; k < 20; ++k)
        img.line(float(k * 8), 64, float(k * 8 + 6), 58, 3, rgb(20, 20, 20), 0.9f);
    // Sides: yellow with a dark seam.
    img.gradient_rect(0, 64, 128, 80, scale(body, 1.0f), scale(body, 0.7f));
    img.fill_rect(0, 71, 128, 73, rgb(50, 40, 20));
    // Bottom: battery cover.
    img.fill_rect(0, 80, 128, 112, scale(body, 0.6f));
    img.fill_rect(30, 86, 98, 106, scale(body, 0.5f));
    img.fill_rect(30, 86, 98, 87, scale(body, 0.8f));
    // Big red button, antenna metal, knob.
    img.gradient_rect(0, 112, 32, 128, rgb(255, 80, 60), rgb(170, 20, 20));
    img.gradient_rect(32, 112, 64, 128, rgb(230, 232, 240), rgb(120, 124, 134));
    img.fill_rect(64, 112, 96, 128, rgb(30, 30, 34));
    img.add_noise(61, 0.03f);
    return img;
}

Image clock_texture() {
    using namespace clock_tex;
    const Rgb red = rgb(214, 36, 40);
    Image img(kSize, kSize, red);
    // Dial: cream face, chrome bezel, numbers, hands at ten past ten.
    img.fill_rect(0, 0, 128, 128, rgb(200, 200, 210));
    img.disc(64, 64, 63, rgb(235, 235, 245));
    img.ring(64, 64, 55, 63, rgb(150, 152, 165));
    img.ring(64, 64, 58, 60, rgb(250, 250, 255));
    img.disc(64, 64, 54, rgb(252, 246, 226));
    for (int k = 0; k < 60; ++k) {
        float a = float(k) * 6.0f * kPi / 180.0f;
        float r0 = k % 5 == 0 ? 44.0f : 48.0f;
        img.line(64 + std::sin(a) * r0, 64 - std::cos(a) * r0, 64 + std::sin(a) * 51,
                 64 - std::cos(a) * 51, k % 5 == 0 ? 3.0f : 1.2f, rgb(40, 40, 50));
    }
    const char* nums[] = {"12", "3", "6", "9"};
    for (int k = 0; k < 4; ++k) {
        float a = float(k) * 90.0f * kPi / 180.0f;
        draw_text_centred(img, font_sans_bold(), 15, 64 + std::sin(a) * 33, 70 - std::cos(a) * 33,
                          nums[k], rgb(30, 30, 40));
    }
    img.line(64, 64, 64 - 20, 64 - 14, 5, rgb(20, 20, 30));
    img.line(64, 64, 64 + 20, 64 - 30, 3.5f, rgb(20, 20, 30));
    img.line(64 - 10, 64 + 8, 64 + 30, 64 - 24, 1.5f, rgb(220, 30, 30));
    img.disc(64, 64, 4, rgb(200, 30, 30));
    // Case: red enamel with a highlight band.
    for (int y = 0; y < 32; ++y)
        for (int x = 128; x < 256; ++x) {
            float t = float(y) / 31.0f;
            float shade = 0.7f + 0.5f * std::exp(-std::pow((t - 0.35f) * 4.0f, 2.0f));
            img.at(x, y) = scale(red, shade);
        }
    // Chrome: sky above, ground below.
    for (int y = 32; y < 64; ++y)
        for (int x = 128; x < 256; ++x) {
            float t = float(y - 32) / 31.0f;
            Rgb c = t < 0.5f ? mix(rgb(250, 250, 255), rgb(170, 180, 200), t * 2.0f)
                             : mix(rgb(80, 80, 90), rgb(200, 200, 210), (t - 0.5f) * 2.0f);
            img.at(x, y) = c;
        }
    // Back: red with a winding key.
    img.fill_rect(128, 64, 192, 128, scale(red, 0.8f));
    img.disc(160, 96, 20, scale(red, 0.65f));
    img.disc(160, 96, 8, rgb(200, 200, 210));
    img.fill_rect(150, 80, 170, 92, rgb(200, 200, 210));
    // Bells: red domes with a shine.
    for (int y = 128; y < 192; ++y)
        for (int x = 0; x < 128; ++x) {
            float t = float(x) / 128.0f;
            float shade =
                0.65f +
                0.55f * std::exp(-std::pow((std::fmod(t + 0.1f, 1.0f) - 0.3f) * 6.0f, 2.0f));
            img.at(x, y) = scale(red, shade);
        }
    img.fill_rect(128, 128, 160, 160, rgb(190, 192, 200));
    img.add_noise(71, 0.02f);
    return img;
}

} // namespace gen
