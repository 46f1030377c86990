// The two bitmap fonts: 16 columns x 8 rows of glyphs (codes 0..127), pure black transparent.
// Glyphs are rasterised from a monospaced system font and given a dark outline so that they
// read over the 3D scene.
#include "gfx_text.h"
#include "textures.h"

#include <algorithm>
#include <cmath>

namespace gen {

namespace {

struct FontStyle {
    int cell_w, cell_h;
    int px_w, px_h;  // rasterising size (wider than high for the big font)
    int baseline;    // from the top of the cell
    Rgb top, bottom; // fill gradient over the cap height
    Rgb outline;
    bool shadow; // a second, darker outline pixel below and to the right
};

Image make_font(const FontStyle& st) {
    Image img(st.cell_w * 16, st.cell_h * 8, rgb(0, 0, 0));
    int asc = 0, desc = 0;
    font_metrics(font_mono_bold(), st.px_w, st.px_h, &asc, &desc);
    for (unsigned code = 33; code < 127; ++code) {
        GlyphMask g;
        if (!render_glyph(font_mono_bold(), st.px_w, st.px_h, code, &g)) continue;
        const int cx = int(code % 16) * st.cell_w, cy = int(code / 16) * st.cell_h;
        // Coverage inside the cell, the glyph centred on its advance.
        std::vector<float> a(size_t(st.cell_w) * st.cell_h, 0.0f);
        int ox = int(std::floor((float(st.cell_w) - g.advance) * 0.5f)) + g.left;
        int oy = st.baseline - g.top;
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x) {
                int tx = ox + x, ty = oy + y;
                if (tx < 0 || ty < 0 || tx >= st.cell_w || ty >= st.cell_h) continue;
                a[size_t(ty) * st.cell_w + tx] = g.coverage[size_t(y) * g.width + x];
            }
        auto cov = [&](int x, int y) {
            if (x < 0 || y < 0 || x >= st.cell_w || y >= st.cell_h) return 0.0f;
            return a[size_t(y) * st.cell_w + x];
        };
        for (int y = 0; y < st.cell_h; ++y)
            for (int x = 0; x < st.cell_w; ++x) {
                float c = cov(x, y);
                float ring = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        ring = std::max(ring, cov(x + dx, y + dy));
                float shadow = st.shadow ? std::max(cov(x - 1, y - 1), cov(x - 2, y - 2)) : 0.0f;
                if (c < 0.02f && ring < 0.25f && shadow < 0.25f) continue; // stays transparent
                float t = std::clamp(
                    float(y - (st.baseline - asc * 3 / 4)) / float(asc * 3 / 4 + 1), 0.0f, 1.0f);
                Rgb fill = mix(st.top, st.bottom, t);
                Rgb px = mix(st.outline, fill, std::clamp(c * 1.2f, 0.0f, 1.0f));
                if (c < 0.02f && ring < 0.25f) px = scale(st.outline, 0.6f);
                // Never pure black: that is the transparent colour.
                px.r = std::max(px.r, 10 / 255.0f);
                px.g = std::max(px.g, 8 / 255.0f);
                px.b = std::max(px.b, 6 / 255.0f);
                img.at(cx + x, cy + y) = px;
            }
    }
    return img;
}

} // namespace

Image big_font() {
    // 15 x 20 glyphs: the menu's longest line, 26 characters, takes 390 pixels.
    return make_font(
        {15, 20, 21, 17, 15, rgb(255, 255, 250), rgb(255, 196, 70), rgb(36, 18, 6), true});
}

Image small_font() {
    return make_font(
        {8, 16, 10, 12, 12, rgb(255, 255, 255), rgb(214, 222, 236), rgb(24, 24, 32), false});
}

} // namespace gen
