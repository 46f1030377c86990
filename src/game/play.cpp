// A game: the frame loop over the rules and the scene, level after level until the lives run
// out or the last level is done; the music choice during play; the level editor's test runs.
#include "game/best_results.h"
#include "game/feedback.h"
#include "game/game.h"
#include "game/hold.h"
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
#include <string>
#include <vector>

double TestPlay = 0;
double GameComplete = 0;
double StartLevelOverride = -1;

namespace {

// The level whose title card was shown last (-1: none yet in this game).
double CardLevel = -1;

// The scene as it stands, the help texts and the banner; not presented.
void DrawPlayScene() {
    DrawLevel(0);
    end_3d();
    print_text("Crsr  to Move", 0, 0);
    print_text("LCtrl to Screw", 0, 20);
    DrawBanner();
}

// One frame of play: the holds (pause, leave question), the rules, the scene, the help texts,
// the frame shown.
void PlayFrame() {
    const double previous = FrameClock;
    FrameClock = timer_ms();
    const double exit_timer = ExitTimer;
    PlayStep(FrameClock - previous);
    NoteRideStart(exit_timer);
    // The holds are read after the rules, so the rules' reads of the controls keep their place
    // in the frame; a hold costs the frame nothing.
    if (CheckHolds(DrawPlayScene) != 0) {
        Playing = 0;
        return;
    }
    if (Level != CardLevel && Playing != 0) {
        CardLevel = Level;
        ShowTitleCard(LevelBestLine(Level, TimerOption));
    }
    DrawPlayScene();
    PublishSounds();
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
    CardLevel = -1;
    ClearBanner();
    ClearSounds();
    ResetHolds();
}

// The ending's box: below the credits' texts, above the picture's lower girder.
constexpr double kEndingBoxTop = 400;
constexpr const char* kEndingPrompt = "Space or pad button 2: menu";

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
    ClearSounds();
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
    const std::string score = std::string("Final score: ") + str_format(0, 2, Score).c_str();
    // A key still held from play must not end the ending at once.
    while (EndPressed()) present_frame();
    // The credits picture keeps its texts above y 390; the box sits below them, with the game's
    // result (when results are kept) above the prompt. The picture is still: drawn once, it is
    // kept as the background layer and held, so the ending's frames draw nothing.
    stretch_sprite(500, 0, 0, ScreenWidth, ScreenHeight);
    std::vector<std::string> lines = {"Congratulations!", "Every girder is bolted.", score};
    if (*GameResultLine() != 0) lines.push_back(GameResultLine());
    lines.push_back(kEndingPrompt);
    DrawTextBox(lines, kEndingBoxTop, 1);
    use_screen_as_background();
    hold_screen(1);
    do {
        present_frame();
    } while (!EndPressed());
    while (EndPressed()) present_frame();
    hold_screen(0);
    clear_screen(); // drops the kept picture
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
