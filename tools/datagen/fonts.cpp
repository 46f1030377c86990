// The two bitmap fonts: 16 columns x 8 rows of glyph cells (codes 0..127), pure black
// transparent. The advance is the cell, so the spacing is made inside it: every glyph is
// drawn from a proportional bold face, condensed to the cell's proportions (the widest ones a
// little more), and set in the middle of its cell by its ink rather than by its advance, so
// an "i" and an "m" leave the same gaps to their neighbours. A dark outline (and for the big
// display face a drop shadow and a bevel of light) lets the text read over the 3D scene.
#include "gfx_text.h"
#include "textures.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace gen {

namespace {

struct FontStyle {
    int cell_w, cell_h;
    int px_h;        // rasterising height (the em)
    float condense;  // rasterising width as a fraction of the height
    int max_ink;     // widest ink a glyph may have, leaving room for its outline
    int wide_ink;    // the same for the widest letters (M, W, m, w, @, %), whose outline
                     // may give way at the cell's edge so they stay legible
    int baseline;    // from the top of the cell
    Rgb top, bottom; // fill gradient from the cap line to the baseline
    Rgb outline;
    bool shadow; // a soft shadow below and to the right
    bool bevel;  // lighter upper edges of the strokes
};

// Ink columns of a glyph mask: first and one past the last column with coverage.
std::pair<int, int> ink_span(const GlyphMask& g) {
    int lo = g.width, hi = 0;
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
            if (g.coverage[size_t(y) * g.width + x] > 0.12f) {
                lo = std::min(lo, x);
                hi = std::max(hi, x + 1);
            }
    return {lo, std::max(lo, hi)};
}

// How crisp a mask is: the sum of squared coverage over the sum of coverage (1 when every
// pixel is either full or empty).
float crispness(const GlyphMask& g) {
    float sq = 0, sum = 0;
    for (float c : g.coverage) {
        sq += c * c;
        sum += c;
    }
    return sum > 0 ? sq / sum : 0;
}

// The glyph at the quarter-pixel offset that puts its stems most squarely on the pixels.
bool crisp_glyph(int px_w, int px_h, unsigned code, GlyphMask* out) {
    bool ok = false;
    float best = -1;
    for (int k = 0; k < 4; ++k) {
        GlyphMask g;
        ok = render_glyph(font_sans_bold(), px_w, px_h, code, &g, 0.25f * float(k));
        if (!ok) return false;
        const float c = crispness(g);
        if (c > best + 1e-4f) {
            best = c;
            *out = g;
        }
    }
    // Firm edges: coverage pushed towards full or empty.
    for (float& c : out->coverage) {
        const float t = std::clamp((c - 0.2f) / 0.6f, 0.0f, 1.0f);
        c = t * t * (3 - 2 * t);
    }
    return ok;
}

// The glyph condensed until its ink fits the cell's limit.
GlyphMask fitted_glyph(const FontStyle& st, unsigned code) {
    GlyphMask g;
    const bool wide = std::string("MWmw@%").find(char(code)) != std::string::npos;
    const int limit = wide ? st.wide_ink : st.max_ink;
    int px_w = std::max(1, int(std::lround(st.px_h * st.condense)));
    for (;;) {
        if (!crisp_glyph(px_w, st.px_h, code, &g)) return g;
        auto [lo, hi] = ink_span(g);
        if (hi - lo <= limit || px_w <= st.px_h / 3) return g;
        --px_w;
    }
}

// Letters a plain sans face draws alike at this size get the marks that tell them apart: a
// serifed I, an l with a foot, a comma and a Q with longer tails.
void distinguish(unsigned code, int w, int h, std::vector<float>* a) {
    if (code != 'I' && code != 'l' && code != ',' && code != 'Q') return;
    int lo = w, hi = -1, top = h, bottom = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((*a)[size_t(y) * w + x] > 0.5f) {
                lo = std::min(lo, x);
                hi = std::max(hi, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (hi < 0) return;
    auto set = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < w && y < h) (*a)[size_t(y) * w + x] = 1.0f;
    };
    if (code == 'I') {
        for (int x = lo - 1; x <= hi + 1; ++x) {
            set(x, top);
            set(x, bottom);
        }
    } else if (code == 'l') {
        // The foot curls up a little, so it does not read as an L.
        set(hi + 1, bottom);
        if (w > 8) set(hi + 2, bottom - 1);
    } else if (code == 'Q') {
        set(hi, bottom + 1);
        set(hi - 1, bottom);
    } else { // ','
        set(lo - 1, bottom + 1);
        set(lo, bottom);
    }
}

Image make_font(const FontStyle& st) {
    Image img(st.cell_w * 16, st.cell_h * 8, rgb(0, 0, 0));
    const int cap_top = st.baseline - int(std::lround(st.px_h * 0.73f));
    for (unsigned code = 33; code < 127; ++code) {
        const GlyphMask g = fitted_glyph(st, code);
        if (g.width == 0) continue;
        const int cx = int(code % 16) * st.cell_w, cy = int(code / 16) * st.cell_h;
        // Coverage inside the cell, the ink centred (the shadow's pixel taken off the right).
        auto [lo, hi] = ink_span(g);
        const int room = st.cell_w - (st.shadow ? 1 : 0);
        const int ox = (room - (hi - lo)) / 2 - lo;
        const int oy = st.baseline - g.top;
        std::vector<float> a(size_t(st.cell_w) * st.cell_h, 0.0f);
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x) {
                const int tx = ox + x, ty = oy + y;
                if (tx < 0 || ty < 0 || tx >= st.cell_w || ty >= st.cell_h) continue;
                a[size_t(ty) * st.cell_w + tx] = g.coverage[size_t(y) * g.width + x];
            }
        distinguish(code, st.cell_w, st.cell_h, &a);
        auto cov = [&](int x, int y) {
            if (x < 0 || y < 0 || x >= st.cell_w || y >= st.cell_h) return 0.0f;
            return a[size_t(y) * st.cell_w + x];
        };
        for (int y = 0; y < st.cell_h; ++y)
            for (int x = 0; x < st.cell_w; ++x) {
                const float c = cov(x, y);
                float ring = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        ring = std::max(ring, cov(x + dx, y + dy) * (dx && dy ? 0.7f : 1.0f));
                const float shadow =
                    st.shadow ? std::max(cov(x - 1, y - 1), 0.6f * cov(x - 2, y - 2)) : 0.0f;
                if (c < 0.02f && ring < 0.25f && shadow < 0.25f) continue; // stays transparent
                const float t =
                    std::clamp(float(y - cap_top) / float(st.baseline - cap_top), 0.0f, 1.0f);
                Rgb fill = mix(st.top, st.bottom, t);
                // Light from above: a stroke's upper edge is brighter, its lower edge deeper.
                if (st.bevel && c > 0.5f) {
                    if (cov(x, y - 1) < 0.3f)
                        fill = mix(fill, rgb(255, 255, 255), 0.45f);
                    else if (cov(x, y + 1) < 0.3f)
                        fill = scale(fill, 0.78f);
                }
                Rgb px = mix(st.outline, fill, std::clamp(c * 1.25f, 0.0f, 1.0f));
                if (c < 0.02f && ring < 0.25f) px = scale(st.outline, 0.55f); // the shadow
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
    // 15 x 20 glyphs: the menu's longest line, 26 characters, takes 390 pixels. A bold
    // condensed display face, warm white to amber, with a bevel and a drop shadow.
    return make_font({15, 20, 19, 1.0f, 12, 13, 15, rgb(255, 252, 236), rgb(255, 176, 48),
                      rgb(44, 20, 6), true, true});
}

Image small_font() {
    // 8 x 16 glyphs for the editor and the dialogs: the same face, plain, a one-pixel outline.
    return make_font({8, 16, 12, 0.85f, 6, 7, 12, rgb(255, 255, 255), rgb(206, 216, 232),
                      rgb(22, 24, 34), false, false});
}

} // namespace gen
