// Static text, button, checkbox and spacer: constructors, updates and drawing.
#include "graphics/device.h"
#include "graphics/font.h"
#include "gui/gui_internal.h"
#include "runtime/text.h"

#include <algorithm>
#include <cmath>

double gui_add_button(const RtString& identifier, const RtString& text, double width,
                      double height) {
    gui_add_widget(identifier, text, width, height);
    // The constructor made the identifier; an empty one became the generated name.
    const RtString id = gui_get("ID" + str_from_number(gui_get_number("COUNT")));
    if (width == 0 || height == 0) {
        if (!gui::is_sprite_text(text)) {
            if (height == 0) gui::set_num(id + "HEIGHT", gui::glyph().h + 4);
        } else {
            double sw = 0, sh = 0;
            sprite_size(gui::sprite_text_slot(text), sw, sh);
            if (width == 0) gui::set_num(id + "WIDTH", sw + 4);
            if (height == 0) gui::set_num(id + "HEIGHT", sh + 4);
        }
    }
    gui_set(id + "TYPE", "BUTTON");
    return 0;
}

double gui_add_checkbox(const RtString& identifier, const RtString& text, double width,
                        double height) {
    if (width == 0) width = (str_len(text) + 3) * gui::glyph().w;
    gui_add_widget(identifier, text, width, height);
    gui_set(gui_get("ID" + str_from_number(gui_get_number("COUNT"))) + "TYPE", "CHECKBOX");
    return 0;
}

double gui_add_spacer(double width, double height) {
    const RtString id = "ID_SPACER_" + str_from_number(gui_get_number("COUNT"));
    gui_add_widget(id, RtString(), width, height);
    if (height == 0) gui_set(id + "HEIGHT", "0");
    gui_set(id + "TYPE", "SPACER");
    return 0;
}

double gui_add_sprite_buttons(const RtArray<RtString>& identifiers, const RtArray<double>& slots) {
    const double n = std::min(identifiers.bounds(0), slots.bounds(0));
    double bw = 0, bh = 0;
    for (double i = 0; i < n; ++i) {
        double sw = 0, sh = 0;
        sprite_size(slots.at(i), sw, sh);
        bw = std::max(bw, sw);
        bh = std::max(bh, sh);
    }
    for (double i = 0; i < n; ++i)
        gui_add_button(identifiers.at(i), "SPR_B" + str_from_number(slots.at(i)), bw, bh);
    gui_add_spacer(10000, 0);
    return 0;
}

namespace gui {

bool is_sprite_text(const RtString& text) { return str_mid(text, 0, 5) == "SPR_B"; }

double sprite_text_slot(const RtString& text) {
    return std::trunc(number_from_str(str_mid(text, 5, str_len(text))));
}

void static_update(const RtString& id) {
    set_num(id + "HEIGHT", gui_text_layout(id, 0, 0, num(id + "WIDTH"), 0, 0));
}

void static_draw(const RtString& id, double w, double /*h*/) {
    set_alpha_mode(-0.7);
    gui_text_layout(id, 0, 0, w, 1, 0);
    set_alpha_mode(0);
}

void button_update(const RtString& id, double edge) { set_flag(id + "CLICKED", edge == 1); }

void button_draw(const RtString& id, double w, double h) {
    const bool hover = num(id + "HOVER") > 0;
    const double bright = num(hover ? "COL_HOVER_BRIGHT" : "COL_BRIGHT");
    const double norm = num(hover ? "COL_HOVER_NORM" : "COL_NORM");
    draw_rect(0, 0, w - 1, h - 1, norm);
    gui_gradient_box(bright, norm, 1, 1, w - 2, h - 2);
    const RtString text = gui_get(id + "TEXT");
    if (!is_sprite_text(text)) {
        print_text(text.c_str(), 2, 2);
        return;
    }
    if (num(id + "HOVER") == 0) set_alpha_mode(-0.8);
    stretch_sprite(sprite_text_slot(text), 2, 2, w - 4, h - 4);
    set_alpha_mode(0);
}

void checkbox_update(const RtString& id, double edge) {
    if (edge != 1) return;
    set_num(id + "CHECKED", 1 - std::trunc(num(id + "CHECKED")));
    gui_set(id + "CLICKED", "1");
}

void checkbox_draw(const RtString& id, double w, double /*h*/) {
    const Glyph g = glyph();
    const bool hovering = num(id + "HOVER") != 0, checked = num(id + "CHECKED") != 0;
    if (hovering)
        gui_gradient_box(num("COL_HOVER_NORM"), num("COL_HOVER_BRIGHT"), 1, 1, w - 1, g.h - 1);
    const RtString text = gui_get(id + "TEXT");
    print_text(text.c_str(), 1.7 * g.w + 1, 1);
    double box_a = num("COL_BRIGHT"), box_b = num("COL_NORM");
    if (checked) {
        print_text(text.c_str(), 1.7 * g.w + 2, 1);
        box_a = num("COL_HOVER_BRIGHT");
        box_b = num("COL_HOVER_NORM");
    }
    gui_gradient_box(box_a, box_b, 3, 3, g.h - 4, g.h - 4);
}

} // namespace gui
