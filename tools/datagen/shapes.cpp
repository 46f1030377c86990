// Boxes, turned shapes, discs and extrusions.
#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace gen {

namespace {

constexpr float kPi = 3.14159265358979f;

// Corners of each box face, counter-clockwise seen from outside, starting top-left as the
// face's texture is seen (s right, t down): top-left, bottom-left, bottom-right, top-right.
void face_corners(int f, V3 lo, V3 hi, V3 out[4], V3* normal) {
    switch (f) {
    case kPosX: // seen from +x: right is -z
        out[0] = {hi.x, hi.y, hi.z};
        out[1] = {hi.x, lo.y, hi.z};
        out[2] = {hi.x, lo.y, lo.z};
        out[3] = {hi.x, hi.y, lo.z};
        *normal = {1, 0, 0};
        break;
    case kNegX: // seen from -x: right is +z
        out[0] = {lo.x, hi.y, lo.z};
        out[1] = {lo.x, lo.y, lo.z};
        out[2] = {lo.x, lo.y, hi.z};
        out[3] = {lo.x, hi.y, hi.z};
        *normal = {-1, 0, 0};
        break;
    case kPosY: // seen from above: right +x, up -z
        out[0] = {lo.x, hi.y, lo.z};
        out[1] = {lo.x, hi.y, hi.z};
        out[2] = {hi.x, hi.y, hi.z};
        out[3] = {hi.x, hi.y, lo.z};
        *normal = {0, 1, 0};
        break;
    case kNegY: // seen from below: right +x, up +z
        out[0] = {lo.x, lo.y, hi.z};
        out[1] = {lo.x, lo.y, lo.z};
        out[2] = {hi.x, lo.y, lo.z};
        out[3] = {hi.x, lo.y, hi.z};
        *normal = {0, -1, 0};
        break;
    case kPosZ: // seen from +z: right is +x
        out[0] = {lo.x, hi.y, hi.z};
        out[1] = {lo.x, lo.y, hi.z};
        out[2] = {hi.x, lo.y, hi.z};
        out[3] = {hi.x, hi.y, hi.z};
        *normal = {0, 0, 1};
        break;
    default: // -z, seen from -z: right is -x
        out[0] = {hi.x, hi.y, lo.z};
        out[1] = {hi.x, lo.y, lo.z};
        out[2] = {lo.x, lo.y, lo.z};
        out[3] = {lo.x, hi.y, lo.z};
        *normal = {0, 0, -1};
        break;
    }
}

void box_impl(Mesh& m, const Xform& x, V3 lo, V3 hi, const Colour* colours, const BoxTex& tex,
              unsigned mask) {
    for (int f = 0; f < 6; ++f) {
        if (!(mask & (1u << f))) continue;
        V3 c[4], n;
        face_corners(f, lo, hi, c, &n);
        std::vector<V3> cs;
        for (const V3& p : c)
            cs.push_back(x.apply(p));
        std::vector<UV> uvs;
        if (tex.face[f]) {
            const TexRect& r = *tex.face[f];
            uvs = {r.at(0, 0), r.at(0, 1), r.at(1, 1), r.at(1, 0)};
        }
        m.poly(cs, uvs, colours[f], x.rotate(n));
    }
}

} // namespace

void box(Mesh& m, const Xform& x, V3 lo, V3 hi, Colour c, const BoxTex& tex, unsigned mask) {
    Colour cs[6] = {c, c, c, c, c, c};
    box_impl(m, x, lo, hi, cs, tex, mask);
}

void box_coloured(Mesh& m, const Xform& x, V3 lo, V3 hi, const Colour colours[6], unsigned mask) {
    box_impl(m, x, lo, hi, colours, BoxTex{}, mask);
}

