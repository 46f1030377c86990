#include "level_check.h"

#include "game/dump.h"
#include "level_reach.h"
#include "level_sim.h"
#include "runtime/files.h"
#include "runtime/ini.h"
#include "runtime/rt_string.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace {

constexpr double kGridWidth = 31, kGridHeight = 11;
constexpr const char* kKeys[6] = {"minx", "miny", "maxx", "maxy", "extx", "exty"};

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

const IniSection* FindSection(const std::vector<IniSection>& file, std::string_view name) {
    for (const IniSection& s : file)
        if (SameName(s.name, name)) return &s;
    return nullptr;
}

const std::string* FindValue(const IniSection* s, std::string_view key) {
    if (!s) return nullptr;
    for (const auto& [k, v] : s->pairs)
        if (SameName(k, key)) return &v;
    return nullptr;
}

// Whether the whole text is one decimal number: sign, digits, fraction, exponent (the game
// reads the longest such prefix and ignores the rest).
bool IsNumberText(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    size_t i = 0, digits = 0;
    auto digit = [&](size_t k) { return k < text.size() && text[k] >= '0' && text[k] <= '9'; };
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    for (; digit(i); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.')
        for (++i; digit(i); ++i)
            ++digits;
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (!digit(i)) return false;
        while (digit(i))
            ++i;
    }
    return i == text.size();
}

std::string Num(double v) {
    return JsonNumber(v);
}

bool IsStatic(const Pad& p) {
    return p.minx == p.maxx && p.miny == p.maxy;
}

void CheckFileLayout(const std::vector<IniSection>& file, double padcount,
                     std::vector<std::string>& warnings) {
    const std::string* count_text = FindValue(FindSection(file, "global"), "padcount");
    if (!IsNumberText(*count_text) || padcount != std::floor(padcount) || padcount < 1)
        warnings.push_back("padcount '" + *count_text + "' is not a whole number of 1 or more");
    const std::string* force = FindValue(FindSection(file, "global"), "forcemap");
    if (force && !IsNumberText(*force))
        warnings.push_back("forcemap '" + *force + "' is not a number (reads " +
                           Num(number_from_str(std::string_view(*force))) + ")");
    const long count = long(std::clamp(padcount, 0.0, 1024.0));
    for (long i = 0; i < count; ++i) {
        const std::string name = "pads" + std::to_string(i);
        const IniSection* s = FindSection(file, name);
        if (!s) {
            warnings.push_back("section [" + name + "] is missing (the pad is all zeros)");
            continue;
        }
        for (const char* key : kKeys) {
            const std::string* v = FindValue(s, key);
            if (!v)
                warnings.push_back("[" + name + "] has no " + key + " (reads 0)");
            else if (!IsNumberText(*v))
                warnings.push_back("[" + name + "] " + key + " '" + *v +
                                   "' is not a number (reads " +
                                   Num(number_from_str(std::string_view(*v))) + ")");
        }
    }
    for (const IniSection& s : file) {
        if (s.name.size() < 5 || !SameName(s.name.substr(0, 4), "pads")) continue;
        const std::string digits = s.name.substr(4);
        if (digits.find_first_not_of("0123456789") != std::string::npos) continue;
        if (std::stol(digits.substr(0, 9)) >= count)
            warnings.push_back("section [" + s.name + "] lies beyond padcount (it is ignored)");
    }
}

