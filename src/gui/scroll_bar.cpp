// The scroll bar of dialogs (empty identifier), lists and editable text: a column 1.5 glyphs
// wide at the right edge with two arrow boxes and a thumb between them.
#include "graphics/device.h"
#include "gui/gui_internal.h"
#include "input/input.h"

#include <algorithm>
#include <cmath>

namespace gui {

double scroll_bar_update(const RtString& id, double x, double y, double edge, double bar_height) {
    const Glyph g = glyph();
    const double w = num(id + "WIDTH"), m = num(id + "SCROLLMAX"), h = bar_height;
    double s = num(id + "SCROLL");
    if (s > m) {
        s = m;
        set_num(id + "SCROLL", s);
    }
    if (m <= 0) {
        if (s != 0) gui_set(id + "SCROLL", "0");
        if (m < 0) gui_set(id + "SCROLLMAX", "0");
        return 0;
    }
    if (!(y >= 0 && y <= h && x >= w - 1.5 * g.w && x < w)) return 1;
    if (s < 0) {
        s = 0;
        set_num(id + "SCROLL", s);
    }
    const bool held = mouse_state(3) != 0 || mouse_state(4) != 0 || mouse_state(5) != 0;
    if (edge == 0 && !held) return 1;
    const double a = std::max(g.w, g.h);
    if (h <= 3 * a) {
        if (y <= h / 2 - 1) {
            s -= 1;
        } else if (y >= h / 2) {
            s += 1;
        }
    } else if (y < a) {
        if (edge == 1) s -= 1;
    } else if (y >= h - a) {
        if (edge == 1) s += 1;
    } else {
        s = std::trunc((y - a) / (h - 2 * a) * (m + 1));
    }
    // Kept within 0..max at once, so the frame that scrolls never shows past the end.
    s = std::clamp(s, 0.0, m);
    set_num(id + "SCROLL", s);
    return 1;
}

void scroll_bar_draw(const RtString& id, double width, double height) {
    const double m = num(id + "SCROLLMAX");
    if (m <= 0) return;
    const Glyph g = glyph();
    const double s = num(id + "SCROLL"), w = width, h = height, a = std::max(g.w, g.h);
    const double bright = num("COL_BRIGHT"), norm = num("COL_NORM");
    const double left = w - 1.5 * g.w, column = 1.5 * g.w;
    draw_rect(left, 0, w - 1, h - 1, norm);
    if (h <= 3 * a) {
        gui_gradient_box(bright, norm, left, 0, column, h / 2);
        gui_gradient_box(bright, norm, left, h / 2, column, h / 2);
    } else {
        gui_gradient_box(bright, norm, left, 0, column, a + 1);
        gui_gradient_box(bright, norm, left, h - a - 1, column, a + 1);
        const double t = std::max(1.0, (h - 2 * a) / (m + 1));
        const double p = ((h - 2 * a) - t) * s / m;
        gui_gradient_box(num("COL_HOVER_BRIGHT"), num("COL_HOVER_NORM"), left, a + p, column, t);
    }
    const double c = w - 0.75 * g.w;
    if (s > 0) {
        start_poly(-1);
        poly_vertex(c, 0.2 * a, 0, 0, 0);
        poly_vertex(c - 0.5 * g.w, 0.8 * a, 0, 0, 0);
        poly_vertex(c + 0.5 * g.w, 0.8 * a, 0, 0, 0);
        end_poly();
    }
    if (s < m) {
        start_poly(-1);
        poly_vertex(c, h - 0.2 * a - 1, 0, 0, 0);
        poly_vertex(c + 0.5 * g.w, h - 0.8 * a - 1, 0, 0, 0);
        poly_vertex(c - 0.5 * g.w, h - 0.8 * a - 1, 0, 0, 0);
        end_poly();
    }
}

} // namespace gui
