// The bounds the hostile-level drivers hold every frame to: a sound state passes, and each
// kind of state that has left its range is named.
#include "game/state.h"
#include "game/state_check.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The lift at (0, 0), a girder sliding from (2, 0) to (8, 0), a floor at (10, 3); the worker on
// the lift.
PlayBounds SoundLevel() {
    ResetGameState();
    Pads.dim(3);
    Workers.dim(1);
    auto set = [](int i, double minx, double miny, double maxx, double maxy, double ex, double ey) {
        Pad& p = Pads.at(i);
        p.minx = p.x = minx;
        p.miny = p.y = miny;
        p.maxx = maxx;
        p.maxy = maxy;
        p.extx = ex;
        p.exty = ey;
    };
    set(0, 0, 0, 0, 0, 1, 1);
    set(1, 2, 0, 8, 0, 3, 1);
    set(2, 10, 3, 10, 3, 2, 2);
    Workers.at(0).x = 0.5;
    Workers.at(0).y = 0.5;
    Lives = 3;
    TimeLeft = 120;
    MapFade = 1;
    return PlayBoundsOfLevel();
}

TEST(PlayStateCheck, ASoundStatePassesAndTheReachCoversEveryPadsTravel) {
    const PlayBounds b = SoundLevel();
    EXPECT_EQ(PlayStateFault(b), "");
    EXPECT_EQ(b.pads, 3);
    EXPECT_EQ(b.x0, 0);
    EXPECT_EQ(b.y0, 0);
    EXPECT_EQ(b.x1, 12); // the floor's far edge
    EXPECT_EQ(b.y1, 5);
    // A girder at its far end, a worker at the far edge of the floor, a bolt turning.
    Pads.at(1).x = 8;
    Workers.at(0).x = 12.9;
    Workers.at(0).bolt_timer = -1000;
    Lives = -1;
    EXPECT_EQ(PlayStateFault(b), "");
}

TEST(PlayStateCheck, EachStateOutOfItsBoundsIsNamed) {
    struct Case {
        const char* name;
        std::function<void()> damage;
        const char* expected; // a piece of the fault
    };
    const Case cases[] = {
        {"girder past its end", [] { Pads.at(1).x = 8.5; }, "the x of pad 1"},
        {"girder off its track", [] { Pads.at(1).y = 0.25; }, "the y of pad 1"},
        {"fixed pad moved", [] { Pads.at(2).x = 10.001; }, "the x of pad 2"},
        {"NaN position", [] { Pads.at(0).y = kNan; }, "the y of pad 0"},
        {"infinite step", [] { Pads.at(1).step_x = kInf; }, "the step of pad 1"},
        {"bolt bits", [] { Pads.at(1).bolts = 4; }, "the bolts of pad 1"},
        {"worker far away", [] { Workers.at(0).x = 14.5; }, "the worker's x"},
        {"worker NaN", [] { Workers.at(0).y = kNan; }, "the worker's y"},
        {"heading inf", [] { Workers.at(0).heading = -kInf; }, "heading"},
        {"bolt timer", [] { Workers.at(0).bolt_timer = 1500; }, "bolt timer"},
        {"map fade", [] { MapFade = 1.5; }, "MapFade"},
        {"done fade", [] { DoneFade = -0.1; }, "DoneFade"},
        {"time left", [] { TimeLeft = -1; }, "TimeLeft"},
        {"lives", [] { Lives = -2; }, "Lives"},
        {"score NaN", [] { Score = kNan; }, "Score"},
        {"exit timer", [] { ExitTimer = kInf; }, "ExitTimer"},
        {"pad count", [] { Pads.dim(4); }, "pad count"},
        {"worker count", [] { Workers.dim(2); }, "worker count"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PlayBounds b = SoundLevel();
        c.damage();
        const std::string fault = PlayStateFault(b);
        EXPECT_NE(fault.find(c.expected), std::string::npos) << fault;
    }
}

} // namespace
