#pragma once
// Images of the data generator: float RGB pictures, drawing helpers, BMP output.
#include <cstdint>
#include <string>
#include <vector>

namespace gen {

struct Rgb {
    float r = 0, g = 0, b = 0;
};
inline Rgb rgb(int r, int g, int b) {
    return {r / 255.0f, g / 255.0f, b / 255.0f};
}
Rgb mix(Rgb a, Rgb b, float t);
Rgb scale(Rgb c, float f);

// The colour key of sprites: pixels of exactly this colour are transparent.
inline Rgb key_colour() {
    return rgb(255, 0, 128);
}

class Image {
  public:
    Image(int w, int h, Rgb fill = {});
    int width() const { return w_; }
    int height() const { return h_; }
    Rgb& at(int x, int y) { return px_[size_t(y) * w_ + x]; }
    const Rgb& at(int x, int y) const { return px_[size_t(y) * w_ + x]; }
    // Coordinates outside the image are ignored (set) or wrapped (get_wrapped).
    void set(int x, int y, Rgb c);
    void blend(int x, int y, Rgb c, float alpha);
    Rgb get_wrapped(int x, int y) const;

    void fill_rect(int x0, int y0, int x1, int y1, Rgb c); // x1, y1 exclusive
    void blend_rect(int x0, int y0, int x1, int y1, Rgb c, float alpha);
    // Vertical gradient from top colour to bottom colour over the rectangle.
    void gradient_rect(int x0, int y0, int x1, int y1, Rgb top, Rgb bottom);
    // Anti-aliased filled disc (blended with the given opacity).
    void disc(float cx, float cy, float radius, Rgb c, float alpha = 1.0f);
    // Anti-aliased ring between two radii.
    void ring(float cx, float cy, float r_in, float r_out, Rgb c, float alpha = 1.0f);
    // Anti-aliased thick line segment.
    void line(float x0, float y0, float x1, float y1, float width, Rgb c, float alpha = 1.0f);
    // A rivet: a small shaded dome with a highlight and a shadow.
    void rivet(float cx, float cy, float radius, Rgb base);
    // Copies another image with its top-left at (x, y).
    void paste(const Image& src, int x, int y);
    // Every pixel times (1 + amount * noise), noise from a fixed seed.
    void add_noise(uint32_t seed, float amount);

  private:
    int w_, h_;
    std::vector<Rgb> px_;
};

// 24-bit uncompressed bottom-up BMP bytes. With `keyed`, pixels that are the colour key after
// rounding stay the key; other pixels that would round to the key are nudged off it.
std::string bmp_bytes(const Image& img, bool keyed = false);

// Deterministic random numbers (xorshift).
class Rng {
  public:
    explicit Rng(uint32_t seed) : s_(seed ? seed : 1) {}
    uint32_t next();
    float uniform(); // 0..1
    float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }
    int below(int n) { return int(next() % uint32_t(n)); }

  private:
    uint32_t s_;
};

// Smooth value noise, periodic with the given period (in lattice cells) along x and y.
float value_noise(float x, float y, int period_x, int period_y, uint32_t seed);
// Sum of octaves of value_noise, 0..1, periodic.
float fractal_noise(float x, float y, int period_x, int period_y, int octaves, uint32_t seed);

// Text drawn with a TrueType font from the system (FreeType); returns false when the font is
// missing. `px` is the pixel height; text is anti-aliased and blended in colour c.
bool draw_text(Image& img, const std::string& font_file, int px, float x, float y_baseline,
               const std::string& text, Rgb c, float outline = 0.0f, Rgb outline_colour = {});
// Width in pixels of a text set in the font.
int text_width(const std::string& font_file, int px, const std::string& text);
// Text centred on x.
bool draw_text_centred(Image& img, const std::string& font_file, int px, float cx, float y_baseline,
                       const std::string& text, Rgb c, float outline = 0.0f,
                       Rgb outline_colour = {});

const std::string& font_sans_bold();
const std::string& font_sans();
const std::string& font_mono_bold();

} // namespace gen
