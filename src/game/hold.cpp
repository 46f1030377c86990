#include "game/hold.h"

#include "game/feedback.h"
#include "game/state.h"
#include "graphics/device.h"
#include "gui/gui.h"
#include "input/input.h"
#include "runtime/app/frame.h"

#include <vector>

double Paused = 0;
std::string Question;

namespace {

// Scan codes and pad buttons of the holds.
constexpr double kKeyP = 25, kKeyBackspace = 14, kKeyReturn = 28, kKeyY = 21, kKeyN = 49;
constexpr double kPadNo = 1, kPadYes = 2, kPadBack = 6, kPadStart = 7;

// A control that acts when it goes down (holding it does nothing more).
struct Edge {
    bool was = false;
    bool pressed(bool now) {
        const bool p = now && !was;
        was = now;
        return p;
    }
};

Edge pause_edge, leave_edge, yes_edge, no_edge;

bool PauseDown() {
    return key_state(kKeyP) != 0 || joy_button(0, kPadStart) != 0;
}
bool LeaveDown() {
    return key_state(kKeyBackspace) != 0 || joy_button(0, kPadBack) != 0;
}

// The game clock stands still while a hold is open, so the scene does too: it is drawn once,
// kept as the background layer and held still, so the frames of the pause draw nothing.
void HoldPaused(void (*draw)()) {
    Paused = 1;
    hold_game_clock(1);
    draw();
    set_alpha_mode(-0.55);
    draw_rect(0, 0, ScreenWidth, ScreenHeight, 0);
    set_alpha_mode(0);
    DrawTextBox({"Paused", "P or Start plays on"}, 250, 1);
    use_screen_as_background();
    hold_screen(1);
    for (;;) {
        PublishSounds();
        present_frame();
        if (pause_edge.pressed(PauseDown())) break;
    }
    hold_screen(0);
    clear_screen(); // drops the kept picture
    hold_game_clock(0);
    Paused = 0;
}

// The question in the toolkit's message box over the held scene. True: leave.
bool AskLeave(void (*draw)()) {
    Question = kLeaveQuestion;
    hold_game_clock(1);
    gui_message_box_open(Question.c_str(), 1);
    yes_edge.was = true; // the keys must go down anew
    no_edge.was = true;
    bool leave = false;
    draw(); // kept, with the box drawn over it each frame
    use_screen_as_background();
    for (;;) {
        gui_show(0);
        PublishSounds();
        present_frame();
        if (gui_get_number("bt_yesCLICKED") != 0) {
            leave = true;
            break;
        }
        if (gui_get_number("bt_noCLICKED") != 0) break;
        const bool yes =
            key_state(kKeyReturn) != 0 || key_state(kKeyY) != 0 || joy_button(0, kPadYes) != 0;
        const bool no = key_state(kKeyN) != 0 || joy_button(0, kPadNo) != 0;
        const bool again = leave_edge.pressed(LeaveDown());
        if (yes_edge.pressed(yes)) {
            leave = true;
            break;
        }
        if (no_edge.pressed(no) || again) break;
    }
    gui_dialog_close();
    clear_screen(); // drops the kept scene
    show_system_pointer(0);
    hold_game_clock(0);
    Question.clear();
    return leave;
}

} // namespace

double CheckHolds(void (*draw)()) {
    if (pause_edge.pressed(PauseDown())) HoldPaused(draw);
    if (leave_edge.pressed(LeaveDown())) return AskLeave(draw) ? 1 : 0;
    return 0;
}

void ResetHolds() {
    pause_edge = leave_edge = yes_edge = no_edge = Edge{};
    Paused = 0;
    Question.clear();
}
