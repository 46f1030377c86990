// Sky domes, the ride layer and the city below the site.
#include "atlas.h"
#include "gfx_image.h"
#include "models.h"
#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace gen {

namespace {

constexpr float kPi = 3.14159265358979f;

// A sphere seen from inside. Texture: u around, `v_of` maps the latitude (-90..90 degrees)
// to the drawn texture height (0 at the bottom of the image).
template <typename VOf>
Mesh inside_sphere(float radius, int segments, int rings, float u_max, VOf v_of) {
    Mesh m;
    auto point = [&](int s, int r) {
        float lat = -90.0f + 180.0f * float(r) / float(rings);
        float lon = 2 * kPi * float(s) / float(segments);
        float cl = std::cos(lat * kPi / 180.0f), sl = std::sin(lat * kPi / 180.0f);
        return V3{cl * std::cos(lon), sl, -cl * std::sin(lon)};
    };
    auto uv = [&](int s, int r) {
        float lat = -90.0f + 180.0f * float(r) / float(rings);
        return UV{u_max * float(s) / float(segments), -v_of(lat)};
    };
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            V3 a = point(s, r), b = point(s + 1, r), c = point(s + 1, r + 1), d = point(s, r + 1);
            std::vector<V3> cs, ns;
            std::vector<UV> us;
            auto add = [&](V3 p, UV t) {
                cs.push_back(p * radius);
                ns.push_back(-p); // normals point to the viewer inside
                us.push_back(t);
            };
            if (r == 0) { // bottom cap: a triangle with a pole
                add(a, UV{u_max * (float(s) + 0.5f) / float(segments), uv(s, r).v});
                add(c, uv(s + 1, r + 1));
                add(d, uv(s, r + 1));
            } else if (r == rings - 1) {
                add(a, uv(s, r));
                add(b, uv(s + 1, r));
                add(d, UV{u_max * (float(s) + 0.5f) / float(segments), uv(s, r + 1).v});
            } else {
                add(a, uv(s, r));
                add(b, uv(s + 1, r));
                add(c, uv(s + 1, r + 1));
                add(d, uv(s, r + 1));
            }
            m.poly_smooth(cs, ns, us, white());
        }
    return m;
}

} // namespace

Mesh sky_dome_model(float radius, int segments, int rings) {
    if (radius >= 100.0f) {
        // The menu picture, 800 x 600 in a 1024 x 1024 texture: the horizon lies at 380 pixels
        // from its top; zenith at the top row, nadir at the bottom row (half a texel inside).
        return inside_sphere(radius, segments, rings, 799.0f / 1024.0f, [](float lat) {
            // Latitudes near the horizon get more of the picture: a camera looking level
            // sees +-22.5 degrees, rows 215..476 of it.
            float f = std::pow(std::fabs(lat) / 90.0f, 0.6f);
            float y = lat >= 0 ? 380.0f * (1.0f - f) : 380.0f + 220.0f * f;
            y = std::clamp(y, 0.5f, 599.5f);
            return (600.0f - y) / 1024.0f;
        });
    }
    // The map view's sky (512 x 512, whole texture): latitude straight down the image.
    return inside_sphere(radius, segments, rings, 1.0f, [](float lat) {
        return std::clamp((lat + 90.0f) / 180.0f, 0.5f / 512.0f, 511.5f / 512.0f);
    });
}

Mesh ride_layer_model() {
    // Three turns of the tileable texture around, four repeats from bottom to top: scrolling the
    // texture upwards in v makes the clouds rush down past the rising lift.
    return inside_sphere(60.0f, 16, 12, 3.0f,
                         [](float lat) { return (lat + 90.0f) / 180.0f * 4.0f; });
}

Mesh city_model() {
    using namespace city_tex;
    Mesh m;
    Rng rng(2024);
    const float ground = -25.0f;
    const float block = 16.0f, street = 4.0f;
    const int blocks = 10; // 10 x 10 blocks around the origin
    const float half = blocks * block * 0.5f;
    // Streets: one large ground plane.
    TexRect st = city_tex::street();
    m.poly({{-half, ground, -half},
            {half, ground, -half},
            {half, ground, half},
            {-half, ground, half}},
           {st.at(0.1f, 0.1f), st.at(0.9f, 0.1f), st.at(0.9f, 0.9f), st.at(0.1f, 0.9f)}, white(),
           {0, 1, 0});
    for (int bi = 0; bi < blocks; ++bi)
        for (int bj = 0; bj < blocks; ++bj) {
            float x0 = -half + bi * block + street * 0.5f, z0 = -half + bj * block + street * 0.5f;
            float x1 = x0 + block - street, z1 = z0 + block - street;
            // Block ground: pavement or a park.
            bool park = rng.below(9) == 0;
            TexRect g = park ? city_tex::park() : plaza();
            m.poly({{x0, ground + 0.05f, z0},
                    {x1, ground + 0.05f, z0},
                    {x1, ground + 0.05f, z1},
                    {x0, ground + 0.05f, z1}},
                   {g.at(0, 0), g.at(1, 0), g.at(1, 1), g.at(0, 1)}, white(), {0, 1, 0});
            if (park) continue;
            // Two or three buildings per block, split along the longer free side.
            float dist = std::hypot((x0 + x1) * 0.5f, (z0 + z1) * 0.5f);
            float tall = std::clamp(1.0f - dist / 100.0f, 0.3f, 1.0f);
            int n = 2 + rng.below(2);
            bool along_x = rng.below(2) == 0;
            float a = along_x ? x0 : z0, span = (along_x ? x1 - x0 : z1 - z0);
            for (int k = 0; k < n; ++k) {
                float s0 = a + span * float(k) / float(n) + 0.3f,
                      s1 = a + span * float(k + 1) / float(n) - 0.3f;
                float inset = rng.range(0.2f, 1.5f);
                float bx0 = along_x ? s0 : x0 + inset, bx1 = along_x ? s1 : x1 - inset;
                float bz0 = along_x ? z0 + inset : s0, bz1 = along_x ? z1 - inset : s1;
                float h = std::round(rng.range(4.0f, 20.0f * tall + 2.0f) / 2.5f) * 2.5f;
                h = std::clamp(h, 5.0f, 20.0f);
                int style = rng.below(12);
                TexRect f = facade(style);
                BoxTex t;
                auto wall = [&](float w) {
                    // Bottom-aligned piece of the facade: 8 units wide, 20 high (eight floors).
                    TexRect r = f;
                    r.x1 = f.x0 + (f.x1 - f.x0) * std::min(w / 8.0f, 1.0f);
                    r.y0 = f.y1 - (f.y1 - f.y0) * (h / 20.0f);
                    return r;
                };
                t.face[kPosX] = wall(bz1 - bz0);
                t.face[kNegX] = wall(bz1 - bz0);
                t.face[kPosZ] = wall(bx1 - bx0);
                t.face[kNegZ] = wall(bx1 - bx0);
                t.face[kPosY] = roof(rng.below(4));
                box(m, Xform{}, {bx0, ground, bz0}, {bx1, ground + h, bz1}, white(), t,
                    kAllFaces & ~(1u << kNegY));
            }
        }
    return m;
}

} // namespace gen
