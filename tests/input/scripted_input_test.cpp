// Input through the whole path: script (or SDL's virtual joysticks) -> frame -> the game's reads.
#include "platform/probe/run_probe.h"

#include <gtest/gtest.h>

namespace {

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(ScriptedInput, KeyCodesReachKeyState) {
    ScriptedRun r = run_scripted(probe_program(), "SS_PROBE=input",
                                 "50 key 200 down\n"
                                 "60 key 29 down\n"
                                 "100 key 200 up\n"
                                 "110 key 211 down\n"
                                 "150 close\n");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(has(r.output, "keys=200 ")) << r.output;
    EXPECT_TRUE(has(r.output, "keys=29,200 ")) << r.output;
    EXPECT_TRUE(has(r.output, "keys=29,211 ")) << r.output;
    EXPECT_FALSE(has(r.output, "low 8 bits differ"));
}

TEST(ScriptedInput, KeyReleaseWaitLoopEnds) {
    ScriptedRun r = run_scripted(probe_program(), "SS_PROBE=release",
                                 "100 key 57 down\n300 key 57 up\n", "--max-ms 2000");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(has(r.output, "pressed at 100")) << r.output;
    EXPECT_TRUE(has(r.output, "released at 300.0")) << r.output;
}

TEST(ScriptedInput, MouseMotionButtonsAndWheel) {
    ScriptedRun r = run_scripted(probe_program(), "SS_PROBE=input",
                                 "50 mouse 410 280\n"
                                 "100 button 1 down\n"
                                 "100 button 3 down\n"
                                 "150 mouse -5 900\n"
                                 "200 wheel up\n"
                                 "250 button 1 up\n"
                                 "300 close\n");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(has(r.output, "mouse=410,280 b=000 dx=10 dy=-20")) << r.output;
    EXPECT_TRUE(has(r.output, "mouse=410,280 b=101 dx=0 dy=0")) << r.output;
    // The motion moves the kept position; read_mouse clamps it into the screen.
    EXPECT_TRUE(has(r.output, "mouse=0,599 b=101 dx=-415 dy=620")) << r.output;
    EXPECT_TRUE(has(r.output, "wheel=1")) << r.output;
    EXPECT_TRUE(has(r.output, "mouse=0,599 b=001")) << r.output;
}

TEST(ScriptedInput, JoystickCommands) {
    ScriptedRun r = run_scripted(probe_program(), "SS_PROBE=input",
                                 "50 joy 0 axis x 1\n"
                                 "50 joy 0 axis y -0.2\n"
                                 "50 joy 0 axis rz -0.5\n"
                                 "100 joy 0 button 2 down\n"
                                 "150 joy 0 hat right\n"
                                 "200 joy 0 hat up\n"
                                 "250 close\n");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(has(r.output, "joy=1,0,0,0,0,-0.500015 hat=0,0 jb0=0 jb2=0")) << r.output;
    EXPECT_TRUE(has(r.output, "hat=0,0 jb0=0 jb2=128")) << r.output;
    EXPECT_TRUE(has(r.output, "hat=1,0 jb0=0 jb2=128")) << r.output;
    EXPECT_TRUE(has(r.output, "hat=0,-1 jb0=0 jb2=128")) << r.output;
}

TEST(ScriptedInput, TextInputFollowsTheFixedLayout) {
    ScriptedRun r = run_scripted(probe_program(), "SS_PROBE=inkey",
                                 "50 key 21 down\n" // the key at the Y position
                                 "100 key 21 up\n"
                                 "150 key 42 down\n" // Shift
                                 "160 key 30 down\n" // A
                                 "300 close\n");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(has(r.output, "char 121")) << r.output; // 'y'
    EXPECT_TRUE(has(r.output, "char 65")) << r.output;  // 'A', once although held
    EXPECT_EQ(r.output.find("char 65"), r.output.rfind("char 65"));
}

TEST(WaitForInput, ReturnsAfterAboutEightPausesWithoutInput) {
    ScriptedRun r = run_scripted(probe_program(), "SS_PROBE=wait", "");
    ASSERT_EQ(r.status, 0) << r.output;
    auto at = r.output.find("waited ");
    ASSERT_NE(at, std::string::npos) << r.output;
    double waited = std::stod(r.output.substr(at + 7));
    EXPECT_GE(waited, 240);
    EXPECT_LT(waited, 245);
    // A key pressed during the wait ends it at once.
    ScriptedRun key = run_scripted(probe_program(), "SS_PROBE=wait", "100 key 57 down\n");
    ASSERT_EQ(key.status, 0) << key.output;
    at = key.output.find("waited ");
    ASSERT_NE(at, std::string::npos) << key.output;
    EXPECT_LT(std::stod(key.output.substr(at + 7)), 100);
}

TEST(LiveJoysticks, SdlVirtualPadAndJoystickPluggedInWhileRunning) {
    ScriptedRun r = run_plain(probe_program(), "SS_PROBE=joystick", "--windowed --max-ms 5000");
    ASSERT_EQ(r.status, 0) << r.output;
    // A recognised pad: A/B/X/Y are buttons 0..3, the d-pad the first hat, triggers on z.
    EXPECT_TRUE(has(r.output, "count 1\n")) << r.output;
    EXPECT_TRUE(has(r.output, "pad x=1 y=-1 z=1 b0=0 b2=128 hat=1,0")) << r.output;
    EXPECT_TRUE(has(r.output, "pad x=0 b0=128 b2=0 hat=0,-1")) << r.output;
    // A plain joystick plugged in later: raw axes, buttons and hat.
    EXPECT_TRUE(has(r.output, "count 2 stick rx=-0.500015 b17=128 b40=0 hat=-1,0")) << r.output;
    EXPECT_TRUE(has(r.output, "count 2 pad x=0")) << r.output;
}
