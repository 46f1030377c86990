// Slider and radio group.
#include "graphics/device.h"
#include "graphics/font.h"
#include "gui/gui_internal.h"
#include "input/input.h"
#include "runtime/arith.h"
#include "runtime/text.h"

#include <algorithm>
#include <cmath>

double gui_add_slider(const RtString& identifier, double width, double height) {
    gui_add_widget(identifier, "0", width == 0 ? 100 : width, height == 0 ? 16 : height);
    gui_set(gui_get("ID" + str_from_number(gui_get_number("COUNT"))) + "TYPE", "SLIDER");
    return 0;
}

namespace {

// Width 0: the longest item + 3 glyphs.
double items_width(const std::vector<RtString>& items, double width) {
    if (width != 0) return width;
    double longest = 0;
    for (const RtString& item : items)
        longest = std::max(longest, str_len(item));
    return (longest + 3) * gui::glyph().w;
}

} // namespace

double gui_add_radio(const RtString& identifier, const RtString& items, double width) {
    const std::vector<RtString> list = gui::split_items(items);
    const double n = double(list.size());
    gui_add_widget(identifier, items, items_width(list, width), n * gui::glyph().h);
    const RtString id = gui_get("ID" + str_from_number(gui_get_number("COUNT")));
    gui_set(id + "TYPE", "RADIO");
    if (n == 0) gui_set(id + "SELECT", "-1");
    return 0;
}

double gui_add_list(const RtString& identifier, const RtString& items, double width,
                    double height) {
    const std::vector<RtString> list = gui::split_items(items);
    const double n = double(list.size()), fh = gui::glyph().h;
    height = height == 0 ? 4 * fh + 4 : height - mod(height, fh) + 4;
    gui_add_widget(identifier, items, items_width(list, width), height);
    const RtString id = gui_get("ID" + str_from_number(gui_get_number("COUNT")));
    gui_set(id + "TYPE", "LIST");
    gui::set_num(id + "COUNT", n);
    gui_set(id + "SCROLL", "0");
    gui::set_num(id + "SCROLLMAX", n);
    if (n == 0) gui_set(id + "SELECT", "-1");
    return 0;
}

namespace gui {

void slider_update(const RtString& id, double x, double y, double edge) {
    set_num(id + "CLICKED", edge);
    const double w = num(id + "WIDTH"), h = num(id + "HEIGHT");
    if (x > 0 && x < w && y > 0 && y < h && mouse_state(3) != 0) {
        const double v = std::clamp((x - 5) / (w - 9), 0.0, 1.0);
        gui_set(id + "TEXT", str_format(0, 2, v));
    }
}

void slider_draw(const RtString& id, double w, double h) {
    const bool hover = num(id + "HOVER") > 0;
    const double bright = num(hover ? "COL_HOVER_BRIGHT" : "COL_BRIGHT");
    const double norm = num(hover ? "COL_HOVER_NORM" : "COL_NORM");
    draw_rect(0, h / 2, w - 1, h / 2 + 2, norm);
    const double kx = 5 + (w - 10) * num(id + "TEXT");
    start_poly(-1);
    poly_vertex(kx, 0, 0, 0, bright);
    poly_vertex(kx - 5, h / 3, 0, 0, bright);
    poly_vertex(kx - 5, h - 1, 0, 0, norm);
    poly_vertex(kx + 5, h - 1, 0, 0, norm);
    poly_vertex(kx + 5, h / 3, 0, 0, bright);
    end_poly();
}

void radio_update(const RtString& id, double x, double y, double edge) {
    const Glyph g = glyph();
    const double n = double(split_items(gui_get(id + "TEXT")).size());
    set_num(id + "HEIGHT", n * g.h);
    if (num(id + "CLICKED") != 0) gui_set(id + "CLICKED", "0");
    double hover = -1;
    if (y > 0 && y <= n * g.h && x > 0 && x < num(id + "WIDTH")) {
        const double i = std::trunc(y / g.h);
        hover = i;
        if (edge == 1 && i != num(id + "SELECT")) {
            set_num(id + "SELECT", std::min(i, n - 1));
            gui_set(id + "CLICKED", "1");
        }
    }
    set_num(id + "HOVER", hover);
}

void radio_draw(const RtString& id, double w, double h) {
    const Glyph g = glyph();
    draw_rect(0, 0, w, h, num("COL_NORM"));
    draw_rect(1, 1, w - 2, h - 2, num("COL_BRIGHT"));
    const std::vector<RtString> items = split_items(gui_get(id + "TEXT"));
    const double hover = num(id + "HOVER"), select = num(id + "SELECT");
    for (size_t k = 0; k < items.size(); ++k) {
        const double i = double(k), y = i * g.h;
        if (i == hover)
            gui_gradient_box(num("COL_HOVER_NORM"), num("COL_HOVER_BRIGHT"), 1, 1 + i * g.h,
                             w - 1, g.h - 1);
        print_text(items[k].c_str(), 1.7 * g.w + 1, y);
        double box_a = num("COL_BRIGHT"), box_b = num("COL_NORM");
        if (i == select) {
            print_text(items[k].c_str(), 1.7 * g.w + 2, y);
            box_a = num("COL_HOVER_BRIGHT");
            box_b = num("COL_HOVER_NORM");
        }
        gui_gradient_box(box_a, box_b, 3, y + 3, g.h - 4, g.h - 4);
    }
}

} // namespace gui
