#pragma once
// Building blocks of the models: boxes, turned shapes (lathe), discs and extruded outlines.
#include "mesh.h"

#include <optional>

namespace gen {

enum BoxFace { kPosX = 0, kNegX, kPosY, kNegY, kPosZ, kNegZ };
constexpr unsigned kAllFaces = 0x3F;

// Texture of each box face (faces without one use the untextured (0, 0) pair). Side faces
// map their top edge (+y) to the rectangle's top; the top and bottom faces map +x to the right
// and -z to the rectangle's top.
struct BoxTex {
    std::optional<TexRect> face[6];
    static BoxTex all(const TexRect& r) {
        BoxTex t;
        for (auto& f : t.face)
            f = r;
        return t;
    }
};

// An axis-aligned box from lo to hi in local coordinates, placed by x; faces not in `mask` are
// left out. `colours` may differ per face.
void box(Mesh& m, const Xform& x, V3 lo, V3 hi, Colour c, const BoxTex& tex = {},
         unsigned mask = kAllFaces);
void box_coloured(Mesh& m, const Xform& x, V3 lo, V3 hi, const Colour colours[6],
                  unsigned mask = kAllFaces);

// A point of a turned profile: radius, height, and whether the surface is smooth across it.
struct ProfilePoint {
    float r, y;
    bool smooth = false;
};

// Turns a profile (from the top of the axis, down along the outside, to the bottom) about the
// local y axis in `segments` steps, smooth around. Texture: u around the rectangle's width,
// along the profile down its height. `phase` turns the start of the segments (degrees).
void lathe(Mesh& m, const Xform& x, const std::vector<ProfilePoint>& profile, int segments,
           Colour c, const std::optional<TexRect>& tex = {}, float phase = 0.0f);
// Like lathe, with one colour per profile segment.
void lathe_coloured(Mesh& m, const Xform& x, const std::vector<ProfilePoint>& profile, int segments,
                    const std::vector<Colour>& colours, float phase = 0.0f);

// A closed prism along local y from y0 to y1 with bottom radius r0 and top radius r1.
void cylinder(Mesh& m, const Xform& x, float r0, float r1, float y0, float y1, int segments,
              Colour c, const std::optional<TexRect>& tex = {}, float phase = 0.0f);

// A prism along local y: flat-sided (or smooth-sided) with `segments` sides, the top closed by
// one polygon (cheaper than a fan), the bottom only when `bottom` is set.
void prism(Mesh& m, const Xform& x, float r0, float r1, float y0, float y1, int segments, Colour c,
           const std::optional<TexRect>& side_tex = {}, const std::optional<TexRect>& cap_tex = {},
           bool smooth = false, bool bottom = false, float phase = 0.0f);

// A flat disc in the local xz plane facing +y, texture mapped flat (x right, -z up).
void disc(Mesh& m, const Xform& x, float radius, float y, int segments, Colour c,
          const std::optional<TexRect>& tex = {}, float phase = 0.0f);

// A polygon outline in the local xy plane (counter-clockwise seen from +z, convex pieces
// supplied separately) extruded from z0 to z1: front (+z) and back faces and the side walls.
void extrude_convex(Mesh& m, const Xform& x, const std::vector<std::pair<float, float>>& outline,
                    float z0, float z1, Colour front, Colour side, Colour back,
                    unsigned walls_mask = 0xFFFFFFFF);

} // namespace gen
