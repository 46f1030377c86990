// Float RGB images, drawing helpers and 24-bit BMP output.
#include "gfx_image.h"

#include <algorithm>
#include <cmath>

namespace gen {

Rgb mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scale(Rgb c, float f) {
    return {c.r * f, c.g * f, c.b * f};
}

Image::Image(int w, int h, Rgb fill) : w_(w), h_(h), px_(size_t(w) * h, fill) {}

void Image::set(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) at(x, y) = c;
}

void Image::blend(int x, int y, Rgb c, float alpha) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_ || alpha <= 0.0f) return;
    alpha = std::min(alpha, 1.0f);
    at(x, y) = mix(at(x, y), c, alpha);
}

Rgb Image::get_wrapped(int x, int y) const {
    x %= w_;
    y %= h_;
    if (x < 0) x += w_;
    if (y < 0) y += h_;
    return at(x, y);
}

void Image::fill_rect(int x0, int y0, int x1, int y1, Rgb c) {
    for (int y = std::max(y0, 0); y < std::min(y1, h_); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, w_); ++x)
            at(x, y) = c;
}

void Image::blend_rect(int x0, int y0, int x1, int y1, Rgb c, float alpha) {
    for (int y = std::max(y0, 0); y < std::min(y1, h_); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, w_); ++x)
            blend(x, y, c, alpha);
}

void Image::gradient_rect(int x0, int y0, int x1, int y1, Rgb top, Rgb bottom) {
    int h = std::max(y1 - y0 - 1, 1);
    for (int y = std::max(y0, 0); y < std::min(y1, h_); ++y) {
        Rgb c = mix(top, bottom, float(y - y0) / float(h));
        for (int x = std::max(x0, 0); x < std::min(x1, w_); ++x)
            at(x, y) = c;
    }
}

void Image::disc(float cx, float cy, float radius, Rgb c, float alpha) {
    ring(cx, cy, -1.0f, radius, c, alpha);
}

void Image::ring(float cx, float cy, float r_in, float r_out, Rgb c, float alpha) {
    int x0 = int(std::floor(cx - r_out - 1)), x1 = int(std::ceil(cx + r_out + 1));
    int y0 = int(std::floor(cy - r_out - 1)), y1 = int(std::ceil(cy + r_out + 1));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            float a = std::clamp(r_out - d + 0.5f, 0.0f, 1.0f);
            if (r_in >= 0) a = std::min(a, std::clamp(d - r_in + 0.5f, 0.0f, 1.0f));
            blend(x, y, c, a * alpha);
        }
}

void Image::line(float x0, float y0, float x1, float y1, float width, Rgb c, float alpha) {
    float r = width * 0.5f;
    int bx0 = int(std::floor(std::min(x0, x1) - r - 1)),
        bx1 = int(std::ceil(std::max(x0, x1) + r + 1));
    int by0 = int(std::floor(std::min(y0, y1) - r - 1)),
        by1 = int(std::ceil(std::max(y0, y1) + r + 1));
    float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    for (int y = by0; y <= by1; ++y)
        for (int x = bx0; x <= bx1; ++x) {
            float px = x + 0.5f - x0, py = y + 0.5f - y0;
            float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
            float d = std::hypot(px - t * dx, py - t * dy);
            blend(x, y, c, std::clamp(r - d + 0.5f, 0.0f, 1.0f) * alpha);
        }
}

void Image::rivet(float cx, float cy, float radius, Rgb base) {
    disc(cx + radius * 0.35f, cy + radius * 0.45f, radius * 1.05f, scale(base, 0.45f), 0.7f);
    disc(cx, cy, radius, scale(base, 0.85f));
    disc(cx - radius * 0.15f, cy - radius * 0.15f, radius * 0.7f, scale(base, 1.05f));
    disc(cx - radius * 0.35f, cy - radius * 0.35f, radius * 0.3f,
         mix(base, rgb(255, 255, 255), 0.6f), 0.9f);
}

void Image::paste(const Image& src, int x, int y) {
    for (int j = 0; j < src.height(); ++j)
        for (int i = 0; i < src.width(); ++i)
            set(x + i, y + j, src.at(i, j));
}

void Image::add_noise(uint32_t seed, float amount) {
    Rng rng(seed);
    for (auto& p : px_) {
        float f = 1.0f + amount * (rng.uniform() * 2.0f - 1.0f);
        p = scale(p, f);
    }
}

namespace {

uint8_t to_byte(float v) {
    float x = std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f;
    return uint8_t(std::min(int(x), 255));
}

void put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s.push_back(char((v >> (8 * i)) & 0xFF));
}

void put16(std::string& s, uint16_t v) {
    s.push_back(char(v & 0xFF));
    s.push_back(char(v >> 8));
}

} // namespace

std::string bmp_bytes(const Image& img, bool keyed) {
    const int w = img.width(), h = img.height();
    const uint32_t stride = (uint32_t(w) * 3 + 3) & ~3u;
    const uint32_t data_size = stride * uint32_t(h);
    std::string s;
    s.reserve(54 + data_size);
    s += "BM";
    put32(s, 54 + data_size);
    put32(s, 0);
    put32(s, 54);
    put32(s, 40);
    put32(s, uint32_t(w));
    put32(s, uint32_t(h));
    put16(s, 1);
    put16(s, 24);
    put32(s, 0);
    put32(s, data_size);
    put32(s, 2835);
    put32(s, 2835);
    put32(s, 0);
    put32(s, 0);
    const Rgb key = key_colour();
    for (int y = h - 1; y >= 0; --y) {
        size_t row_start = s.size();
        for (int x = 0; x < w; ++x) {
            const Rgb& p = img.at(x, y);
            uint8_t r = to_byte(p.r), g = to_byte(p.g), b = to_byte(p.b);
            bool is_key = p.r == key.r && p.g == key.g && p.b == key.b;
            if (!is_key && r == 255 && g == 0 && b == 128) b = 127; // not transparent by accident
            if (keyed && is_key) {
                r = 255;
                g = 0;
                b = 128;
            }
            s.push_back(char(b));
            s.push_back(char(g));
            s.push_back(char(r));
        }
        while (s.size() - row_start < stride)
            s.push_back('\0');
    }
    return s;
}

uint32_t Rng::next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return s_;
}

float Rng::uniform() {
    return float(next() >> 8) / 16777216.0f;
}

namespace {

float lattice(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return float(h & 0xFFFFFF) / 16777215.0f;
}

float smooth(float t) {
    return t * t * (3.0f - 2.0f * t);
}

} // namespace

float value_noise(float x, float y, int period_x, int period_y, uint32_t seed) {
    int xi = int(std::floor(x)), yi = int(std::floor(y));
    float fx = smooth(x - float(xi)), fy = smooth(y - float(yi));
    auto wrap = [](int v, int p) { return p > 0 ? ((v % p) + p) % p : v; };
    int x0 = wrap(xi, period_x), x1 = wrap(xi + 1, period_x);
    int y0 = wrap(yi, period_y), y1 = wrap(yi + 1, period_y);
    float a = lattice(x0, y0, seed), b = lattice(x1, y0, seed);
    float c = lattice(x0, y1, seed), d = lattice(x1, y1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

float fractal_noise(float x, float y, int period_x, int period_y, int octaves, uint32_t seed) {
    float sum = 0, amp = 0.5f, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * value_noise(x, y, period_x, period_y, seed + uint32_t(o) * 101u);
        norm += amp;
        x *= 2;
        y *= 2;
        period_x *= 2;
        period_y *= 2;
        amp *= 0.5f;
    }
    return sum / norm;
}

} // namespace gen
