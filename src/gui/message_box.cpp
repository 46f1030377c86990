// The modal message box: a dialog of its own over every open dialog, answered by a click.
#include "gui/gui_internal.h"
#include "runtime/app/frame.h"

namespace gui {

void message_box_open(const RtString& text, double ask) {
    double sw = 0, sh = 0;
    screen_size(sw, sh);
    const double bw = sw / 3 > 148 ? sw / 3 : 148;
    gui_dialog_open((sw - bw) * 0.5, 0.25 * sh, bw, 150);
    gui_set("MOVABLE", "1");
    gui_set("TEXT", "!?");
    gui_add_widget(RtString(), text, bw - 16, 0);
    gui_add_spacer(10000, 5);
    if (ask != 0) {
        gui_add_button("bt_yes", "Yes", 0, 0);
        gui_add_button("bt_no", "No", 0, 0);
    } else {
        gui_add_button("bt_yes", "OK", 0, 0);
    }
    gui_dialog_reset(0, 0, 0, 0);
}

} // namespace gui

double gui_message_box_open(const RtString& text, double ask) {
    gui::message_box_open(text, ask);
    return 0;
}

double gui_message_box(const RtString& text, double ask) {
    gui::message_box_open(text, ask);
    for (;;) {
        gui_show(0);
        present_frame();
        if (gui_get_number("bt_yesCLICKED") != 0) {
            gui_dialog_close();
            return 1;
        }
        if (gui_get_number("bt_noCLICKED") != 0) {
            gui_dialog_close();
            return 0;
        }
    }
}
