// The level map: a blueprint-style picture of the level's pads drawn with hand-sketched lines,
// grabbed into a sprite and laid on the ground as a flat object.
#include "game/game.h"
#include "game/state.h"
#include "graphics/device.h"
#include "graphics/scene.h"
#include "runtime/arith.h"

#include <cmath>

namespace {

constexpr double kBackground = 15728640; // blue 240
constexpr double kOutline = 16777215;    // white
constexpr double kTravel = 16146528;     // red 96, green 96, blue 246

// Pieces one map may draw. Ordinary levels draw a few thousand; the cap keeps a map of absurd
// pads from taking seconds. Once it is spent, further sketch lines draw nothing.
constexpr long kPieceBudget = 150000;
long pieces_left = kPieceBudget;

int Trunc(double v) { return to_int32(v); }

} // namespace

double SketchLine(double x, double y, double dx, double dy, double piece, double overshoot,
                  double wobble, double colour) {
    if (pieces_left <= 0) return 0;
    const double a0 = atan_deg(dy, dx);
    const double r = rnd(2000) / 1000 - 1;
    const double len = std::sqrt(dx * dx + dy * dy);
    const double half = len / 2;
    const double mx = x + dx / 2, my = y + dy / 2;
    if (piece < len && piece > 1) {
        SketchLine(x, y, dx / 2, dy / 2, piece, overshoot, wobble, colour);
        SketchLine(mx, my, dx / 2, dy / 2, piece, overshoot, wobble, colour);
        draw_line(x, y, mx, my, colour);
        return 0;
    }
    --pieces_left;
    const double a = a0 + r * wobble;
    const double l = half + overshoot;
    const double jx = (rnd(2000) / 800 - 1) * sin_deg(a);
    const double jy = (rnd(2000) / 800 - 1) * cos_deg(a);
    draw_line(mx, my, mx + cos_deg(a) * l + jx, my + sin_deg(a) * l + jy, colour);
    draw_line(mx, my, mx - cos_deg(a) * l + jx, my - sin_deg(a) * l + jy, colour);
    return 0;
}

namespace {

void SketchBox(double x, double y, double w, double h, double piece, double thin, double colour,
               bool diagonal) {
    SketchLine(x, y, w - 4, 0, piece, thin, 1, colour);
    SketchLine(x, y, 0, h - 4, piece, thin, 1, colour);
    SketchLine(x, y + h - 4, w - 4, 0, piece, thin, 1, colour);
    SketchLine(x + w - 4, y, 0, h - 4, piece, thin, 1, colour);
    if (diagonal) SketchLine(x, y, w - 4, h - 4, piece, thin, 1, colour);
}

// The smallest power of two reached by doubling from 1 that is not less than v.
double PowerOfTwo(double v) {
    double p = 1;
    while (p < v && p < 1e9) p *= 2;
    return p;
}

} // namespace

double BuildLevelMap(double slot) {
    pieces_left = kPieceBudget;
    const double s = ScreenWidth * 0.03125;
    const double piece = 0.7 * s, thin = 0.08 * s;
    draw_rect(0, 0, ScreenWidth, ScreenHeight, kBackground);
    for (int i = 0; i < PadCount(); ++i) {
        const Pad& p = Pads.at(i);
        const double w = p.extx * s, h = p.exty * s;
        const bool movable = p.minx != p.maxx || p.miny != p.maxy;
        if (movable) {
            const double X = Trunc(s * p.maxx) + 1, Y = Trunc(s * p.maxy) + 1;
            SketchBox(X, Y, w, h, piece, thin, kTravel, true);
        }
        const double X = Trunc(s * (p.minx + 0.1)) + 1, Y = Trunc(s * (p.miny + 0.1)) + 1;
        SketchBox(X, Y, w, h, piece, thin, kOutline, false);
        if (movable) {
            const double ax = X + p.extx * 0.5 * s, ay = Y + p.exty * 0.5 * s;
            const double bx = Trunc((p.extx * 0.5 + p.maxx) * s);
            const double by = Trunc((p.exty * 0.5 + p.maxy) * s);
            SketchLine(ax, ay, bx - ax, by - ay, 2 * piece, thin * 0.5, 0.5, kTravel);
            const double len = std::sqrt((bx - ax) * (bx - ax) + (by - ay) * (by - ay));
            // Start and end centre can coincide: then there is no direction for the blobs.
            if (len > 0) {
                const double ux = 4 * (bx - ax) / len, uy = 4 * (by - ay) / len;
                for (int k = 0; k < 33; ++k) {
                    SketchLine(ax, ay, ux, uy, ux + uy, 0, 65, kTravel);
                    SketchLine(bx, by, -ux, -uy, ux + uy, 0, 65, kTravel);
                }
            }
        }
        if (ForceMap != 0 && s > 0) {
            set_viewport(Trunc(s * (p.minx + 0.1)) + 2, Trunc(s * (p.miny + 0.1)) + 2, w - 4,
                         h - 4);
            if (movable)
                for (double t = -(p.extx + p.exty) * s; t <= p.exty * s; t += s / 4)
                    SketchLine(0, t, w, w, piece, thin, 1, kTravel);
            set_viewport(0, 0, 0, 0);
        }
    }
    grab_sprite(slot, 0, 0, 31 * s, 11 * s);
    const double u_max = 31 * s / PowerOfTwo(31 * s), v_max = 11 * s / PowerOfTwo(11 * s);
    begin_object(slot);
    add_object_vertex(-1, 0, -1, 0, -v_max, 16777215);
    add_object_vertex(-1, 0, 21, 0, 0, 16777215);
    add_object_vertex(61, 0, -1, u_max, -v_max, 16777215);
    add_object_vertex(61, 0, 21, u_max, 0, 16777215);
    end_object();
    return 0;
}
