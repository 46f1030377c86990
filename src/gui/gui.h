#pragma once
// The widget toolkit: immediate-mode dialogs whose whole state is one sorted table of text
// properties (the PropertyStore) plus a stack of saved dialogs (the DialogStack).
//
// A dialog's own properties live under bare keys ("XPOS", "WIDTH", "COUNT", "ID1", ...); a
// widget's under its identifier followed by the property name ("bt_saveCLICKED"). Every value is
// text; numbers are str_from_number text, flags "1" / "0". A program builds a dialog once
// (gui_dialog_open, widget constructors), calls gui_show once per frame and reads the events from
// the store after it (gui_get_number("bt_saveCLICKED") is 1 in the frame of the click).
// Only the active dialog takes input; gui_dialog_open saves the active one on the stack and
// gui_dialog_close brings it back.
#include "runtime/rt_array.h"
#include "runtime/rt_string.h"

#include <vector>

// ---- The property store ----

struct PropertyRow {
    RtString key;
    RtString value;
};

// Rows sorted ascending by key in byte order (upper-case before lower-case); keys unique.
struct PropertyStore {
    std::vector<PropertyRow> rows;
};

// Saved stores, the bottom layer (index 0) the oldest.
struct DialogStack {
    std::vector<PropertyStore> layers;
};

// Index of the key's row; when it is absent and create != 0 a row with an empty value is
// inserted at its sorted place and its index returned, otherwise -1.
double gui_find_key(const RtString& key, double create);
double gui_set(const RtString& key, const RtString& value);
// The value, or "" for an absent key (never creates a row).
RtString gui_get(const RtString& key);
double gui_get_number(const RtString& key);
// identifier + "CLICKED" = "1" when flag is 1, else "0".
double gui_set_clicked(const RtString& identifier, double flag);

// ---- Dialogs ----

// Saves the active store on the stack, starts an empty dialog (default colours) and sets its
// geometry, clamped to the screen: x, y at most the screen's last pixel, width and height at
// most what is left of the screen right of x and below y.
double gui_dialog_open(double x, double y, double width, double height);
// Brings back the top saved dialog (an empty store when there is none), then
// gui_dialog_reset(0, 0, 0, 0).
double gui_dialog_close();
// Empties the store but keeps "XPOS", "YPOS", "WIDTH", "HEIGHT"; writes the default colours.
double gui_dialog_clear();
// Sets the geometry when width > 0 and height > 0, then clears every widget's hover and click
// state.
double gui_dialog_reset(double x, double y, double width, double height);
// Exchanges the active dialog with the top saved one (nothing when none is saved); both keep
// every property, except that the one going back has its hover and click states cleared. The
// gallery brings the dialog behind to the front with it.
double gui_dialog_swap();
// Draws and updates the dialogs for one frame: the active one with input, and when
// top_only == 0 every saved one below it, darkened and without input. Returns
// max("HEIGHT", the height of the laid-out content).
double gui_show(double top_only);

// ---- The widget registry ----

// A static text (type "WIDGET"); an empty identifier becomes "ID_STATIC_" + n. Width 0:
// (characters + 1) glyph widths; height 0: glyph height + 6.
double gui_add_widget(const RtString& identifier, const RtString& text, double width,
                      double height);
// One widget's frame: x, y the mouse relative to its top-left corner, edge the click edge
// (-1 press, 1 release, 0 none), right the right button. Outside the box the edge is dropped and
// "HOVER" is "0".
double gui_update_widget(const RtString& identifier, double x, double y, double edge,
                         double right);
// Draws the widget in the current viewport, (0, 0) its top-left corner.
double gui_draw_widget(const RtString& identifier);

// ---- Basic widgets ----

// Height 0: glyph height + 4. A text "SPR_B" + n shows sprite n, sized sprite + 4 by default.
double gui_add_button(const RtString& identifier, const RtString& text, double width,
                      double height);
// "CHECKED" toggles at every click (and "CLICKED" becomes "1" for good). Width 0: (characters
// + 3) glyph widths.
double gui_add_checkbox(const RtString& identifier, const RtString& text, double width,
                        double height);
