// Text and glyphs rasterised with FreeType.
#include "gfx_text.h"
#include "gfx_image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace gen {

namespace {

FT_Library library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) l = nullptr;
        return l;
    }();
    return lib;
}

FT_Face face_for(const std::string& file) {
    static std::map<std::string, FT_Face> faces;
    auto it = faces.find(file);
    if (it != faces.end()) return it->second;
    FT_Face face = nullptr;
    if (!library() || FT_New_Face(library(), file.c_str(), 0, &face) != 0) {
        std::fprintf(stderr, "datagen: cannot open font %s\n", file.c_str());
        face = nullptr;
    }
    faces[file] = face;
    return face;
}

const std::string kFontDir = "/usr/share/fonts/truetype/dejavu/";

// The coverage mask of a whole line of text; origin (0, 0) is the pen start on the baseline,
// the mask starts at (ox, oy) relative to it.
struct TextMask {
    int w = 0, h = 0, ox = 0, oy = 0;
    std::vector<float> a;
};

bool text_mask(const std::string& font_file, int px, const std::string& text, int pad,
               TextMask* m) {
    FT_Face face = face_for(font_file);
    if (!face) return false;
    std::vector<GlyphMask> glyphs;
    std::vector<float> pens;
    float pen = 0;
    int min_x = 0, max_x = 1, min_y = 0, max_y = 1;
    for (unsigned char ch : text) {
        GlyphMask g;
        render_glyph(font_file, 0, px, ch, &g);
        glyphs.push_back(g);
        pens.push_back(pen);
        min_x = std::min(min_x, int(std::floor(pen)) + g.left);
        max_x = std::max(max_x, int(std::floor(pen)) + g.left + g.width);
        min_y = std::min(min_y, -g.top);
        max_y = std::max(max_y, -g.top + g.height);
        pen += g.advance;
    }
    m->ox = min_x - pad;
    m->oy = min_y - pad;
    m->w = max_x - min_x + 2 * pad;
    m->h = max_y - min_y + 2 * pad;
    m->a.assign(size_t(m->w) * m->h, 0.0f);
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const GlyphMask& g = glyphs[i];
        int gx = int(std::floor(pens[i])) + g.left - m->ox, gy = -g.top - m->oy;
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x) {
                float& d = m->a[size_t(gy + y) * m->w + gx + x];
                d = std::min(1.0f, d + g.coverage[size_t(y) * g.width + x]);
            }
    }
    return true;
}

} // namespace

bool render_glyph(const std::string& font_file, int px_w, int px_h, unsigned code, GlyphMask* out,
                  float shift_x) {
    *out = GlyphMask{};
    FT_Face face = face_for(font_file);
    if (!face) return false;
    FT_Set_Pixel_Sizes(face, FT_UInt(px_w), FT_UInt(px_h));
    FT_Vector delta{FT_Pos(std::lround(shift_x * 64.0f)), 0};
    FT_Set_Transform(face, nullptr, &delta);
    const bool failed = FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0;
    FT_Set_Transform(face, nullptr, nullptr);
    if (failed) return true;
    const FT_Bitmap& bm = face->glyph->bitmap;
    out->width = int(bm.width);
    out->height = int(bm.rows);
    out->left = face->glyph->bitmap_left;
    out->top = face->glyph->bitmap_top;
    out->advance = float(face->glyph->advance.x) / 64.0f;
    out->coverage.resize(size_t(out->width) * out->height);
    for (int y = 0; y < out->height; ++y)
        for (int x = 0; x < out->width; ++x)
            out->coverage[size_t(y) * out->width + x] = bm.buffer[y * bm.pitch + x] / 255.0f;
    return true;
}

bool font_metrics(const std::string& font_file, int px_w, int px_h, int* ascender, int* descender) {
    FT_Face face = face_for(font_file);
    if (!face) return false;
    FT_Set_Pixel_Sizes(face, FT_UInt(px_w), FT_UInt(px_h));
    *ascender = int(face->size->metrics.ascender / 64);
    *descender = int(-face->size->metrics.descender / 64);
    return true;
}

int text_width(const std::string& font_file, int px, const std::string& text) {
    float pen = 0;
    for (unsigned char ch : text) {
        GlyphMask g;
        render_glyph(font_file, 0, px, ch, &g);
        pen += g.advance;
    }
    return int(std::ceil(pen));
}

bool draw_text(Image& img, const std::string& font_file, int px, float x, float y_baseline,
               const std::string& text, Rgb c, float outline, Rgb outline_colour) {
    TextMask m;
    int pad = int(std::ceil(outline)) + 1;
    if (!text_mask(font_file, px, text, pad, &m)) return false;
    int bx = int(std::floor(x)) + m.ox, by = int(std::floor(y_baseline)) + m.oy;
    if (outline > 0) {
        int r = int(std::ceil(outline));
        for (int y = 0; y < m.h; ++y)
            for (int x2 = 0; x2 < m.w; ++x2) {
                float best = 0;
                for (int dy = -r; dy <= r; ++dy)
                    for (int dx = -r; dx <= r; ++dx) {
                        int sx = x2 + dx, sy = y + dy;
                        if (sx < 0 || sy < 0 || sx >= m.w || sy >= m.h) continue;
                        float d = std::hypot(float(dx), float(dy));
                        float fall = std::clamp(outline + 0.5f - d, 0.0f, 1.0f);
                        best = std::max(best, m.a[size_t(sy) * m.w + sx] * fall);
                    }
                img.blend(bx + x2, by + y, outline_colour, best);
            }
    }
    for (int y = 0; y < m.h; ++y)
        for (int x2 = 0; x2 < m.w; ++x2)
            img.blend(bx + x2, by + y, c, m.a[size_t(y) * m.w + x2]);
    return true;
}

bool draw_text_centred(Image& img, const std::string& font_file, int px, float cx, float y_baseline,
                       const std::string& text, Rgb c, float outline, Rgb outline_colour) {
    float w = float(text_width(font_file, px, text));
    return draw_text(img, font_file, px, cx - w * 0.5f, y_baseline, text, c, outline,
                     outline_colour);
}

const std::string& font_sans_bold() {
    static const std::string f = kFontDir + "DejaVuSans-Bold.ttf";
    return f;
}
const std::string& font_sans() {
    static const std::string f = kFontDir + "DejaVuSans.ttf";
    return f;
}
const std::string& font_mono_bold() {
    static const std::string f = kFontDir + "DejaVuSansMono-Bold.ttf";
    return f;
}

} // namespace gen
