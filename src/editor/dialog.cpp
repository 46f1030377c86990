// The editor's dialog: level choice, pad commands, test and save, the map switch, and three
// crosses of arrow buttons (move the pad, size it, move the end of its travel).
#include "editor/editor.h"
#include "game/state.h"
#include "graphics/font.h"
#include "gui/gui.h"
#include "runtime/text.h"

namespace {

bool dialog_open = false;

void LineBreak() {
    gui_add_spacer(10000, 0);
}

// A cross of four arrow buttons: up alone (indented), left and right in a row, down alone.
void ArrowCross(double indent, const char* up, const char* up_text, const char* left,
                const char* left_text, const char* right, const char* right_text, const char* down,
                const char* down_text, double down_indent) {
    gui_add_spacer(indent, 0);
    gui_add_button(up, up_text, 0, 0);
    LineBreak();
    gui_add_button(left, left_text, 0, 0);
    gui_add_button(right, right_text, 0, 0);
    LineBreak();
    gui_add_spacer(down_indent, 0);
    gui_add_button(down, down_text, 0, 0);
}

} // namespace

void BuildEditorDialog() {
    // One editor dialog at a time: the previous one is closed, not left on the dialog stack.
    if (dialog_open) gui_dialog_close();
    gui_dialog_open(0.65 * ScreenWidth, 0, 0.25 * ScreenWidth, 0.75 * ScreenHeight);
    dialog_open = true;
    double fw = 0, fh = 0;
    font_size(fw, fh);
    gui_set("SCALEABLE", "1");
    gui_set("MOVEABLE", "1");
    gui_add_button("bt_leveldn", "-", 0, 0);
    gui_add_widget("st_level", RtString("Level ") + str_from_number(Editor.edit_level), 0, 0);
    gui_add_button("bt_levelup", "+", 0, 0);
    LineBreak();
    gui_add_button("bt_add", "Add", 0, 0);
    gui_add_button("bt_del", "Del", 0, 0);
    gui_add_button("bt_start", "Start", 0, 0);
    gui_add_button("bt_flip", "Flip", 0, 0);
    LineBreak();
    gui_add_button("bt_test", "-TEST-", 0, 0);
    gui_add_button("bt_save", "Save", 0, 0);
    LineBreak();
    gui_add_checkbox("cb_forcemap", "Has Map", 0, 0);
    gui_set("cb_forcemapCHECKED", str_from_number(ForceMap));
    LineBreak();
    gui_add_widget("", "Move current", 0, 0);
    LineBreak();
    ArrowCross(2 * fw, "bt_mvup", "^", "bt_mvleft", "<-", "bt_mvright", "->", "bt_mvdown", "v",
               2 * fw);
    LineBreak();
    gui_add_widget("", "Size current", 0, 0);
    LineBreak();
    ArrowCross(2 * fw, "bt_szy-", "smaller", "bt_szx-", "-> <-", "bt_szx+", "<- ->", "bt_szy+",
               "bigger", 2.5 * fw);
    LineBreak();
    gui_add_widget("", "Current move", 0, 0);
    LineBreak();
    ArrowCross(2 * fw, "bt_mxy-", "^", "bt_mxx-", "<-", "bt_mxx+", "->", "bt_mxy+", "v", 2 * fw);
    Editor.current_pad = 2;
}
