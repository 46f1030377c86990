// The property store, the dialog stack and the dialog operations.
#include "graphics/font.h"
#include "gui/gui_internal.h"
#include "runtime/app/frame.h"

#include <algorithm>
#include <utility>

namespace {

PropertyStore g_store;
DialogStack g_stack;

// Byte order of the keys (the texts hold no NUL, so this is strcmp's order).
bool key_less(const PropertyRow& row, std::string_view key) { return row.key.view() < key; }

} // namespace

double gui_find_key(const RtString& key, double create) {
    auto& rows = g_store.rows;
    auto it = std::lower_bound(rows.begin(), rows.end(), key.view(), key_less);
    if (it != rows.end() && it->key == key) return double(it - rows.begin());
    if (create == 0) return -1;
    it = rows.insert(it, PropertyRow{key, RtString()});
    return double(it - rows.begin());
}

double gui_set(const RtString& key, const RtString& value) {
    g_store.rows[size_t(gui_find_key(key, 1))].value = value;
    return 0;
}

RtString gui_get(const RtString& key) {
    double i = gui_find_key(key, 0);
    return i < 0 ? RtString() : g_store.rows[size_t(i)].value;
}

double gui_get_number(const RtString& key) {
    return number_from_str(gui_get(key));
}

double gui_set_clicked(const RtString& identifier, double flag) {
    gui::set_flag(identifier + "CLICKED", flag == 1);
    return 0;
}

double gui_dialog_clear() {
    const RtString x = gui_get("XPOS"), y = gui_get("YPOS"), w = gui_get("WIDTH"),
                   h = gui_get("HEIGHT");
    g_store.rows.clear();
    gui_set("COL_BRIGHT", "16773360");
    gui_set("COL_NORM", "9470080");
    gui_set("COL_HOVER_BRIGHT", "16769168");
    gui_set("COL_HOVER_NORM", "16744496");
    gui_set("XPOS", x);
    gui_set("YPOS", y);
    gui_set("WIDTH", w);
    gui_set("HEIGHT", h);
    return 0;
}

double gui_dialog_open(double x, double y, double width, double height) {
    g_stack.layers.push_back(g_store);
    gui::clear_widget_boxes();
    gui_dialog_clear();
    double sw = 0, sh = 0;
    screen_size(sw, sh);
    gui::set_num("XPOS", std::min(x, sw - 1));
    gui::set_num("YPOS", std::min(y, sh - 1));
    gui::set_num("WIDTH", std::min(width, sw - x));
    gui::set_num("HEIGHT", std::min(height, sh - y));
    return 0;
}

double gui_dialog_close() {
    if (g_stack.layers.empty()) {
        g_store.rows.clear();
    } else {
        g_store = std::move(g_stack.layers.back());
        g_stack.layers.pop_back();
    }
    gui::clear_widget_boxes();
    gui_dialog_reset(0, 0, 0, 0);
    return 0;
}

double gui_dialog_swap() {
    if (g_stack.layers.empty()) return 0;
    gui_dialog_reset(0, 0, 0, 0); // the one going back keeps no hover or click
    std::swap(g_store, g_stack.layers.back());
    gui::clear_widget_boxes();
    return 0;
}

double gui_dialog_reset(double x, double y, double width, double height) {
    if (width > 0 && height > 0) {
        gui::set_num("XPOS", x);
        gui::set_num("YPOS", y);
        gui::set_num("WIDTH", width);
        gui::set_num("HEIGHT", height);
    }
    for (double n = 1, count = gui::widget_count(); n <= count; ++n)
        gui_update_widget(gui_get("ID" + str_from_number(n)), -1, -1, 0, 0);
    return 0;
}

const PropertyStore& gui_store() {
    return g_store;
}

double gui_dialog_depth() {
    return double(g_stack.layers.size());
}

namespace gui {

double widget_count() {
    const double count = num("COUNT");
    if (!(count > 0)) return 0; // NaN included
    return std::min(count, double(g_store.rows.size()));
}

// gui_show draws the saved dialogs by loading each into the store for a moment.
PropertyStore& active_store() { return g_store; }
const DialogStack& dialog_stack() { return g_stack; }

Glyph glyph() {
    Glyph g;
    font_size(g.w, g.h);
    return g;
}

} // namespace gui
