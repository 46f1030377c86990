// The editor's plan: the level's pads seen from above on a dot grid, fixed pads green, moving
// pads blue with their far end and swept area drawn additively and a line along the path, the
// selected pad's border yellow, and four short rows of marker dots.
#include "editor/editor.h"
#include "game/state.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "runtime/arith.h"

#include <cmath>

namespace {

constexpr double kGridDot = 16777215;
constexpr double kFixedBorder = 8454016, kFixedFill = 8453888;
constexpr double kMovingBorder = 16744576, kMovingFill = 16744448;
constexpr double kSelectedBorder = 4259839;
constexpr double kEndColour = 16744448, kSweptColour = 16744576, kPathColour = 4259839;
constexpr double kMarkerDot = 6316287;

bool IsMoving(const Pad& p) {
    return p.minx != p.maxx || p.miny != p.maxy;
}

void DrawPad(int i, double cell, double fw) {
    const Pad& p = Pads.at(i);
    const double px = std::trunc(cell * p.minx), py = std::trunc(cell * p.miny);
    const double pw = std::trunc(cell * p.extx), ph = std::trunc(cell * p.exty);
    const bool moving = IsMoving(p);
    double border = moving ? kMovingBorder : kFixedBorder;
    const double fill = moving ? kMovingFill : kFixedFill;
    if (i == Editor.current_pad) border = kSelectedBorder;
    // Each pad leaves a one-pixel gap to its right and lower neighbours.
    draw_rect(px, py, px + pw - 2, py + ph - 2, border);
    draw_rect(px + 1, py + 1, px + pw - 3, py + ph - 3, fill);
    if (i == 0) print_text("UP", px + 0.25 * fw, py);
    if (!moving) return;
    const double ex = std::trunc(cell * p.maxx), ey = std::trunc(cell * p.maxy);
    const double w = cell * p.extx, h = cell * p.exty;
    set_alpha_mode(0.2);
    draw_rect(ex, ey, ex + w - 2, ey + h - 2, kEndColour);
    set_alpha_mode(0.1);
    draw_rect(px, py, ex + w - 2, ey + h - 2, kSweptColour);
    set_alpha_mode(0);
    const double half_w = ((p.extx - 1) * 0.5 + 0.5) * cell;
    const double half_h = ((p.exty - 1) * 0.5 + 0.5) * cell;
    draw_line(px + half_w, py + half_h, ex + half_w, ey + half_h, kPathColour);
}

} // namespace

double PlanCell() {
    return std::trunc(ScreenWidth / 40);
}

void DrawPlan(double mx, double my, double left, bool over_dialog) {
    const double cell = PlanCell();
    double fw = 0, fh = 0;
    font_size(fw, fh);
    for (double gx = 0.5; gx < 30; gx += 1)
        for (double gy = 0.5; gy < 10; gy += 1)
            draw_point(gx * cell, gy * cell, kGridDot);
    for (int i = 0; i < PadCount(); ++i) {
        const Pad& p = Pads.at(i);
        // A press selects the pad under the mouse; where pads overlap the last one wins.
        if (!over_dialog && left != 0 &&
            boxes_overlap(mx, my, 1, 1, std::trunc(cell * p.minx), std::trunc(cell * p.miny),
                          cell * p.extx, cell * p.exty) != 0)
            Editor.current_pad = i;
        DrawPad(i, cell, fw);
    }
    for (double m = 0.5; m < 3; m += 1) {
        draw_point((m + 6) * cell, 2.5 * cell, kMarkerDot);
        draw_point((m + 9) * cell, 6.5 * cell, kMarkerDot);
        draw_point((m + 15) * cell, 2.5 * cell, kMarkerDot);
        draw_point((m + 18) * cell, 6.5 * cell, kMarkerDot);
    }
}
