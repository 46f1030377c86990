// The gallery's state dump: JSON of the toolkit's active dialog.
#include "gallery.h"

#include "gui/gui.h"

#include <cstdio>
#include <string>

namespace {

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 32 || u >= 127) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string number(double v) {
    return str_from_number(v).str();
}

} // namespace

std::string gallery_state_json() {
    std::string json = "{\"depth\": " + number(gui_dialog_depth()) + ",\n\"rows\": {";
    bool first = true;
    for (const PropertyRow& row : gui_store().rows) {
        json += first ? "\n" : ",\n";
        first = false;
        json += "  " + quoted(row.key.view()) + ": " + quoted(row.value.view());
    }
    json += "\n},\n\"widgets\": [";
    first = true;
    for (const GuiWidgetBox& b : gui_widget_boxes()) {
        json += first ? "\n" : ",\n";
        first = false;
        json += "  {\"id\": " + quoted(b.id.view()) + ", \"rect\": [" + number(b.x) + ", " +
                number(b.y) + ", " + number(b.width) + ", " + number(b.height) +
                "], \"drawn\": " + (b.drawn ? "true" : "false") + "}";
    }
    return json + "\n]}\n";
}
