// End-to-end runs of the program in its run modes: live runs without a display.
#include "platform/probe/run_probe.h"
#include "support/test_support.h"

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