// Room in the layout only ("ID_SPACER_" + count); width 10000 ends the row.
double gui_add_spacer(double width, double height);
// A row of sprite buttons of one size (the largest of the sprites), then a line break.
double gui_add_sprite_buttons(const RtArray<RtString>& identifiers, const RtArray<double>& slots);
// The text engine of static and editable text: with pick == 0 it lays out identifier + "TEXT"
// from (x0, y0) word-wrapped to `width` (drawing it when draw != 0, with the selection and, for
// the focused widget, the caret) and returns its height; with pick != 0 it returns the
// character index at the point (x0, y0).
double gui_text_layout(const RtString& identifier, double x0, double y0, double width,
                       double draw, double pick);
// A box shaded between colour a (edges) and colour b (middle line).
double gui_gradient_box(double colour_a, double colour_b, double x, double y, double width,
                        double height);

// ---- Message box ----

// A modal box over every open dialog: "Yes"/"No" when ask != 0 (1 / 0), else "OK" (1). Returns
// once a button is clicked.
double gui_message_box(const RtString& text, double ask);
// The same box without waiting: the caller shows the frames (gui_show, present_frame), reads
// "bt_yesCLICKED" and "bt_noCLICKED" and closes it with gui_dialog_close. Returns 0.
double gui_message_box_open(const RtString& text, double ask);

// ---- Further widgets ----

// A slider 0..1 ("TEXT" with two decimals). Width 0: 100; height 0: 16.
double gui_add_slider(const RtString& identifier, double width, double height);
// Items separated by "|"; "SELECT" the chosen index (-1 none).
double gui_add_radio(const RtString& identifier, const RtString& items, double width);
// A scrolling list of items separated by "|"; "SELECT", "SCROLL", "SCROLLMAX", "COUNT".
double gui_add_list(const RtString& identifier, const RtString& items, double width,
                    double height);
// A file chooser: a click opens file_requester; "TEXT" is the chosen path ("" on Cancel).
double gui_add_file(const RtString& identifier, const RtString& text, double width,
                    double height);
// Editable text; the clicked one has the keyboard focus (dialog property "FOCUS").
double gui_add_text_field(const RtString& identifier, const RtString& text, double width,
                          double height);
// Item `index` of a radio group or list (its "SELECT" when index < 0); "" when there is none.
RtString gui_get_item(const RtString& identifier, double index);
// Inserts before `position` (appends when position < 0 or past the end); "" becomes "<null>".
double gui_insert_item(const RtString& identifier, const RtString& item, double position);

// ---- Introspection (state dumps, tests) ----

// The active dialog's rows in key order.
const PropertyStore& gui_store();
// Number of saved dialogs on the stack.
double gui_dialog_depth();

// A widget's box as the last gui_show laid out the active dialog: the full box before clipping
// (x, y in screen pixels); drawn is false when clipping or scrolling hid it.
struct GuiWidgetBox {
    RtString id;
    double x = 0, y = 0, width = 0, height = 0;
    bool drawn = false;
};
// Every widget of the active dialog in layout order (empty before the first gui_show of the
// dialog, and again after gui_dialog_open, gui_dialog_close or gui_dialog_swap).
const std::vector<GuiWidgetBox>& gui_widget_boxes();
// The box of the widget `id`; false (and the outputs unchanged) when it was not laid out.
bool gui_widget_rect(const RtString& id, double& x, double& y, double& width, double& height);

// ---- The file requester ----

// A modal file dialog built from the toolkit: the current folder, its sub-folders and the files
// that match `filter` ("*.*"; several patterns separated by "|" or ";", pieces without a
// wildcard are ignored as descriptions), ".." to go up, a name field, "OK" and "Cancel".
// open != 0 asks for an existing file, 0 for a name to save under. Returns the chosen path
// (absolute, "/" separators) or "NO_FILE" on Cancel or Esc. The current directory is the same
// afterwards.
RtString file_requester(double open, const RtString& filter);
