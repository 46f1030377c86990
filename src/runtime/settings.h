#pragma once
// The player's settings, kept as an INI file ("settings.ini") in the user folder: window or
// fullscreen, the window size, effects and music volume (0..10), mute and multisampling. A
// value that is missing, unreadable or out of range keeps its default; the file never stops the
// game.
#include <string>
#include <string_view>
#include <vector>

struct Settings {
    bool windowed = false;
    int window_width = 800;
    int window_height = 600;
    int effects_volume = 10; // 0..10
    int music_volume = 10;   // 0..10
    bool muted = false;
    int msaa = -1; // -1: chosen by the renderer (4 in hardware, 0 in software); else 0, 2, 4, 8
    bool operator==(const Settings&) const = default;
};

// The settings a file holds over `defaults` (what a missing or bad value keeps); each problem
// found (one per bad value or line) goes to `problems`.
Settings settings_parse(std::string_view bytes, std::vector<std::string>& problems,
                        const Settings& defaults = Settings{});
// The file text of `s` (INI, CR LF line ends).
std::string settings_format(const Settings& s);

// The settings of the run and where they are kept ("" : nowhere, e.g. with --fresh or without a
// user folder: changes last for the run only).
Settings& current_settings();
void set_settings_file(std::string_view path);
const std::string& settings_file();
// Reads the settings file over `defaults` into current_settings(): a missing file keeps the
// defaults; a damaged one is reported with one log line and its bad values keep their defaults.
void load_settings(const Settings& defaults = Settings{});
// Writes current_settings() to the settings file (atomically); false when it cannot.
bool save_settings();

// The gain of a volume step 0..10 (0 silent, 10 full level), an even step in loudness.
float volume_gain(int step);
