// The program's start: splash, loading every slot, the intro cross-fades, then menu and game for
// ever. Also the control reader shared by the intro, the menu and play.
#include "game/best_results.h"
#include "game/game.h"
#include "game/play.h"
#include "game/state.h"
#include "audio/sound.h"
#include "graphics/device.h"
#include "graphics/scene.h"
#include "input/input.h"
#include "runtime/app/frame.h"
#include "runtime/errors.h"
#include "runtime/line_files.h"

#include <algorithm>

namespace {

void LoadGirdersAndLift() {
    load_object("gfx/stahltraeger.ddd", 0);
    load_sprite("gfx/stahltraeger.bmp", 0);
    load_object("gfx/stahltraeger_mitte.ddd", 1);
    load_sprite("gfx/stahltraeger_static.bmp", 1);
    load_object("gfx/stahltraeger_seite.ddd", 2);
    load_object("gfx/boden.ddd", 3);
    load_object("gfx/aufzug.ddd", 4);
    load_object("gfx/remote.ddd", 5);
    load_sprite("gfx/remote.bmp", 5);
    load_object("gfx/schraube.ddd", 10);
    load_sprite("gfx/schraube.bmp", 10);
}

void LoadWorkerAndSky() {
    load_sprite("gfx/schraube_doof.bmp", 11);
    load_object("gfx/worker.ddd", 20);
    load_sprite("gfx/worker.bmp", 20);
    load_object("gfx/skydome.ddd", 200);
    load_sprite("gfx/hintergrund.bmp", 200);
    load_object("gfx/skydome-sky.ddd", 201);
    load_sprite("gfx/hintergrund_sky.bmp", 201);
    load_object("gfx/skydome-superman.ddd", 202);
    load_sprite("gfx/superman.bmp", 202);
    load_object("gfx/Stadt.ddd", 203);
    load_sprite("gfx/Stadt.bmp", 203);
}

void LoadMenuAndStatus() {
    load_object("gfx/logo.ddd", 300);
    load_object("gfx/status_01.ddd", 301);
    load_object("gfx/status_02.ddd", 302);
    load_sprite("gfx/wecker.bmp", 302);
    load_object("gfx/status_03.ddd", 303);
}

void LoadSounds() {
    load_sound("sfx/festmachen.wav", 0, 2);
    load_sound("sfx/loesen.wav", 1, 2);
    load_sound("sfx/elevator.wav", 2, 1);
    load_sound("sfx/bell.wav", 3, 4);
    // The game's cues: nothing to bolt, the level solved, the last ten seconds.
    load_sound("sfx/dull.wav", 4, 2);
    load_sound("sfx/chime.wav", 5, 1);
    load_sound("sfx/tick.wav", 6, 1);
}

// Picture into a cross-fade slot: the file, or a piece of the cleared (black) screen.
void FadePicture(const RtString& file, double slot) {
    if (file_exists(file) != 0) {
        load_sprite(file.c_str(), slot);
    } else {
        if (!file.empty()) log_missing_file(file.view());
        grab_sprite(slot, 0, 0, 16, 16);
    }
}

} // namespace

void LoadGameSlots() {
    LoadGirdersAndLift();
    LoadWorkerAndSky();
    LoadMenuAndStatus();
}

double ReadControl(double, double axis) {
    switch (to_int32(axis)) {
    case 0: return key_state(205) - key_state(203) + joy_x(0);
    case 1: return key_state(208) - key_state(200) + joy_y(0);
    case 2: return key_state(29) + joy_button(0, 2);
    case 3: return key_state(50) + joy_button(0, 0);
    default: return 0;
    }
}

double ShowPicture(const RtString& from_file, const RtString& to_file) {
    clear_screen();
    if (IntroSkipped != 0) return 0;
    FadePicture(from_file, 500);
    FadePicture(to_file, 501);
    const double start = timer_ms();
    const double fade_end = start + 3000;
    double now = start;
    while (now < fade_end + 1000) {
        if (ReadControl(0, 2) != 0) IntroSkipped = 1;
        if (IntroSkipped != 0) return 0;
        const double p = std::min((now - start) / (fade_end - start), 1.0);
        for (int k = 0; k < 2; ++k) {
            const double a = k == 0 ? -(1 - p) : -p;
            set_alpha_mode(std::clamp(a, -1.0, -0.01));
            stretch_sprite(500 + k, 0, 0, ScreenWidth, ScreenHeight);
            set_alpha_mode(0);
        }
        present_frame();
        now = timer_ms();
    }
    set_alpha_mode(0);
    return 0;
}

void GameMain() {
    const double direct_level = runtime_level_option();
    LoadBestResults();
    screen_size(ScreenWidth, ScreenHeight);
    clear_screen();
    present_frame();
    CurrentScreen = "splash";
    show_background("gfx/splash.bmp");
    present_frame();
    const double t0 = timer_ms();
    LoadGirdersAndLift();
    const double fps = line_read_number("limitfps.txt", 0);
    if (fps != 0) set_fps_limit(fps);
    if (direct_level < 0) {
        while (timer_ms() < t0 + 5000) {
            if (key_state(57) != 0 || mouse_state(3) != 0) break;
            present_frame();
        }
    }
    // A game started directly from the command line skips the intro; every slot still loads.
    if (direct_level >= 0) IntroSkipped = 1;
    CurrentScreen = "intro";
    ShowPicture("", "gfx/Trelmond.bmp");
    LoadWorkerAndSky();
    ShowPicture("gfx/Trelmond.bmp", "gfx/Credits.bmp");
    LoadMenuAndStatus();
    ShowPicture("gfx/Credits.bmp", "gfx/hintergrund.bmp");
    LoadSounds();
    if (direct_level >= 0) {
        IntroSkipped = 0;
        StartLevelOverride = direct_level;
        PlayGame();
    }
    for (;;) {
        MainMenu();
        PlayGame();
    }
}
