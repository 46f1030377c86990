// The widget registry: the constructor every widget type starts from, and the per-widget
// dispatch of updates and drawing by type.
#include "gui/gui_internal.h"
#include "runtime/text.h"

#include <utility>

namespace {

std::vector<GuiWidgetBox> g_boxes;

} // namespace

double gui_add_widget(const RtString& identifier, const RtString& text, double width,
                      double height) {
    const double n = gui_get_number("COUNT") + 1;
    const RtString id = identifier.empty() ? "ID_STATIC_" + str_from_number(n) : identifier;
    const gui::Glyph g = gui::glyph();
    if (width == 0) width = (str_len(text) + 1) * g.w;
    if (height == 0) height = g.h + 6;
    gui::set_num(id + "HEIGHT", height);
    gui::set_num(id + "WIDTH", width);
    gui::set_num("COUNT", n);
    gui_set("ID" + str_from_number(n), id);
    gui_set(id + "TYPE", "WIDGET");
    gui_set(id + "TEXT", text);
    return 0;
}

double gui_update_widget(const RtString& identifier, double x, double y, double edge,
                         double right) {
    const double w = gui::num(identifier + "WIDTH"), h = gui::num(identifier + "HEIGHT");
    const RtString type = gui_get(identifier + "TYPE");
    if (x < 0 || y < 0 || x >= w || y >= h) {
        edge = 0;
        right = 0;
        gui_set(identifier + "HOVER", "0");
    } else if (type != "WIDGET") {
        gui_set(identifier + "HOVER", "1");
    }
    (void)right; // no widget type reacts to the right button
    if (type == "WIDGET") {
        gui::static_update(identifier);
    } else if (type == "BUTTON") {
        gui::button_update(identifier, edge);
    } else if (type == "CHECKBOX") {
        gui::checkbox_update(identifier, edge);
    } else if (type == "SLIDER") {
        gui::slider_update(identifier, x, y, edge);
    } else if (type == "RADIO") {
        gui::radio_update(identifier, x, y, edge);
    } else if (type == "FILE") {
        gui::file_update(identifier, edge);
    } else if (type == "LIST") {
        gui::list_update(identifier, x, y, edge);
    } else if (type == "TEXT") {
        gui::text_update(identifier, x, y, edge);
    }
    return 0;
}

double gui_draw_widget(const RtString& identifier) {
    const double w = gui::num(identifier + "WIDTH"), h = gui::num(identifier + "HEIGHT");
    const RtString type = gui_get(identifier + "TYPE");
    if (type == "WIDGET") {
        gui::static_draw(identifier, w, h);
    } else if (type == "BUTTON") {
        gui::button_draw(identifier, w, h);
    } else if (type == "SLIDER") {
        gui::slider_draw(identifier, w, h);
    } else if (type == "RADIO") {
        gui::radio_draw(identifier, w, h);
    } else if (type == "CHECKBOX") {
        gui::checkbox_draw(identifier, w, h);
    } else if (type == "FILE") {
        gui::file_draw(identifier, w, h);
    } else if (type == "LIST") {
        gui::list_draw(identifier, w, h);
    } else if (type == "TEXT") {
        gui::text_draw(identifier, w, h);
    }
    return 0;
}

const std::vector<GuiWidgetBox>& gui_widget_boxes() {
    return g_boxes;
}

bool gui_widget_rect(const RtString& id, double& x, double& y, double& width, double& height) {
    for (const GuiWidgetBox& b : g_boxes) {
        if (b.id != id) continue;
        x = b.x;
        y = b.y;
        width = b.width;
        height = b.height;
        return true;
    }
    return false;
}

namespace gui {

void set_widget_boxes(std::vector<GuiWidgetBox> boxes) { g_boxes = std::move(boxes); }
void clear_widget_boxes() { g_boxes.clear(); }

std::vector<RtString> split_items(const RtString& items) {
    RtArray<RtString> pieces;
    const double n = split_string(items, pieces, "|");
    std::vector<RtString> out;
    for (double i = 0; i < n; ++i)
        out.push_back(pieces.at(i));
    return out;
}

} // namespace gui
