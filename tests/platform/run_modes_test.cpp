// End-to-end runs of the program in its run modes: live runs without a display, runs that draw
// nothing.
#include "platform/probe/run_probe.h"
#include "support/test_support.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

// No display and no video driver asked for: what a terminal without a desktop gives. SIGKILL
// after a while, so that a run which does not end by itself fails instead of hanging the test.
const char* const kNoDisplay =
    "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout -s KILL 60";

} // namespace

TEST(NoDisplay, LiveRunEndsAtOnceWithOneLine) {
    for (const char* args : {"", "--windowed --level 3", "--record rec.txt"}) {
        ScriptedRun r = run_plain(game_executable(), kNoDisplay, args);
        EXPECT_EQ(r.status, 2) << args << "\n" << r.output;
        EXPECT_EQ(r.output, "no display: run under a desktop session, or use --script\n") << args;
        EXPECT_EQ(read_text(r.dir + "/ErrorLog.txt"), "") << args; // nothing started
        EXPECT_EQ(read_text(r.dir + "/rec.txt"), "") << args;
    }
}

TEST(NoDisplay, ScriptedRunStillRunsHeadless) {
    ScriptedRun r = run_scripted(game_executable(), kNoDisplay, "50 dump state.json\n100 close\n");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(read_text(r.dir + "/state.json"), "");
}

TEST(NoDraw, SameDumpsAsADrawnRunAndBlackScreenshots) {
    // The probe draws one of everything each frame and dumps what it can see of it.
    const std::string script = "0 screenshot first.bmp\n"
                               "100 screenshot a.bmp\n"
                               "100 dump a.json\n"
                               "250 dump b.json\n"
                               "400 close\n";
    ScriptedRun drawn = run_scripted(probe_program(), "SS_PROBE=draw", script);
    ScriptedRun undrawn =
        run_scripted(probe_program(), "SS_PROBE=draw", script, "--max-ms 5000 --no-draw");
    ASSERT_EQ(drawn.status, 0) << drawn.output;
    ASSERT_EQ(undrawn.status, 0) << undrawn.output;
    EXPECT_EQ(drawn.output, undrawn.output);
    for (const char* dump : {"/a.json", "/b.json"}) {
        std::string d = read_text(drawn.dir + dump), u = read_text(undrawn.dir + dump);
        ASSERT_NE(d.find(",\"no_draw\":0}"), std::string::npos) << d;
        ASSERT_NE(u.find(",\"no_draw\":1}"), std::string::npos) << u;
        EXPECT_EQ(d.substr(0, d.rfind(',')), u.substr(0, u.rfind(','))) << dump;
    }
    auto lit = [](const std::string& bmp) {
        return std::count_if(bmp.begin() + std::min<size_t>(54, bmp.size()), bmp.end(),
                             [](char c) { return c != 0; });
    };
    for (const char* shot : {"/first.bmp", "/a.bmp"}) {
        std::string d = read_text(drawn.dir + shot), u = read_text(undrawn.dir + shot);
        EXPECT_EQ(u.size(), 1440054u) << shot;
        EXPECT_EQ(u.substr(0, 54), d.substr(0, 54)) << shot; // the same kind of picture
        EXPECT_GT(lit(d), 30) << shot; // "Loading..." at time 0
        EXPECT_EQ(lit(u), 0) << shot;
    }
}

TEST(NoDraw, OnlyWithAScript) {
    ScriptedRun live = run_plain(game_executable(), "", "--no-draw --max-ms 1000");
    EXPECT_EQ(live.status, 2) << live.output;
    EXPECT_NE(live.output.find("--no-draw needs --script"), std::string::npos) << live.output;
    EXPECT_EQ(read_text(live.dir + "/ErrorLog.txt"), ""); // nothing started
}
