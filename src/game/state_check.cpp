#include "game/state_check.h"

#include "game/game.h"
#include "game/play.h"
#include "game/state.h"
#include "graphics/device.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Room for the rounding of a girder's last step onto its end.
constexpr double kSlack = 1e-6;

std::string Describe(const char* what, int index, double value) {
    char buf[128];
    if (index >= 0)
        std::snprintf(buf, sizeof buf, "%s %d is %.17g", what, index, value);
    else
        std::snprintf(buf, sizeof buf, "%s is %.17g", what, value);
    return buf;
}

bool Inside(double v, double lo, double hi) {
    return std::isfinite(v) && v >= lo - kSlack && v <= hi + kSlack;
}

} // namespace

PlayBounds PlayBoundsOfLevel() {
    PlayBounds b;
    b.pads = PadCount();
    if (WorkerCount() > 0) {
        b.x0 = b.x1 = Workers.at(0).x;
        b.y0 = b.y1 = Workers.at(0).y;
    }
    for (int j = 0; j < b.pads; ++j) {
        const Pad& p = Pads.at(j);
        b.x0 = std::min({b.x0, p.minx, p.maxx});
        b.y0 = std::min({b.y0, p.miny, p.maxy});
        b.x1 = std::max({b.x1, p.minx + p.extx, p.maxx + p.extx});
        b.y1 = std::max({b.y1, p.miny + p.exty, p.maxy + p.exty});
    }
    return b;
}

std::string PlayStateFault(const PlayBounds& b) {
    if (PadCount() != b.pads) return Describe("the pad count", -1, PadCount());
    if (WorkerCount() != 1) return Describe("the worker count", -1, WorkerCount());
    for (int j = 0; j < PadCount(); ++j) {
        const Pad& p = Pads.at(j);
        if (!Inside(p.x, std::min(p.minx, p.maxx), std::max(p.minx, p.maxx)))
            return Describe("the x of pad", j, p.x);
        if (!Inside(p.y, std::min(p.miny, p.maxy), std::max(p.miny, p.maxy)))
            return Describe("the y of pad", j, p.y);
        if (!std::isfinite(p.step_x) || !std::isfinite(p.step_y))
            return Describe("the step of pad", j, p.step_x + p.step_y);
        if (p.bolts != 0 && p.bolts != 1 && p.bolts != 2 && p.bolts != 3)
            return Describe("the bolts of pad", j, p.bolts);
    }
    const Worker& w = Workers.at(0);
    // A worker walks only onto pads and glides only to a cell of one.
    if (!Inside(w.x, b.x0 - 1, b.x1 + 1)) return Describe("the worker's x", -1, w.x);
    if (!Inside(w.y, b.y0 - 1, b.y1 + 1)) return Describe("the worker's y", -1, w.y);
    if (!std::isfinite(w.heading)) return Describe("the worker's heading", -1, w.heading);
    if (!Inside(w.bolt_timer, -1000, 1000)) return Describe("the bolt timer", -1, w.bolt_timer);
    if (!Inside(MapFade, 0, 1)) return Describe("MapFade", -1, MapFade);
    if (!Inside(DoneFade, 0, 1)) return Describe("DoneFade", -1, DoneFade);
    if (!Inside(TimeLeft, 0, 1000)) return Describe("TimeLeft", -1, TimeLeft);
    if (!Inside(Lives, -1, 3)) return Describe("Lives", -1, Lives);
    if (!std::isfinite(Score) || Score < 0) return Describe("Score", -1, Score);
    if (!std::isfinite(ExitTimer) || ExitTimer < 0) return Describe("ExitTimer", -1, ExitTimer);
    return {};
}

uint8_t HeldControls = 0;

namespace {

double HeldControl(double, double axis) {
    const uint8_t c = HeldControls;
    switch (int(axis)) {
    case 0: return double((c & 1) != 0) - double((c & 2) != 0);
    case 1: return double((c & 4) != 0) - double((c & 8) != 0);
    case 2: return double((c & 16) != 0);
    case 3: return double((c & 32) != 0);
    default: return 0;
    }
}
double QuietFrame() { return kQuietFrameMs; }
void NoSound(double) {}
double NoLoad(const char*) { return 0; }
void NoMusic() {}
double MusicOver() { return 1; }
void BuildMap(double slot) { BuildLevelMap(slot); }
void BuildMapDrawn(double slot) {
    BuildLevelMap(slot);
    clear_screen();
}

} // namespace

GameSeam QuietSeam(bool drawn) {
    return GameSeam{HeldControl, QuietFrame, NoSound, NoLoad,  NoMusic,
                    MusicOver,   NoMusic,    drawn ? BuildMapDrawn : BuildMap};
}

PlayBounds StartLevelOne(double timer_option) {
    ResetGameState();
    TimerOption = timer_option;
    Score = 0;
    Lives = 3;
    Level = 1;
    GameComplete = 0;
    TestPlay = 0;
    LoadLevel(1);
    Playing = 1;
    return PlayBoundsOfLevel();
}
