// The editor's part of the state dump: its own state, the active dialog's properties and where
// the last gui_show put each widget (so scripts can click on widgets by name).
#include "editor/editor.h"
#include "game/dump.h"
#include "gui/gui.h"

std::string EditorDump() {
    std::string s = ",\"Editor\":{\"EditLevel\":" + JsonNumber(Editor.edit_level) +
                    ",\"CurrentPad\":" + JsonNumber(Editor.current_pad) + "}";
    s += ",\"Gui\":{";
    bool first = true;
    for (const PropertyRow& row : gui_store().rows) {
        if (!first) s += ',';
        first = false;
        s += JsonString(row.key.str()) + ":" + JsonString(row.value.str());
    }
    s += "},\"Widgets\":{";
    first = true;
    for (const GuiWidgetBox& b : gui_widget_boxes()) {
        if (!first) s += ',';
        first = false;
        s += JsonString(b.id.str()) + ":[" + JsonNumber(b.x) + "," + JsonNumber(b.y) + "," +
             JsonNumber(b.width) + "," + JsonNumber(b.height) + "]";
    }
    return s + "}";
}
