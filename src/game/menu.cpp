// The main menu: the menu tune, the title logo's flight, then a translucent box of five lines
// that slides down: the three options, starting a game and opening the level editor. Once the
// box stands, the screen is held still until the picture changes.
#include "game/menu.h"
#include "audio/sound.h"
#include "game/game.h"
#include "game/result_lines.h"
#include "game/state.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/scene.h"
#include "input/input.h"
#include "runtime/app/frame.h"
#include "runtime/arith.h"

#include <algorithm>

double MenuCursor = 3;
double MenuBoxY = -600;

namespace {

void (*level_editor)() = nullptr;

void LogoFlight() {
    const double start = timer_ms();
    double t = 0;
    while (t < 1) {
        t = (timer_ms() - start) / 2000;
        const double wobble = 0.995 + 0.0025 * (sin_deg(4000 * t) + 1);
        const double c = std::max(cos_deg(140 * t), 0.0);
        const double z = (1 - c) * wobble;
        stretch_sprite(200, 0, 0, ScreenWidth, ScreenHeight);
        begin_3d(1, 100, 45);
        set_camera(0, 0, 0, 0, 0, -1);
        set_light(-2, 1, 45, 20, 35, -0.1, -0.1, -1, 360);
        set_culling(1);
        set_translation(0, 0, 100 * z - 107);
        draw_object(300, 0);
        end_3d();
        if (t >= 1) use_screen_as_background();
        present_frame();
    }
}

// What the menu's picture shows, to tell when it must be drawn anew.
struct MenuPicture {
    double box_y = -1, cursor = -1, start_level = -1, timer = -1, detail = -1;
    bool operator==(const MenuPicture&) const = default;
};

MenuPicture CurrentMenuPicture() {
    return {MenuBoxY, MenuCursor, StartLevelOption, TimerOption, DetailOption};
}

void DrawMenu(const RtArray<RtString>& levels, const RtArray<RtString>& timers,
              const RtArray<RtString>& details) {
    const double y = MenuBoxY;
    set_alpha_mode(-0.6);
    draw_rect(184, 394 + y, ScreenWidth - 184, 564 + y, 0);
    draw_rect(184, 414 + y + 30 * MenuCursor, ScreenWidth - 184, 443 + y + 30 * MenuCursor,
              16777215);
    set_alpha_mode(0);
    print_text((RtString("[F1] Startlevel    - ") + levels.at(StartLevelOption)).c_str(), 204,
               414 + y);
    print_text((RtString("[F2] Timer         - ") + timers.at(TimerOption)).c_str(), 204, 444 + y);
    print_text((RtString("[F3] GFX - Details - ") + details.at(DetailOption)).c_str(), 204,
               474 + y);
    print_text("[F4] Spin the Steel - Yay!", 204, 504 + y);
    print_text("[F5] Edit Levels   - Tick", 204, 534 + y);
    DrawGameResultLine(574 + y);
}

} // namespace

void SetLevelEditor(void (*editor)()) {
    level_editor = editor;
}

double MainMenu() {
    RtArray<RtString> levels, timers, details;
    levels.dim(3);
    levels.at(0) = "Dumb";
    levels.at(1) = "Okay";
    levels.at(2) = "Hard";
    timers.dim(3);
    timers.at(0) = "None";
    timers.at(1) = "Okay";
    timers.at(2) = "Run!";
    details.dim(2);
    details.at(0) = "C 64";
    details.at(1) = "Whee";
    MenuCursor = 3;
    MenuBoxY = -600;
    CurrentScreen = "menu";
    load_font("bigfont.bmp", 0);
    load_music("music\\SS_6.IT");
    start_music();
    LogoFlight();
    MenuBoxY = -600;
    MenuPicture shown;
    for (;;) {
        if (MenuBoxY < -180) MenuBoxY += frame_time_ms() / 10;
        // Once the box stands, the picture is kept until something in it changes.
        const MenuPicture now = CurrentMenuPicture();
        if (!(now == shown)) hold_screen(0);
        if (screen_held() == 0) {
            DrawMenu(levels, timers, details);
            shown = now;
        }
        hold_screen(MenuBoxY >= -180 ? 1 : 0);
        present_frame();
        const double c = ReadControl(0, 1);
        if (c != 0) {
            MenuCursor = std::clamp(MenuCursor + c, 0.0, 4.0);
            while (ReadControl(0, 1) != 0) {
            }
        }
        const double fire = ReadControl(0, 2);
        if (fire != 0)
            while (ReadControl(0, 2) != 0) {
            }
        if (key_state(59) != 0 || (fire != 0 && MenuCursor == 0))
            StartLevelOption = mod(StartLevelOption + 1, 3);
        if (key_state(60) != 0 || (fire != 0 && MenuCursor == 1))
            TimerOption = mod(TimerOption + 1, 3);
        if (key_state(61) != 0 || (fire != 0 && MenuCursor == 2)) DetailOption = 1 - DetailOption;
        while (key_state(59) != 0) {
        }
        while (key_state(60) != 0) {
        }
        while (key_state(61) != 0) {
        }
        if (key_state(62) != 0 || (fire != 0 && MenuCursor == 3)) break;
        if (key_state(63) != 0 || (fire != 0 && MenuCursor == 4)) {
            if (level_editor) {
                hold_screen(0);
                shown = MenuPicture{};
                CurrentScreen = "editor";
                level_editor();
                CurrentScreen = "menu";
            }
        }
    }
    hold_screen(0);
    while (key_state(62) != 0) {
    }
    return 0;
}
