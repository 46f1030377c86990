#include "runtime/settings.h"

#include "runtime/errors.h"
#include "runtime/files.h"
#include "runtime/ini.h"
#include "runtime/user_dir.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace {

constexpr size_t kMaxSettingsBytes = 64 * 1024;

Settings settings;
std::string settings_path;

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool parse_int(std::string_view s, long long lo, long long hi, int& out) {
    long long v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || p != s.data() + s.size() || v < lo || v > hi)
        return false;
    out = int(v);
    return true;
}

} // namespace

Settings settings_parse(std::string_view bytes, std::vector<std::string>& problems,
                        const Settings& defaults) {
    Settings s = defaults;
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u == 0 || u >= 0x80) {
            problems.push_back("not a text file");
            return defaults;
        }
    }
    for (const IniSection& section : ini_parse(bytes)) {
        if (!same_name(section.name, "settings")) {
            problems.push_back("unknown section [" + section.name + "]");
            continue;
        }
        for (const auto& [key, raw] : section.pairs) {
            // "Key = value", as a hand edit writes it: the INI layer splits at the blank.
            std::string_view value = raw;
            if (!value.empty() && value.front() == '=') value.remove_prefix(1);
            while (!value.empty() && value.front() == ' ')
                value.remove_prefix(1);
            int v = 0;
            bool ok = true;
            if (same_name(key, "Windowed")) {
                ok = parse_int(value, 0, 1, v);
                if (ok) s.windowed = v != 0;
            } else if (same_name(key, "WindowWidth")) {
                ok = parse_int(value, 320, 16384, v);
                if (ok) s.window_width = v;
            } else if (same_name(key, "WindowHeight")) {
                ok = parse_int(value, 240, 16384, v);
                if (ok) s.window_height = v;
            } else if (same_name(key, "EffectsVolume")) {
                ok = parse_int(value, 0, 10, v);
                if (ok) s.effects_volume = v;
            } else if (same_name(key, "MusicVolume")) {
                ok = parse_int(value, 0, 10, v);
                if (ok) s.music_volume = v;
            } else if (same_name(key, "Muted")) {
                ok = parse_int(value, 0, 1, v);
                if (ok) s.muted = v != 0;
            } else if (same_name(key, "Msaa")) {
                if (same_name(value, "auto")) {
                    s.msaa = -1;
                } else {
                    ok = parse_int(value, 0, 8, v) && (v == 0 || v == 2 || v == 4 || v == 8);
                    if (ok) s.msaa = v;
                }
            } else {
                problems.push_back("unknown key " + key);
                continue;
            }
            if (!ok) problems.push_back("bad value " + key + "=" + std::string(value));
        }
    }
    return s;
}

std::string settings_format(const Settings& s) {
    IniSection section;
    section.name = "settings";
    auto put = [&](const char* key, const std::string& value) {
        section.pairs.emplace_back(key, value);
    };
    put("Windowed", s.windowed ? "1" : "0");
    put("WindowWidth", std::to_string(s.window_width));
    put("WindowHeight", std::to_string(s.window_height));
    put("EffectsVolume", std::to_string(s.effects_volume));
    put("MusicVolume", std::to_string(s.music_volume));
    put("Muted", s.muted ? "1" : "0");
    put("Msaa", s.msaa < 0 ? "auto" : std::to_string(s.msaa));
    return ini_format({section});
}

Settings& current_settings() {
    return settings;
}

void set_settings_file(std::string_view path) {
    settings_path = path;
}

const std::string& settings_file() {
    return settings_path;
}

void load_settings(const Settings& defaults) {
    settings = defaults;
    if (settings_path.empty()) return;
    if (!file_readable(settings_path) && !is_dir(settings_path)) return; // none yet: defaults
    auto bytes = read_file(settings_path, kMaxSettingsBytes);
    if (!bytes) {
        error_log("Settings: " + settings_path + " cannot be read; using the defaults");
        return;
    }
    std::vector<std::string> problems;
    settings = settings_parse(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), problems);
    if (!problems.empty()) {
        std::string line = "Settings: " + settings_path + ": " + problems.front();
        if (problems.size() > 1) line += " (and " + std::to_string(problems.size() - 1) + " more)";
        error_log(line + "; those values keep their defaults");
    }
}

bool save_settings() {
    if (settings_path.empty()) return false;
    if (write_file_atomic(settings_path, settings_format(settings))) return true;
    error_log("Settings: cannot write " + settings_path);
    return false;
}

float volume_gain(int step) {
    step = std::clamp(step, 0, 10);
    if (step == 0) return 0.0f;
    // 3 dB per step: step 10 is full level, step 1 is -27 dB.
    return float(std::pow(10.0, -3.0 * (10 - step) / 20.0));
}
