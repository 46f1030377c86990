#include "runtime/app/player_keys.h"

#include "audio/sound.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/png_file.h"
#include "input/input_device.h"
#include "runtime/app/frame_internal.h"
#include "runtime/errors.h"
#include "runtime/files.h"
#include "runtime/settings.h"
#include "runtime/user_dir.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

namespace {

constexpr int kKeyF7 = 65, kKeyF8 = 66, kKeyF9 = 67, kKeyF12 = 88;
constexpr double kVolumeNoteMs = 1500;
constexpr double kScreenshotNoteMs = 2000;

bool (*volume_filter)() = nullptr;
bool was_down[4] = {};
std::string note;
double note_until = -1;

bool pressed(int index, int code) {
    const bool down = input_key_down(code);
    const bool edge = down && !was_down[index];
    was_down[index] = down;
    return edge;
}

void show_note(std::string text, double ms) {
    note = std::move(text);
    note_until = clock_now() + ms;
}

std::string volume_text(const Settings& s) {
    if (s.muted) return "Sound muted (F7)";
    const int level = std::max(s.effects_volume, s.music_volume);
    return "Volume " + std::to_string(level) + " of 10";
}

void change_volume(int step) {
    Settings& s = current_settings();
    if (step == 0) {
        s.muted = !s.muted;
    } else {
        s.muted = false;
        s.effects_volume = std::clamp(s.effects_volume + step, 0, 10);
        s.music_volume = std::clamp(s.music_volume + step, 0, 10);
    }
    apply_volume_settings();
    save_settings();
    show_note(volume_text(s), kVolumeNoteMs);
}

// A free file name of the form steel_spree-YYYY-MM-DD_HH-MM-SS[-N].png in `folder`.
std::string screenshot_name(const std::string& folder) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[64];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    std::string base = folder + "/steel_spree-" + stamp;
    std::string name = base + ".png";
    for (int n = 2; file_readable(name) && n < 1000; ++n)
        name = base + "-" + std::to_string(n) + ".png";
    return name;
}

void take_screenshot() {
    const std::string folder = screenshot_folder();
    if (folder.empty() || !make_dirs(folder)) {
        error_log("Screenshot: no folder to write it in");
        show_note("Screenshot not saved: no folder for it", kScreenshotNoteMs);
        return;
    }
    const std::string file = screenshot_name(folder);
    if (save_screen_png(file)) {
        error_log("Screenshot " + file);
        show_note("Screenshot saved", kScreenshotNoteMs);
    } else {
        error_log("Screenshot: cannot write " + file);
        show_note("Screenshot not saved", kScreenshotNoteMs);
    }
}

void draw_note() {
    if (note.empty()) return;
    if (clock_now() >= note_until) {
        note.clear();
        return;
    }
    double gw = 8, gh = 8;
    font_size(gw, gh);
    const double width = gw * double(note.size()) + 16, height = gh + 10;
    const double x = gfx.screen_width - width - 8, y = 8;
    set_alpha_mode(-0.7);
    draw_rect(x, y, x + width, y + height, 0);
    set_alpha_mode(0);
    print_text(note.c_str(), x + 8, y + 5);
}

} // namespace

void set_volume_keys_filter(bool (*active)()) {
    volume_filter = active;
}

void apply_volume_settings() {
    const Settings& s = current_settings();
    const float mute = s.muted ? 0.0f : 1.0f;
    sound_set_output_gains(volume_gain(s.effects_volume) * mute,
                           volume_gain(s.music_volume) * mute);
}

std::string screenshot_folder() {
    if (frame.mode != RunMode::Scripted) {
        const char* home = std::getenv("HOME");
        const char* config = std::getenv("XDG_CONFIG_HOME");
        std::string pictures = xdg_pictures_dir(home ? home : "", config ? config : "");
        if (is_dir(pictures)) return pictures;
    }
    return user_path("screenshots");
}

const std::string& player_note() {
    return note;
}

void player_keys_frame() {
    const bool volume = !volume_filter || volume_filter();
    const bool f7 = pressed(0, kKeyF7), f8 = pressed(1, kKeyF8), f9 = pressed(2, kKeyF9);
    if (volume) {
        if (f7) change_volume(0);
        if (f8) change_volume(-1);
        if (f9) change_volume(1);
    }
    if (pressed(3, kKeyF12)) take_screenshot();
    draw_note();
}
