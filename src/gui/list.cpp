// The list widget and the item helpers of radio groups and lists.
#include "graphics/device.h"
#include "graphics/font.h"
#include "gui/gui_internal.h"

#include <algorithm>
#include <cmath>

RtString gui_get_item(const RtString& identifier, double index) {
    if (index < 0) index = gui_get_number(identifier + "SELECT");
    const std::vector<RtString> items = gui::split_items(gui_get(identifier + "TEXT"));
    index = std::trunc(index);
    if (!(index >= 0 && index < double(items.size()))) return RtString(); // NaN included
    return items[size_t(index)];
}

double gui_insert_item(const RtString& identifier, const RtString& item, double position) {
    std::vector<RtString> items = gui::split_items(gui_get(identifier + "TEXT"));
    const RtString entry = item.empty() ? RtString("<null>") : item;
    position = std::trunc(position);
    // Anything but an index of an item (NaN included) appends.
    if (!(position >= 0 && position < double(items.size()))) {
        items.push_back(entry);
    } else {
        items.insert(items.begin() + ptrdiff_t(position), entry);
    }
    RtString text;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += "|";
        text += items[i];
    }
    gui_set(identifier + "TEXT", text);
    gui::set_num(identifier + "COUNT", double(items.size()));
    const double select = gui_get_number(identifier + "SELECT");
    if (position >= 0 && select >= position) gui::set_num(identifier + "SELECT", select + 1);
    gui_dialog_reset(0, 0, 0, 0);
    return 0;
}

namespace gui {

void list_update(const RtString& id, double x, double y, double edge) {
    const Glyph g = glyph();
    const double h = num(id + "HEIGHT"), w = num(id + "WIDTH");
    set_num(id + "SCROLLMAX", num(id + "COUNT") - std::trunc(h / g.h));
    const double shown = scroll_bar_update(id, x, y, edge, h);
    const double s = num(id + "SCROLL");
    if (num(id + "CLICKED") != 0) gui_set(id + "CLICKED", "0");
    double hover = -1;
    if (y > 0 && y <= h && x > 0 && x < w - 1.5 * g.w * shown) {
        const double i = std::trunc(y / g.h) + s;
        hover = i;
        if (edge == 1 && i != num(id + "SELECT")) {
            set_num(id + "SELECT", i >= num(id + "COUNT") ? -1 : i);
            gui_set(id + "CLICKED", "1");
        }
    }
    set_num(id + "HOVER", hover);
}

void list_draw(const RtString& id, double w, double h) {
    const Glyph g = glyph();
    const std::vector<RtString> items = split_items(gui_get(id + "TEXT"));
    const double n = double(items.size());
    set_num(id + "COUNT", n);
    const double s = num(id + "SCROLL"), hover = num(id + "HOVER"), select = num(id + "SELECT");
    const double hn = num("COL_HOVER_NORM"), hb = num("COL_HOVER_BRIGHT");
    for (double i = std::max(0.0, s); i < n; ++i) {
        const double y = (i - s) * g.h;
        if (y >= h) break; // the rest lies below the widget
        if (i == hover) {
            gui_gradient_box(hn, hb, 0, y, w - 1, g.h - 1);
        } else if (i == select) {
            gui_gradient_box(hb, hn, 0, y, w - 1, g.h - 1);
        }
        const char* text = items[size_t(i)].c_str();
        print_text(text, 4, y);
        if (i == select) print_text(text, 5, y);
    }
    const double frame = num("COL_NORM");
    draw_line(0, 0, w - 1, 0, frame);
    draw_line(0, h - 1, w - 1, h - 1, frame);
    draw_line(0, 0, 0, h - 1, frame);
    draw_line(w - 1, 0, w - 1, h - 1, frame);
    scroll_bar_draw(id, w, h);
}

} // namespace gui
