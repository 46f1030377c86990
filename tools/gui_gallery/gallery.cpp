// The gallery's two dialogs and its frame loop.
#include "gallery.h"

#include "graphics/device.h"
#include "graphics/font.h"
#include "gui/gui.h"
#include "runtime/app/frame.h"
#include "runtime/line_files.h"

#include <cstdio>
#include <map>
#include <string>

namespace {

// Sprites 1..3 for the sprite buttons: solid rectangles of three sizes, drawn and grabbed.
void make_sprites() {
    clear_screen();
    set_viewport(0, 0, 0, 0);
    draw_rect(0, 0, 23, 15, 255);        // red, 24 x 16
    draw_rect(40, 0, 55, 15, 65280);     // green, 16 x 16
    draw_rect(80, 0, 99, 11, 16711680);  // blue, 20 x 12
    grab_sprite(1, 0, 0, 24, 16);
    grab_sprite(2, 40, 0, 16, 16);
    grab_sprite(3, 80, 0, 20, 12);
    clear_screen();
}

void load_gallery_font() {
    if (file_exists("smalfont.bmp") == 0 && file_exists("../game/smalfont.bmp") != 0) {
        load_font("../game/smalfont.bmp", 0);
    } else {
        load_font("smalfont.bmp", 0); // the built-in font when there is none
    }
}

// The dialog behind: the basic widgets, more text than fits (so it has a scroll bar).
void build_basic_dialog() {
    gui_dialog_open(20, 30, 340, 330);
    gui_set("MOVABLE", "1");
    gui_set("SCALABLE", "1");
    gui_set("TEXT", "Basic widgets");
    gui_add_widget("st_intro", "Static text wraps at the width it is given.", 300, 0);
    gui_add_spacer(10000, 0);
    gui_add_button("bt_save", "Save", 0, 0);
    gui_add_button("bt_load", "Load", 0, 0);
    gui_add_button("bt_msg", "Message", 0, 0);
    gui_add_button("bt_ask", "Ask", 0, 0);
    gui_add_spacer(10000, 0);
    gui_add_checkbox("cb_map", "Has Map", 0, 0);
    gui_add_checkbox("cb_sound", "Sound", 0, 0);
    gui_add_spacer(10000, 0);
    RtArray<RtString> ids;
    RtArray<double> slots;
    dim(ids, 3);
    dim(slots, 3);
    const char* names[3] = {"sp_red", "sp_green", "sp_blue"};
    for (int i = 0; i < 3; ++i) {
        at(ids, i) = names[i];
        at(slots, i) = i + 1;
    }
    gui_add_sprite_buttons(ids, slots);
    gui_add_button("bt_front", "Other dialog", 0, 0);
    gui_add_spacer(10000, 6);
    gui_add_widget("", "Line one\nLine two\nLine three\nLine four\nLine five\nLine six\n"
                       "Line seven\nLine eight\nLine nine\nLine ten",
                   300, 0);
    gui_dialog_reset(0, 0, 0, 0);
}

// The dialog in front, moved over the other: the further widget types.
void build_further_dialog() {
    gui_dialog_open(300, 110, 420, 450);
    gui_set("MOVABLE", "1");
    gui_set("SCALABLE", "1");
    gui_set("TEXT", "Further widgets");
    gui_add_slider("sl_volume", 200, 0);
    gui_add_spacer(10000, 0);
    gui_add_radio("rb_mode", "Easy|Normal|Hard", 0);
    gui_add_list("ls_levels",
                 "Level 1|Level 2|Level 3|Level 4|Level 5|Level 6|Level 7|Level 8|Level 9|"
                 "Level 10",
                 0, 0);
    gui_add_spacer(10000, 0);
    gui_add_text_field("tx_name", "Worker", 240, 0);
    gui_add_spacer(10000, 0);
    gui_add_file("fc_file", "", 0, 0);
    gui_add_spacer(10000, 0);
    gui_add_button("bt_saveas", "Save as...", 0, 0);
    gui_add_button("bt_back", "Other dialog", 0, 0);
    gui_dialog_reset(0, 0, 0, 0);
}

void print_event(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

std::string one_line(const RtString& text) {
    std::string out;
    for (char c : text.view())
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

// Values seen last per key, so that changes are reported once.
std::map<std::string, std::string> g_seen;

// Reports `key` when its value differs from the one seen last (not on first sight).
void report_change(const RtString& key, const std::string& label) {
    const std::string value = one_line(gui_get(key));
    auto it = g_seen.find(key.str());
    if (it == g_seen.end()) {
        g_seen[key.str()] = value;
        return;
    }
    if (it->second == value) return;
    it->second = value;
    print_event(label + " " + value);
}

// The events of the active dialog's widgets after gui_show.
void report_events() {
    for (double n = 1; n <= gui_get_number("COUNT"); ++n) {
        const RtString id = gui_get("ID" + str_from_number(n));
        const RtString type = gui_get(id + "TYPE");
        if (type == "BUTTON") {
            if (gui_get_number(id + "CLICKED") != 0) print_event((id + "CLICKED").str());
        } else if (type == "CHECKBOX") {
            report_change(id + "CHECKED", (id + "CHECKED").str());
        } else if (type == "RADIO" || type == "LIST") {
            if (gui_get_number(id + "CLICKED") != 0)
                print_event((id + "SELECT " + gui_get(id + "SELECT") + " " +
                             gui_get_item(id, -1))
                                .str());
        } else if (type == "SLIDER" || type == "TEXT" || type == "FILE") {
            report_change(id + "TEXT", (id + "TEXT").str());
        }
    }
}

// The commands behind the gallery's own buttons.
void run_commands() {
    if (gui_get_number("bt_msgCLICKED") != 0) {
        const double r = gui_message_box("A message box: the dialogs behind it wait.", 0);
        print_event("message_box " + str_from_number(r).str());
    }
    if (gui_get_number("bt_askCLICKED") != 0) {
        const double r = gui_message_box("Save the level before leaving?", 1);
        print_event("message_box " + str_from_number(r).str());
    }
    if (gui_get_number("bt_loadCLICKED") != 0)
        print_event("file_requester " + file_requester(1, "Level files|*.ini").str());
    if (gui_get_number("bt_saveasCLICKED") != 0)
        print_event("file_requester " + file_requester(0, "*.ini|*.txt").str());
    if (gui_get_number("bt_frontCLICKED") != 0 || gui_get_number("bt_backCLICKED") != 0) {
        gui_dialog_swap();
        print_event("swap " + gui_get("TEXT").str());
    }
}

} // namespace

void GalleryMain() {
    load_gallery_font();
    make_sprites();
    build_basic_dialog();
    build_further_dialog();
    set_state_writer(gallery_state_json);
    print_event("ready");
    for (;;) {
        clear_screen();
        // A pattern behind the dialogs, so that the darkened ones can be seen as such.
        for (double x = 0; x < 800; x += 40)
            draw_rect(x, 0, x + 19, 599, 3158064);
        gui_show(0);
        report_events();
        run_commands();
        present_frame();
    }
}
