#pragma once
// Helpers shared by the toolkit's parts.
#include "gui/gui.h"

#include <string>
#include <vector>

namespace gui {

// Number and flag access by key.
inline double num(const RtString& key) { return gui_get_number(key); }
inline void set_num(const RtString& key, double value) { gui_set(key, str_from_number(value)); }
inline void set_flag(const RtString& key, bool on) { gui_set(key, RtString(on ? "1" : "0")); }

// The dialog's widget count "COUNT", held to what the store can hold: every widget has its own
// "ID" + n row, so a count beyond the rows (or not a number) names no further widget, and loops
// over the widgets stay as short as the store.
double widget_count();

// The live store, and the stack (gui_show draws each saved dialog by loading it for a moment).
PropertyStore& active_store();
const DialogStack& dialog_stack();

// The current font's glyph size.
struct Glyph {
    double w = 0, h = 0;
};
Glyph glyph();

// Whether the text of a button names a sprite ("SPR_B" + slot), and the slot.
bool is_sprite_text(const RtString& text);
double sprite_text_slot(const RtString& text);

// The scroll bar shared by the dialog (empty identifier), lists and editable text.
// Update: returns 1 when the bar is shown.
double scroll_bar_update(const RtString& id, double x, double y, double edge, double bar_height);
void scroll_bar_draw(const RtString& id, double width, double height);

// The widget boxes of the last gui_show of the active dialog.
void set_widget_boxes(std::vector<GuiWidgetBox> boxes);
void clear_widget_boxes();

// Per-type updates (mouse relative to the widget, the click edge) and drawings (W x H).
void static_update(const RtString& id);
void static_draw(const RtString& id, double w, double h);
void button_update(const RtString& id, double edge);
void button_draw(const RtString& id, double w, double h);
void checkbox_update(const RtString& id, double edge);
void checkbox_draw(const RtString& id, double w, double h);
void slider_update(const RtString& id, double x, double y, double edge);
void slider_draw(const RtString& id, double w, double h);
void radio_update(const RtString& id, double x, double y, double edge);
void radio_draw(const RtString& id, double w, double h);
void list_update(const RtString& id, double x, double y, double edge);
void list_draw(const RtString& id, double w, double h);
void file_update(const RtString& id, double edge);
void file_draw(const RtString& id, double w, double h);
void text_update(const RtString& id, double x, double y, double edge);
void text_draw(const RtString& id, double w, double h);

// The message box's dialog, opened over the active one (gui_message_box then runs its frames).
void message_box_open(const RtString& text, double ask);

// The items of a "|"-separated list (empty when there are none).
std::vector<RtString> split_items(const RtString& items);

} // namespace gui

// The file requester's pure parts (tested on their own): whether a file name passes the filter,
// and the list items of the current folder.
bool file_filter_matches(const RtString& filter, const std::string& name);
std::vector<std::string> folder_items(const RtString& filter);
