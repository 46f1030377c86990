// A game: the frame loop over the rules and the scene, level after level until the lives run
// out or the last level is done; the music choice during play; the level editor's test runs.
#include "game/game.h"
#include "game/play.h"
#include "game/result_lines.h"
#include "game/seam.h"
#include "game/state.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/scene.h"
#include "input/input.h"
#include "runtime/app/frame.h"
#include "runtime/arith.h"
#include "runtime/text.h"

#include <algorithm>

double TestPlay = 0;
double GameComplete = 0;
double StartLevelOverride = -1;

namespace {

// One frame of play: the rules, the scene, the help texts, the frame shown.
void PlayFrame() {
    const double previous = FrameClock;
    FrameClock = timer_ms();
    const double exit_timer = ExitTimer;
    PlayStep(FrameClock - previous);
    NoteRideStart(exit_timer);
    DrawLevel(0);
    end_3d();
    print_text("Crsr  to Move", 0, 0);
    print_text("LCtrl to Screw", 0, 20);
    DrawLevelOpeningLine();
    present_frame();
}

void StartGame(double level) {
    load_font("bigfont.bmp", 0);
    Score = 0;
    Lives = 3;
    Level = level;
    GameComplete = 0;
    LoadLevel(Level);
    Playing = 1;
    FrameClock = timer_ms();
    CurrentScreen = "play";
}

bool EndPressed() {
    return key_state(57) != 0 || ReadControl(0, 2) != 0 || mouse_state(3) != 0;
}

} // namespace

double PlayGame() {
    double level = 1 + 5 * StartLevelOption;
    if (StartLevelOverride >= 0) {
        level = StartLevelOverride;
        StartLevelOverride = -1;
    }
    StartGame(level);
    do {
        PlayFrame();
    } while (Playing != 0);
    NoteGameEnd();
    if (GameComplete != 0) ShowEnding();
    return 0;
}

double PlayTestLevel(double n) {
    TestPlay = 1;
    set_esc_ends(0);
    StartGame(n);
    bool escaped = false;
    // Under the editor's end guard a request to end the program ends the test first.
    do {
        PlayFrame();
        if (key_state(1) != 0) escaped = true;
    } while (Playing != 0 && !escaped && end_requested() == 0);
    // Esc stays off until the key is up, or the same press would end the program.
    while (key_state(1) != 0) present_frame();
    Playing = 0;
    set_esc_ends(1);
    TestPlay = 0;
    return GameComplete != 0 && !escaped ? 1 : 0;
}

double ShowEnding() {
    CurrentScreen = "ending";
    load_sprite("gfx/Credits.bmp", 500);
    load_font("bigfont.bmp", 0);
    double gw = 0, gh = 0;
    font_size(gw, gh);
    auto centred = [&](const RtString& text, double y) {
        print_text(text.c_str(), (ScreenWidth - gw * double(text.length())) / 2, y);
    };
    const RtString score = RtString("Final score: ") + str_format(0, 2, Score);
    // A key still held from play must not end the ending at once.
    while (EndPressed()) present_frame();
    for (;;) {
        stretch_sprite(500, 0, 0, ScreenWidth, ScreenHeight);
        draw_rect(0, ScreenHeight / 2 - 75, ScreenWidth, ScreenHeight / 2 + 65, 0);
        draw_rect(0, ScreenHeight / 2 - 77, ScreenWidth, ScreenHeight / 2 - 75, 16777215);
        draw_rect(0, ScreenHeight / 2 + 65, ScreenWidth, ScreenHeight / 2 + 67, 16777215);
        centred("Congratulations!", ScreenHeight / 2 - 55);
        centred("Every girder is bolted.", ScreenHeight / 2 - 15);
        centred(score, ScreenHeight / 2 + 25);
        DrawGameResultLine(ScreenHeight / 2 + 85);
        present_frame();
        if (EndPressed()) break;
    }
    while (EndPressed()) present_frame();
    return 0;
}

double ChooseMusic() {
    if (TimerOption != 0 && TimeLeft < 60) {
        if (HurryMusic != 0) return 0;
        HurryMusic = 1;
        Seam.load_music("music\\SS_8.IT");
        Seam.start_music();
        return 0;
    }
    if (Seam.music_finished() != 0) {
        if (MusicWait > 0) {
            MusicWait -= 1;
        } else {
            MusicWait = 1;
            double k;
            do {
                k = rnd(6) + 1;
            } while (k == MusicTrack);
            MusicTrack = k;
            Seam.load_music((RtString("music\\SS_") + str_from_number(k) + ".IT").c_str());
        }
        Seam.start_music();
    }
    return 0;
}