namespace {

void lathe_impl(Mesh& m, const Xform& x, const std::vector<ProfilePoint>& p, int segments,
                const std::vector<Colour>& colours, const std::optional<TexRect>& tex,
                float phase) {
    const size_t n = p.size();
    if (n < 2) return;
    // Normal of each profile segment in the (r, y) plane.
    std::vector<std::pair<float, float>> seg_n(n - 1);
    std::vector<float> along(n, 0.0f);
    for (size_t i = 0; i + 1 < n; ++i) {
        float dr = p[i + 1].r - p[i].r, dy = p[i + 1].y - p[i].y;
        float l = std::hypot(dr, dy);
        seg_n[i] = l > 0 ? std::pair{-dy / l, dr / l} : std::pair{0.0f, 0.0f};
        along[i + 1] = along[i] + l;
    }
    const float total = along[n - 1] > 0 ? along[n - 1] : 1.0f;
    auto normal_at = [&](size_t i, size_t seg) {
        std::pair<float, float> nn = seg_n[seg];
        if (p[i].smooth && i > 0 && i + 1 < n) {
            auto a = seg_n[i - 1], b = seg_n[i];
            nn = {a.first + b.first, a.second + b.second};
        }
        return nn;
    };
    for (size_t i = 0; i + 1 < n; ++i) {
        Colour c = colours[std::min(i, colours.size() - 1)];
        for (int s = 0; s < segments; ++s) {
            float a0 = (phase / 180.0f) * kPi + 2 * kPi * float(s) / float(segments);
            float a1 = (phase / 180.0f) * kPi + 2 * kPi * float(s + 1) / float(segments);
            auto pos = [&](size_t k, float a) {
                return x.apply({p[k].r * std::cos(a), p[k].y, -p[k].r * std::sin(a)});
            };
            auto nor = [&](size_t k, float a) {
                auto nn = normal_at(k, i);
                return x.rotate(
                    normalized(V3{nn.first * std::cos(a), nn.second, -nn.first * std::sin(a)}));
            };
            auto uv = [&](size_t k, int step) {
                return tex ? tex->at(float(step) / float(segments), along[k] / total) : UV{};
            };
            std::vector<V3> cs, ns;
            std::vector<UV> us;
            // Corners: (i, a0), (i+1, a0), (i+1, a1), (i, a1); drop repeated axis points.
            struct C {
                size_t k;
                float a;
                int st;
            };
            C all[4] = {{i, a0, s}, {i + 1, a0, s}, {i + 1, a1, s + 1}, {i, a1, s + 1}};
            for (int q = 0; q < 4; ++q) {
                const C& cc = all[q];
                if (p[cc.k].r == 0.0f && q == 3 && p[i].r == 0.0f) continue;
                if (p[cc.k].r == 0.0f && q == 2 && p[i + 1].r == 0.0f) continue;
                cs.push_back(pos(cc.k, cc.a));
                ns.push_back(nor(cc.k, cc.a));
                if (tex) us.push_back(uv(cc.k, cc.st));
            }
            if (cs.size() < 3) continue;
            m.poly_smooth(cs, ns, us, c);
        }
    }
}

} // namespace

void lathe(Mesh& m, const Xform& x, const std::vector<ProfilePoint>& profile, int segments,
           Colour c, const std::optional<TexRect>& tex, float phase) {
    lathe_impl(m, x, profile, segments, {c}, tex, phase);
}

void lathe_coloured(Mesh& m, const Xform& x, const std::vector<ProfilePoint>& profile, int segments,
                    const std::vector<Colour>& colours, float phase) {
    lathe_impl(m, x, profile, segments, colours.empty() ? std::vector<Colour>{white()} : colours,
               std::nullopt, phase);
}

void cylinder(Mesh& m, const Xform& x, float r0, float r1, float y0, float y1, int segments,
              Colour c, const std::optional<TexRect>& tex, float phase) {
    lathe(m, x, {{0, y1}, {r1, y1}, {r0, y0}, {0, y0}}, segments, c, tex, phase);
}

