// The title logo and the status models: alarm clock and score trophy.
#include "atlas.h"
#include "models.h"
#include "shapes.h"

#include <array>
#include <cmath>
#include <map>
#include <string>

namespace gen {

namespace {

// Block letters of the title, five pixels wide and seven high ('#' set).
const std::map<char, std::array<const char*, 7>>& letters() {
    static const std::map<char, std::array<const char*, 7>> glyphs = {
        {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
        {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
        {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
        {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
        {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
        {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    };
    return glyphs;
}

struct Rect {
    int x0, y0, x1, y1; // pixels, y down, x1/y1 exclusive
};

// Splits a glyph into rectangles: runs along rows, merged with identical runs below.
std::vector<Rect> glyph_rects(const std::array<const char*, 7>& g) {
    std::vector<Rect> out;
    std::vector<Rect> open;
    for (int y = 0; y < 7; ++y) {
        std::vector<Rect> runs;
        for (int x = 0; x < 5;) {
            if (g[y][x] != '#') {
                ++x;
                continue;
            }
            int s = x;
            while (x < 5 && g[y][x] == '#')
                ++x;
            runs.push_back({s, y, x, y + 1});
        }
        std::vector<Rect> next;
        for (Rect r : runs) {
            bool merged = false;
            for (Rect& o : open)
                if (o.x0 == r.x0 && o.x1 == r.x1 && o.y1 == y) {
                    o.y1 = y + 1;
                    next.push_back(o);
                    o.x0 = -1;
                    merged = true;
                    break;
                }
            if (!merged) next.push_back(r);
        }
        for (Rect& o : open)
            if (o.x0 >= 0) out.push_back(o);
        open = next;
    }
    for (Rect& o : open)
        out.push_back(o);
    return out;
}

} // namespace

Mesh logo_model() {
    Mesh m;
    const std::string title = "STEEL SPREE";
    const float px = 0.094f, depth = 0.3f, shear = 0.22f;
    const float width = (float(title.size()) * 6 - 1) * px;
    const float left = -width / 2, top = 2.55f;
    const Colour side{150, 64, 18}, back{70, 30, 10};
    for (size_t i = 0; i < title.size(); ++i) {
        auto it = letters().find(title[i]);
        if (it == letters().end()) continue;
        for (const Rect& r : glyph_rects(it->second)) {
            // Front colour by height: pale gold at the top to deep orange at the bottom.
            float t = (float(r.y0 + r.y1) * 0.5f) / 7.0f;
            Colour front{255, uint8_t(236 - 120 * t), uint8_t(120 - 100 * t)};
            float x0 = left + (float(i) * 6 + float(r.x0)) * px,
                  x1 = left + (float(i) * 6 + float(r.x1)) * px;
            float y0 = top - float(r.y1) * px, y1 = top - float(r.y0) * px;
            // A slanted box: each corner shifted right by its height.
            auto sx = [&](float x, float y) { return x + (y - top + 7 * px) * shear; };
            std::vector<std::pair<float, float>> outline = {
                {sx(x0, y0), y0}, {sx(x1, y0), y0}, {sx(x1, y1), y1}, {sx(x0, y1), y1}};
            extrude_convex(m, Xform{}, outline, -depth, 0, front, side, back);
        }
    }
    // A girder under the title, with bolt heads along it.
    const Colour red{200, 50, 30}, red_dark{120, 28, 18}, red_top{236, 96, 60};
    const Colour faces[6] = {red_dark, red_dark, red_top, red_dark, red, red_dark};
    box_coloured(m, Xform{}, {-width / 2 - 0.25f, 1.55f, -0.45f}, {width / 2 + 0.4f, 1.75f, -0.05f},
                 faces);
    box_coloured(m, Xform{}, {-width / 2 - 0.15f, 1.43f, -0.35f}, {width / 2 + 0.3f, 1.55f, -0.15f},
                 faces);
    for (int k = 0; k < 8; ++k) {
        float x = -width / 2 + 0.2f + (width + 0.1f) * float(k) / 7.0f;
        const Colour bolt{210, 210, 200};
        lathe(m, translate({x, 1.65f, -0.05f}) * rotate_x(90),
              {{0, 0.06f}, {0.05f, 0.05f}, {0.05f, 0}}, 6, bolt);
    }
    return m;
}

Mesh clock_model() {
    using namespace clock_tex;
    Mesh m;
    // Built along local y (the dial faces +y), then turned so that the dial faces +z.
    Mesh c;
    disc(c, Xform{}, 0.86f, 0.36f, 16, white(), dial(), 90);
    lathe(c, Xform{}, {{0.86f, 0.36f}, {0.92f, 0.46f}, {1.06f, 0.42f}, {1.1f, 0.3f}}, 16, white(),
          chrome());
    lathe(c, Xform{}, {{1.1f, 0.3f}, {1.1f, -0.3f}}, 16, white(), case_side());
    lathe(c, Xform{}, {{1.1f, -0.3f}, {0, -0.36f}}, 16, white(), back());
    c.transform(rotate_x(90));
    m = c;
    // Two bells on top, a hammer between them, two feet.
    for (int s = -1; s <= 1; s += 2) {
        Xform bell = translate({0.62f * float(s), 0.95f, -0.05f}) * rotate_z(-30.0f * float(s));
        lathe(m, bell, {{0, 0.42f}, {0.26f, 0.34f, true}, {0.4f, 0.15f}, {0.4f, 0}, {0, 0}}, 8,
              white(), clock_tex::bell());
        Xform foot = translate({0.6f * float(s), -1.0f, 0}) * rotate_z(25.0f * float(s));
        box(m, foot, {-0.08f, -0.35f, -0.12f}, {0.08f, 0.05f, 0.12f}, white(), BoxTex::all(feet()));
    }
    box(m, translate({0, 1.15f, -0.05f}), {-0.05f, -0.1f, -0.05f}, {0.05f, 0.35f, 0.05f}, white(),
        BoxTex::all(chrome()));
    m.transform(translate({0, 0.25f, 0}));
    // A little smaller than the figure beside it: swaying, its bells stay clear of the help
    // text on its left and its feet of the time below it.
    m.transform(scaling(0.85f));
    return m;
}

Mesh score_model() {
    Mesh m;
    const Colour gold{240, 190, 40}, gold_dark{200, 140, 20}, gold_light{255, 230, 110};
    const Colour inner{150, 100, 10}, wood{90, 50, 25};
    // A trophy cup on a wooden plinth.
    lathe_coloured(
        m, translate({0, -0.2f, 0}),
        {{0, 1.45f},
         {0.62f, 1.5f},
         {0.72f, 1.55f},
         {0.68f, 1.05f, true},
         {0.45f, 0.6f, true},
         {0.12f, 0.4f},
         {0.1f, 0.0f},
         {0.42f, -0.2f},
         {0.42f, -0.3f},
         {0.6f, -0.3f},
         {0.6f, -0.75f},
         {0, -0.75f}},
        11, {inner, gold_light, gold_light, gold, gold_dark, gold, gold, gold, wood, wood, wood},
        15);
    // Handles: three bars on each side.
    for (int s = -1; s <= 1; s += 2) {
        const float pts[][2] = {{0.66f, 1.15f}, {1.0f, 1.2f}, {0.98f, 0.8f}, {0.55f, 0.65f}};
        for (int k = 0; k < 3; ++k) {
            V3 a{pts[k][0] * float(s), pts[k][1] - 0.2f, 0},
                b{pts[k + 1][0] * float(s), pts[k + 1][1] - 0.2f, 0};
            V3 d = b - a;
            float ang = std::atan2(d.y, d.x) * 180.0f / 3.14159265f;
            box(m, translate(a) * rotate_z(ang), {-0.05f, -0.06f, -0.06f},
                {length(d) + 0.05f, 0.06f, 0.06f}, gold);
        }
    }
    // Handles across the line of sight from the status row's camera.
    m.transform(rotate_y(-122));
    return m;
}

} // namespace gen
