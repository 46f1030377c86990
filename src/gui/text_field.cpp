// Editable text: focus by click, caret and selection by mouse and cursor keys, typing,
// Backspace and Delete with key repeat, and a scroll bar for text taller than the box.
#include "graphics/device.h"
#include "gui/gui_internal.h"
#include "input/input.h"
#include "runtime/app/frame.h"
#include "runtime/text.h"

#include <algorithm>
#include <cmath>
#include <utility>

double gui_add_text_field(const RtString& identifier, const RtString& text, double width,
                          double height) {
    gui_add_widget(identifier, text, width, height);
    gui_set(gui_get("ID" + str_from_number(gui_get_number("COUNT"))) + "TYPE", "TEXT");
    return 0;
}

namespace {

constexpr double kRepeatMs = 100;

// The keys of one frame.
struct Keys {
    RtString c;         // a typed character ("" none)
    double h = 0;       // -1 cursor left, 1 cursor right
    bool del = false, bs = false, shift = false;
};

Keys read_keys(const RtString& id) {
    Keys k;
    k.c = inkey();
    if (k.c == "\b") k.c = RtString(); // Backspace is read by its key below
    const double last = gui::num(id + "LASTKEY");
    if (timer_ms() - gui::num(id + "LASTTIME") <= kRepeatMs && last != 0 && key_state(last) != 0)
        return k; // the held key repeats only after the pause
    k.h = key_state(205) - key_state(203);
    k.del = key_state(211) != 0;
    k.bs = key_state(14) != 0;
    k.shift = key_state(42) + key_state(54) != 0;
    double seen = 0;
    for (double code : {203.0, 205.0, 211.0, 14.0})
        if (key_state(code) != 0) seen = code;
    gui::set_num(id + "LASTKEY", seen);
    gui::set_num(id + "LASTTIME", timer_ms());
    return k;
}

void apply_keys(const RtString& id, Keys k) {
    RtString text = gui_get(id + "TEXT");
    const double length = str_len(text);
    // Positions are kept inside the text whatever the store holds.
    double a = std::clamp(std::trunc(gui::num(id + "SELSTART")), 0.0, length);
    double b = std::clamp(std::trunc(gui::num(id + "SELEND")), 0.0, length);
    if (k.shift && k.h != 0) {
        gui::set_num(id + "SELEND", std::clamp(b + k.h, 0.0, length));
        return;
    }
    if (a != b && (!k.c.empty() || k.del || k.bs)) {
        if (b < a) std::swap(a, b);
        text = str_mid(text, 0, a) + str_mid(text, b, length);
        k.del = k.bs = false;
    }
    RtString left = str_mid(text, 0, a), right = str_mid(text, a, str_len(text));
    double p = a + k.h;
    if (k.del) right = str_mid(right, 1, str_len(right));
    if (k.bs) {
        left = str_mid(left, 0, str_len(left) - 1);
        p -= 1;
    }
    if (!k.c.empty()) {
        left += k.c;
        p += 1;
    }
    text = left + right;
    gui_set(id + "TEXT", text);
    p = std::clamp(p, 0.0, str_len(text));
    gui::set_num(id + "SELSTART", p);
    gui::set_num(id + "SELEND", p);
}

} // namespace

namespace gui {

void text_update(const RtString& id, double x, double y, double edge) {
    const Glyph g = glyph();
    const double w = num(id + "WIDTH"), h = num(id + "HEIGHT");
    const double tw = w - (num(id + "SCROLLMAX") != 0 ? 1.5 * g.w : 0);
    const double th = gui_text_layout(id, 0, 0, tw, 0, 0);
    set_num(id + "SCROLLMAX", std::max(0.0, (th - h) / g.h));
    const double shown = scroll_bar_update(id, x, y, edge, h);
    const bool outside =
        x < 0 || y < 0 || y >= h || x >= w || (shown != 0 && x >= w - 1.5 * g.w);
    if (!outside) {
        if (mouse_state(3) != 0 && edge == 0) edge = 1; // a drag extends the selection
        if (edge != 0) {
            gui_set("FOCUS", id);
            const double p = gui_text_layout(id, x, y + num(id + "SCROLL") * g.h, tw, 0, 1);
            if (edge == -1) set_num(id + "SELSTART", p);
            set_num(id + "SELEND", p);
        }
    }
    // Keys go to the focused widget only, wherever the mouse is.
    if (gui_get("FOCUS") != id) return;
    const Keys k = read_keys(id);
    if (!k.c.empty() || k.del || k.bs || k.h != 0) apply_keys(id, k);
}

void text_draw(const RtString& id, double w, double h) {
    const Glyph g = glyph();
    draw_rect(0, 0, w, h, num("COL_NORM"));
    draw_rect(1, 1, w - 2, h - 2, num("COL_BRIGHT"));
    const double tw = w - g.w - (num(id + "SCROLLMAX") != 0 ? 1.5 * g.w : 0);
    gui_text_layout(id, 0.5 * g.w, -num(id + "SCROLL") * g.h, tw, 1, 0);
    scroll_bar_draw(id, w, h);
}

} // namespace gui