void prism(Mesh& m, const Xform& x, float r0, float r1, float y0, float y1, int segments, Colour c,
           const std::optional<TexRect>& side_tex, const std::optional<TexRect>& cap_tex,
           bool smooth, bool bottom, float phase) {
    auto ang = [&](int s) { return (phase / 180.0f) * kPi + 2 * kPi * float(s) / float(segments); };
    const float slope = (r0 - r1) / std::max(y1 - y0, 1e-6f);
    for (int s = 0; s < segments; ++s) {
        float a0 = ang(s), a1 = ang(s + 1);
        V3 p00{r0 * std::cos(a0), y0, -r0 * std::sin(a0)},
            p01{r1 * std::cos(a0), y1, -r1 * std::sin(a0)};
        V3 p10{r0 * std::cos(a1), y0, -r0 * std::sin(a1)},
            p11{r1 * std::cos(a1), y1, -r1 * std::sin(a1)};
        std::vector<V3> cs = {x.apply(p01), x.apply(p00), x.apply(p10), x.apply(p11)};
        std::vector<UV> us;
        if (side_tex) {
            float s0 = float(s) / float(segments), s1 = float(s + 1) / float(segments);
            us = {side_tex->at(s0, 0), side_tex->at(s0, 1), side_tex->at(s1, 1),
                  side_tex->at(s1, 0)};
        }
        if (smooth) {
            auto n = [&](float a) {
                return x.rotate(normalized(V3{std::cos(a), slope, -std::sin(a)}));
            };
            m.poly_smooth(cs, {n(a0), n(a0), n(a1), n(a1)}, us, c);
        } else {
            float am = (a0 + a1) * 0.5f;
            m.poly(cs, us, c, x.rotate(V3{std::cos(am), 0, -std::sin(am)}));
        }
    }
    for (int end = 0; end < (bottom ? 2 : 1); ++end) {
        float r = end ? r0 : r1, y = end ? y0 : y1;
        std::vector<V3> cs;
        std::vector<UV> us;
        for (int s = 0; s < segments; ++s) {
            float a = ang(s);
            cs.push_back(x.apply({r * std::cos(a), y, -r * std::sin(a)}));
            if (cap_tex)
                us.push_back(cap_tex->at(0.5f + 0.5f * std::cos(a), 0.5f - 0.5f * std::sin(a)));
        }
        m.poly(cs, us, c, x.rotate({0, end ? -1.0f : 1.0f, 0}));
    }
}

void disc(Mesh& m, const Xform& x, float radius, float y, int segments, Colour c,
          const std::optional<TexRect>& tex, float phase) {
    std::vector<V3> cs;
    std::vector<UV> us;
    for (int s = 0; s < segments; ++s) {
        float a = (phase / 180.0f) * kPi + 2 * kPi * float(s) / float(segments);
        float cx = std::cos(a), sz = -std::sin(a);
        cs.push_back(x.apply({radius * cx, y, radius * sz}));
        if (tex) us.push_back(tex->at(0.5f + 0.5f * cx, 0.5f + 0.5f * sz));
    }
    m.poly(cs, us, c, x.rotate({0, 1, 0}));
}

void extrude_convex(Mesh& m, const Xform& x, const std::vector<std::pair<float, float>>& outline,
                    float z0, float z1, Colour front, Colour side, Colour back,
                    unsigned walls_mask) {
    std::vector<V3> f, b;
    for (auto [px, py] : outline) {
        f.push_back(x.apply({px, py, z1}));
        b.push_back(x.apply({px, py, z0}));
    }
    m.poly(f, {}, front, x.rotate({0, 0, 1}));
    m.poly(b, {}, back, x.rotate({0, 0, -1}));
    const size_t n = outline.size();
    for (size_t i = 0; i < n; ++i) {
        if (!(walls_mask & (1u << (i % 32)))) continue;
        auto [ax, ay] = outline[i];
        auto [bx, by] = outline[(i + 1) % n];
        V3 out = normalized(V3{by - ay, -(bx - ax), 0}); // right of a->b for a ccw outline
        m.poly({x.apply({ax, ay, z1}), x.apply({bx, by, z1}), x.apply({bx, by, z0}),
                x.apply({ax, ay, z0})},
               {}, side, x.rotate(out));
    }
}

} // namespace gen