void CheckPads(std::vector<std::string>& warnings) {
    const int n = PadCount();
    int movable = 0;
    for (int i = 0; i < n; ++i) {
        const Pad& p = Pads.at(i);
        const std::string name = i == 0 ? "the lift (pad 0)" : "pad " + std::to_string(i);
        if (!IsStatic(p)) ++movable;
        if (p.extx < 1 || p.exty < 1) {
            warnings.push_back(name + " is " + Num(p.extx) + " x " + Num(p.exty) +
                               ", smaller than one cell");
        }
        const double values[6] = {p.minx, p.miny, p.maxx, p.maxy, p.extx, p.exty};
        for (double v : values)
            if (v != std::floor(v)) {
                warnings.push_back(name + " is not on whole cells");
                break;
            }
        const double x0 = std::min(p.minx, p.maxx), x1 = std::max(p.minx, p.maxx) + p.extx;
        const double y0 = std::min(p.miny, p.maxy), y1 = std::max(p.miny, p.maxy) + p.exty;
        if (x0 < 0 || y0 < 0 || x1 > kGridWidth || y1 > kGridHeight)
            warnings.push_back(name + " leaves the 31 x 11 grid (it covers x " + Num(x0) + ".." +
                               Num(x1) + ", y " + Num(y0) + ".." + Num(y1) + ")");
        if ((p.maxx - p.minx) * (p.maxy - p.miny) < 0)
            warnings.push_back(name + " has a path whose axes run against each other");
        if (i == 0) {
            if (p.extx != 1 || p.exty != 1)
                warnings.push_back("the lift (pad 0) is " + Num(p.extx) + " x " + Num(p.exty) +
                                   ", not 1 x 1");
            if (!IsStatic(p)) warnings.push_back("the lift (pad 0) moves");
        }
    }
    if (n > 0 && !IsStatic(Pads.at(0))) --movable;
    if (movable == 0) warnings.push_back("no movable pad: the level can never be finished");
    const std::vector<bool> seen = ReachableFrom(0);
    for (int i = 1; i < n; ++i)
        if (!seen[size_t(i)])
            warnings.push_back("pad " + std::to_string(i) + " cannot be reached from the lift");
}

std::string LevelJson(const std::string& path, const std::vector<std::string>& warnings) {
    const std::vector<bool> seen = ReachableFrom(0);
    int movable = 0;
    for (int i = 1; i < PadCount(); ++i)
        movable += IsStatic(Pads.at(i)) ? 0 : 1;
    std::string s = "{\"file\":" + JsonString(path) + ",\"padcount\":" + Num(PadCount()) +
                    ",\"forcemap\":" + Num(ForceMap) + ",\"movable\":" + Num(movable) +
                    ",\"pads\":[";
    for (int i = 0; i < PadCount(); ++i) {
        const Pad& p = Pads.at(i);
        if (i) s += ',';
        const char* kind = i == 0 ? "lift" : IsStatic(p) ? "floor" : "girder";
        s += "{\"index\":" + Num(i) + ",\"kind\":\"" + kind + "\",\"minx\":" + Num(p.minx) +
             ",\"miny\":" + Num(p.miny) + ",\"maxx\":" + Num(p.maxx) + ",\"maxy\":" + Num(p.maxy) +
             ",\"extx\":" + Num(p.extx) + ",\"exty\":" + Num(p.exty) +
             ",\"reachable\":" + (seen[size_t(i)] ? "true" : "false") + "}";
    }
    s += "],\"warnings\":[";
    for (size_t i = 0; i < warnings.size(); ++i) {
        if (i) s += ',';
        s += JsonString(warnings[i]);
    }
    return s + "]}";
}

} // namespace

LevelCheck CheckLevelFile(const std::string& path) {
    LevelCheck out;
    auto bytes = read_file(path, size_t(1) << 20);
    if (!bytes) {
        out.error = "cannot read " + path + " (missing, unreadable or over 1 MiB)";
        return out;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    if (text.find('\0') != std::string_view::npos) {
        out.error = path + " is not a text file";
        return out;
    }
    const std::vector<IniSection> file = ini_parse(text);
    const std::string* count_text = FindValue(FindSection(file, "global"), "padcount");
    if (!count_text) {
        out.error = path + " is no level file: it has no [global] padcount";
        return out;
    }
    LevelSim sim(DefaultTiming());
    if (!sim.Load(path, 1, &out.error)) return out;
    out.loaded = true;
    CheckFileLayout(file, number_from_str(std::string_view(*count_text)), out.warnings);
    CheckPads(out.warnings);
    out.json = LevelJson(path, out.warnings);
    return out;
}
