// Level files: loading a level into the game state and saving the editor's level.
#include "game/game.h"
#include "game/play.h"
#include "game/seam.h"
#include "game/state.h"
#include "runtime/files.h"
#include "runtime/ini.h"
#include "runtime/line_files.h"
#include "runtime/user_dir.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// Ranges a level needs on its 31 x 11 grid, with room to spare; anything beyond them (a
// damaged or hostile file) is clamped so that loading and drawing the map stay quick.
constexpr double kMaxPads = 1024;
constexpr double kMinPosition = -64, kMaxPosition = 128;
constexpr double kMaxSize = 64;

double Clamp(double v, double lo, double hi) {
    if (std::isnan(v)) return 0;
    return std::clamp(v, lo, hi);
}

double ReadNumber(const RtString& section, const char* key) {
    return number_from_str(ini_get(section, key));
}

} // namespace

RtString LevelFileName(double n) { return RtString("level") + str_from_number(n) + ".ini"; }

// A level the player saved lies in the user folder's "levels" and comes before the shipped one.
RtString LevelReadPath(double n) {
    return RtString(user_or_shipped("levels", LevelFileName(n).c_str()).c_str());
}

bool LevelExists(double n) { return file_exists(LevelReadPath(n)) != 0; }

double LoadLevel(double n) {
    ini_open(LevelReadPath(n));
    double count = ReadNumber("global", "padcount");
    if (std::isnan(count)) count = 0;
    count = std::min(count, kMaxPads);
    Pads.dim(std::max(count, 1.0));
    Workers.dim(1);
    ForceMap = ReadNumber("global", "forcemap");
    if (std::isnan(ForceMap)) ForceMap = 0;
    for (double i = 0; i <= count - 1; ++i) {
        RtString section = RtString("pads") + str_from_number(i);
        Pad& p = Pads.at(i);
        p.spare = 0;
        p.minx = Clamp(ReadNumber(section, "minx"), kMinPosition, kMaxPosition);
        p.miny = Clamp(ReadNumber(section, "miny"), kMinPosition, kMaxPosition);
        p.maxx = Clamp(ReadNumber(section, "maxx"), kMinPosition, kMaxPosition);
        p.maxy = Clamp(ReadNumber(section, "maxy"), kMinPosition, kMaxPosition);
        p.x = p.minx;
        p.y = p.miny;
        p.extx = Clamp(ReadNumber(section, "extx"), 0, kMaxSize);
        p.exty = Clamp(ReadNumber(section, "exty"), 0, kMaxSize);
    }
    Worker& w = Workers.at(0);
    w.x = Pads.at(0).minx + 0.5;
    w.y = Pads.at(0).miny + 0.5;
    HurryMusic = 0;
    ExitTimer = 0;
    LevelDone = 0;
    MapFade = 1;
    TimeLeft = (3 - TimerOption) * 60;
    Seam.build_level_map(100);
    return 0;
}

std::string LevelFileText() {
    std::string text;
    auto line = [&](const std::string& s) { text += s + "\r\n"; };
    auto pair = [&](const char* key, double v) {
        line(std::string(key) + "=" + str_from_number(v).c_str());
    };
    const int count = PadCount();
    line("[global]");
    pair("padcount", count);
    pair("forcemap", ForceMap);
    for (int i = 0; i < count; ++i) {
        const Pad& p = Pads.at(i);
        line(std::string("[pads") + std::to_string(i) + "]");
        pair("minx", p.minx);
        pair("miny", p.miny);
        pair("maxx", p.maxx);
        pair("maxy", p.maxy);
        pair("extx", p.extx);
        pair("exty", p.exty);
    }
    return text;
}

double SaveLevel(double n) {
    // Only into the user folder (beside the shipped data when a run has none): a shipped level
    // is never overwritten, and an installed, read-only game folder works.
    const std::string path = user_write_path("levels", LevelFileName(n).c_str());
    // Pending changes of the INI store reach the disk first, so nothing written later by the
    // store can replace the saved level.
    ini_flush();
    if (path.empty() || !write_file_atomic(path, LevelFileText())) return -1;
    ini_open(RtString(path.c_str()));
    return 0;
}
