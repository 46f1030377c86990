// gui_show: one frame of the dialogs: frame, title bar, moving, resizing, the dialog's scroll
// bar, the layout of the widgets in rows and their updates and drawing.
#include "graphics/device.h"
#include "graphics/font.h"
#include "gui/gui_internal.h"
#include "input/input.h"
#include "runtime/arith.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

struct Mouse {
    double x = 0, y = 0, left = 0, right = 0;
};

struct ShowResult {
    double top = 0;  // the content's top reference (body top less the scroll offset)
    double pen_y = 0, row_height = 0;
};

// The click edge of the active dialog: -1 in the frame of the press, 1 in that of the release.
double click_edge(const Mouse& m) {
    double edge = 0;
    if (m.left != 0 && gui_get_number("MOUSE_DN") == 0) {
        edge = -1;
        gui_set("MOUSE_DN", "1");
    } else if (m.left == 0 && gui_get_number("MOUSE_DN") > 0) {
        edge = 1;
        gui_set("MOUSE_DN", "0");
    }
    return edge;
}

bool either(const char* a, const char* b) { return gui_get_number(a) != 0 || gui_get_number(b) != 0; }

void draw_title_bar(double x, double y, double w, double fh, double cb, double cn) {
    draw_rect(x, y - fh - 4, x + w - 1, y, cb);
    draw_rect(x + 2, y - fh - 2, x + w - 3, y - 3, cn);
    const RtString caption = gui_get("TEXT");
    print_text(caption.c_str(), x + 3, y - fh - 2);
    print_text(caption.c_str(), x + 4, y - fh - 2);
}

void draw_grip(double x, double y, double w, double h, double fh, double colour) {
    const double r = x + w;
    double g = y + h - fh - 3;
    const double lengths[3] = {fh / 3, 2 * fh / 3, fh};
    for (int step = 0; step < 3; ++step) {
        if (step > 0) g += fh / 3;
        draw_line(r - lengths[step] - 5, g, r - 5, g, colour);
        draw_line(r - lengths[step] - 5, g + 1, r - 5, g + 1, colour);
    }
}

