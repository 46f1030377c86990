#include "game/best_results.h"

#include "runtime/errors.h"
#include "runtime/files.h"
#include "runtime/ini.h"
#include "runtime/user_dir.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

constexpr size_t kMaxFileBytes = 256 * 1024;
constexpr double kMaxValue = 1e12;
const char* const kFileName = "best.ini";
const char* const kSection = "best";

BestTable table;

std::string Key(const char* what, double n, double timer_option) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s%.0f.timer%.0f", what, n, timer_option);
    return buf;
}

std::string GameKey(double timer_option) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "game.timer%.0f", timer_option);
    return buf;
}

bool Whole(double v) {
    return std::isfinite(v) && v >= 0 && v < 1e9 && v == std::floor(v);
}

void Save() {
    const std::string path = user_path(kFileName);
    if (path.empty()) return;
    if (!write_file_atomic(path, FormatBestResults(table)))
        error_log("Best results: cannot write " + path);
}

// Keeps `value` under `key` when it beats what is kept; true when it does.
bool Improve(const std::string& key, double value) {
    auto it = table.find(key);
    if (it != table.end() && it->second >= value) return false;
    table[key] = value;
    Save();
    return true;
}

std::string Number(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.0f", std::floor(v));
    return buf;
}

} // namespace

bool ParseBestResults(std::string_view bytes, BestTable& out) {
    out.clear();
    for (char c : bytes)
        if (c == '\0') return false;
    bool found = false;
    for (const IniSection& section : ini_parse(bytes)) {
        if (section.name != kSection) {
            out.clear();
            return false;
        }
        found = true;
        for (const auto& [key, text] : section.pairs) {
            double v = 0;
            auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
            if (ec != std::errc() || p != text.data() + text.size() || !std::isfinite(v) || v < 0 ||
                v > kMaxValue || key.size() > 64) {
                out.clear();
                return false;
            }
            out[key] = v;
        }
    }
    return found || bytes.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

std::string FormatBestResults(const BestTable& t) {
    IniSection section;
    section.name = kSection;
    for (const auto& [key, value] : t) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g", value);
        section.pairs.emplace_back(key, buf);
    }
    return ini_format({section});
}

void LoadBestResults() {
    table.clear();
    const std::string path = user_path(kFileName);
    if (path.empty() || !file_readable(path)) return;
    auto bytes = read_file(path, kMaxFileBytes);
    std::string_view text;
    if (bytes) text = std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    if (!bytes || !ParseBestResults(text, table)) {
        table.clear();
        error_log("Best results: " + path + " is damaged and is ignored");
    }
}

bool RecordLevelTime(double level, double timer_option, double time_left) {
    if (timer_option == 0 || !Whole(level) || !Whole(timer_option) || !std::isfinite(time_left) ||
        time_left < 0)
        return false;
    return Improve(Key("level", level, timer_option), time_left);
}

bool RecordGameScore(double timer_option, double score) {
    if (!Whole(timer_option) || !std::isfinite(score) || score < 0) return false;
    return Improve(GameKey(timer_option), score);
}

std::string LevelBestLine(double level, double timer_option) {
    if (!Whole(level) || !Whole(timer_option)) return {};
    auto it = table.find(Key("level", level, timer_option));
    if (it == table.end()) return {};
    return "Best time left: " + Number(it->second) + " s";
}

std::string GameScoreLine(double timer_option, double score, bool new_best) {
    std::string line = "Score " + Number(score);
    if (new_best) return line + " - New best!";
    auto it = table.find(GameKey(timer_option));
    if (it != table.end()) line += " - Best " + Number(it->second);
    return line;
}
