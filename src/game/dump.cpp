#include "game/dump.h"

#include "game/feedback.h"
#include "game/hold.h"
#include "game/menu.h"
#include "game/play.h"
#include "game/state.h"
#include "platform/window.h"
#include "runtime/settings.h"
#include "runtime/user_dir.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

std::string (*dump_extension)() = nullptr;


void AppendMember(std::string& s, const char* name, const std::string& value) {
    s += '"';
    s += name;
    s += "\":";
    s += value;
}

std::string Members(std::initializer_list<std::pair<const char*, double>> fields) {
    std::string s = "{";
    bool first = true;
    for (auto& [name, v] : fields) {
        if (!first) s += ',';
        first = false;
        AppendMember(s, name, JsonNumber(v));
    }
    s += '}';
    return s;
}

std::string PadJson(const Pad& p) {
    return Members({{"x", p.x},
                    {"y", p.y},
                    {"step_x", p.step_x},
                    {"step_y", p.step_y},
                    {"spare", p.spare},
                    {"dir", p.dir},
                    {"bolts", p.bolts},
                    {"minx", p.minx},
                    {"miny", p.miny},
                    {"maxx", p.maxx},
                    {"maxy", p.maxy},
                    {"extx", p.extx},
                    {"exty", p.exty}});
}

std::string WorkerJson(const Worker& w) {
    return Members({{"x", w.x},
                    {"y", w.y},
                    {"heading", w.heading},
                    {"idle_since", w.idle_since},
                    {"target_x", w.target_x},
                    {"target_y", w.target_y},
                    {"spare", w.spare},
                    {"frozen", w.frozen},
                    {"pad", w.pad},
                    {"bolt_timer", w.bolt_timer},
                    {"turn", w.turn}});
}

} // namespace

std::string JsonNumber(double v) {
    if (std::isnan(v)) return "\"nan\"";
    if (std::isinf(v)) return v > 0 ? "\"inf\"" : "\"-inf\"";
    if (v == 0) return "0";
    char buf[40];
    if (v == std::trunc(v) && std::fabs(v) < 1e15) {
        std::snprintf(buf, sizeof buf, "%.0f", v);
        return buf;
    }
    std::snprintf(buf, sizeof buf, "%.17g", v);
    // The shortest form that reads back exactly, when there is one.
    for (int digits = 1; digits < 17; ++digits) {
        char shorter[40];
        std::snprintf(shorter, sizeof shorter, "%.*g", digits, v);
        if (std::strtod(shorter, nullptr) == v) return shorter;
    }
    return buf;
}

std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || c >= 0x7f) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

void SetDumpExtension(std::string (*extension)()) { dump_extension = extension; }

std::string DumpState() {
    std::string s = "{";
    AppendMember(s, "Screen", JsonString(CurrentScreen));
    const std::pair<const char*, double> globals[] = {
        {"ScreenWidth", ScreenWidth},   {"ScreenHeight", ScreenHeight},
        {"IntroSkipped", IntroSkipped}, {"FrameClock", FrameClock},
        {"Playing", Playing},           {"Level", Level},
        {"MapFade", MapFade},           {"LevelDone", LevelDone},
        {"DoneFade", DoneFade},         {"ForceMap", ForceMap},
        {"ExitTimer", ExitTimer},       {"TimeLeft", TimeLeft},
        {"HurryMusic", HurryMusic},     {"MusicTrack", MusicTrack},
        {"MusicWait", MusicWait},       {"StartLevelOption", StartLevelOption},
        {"TimerOption", TimerOption},   {"Lives", Lives},
        {"Score", Score},               {"DetailOption", DetailOption},
        {"ActionLatch", ActionLatch},   {"GameComplete", GameComplete},
        {"TestPlay", TestPlay},
    };
    for (auto& [name, v] : globals) {
        s += ',';
        AppendMember(s, name, JsonNumber(v));
    }
    s += ",\"Pads\":[";
    for (int i = 0; i < PadCount(); ++i) {
        if (i) s += ',';
        s += PadJson(Pads.at(i));
    }
    s += "],\"Workers\":[";
    for (int i = 0; i < WorkerCount(); ++i) {
        if (i) s += ',';
        s += WorkerJson(Workers.at(i));
    }
    s += ']';
    s += ",\"Paused\":" + JsonNumber(Paused);
    s += ",\"Question\":" + JsonString(Question);
    s += ",\"Message\":" + JsonString(Paused != 0 ? std::string("Paused") : BannerText());
    s += ",\"SoundsStarted\":[";
    for (size_t i = 0; i < SoundsStarted.size(); ++i) {
        if (i) s += ',';
        s += JsonNumber(SoundsStarted[i]);
    }
    s += ']';
    if (std::strcmp(CurrentScreen, "menu") == 0) {
        s += ',';
        AppendMember(s, "Menu", Members({{"cursor", MenuCursor}, {"box_y", MenuBoxY}}));
    }
    const Settings& settings = current_settings();
    s += ",\"Settings\":";
    s += Members({{"Windowed", settings.windowed ? 1.0 : 0.0},
                  {"EffectsVolume", double(settings.effects_volume)},
                  {"MusicVolume", double(settings.music_volume)},
                  {"Muted", settings.muted ? 1.0 : 0.0},
                  {"Msaa", double(platform::game_samples())}});
    s += ',';
    AppendMember(s, "UserDir", JsonString(user_dir()));
    if (dump_extension) s += dump_extension();
    s += "}\n";
    return s;
}