// One dialog, the one in the store. `active`: it takes input and its layout is recorded.
ShowResult show_dialog(bool active, const Mouse& m, std::vector<GuiWidgetBox>* boxes) {
    const gui::Glyph g = gui::glyph();
    const double fw = g.w, fh = g.h;
    const double edge = active ? click_edge(m) : 0;

    set_viewport(0, 0, 0, 0);
    const double cb = gui::num("COL_BRIGHT"), cn = gui::num("COL_NORM");
    double x = gui::num("XPOS"), y = gui::num("YPOS"), w = gui::num("WIDTH"),
           h = gui::num("HEIGHT");

    const bool movable = either("MOVABLE", "MOVEABLE");
    if (active && movable) {
        if (m.left == 0) {
            gui_set("MOVING", "0");
        } else if (boxes_overlap(m.x, m.y, 1, 1, x, y, w, fh) != 0 || gui::num("MOVING") != 0) {
            gui_set("MOVING", "1");
            x = std::max(0.0, x + m.x - gui::num("MOUSEX"));
            y = std::max(0.0, y + m.y - gui::num("MOUSEY"));
            gui::set_num("XPOS", x);
            gui::set_num("YPOS", y);
        }
    }
    if (movable) {
        y = y + fh + 4;
        draw_title_bar(x, y, w, fh, cb, cn);
    }

    draw_rect(x, y, x + w - 1, y + h - 1, cn);
    draw_rect(x + 2, y + 2, x + w - 3, y + h - 3, cb);
    double t = y;

    const bool scalable = either("SCALABLE", "SCALEABLE");
    if (active && scalable) {
        if (m.left == 0) {
            gui_set("SCALING", "0");
        } else if (boxes_overlap(m.x, m.y, 1, 1, x + w - fh - 4, y + h - fh - 4, fh + 4, fh + 4) !=
                       0 ||
                   gui::num("SCALING") != 0) {
            gui_set("SCALING", "1");
            w = std::max(0.0, w + m.x - gui::num("MOUSEX"));
            h = std::max(0.0, h + m.y - gui::num("MOUSEY"));
            gui::set_num("WIDTH", w);
            gui::set_num("HEIGHT", h);
        }
    }
    if (scalable) {
        const bool over =
            boxes_overlap(m.x, m.y, 1, 1, x + w - fh - 4, y + h - fh - 4, fh + 4, fh + 4) != 0;
        draw_grip(x, y, w, h, fh, over ? gui::num("COL_HOVER_NORM") : cn);
    }

    gui::set_num("MOUSEX", m.x);
    gui::set_num("MOUSEY", m.y);

    // Content area and the dialog's own scroll bar (the empty identifier).
    const double cx = x + 5, cy = y + 5, ch = h - 10;
    double cw = w - 10;
    // One scroll step moves the content by two lines, so the maximum counts such steps: the
    // last one brings the content's bottom into view (the previous frame's content height).
    const double overflow = gui::num("REALHEIGHT") - ch;
    gui_set("SCROLLMAX", str_from_int(overflow > 0 ? std::ceil(overflow / (2 * fh)) : 0));
    // A saved dialog takes no input: its bar only keeps its position within range.
    const double bar_x = active ? m.x - cx + fw : -1, bar_y = active ? m.y - cy : -1;
    double s = 0;
    if (gui::scroll_bar_update("", bar_x, bar_y, active ? edge : 0, ch - 2 * fh) != 0) {
        cw -= 1.5 * fw;
        s = 2 * fh * gui::num("SCROLL");
    }
    t -= s;
    set_viewport(cx + fw, cy, cw + 5, ch);
    gui::scroll_bar_draw("", cw + 5, ch - 2 * fh);
    set_viewport(0, 0, 0, 0);

    // Layout: left to right, wrapping into rows 2 pixels apart.
    double px = cx, py = cy - s, rh = 0;
    for (double n = 1, count = gui::widget_count(); n <= count; ++n) {
        const RtString id = gui_get("ID" + str_from_number(n));
        const double ww = gui::num(id + "WIDTH"), wh = gui::num(id + "HEIGHT");
        if (cx + cw < px + ww) {
            px = cx;
            py = py + rh + 2;
            rh = wh;
        }
        if (active) gui_update_widget(id, m.x - px, m.y - py, edge, 0);
        double vw = ww, vh = wh;
        if (px + ww > cx + cw) vw = cx + cw - px;
        if (py + wh > cy + ch) vh = cy + ch - py;
        const bool drawn = vw > 0 && vh > 0 && py >= cy;
        if (drawn) {
            set_viewport(px, py, vw, vh);
            gui_draw_widget(id);
        }
        if (boxes) boxes->push_back(GuiWidgetBox{id, px, py, ww, wh, drawn});
        px = px + vw + 2;
        rh = std::max(rh, wh);
    }
    set_viewport(0, 0, 0, 0);

    if (!active) {
        // Darkened by half, title bar and body (the body lies below the bar).
        set_alpha_mode(-0.5);
        const double dx = gui::num("XPOS"), dy = gui::num("YPOS");
        const double bar = movable ? fh + 4 : 0;
        draw_rect(dx, dy, dx + gui::num("WIDTH") - 1, dy + bar + gui::num("HEIGHT") - 1, 0);
        set_alpha_mode(0);
    }
    return ShowResult{t, py, rh};
}

} // namespace

double gui_show(double top_only) {
    Mouse m;
    read_mouse(m.x, m.y, m.left, m.right);
    if (top_only == 0 && !gui::dialog_stack().layers.empty()) {
        PropertyStore kept = gui::active_store();
        // Copies: a layer loaded for drawing may be changed by the drawing's bookkeeping.
        const std::vector<PropertyStore> layers = gui::dialog_stack().layers;
        for (const PropertyStore& layer : layers) {
            gui::active_store() = layer;
            show_dialog(false, m, nullptr);
        }
        gui::active_store() = std::move(kept);
    }
    std::vector<GuiWidgetBox> boxes;
    const ShowResult r = show_dialog(true, m, &boxes);
    gui::set_widget_boxes(std::move(boxes));
    show_system_pointer(1);
    const double real_height = (r.pen_y + 2 + r.row_height) - r.top;
    gui::set_num("REALHEIGHT", real_height);
    return std::max(gui::num("HEIGHT"), real_height);
}
