// The editor's screen: entry, the frame loop with the commands, level changes, test runs,
// saving, and the questions about unsaved changes before they would be lost.
#include "editor/editor.h"
#include "audio/sound.h"
#include "game/dump.h"
#include "game/game.h"
#include "game/play.h"
#include "game/state.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/scene.h"
#include "gui/gui.h"
#include "input/input.h"
#include "runtime/app/frame.h"
#include "runtime/arith.h"
#include "runtime/errors.h"
#include "runtime/text.h"

#include <algorithm>
#include <string>

namespace {

constexpr double kFirstLevel = 1, kLastLevel = 99;
constexpr double kTestLevel = 0; // the level file a test run plays
constexpr double kKeyDelete = 211, kKeyLeft = 203, kKeyRight = 205, kKeyUp = 200, kKeyDown = 208;

// The level's file text as last loaded or saved: the level has changes while its text differs.
std::string saved_text;

// Plain 2D drawing after the 3D screens (menu, play).
void ResetDrawingState() {
    begin_3d(1, 100, 45);
    set_camera(0, 0, 0, 0, 0, -1);
    set_texture(0, -1);
    draw_object(300, 0);
    end_3d();
    set_culling(0);
}

bool Clicked(const char* id) {
    return gui_get_number(RtString(id) + "CLICKED") != 0;
}

void WaitForRelease(double key) {
    while (key_state(key) != 0) {
    }
}

void LoadEditLevel() {
    LoadLevel(Editor.edit_level);
    // The start pad rule holds from the first frame on; a level is not changed by it.
    ApplyStartPadRule();
    saved_text = LevelFileText();
}

bool HasChanges() {
    return LevelFileText() != saved_text;
}

// Saves the edited level; tells the user when the file could not be written.
bool SaveEditLevel() {
    if (SaveLevel(Editor.edit_level) != 0) {
        gui_message_box(RtString("Cannot write ") + LevelFileName(Editor.edit_level) +
                            ".\nThe level is not saved.",
                        0);
        return false;
    }
    saved_text = LevelFileText();
    return true;
}

// Before the edited level is left: saves or drops its changes as the user answers. False when
// the answer was to save and the save failed (the changes are still only in the editor).
bool SettleChanges() {
    if (!HasChanges()) return true;
    const RtString question = RtString("Level ") + str_from_number(Editor.edit_level) +
                              " has changes that are not saved.\nSave them?";
    if (gui_message_box(question, 1) == 0) return true;
    return SaveEditLevel();
}

// Esc, Alt+F4 or closing the window: the program ends once the changes are settled.
void HandleEndRequest() {
    if (end_requested() == 0) return;
    if (SettleChanges()) runtime_end();
    // The save failed: the editor goes on once the end keys are up.
    while (key_state(1) != 0 || (key_state(56) != 0 && key_state(62) != 0))
        present_frame();
    clear_end_request();
}

// Plays the edited level from the test level's file and comes back with the edits as they were.
void TestEditLevel() {
    const double level = Level;
    const RtArray<Pad> pads = Pads;
    const double force_map = ForceMap;
    Level = kTestLevel;
    if (SaveLevel(kTestLevel) != 0) {
        gui_message_box(RtString("Cannot write ") + LevelFileName(kTestLevel) +
                            ".\nThe level cannot be tested.",
                        0);
    } else {
        PlayTestLevel(kTestLevel);
        // The level map and the per-level state are the edited level's again.
        LoadLevel(kTestLevel);
        Pads = pads;
        ForceMap = force_map;
    }
    Level = level;
    // The game changed the screen, the font, the 3D state and the music.
    CurrentScreen = "editor";
    ResetDrawingState();
    load_font("smalfont.bmp", 0);
    stop_music();
}

// The commands on the selected pad: moving it (buttons or held cursor keys, one cell per
// press), sizing it, moving the end of its travel.
void PadCommands() {
    if (!CurrentPadValid()) return;
    Pad& p = Pads.at(Editor.current_pad);
    auto move = [&](const char* id, double key, double dx, double dy) {
        if (!Clicked(id) && key_state(key) == 0) return;
        WaitForRelease(key);
        p.minx += dx;
        p.maxx += dx;
        p.miny += dy;
        p.maxy += dy;
    };
    move("bt_mvleft", kKeyLeft, -1, 0);
    move("bt_mvright", kKeyRight, 1, 0);
    move("bt_mvup", kKeyUp, 0, -1);
    move("bt_mvdown", kKeyDown, 0, 1);
    if (Clicked("bt_szx-")) p.extx -= 1;
    if (Clicked("bt_szx+")) p.extx += 1;
    if (Clicked("bt_szy-")) p.exty -= 1;
    if (Clicked("bt_szy+")) p.exty += 1;
    p.extx = std::max(1.0, p.extx);
    p.exty = std::max(1.0, p.exty);
    if (Clicked("bt_mxx-")) p.maxx -= 1;
    if (Clicked("bt_mxx+")) p.maxx += 1;
    if (Clicked("bt_mxy-")) p.maxy -= 1;
    if (Clicked("bt_mxy+")) p.maxy += 1;
}

// The frames of one level: returns the level to change to.
double EditFrames() {
    for (;;) {
        HandleEndRequest();
        double mx = 0, my = 0, left = 0, right = 0;
        read_mouse(mx, my, left, right);
        // The dialog's box from its top: the title bar and the body but its lowest rows.
        const bool over_dialog =
            boxes_overlap(mx, my, 1, 1, gui_get_number("XPOS"), gui_get_number("YPOS"),
                          gui_get_number("WIDTH"), gui_get_number("HEIGHT")) != 0;
        DrawPlan(mx, my, left, over_dialog);
        gui_show(1);
        ForceMap = gui_get_number("cb_forcemapCHECKED");
        double next = -1;
        if (Clicked("bt_leveldn")) next = std::max(kFirstLevel, Editor.edit_level - 1);
        if (next < 0 && Clicked("bt_levelup")) next = std::min(kLastLevel, Editor.edit_level + 1);
        if (next >= 0) {
            if (SettleChanges()) return next;
            continue;
        }
        if (Clicked("bt_add")) AddPad();
        if (Clicked("bt_del") || key_state(kKeyDelete) != 0) {
            WaitForRelease(kKeyDelete);
            DeletePad();
        }
        if (Clicked("bt_start")) MakeStartPad();
        if (Clicked("bt_flip")) FlipPad();
        if (Clicked("bt_test")) TestEditLevel();
        if (Clicked("bt_save")) SaveEditLevel();
        ApplyStartPadRule();
        PadCommands();
        print_number(PadCount(), 100, 100);
        present_frame();
        wait_for_input();
    }
}

} // namespace

void EditorMain() {
    CurrentScreen = "editor";
    SetDumpExtension(EditorDump);
    // Leaving the program is the editor's to decide: unsaved changes are asked about first.
    set_end_guard(1);
    Editor.edit_level = kFirstLevel;
    ResetDrawingState();
    load_font("smalfont.bmp", 0);
    LoadEditLevel();
    clear_screen();
    stop_music();
    for (;;) {
        BuildEditorDialog();
        Editor.edit_level = EditFrames();
        LoadEditLevel();
    }
}
