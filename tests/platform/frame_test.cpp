// End-to-end runs of the game and the frame probe: the frame's clocks, end keys, pause, errors,
// screenshots, determinism and the recorder.
#include "platform/probe/run_probe.h"
#include "runtime/app/frame.h"
#include "runtime/app/script.h"
#include "support/test_support.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <vector>

namespace {

// The values of "<key> <number>" in every line that has them, in order.
std::vector<double> values_after(const std::string& output, const std::string& key) {
    std::vector<double> out;
    std::regex re(key + "[ =](-?[0-9.]+)");
    for (std::sregex_iterator it(output.begin(), output.end(), re), end; it != end; ++it)
        out.push_back(std::stod((*it)[1]));
    return out;
}

bool file_exists(const std::string& path) {
    return !read_text(path).empty();
}

} // namespace

TEST(FramePacing, SixtyFramesPerSecondInVirtualTimeWithoutCatchUp) {
    ScriptedRun r = run_scripted(probe_program(), "SS_PROBE=pace", "");
    ASSERT_EQ(r.status, 0) << r.output;
    std::vector<double> t = values_after(r.output, "timer");
    std::vector<double> ft = values_after(r.output, "frame_time");
    ASSERT_EQ(t.size(), 12u) << r.output;
    // frame_time_ms straight after runtime_init: the clocks are equal, so it reads 1.
    ASSERT_EQ(ft.size(), 13u);
    EXPECT_EQ(ft[0], 1);
    for (size_t i = 1; i < t.size(); ++i) {
        if (i == 5) {
            // 100 ms of work: the frame ends on the next frame boundary after it.
            EXPECT_NEAR(t[i] - t[i - 1], 100.0 + 16.6667 / 2, 16.6667 / 2 + 0.1) << r.output;
            continue;
        }
        // Every frame ends on a multiple of the interval, even right after the slow one.
        EXPECT_NEAR(t[i] - t[i - 1], 1000.0 / 60, 0.05) << "frame " << i << "\n" << r.output;
    }
    // The slow frame counts as one long frame, the next ones as normal frames again.
    EXPECT_NEAR(ft[1], 1000.0 / 60, 0.05);
    EXPECT_NEAR(ft[5 + 1], 100.0, 0.1);
    EXPECT_NEAR(ft[6 + 1], 1000.0 / 60, 0.1);
    EXPECT_NEAR(ft[10 + 1], 1000.0 / 60, 0.05);
}

TEST(FramePacing, NoLimitMeansTwoMillisecondFrames) {
    ScriptedRun r = run_scripted(probe_program(), "SS_PROBE=pace SS_PROBE_FPS=0", "");
    ASSERT_EQ(r.status, 0) << r.output;
    std::vector<double> t = values_after(r.output, "timer");
    std::vector<double> ft = values_after(r.output, "frame_time");
    ASSERT_EQ(t.size(), 12u);
    for (size_t i = 1; i < 5; ++i)
        EXPECT_NEAR(t[i] - t[i - 1], 2.0, 0.05) << r.output;
    for (double f : ft)
        EXPECT_GE(f, 1);
    EXPECT_NEAR(ft[3], 2.0, 0.05);
    EXPECT_EQ(ft[0], 1);
}

TEST(FramePacing, AnAbsurdFrameRateLimitNeverHangsTheFrame) {
    // A frame-rate limit read from a file can be any number: far past what the clock resolves,
    // the schedule must still move on (virtual and real clock alike).
    for (const char* fps : {"1e300", "inf", "1e9"}) {
        // SIGKILL: the runtime turns SIGTERM into a close request, which a hung frame never sees.
        const std::string env =
            std::string("SS_PROBE=pace SS_PROBE_FPS=") + fps + " timeout -s KILL 60";
        ScriptedRun r = run_scripted(probe_program(), env, "");
        ASSERT_EQ(r.status, 0) << fps << "\n" << r.output;
        std::vector<double> t = values_after(r.output, "timer");
        ASSERT_EQ(t.size(), 12u) << r.output;
        for (size_t i = 1; i < t.size(); ++i)
            EXPECT_GT(t[i], t[i - 1]) << fps << " frame " << i;
        EXPECT_LT(t[4] - t[3], 0.1) << fps; // no wait worth a frame at 60 fps
        ScriptedRun live = run_plain(probe_program(), env, "--max-ms 20000");
        EXPECT_EQ(live.status, 0) << fps << "\n" << live.output;
        EXPECT_EQ(values_after(live.output, "timer").size(), 12u) << live.output;
    }
}

TEST(EndOfProgram, EscAltF4AndCloseEndWithStatusZero) {
    const std::string game = game_executable();
    ScriptedRun esc = run_scripted(game, "", "100 key 1 down\n");
    EXPECT_EQ(esc.status, 0) << esc.output;
    ScriptedRun alt_f4 = run_scripted(game, "", "100 key 56 down\n120 key 62 down\n");
    EXPECT_EQ(alt_f4.status, 0) << alt_f4.output;
    ScriptedRun close = run_scripted(game, "", "100 close\n");
    EXPECT_EQ(close.status, 0) << close.output;
    // The log of a run: the renderer line, then the current directory.
    std::string log = read_text(close.dir + "/ErrorLog.txt");
    EXPECT_NE(log.find("OpenGL Software Emulation\r\nCurrent Dir\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(std::string(SS_GAME_DIR) + "\r\n"), std::string::npos) << log;
}

TEST(EndOfProgram, EscIsNoEndKeyWhenSwitchedOff) {
    ScriptedRun r =
        run_scripted(probe_program(), "SS_PROBE=noesc", "50 key 1 down\n", "--max-ms 300");
    EXPECT_EQ(r.status, 2) << r.output; // still running when the guard stops it
    EXPECT_NE(read_text(r.dir + "/ErrorLog.txt").find("passed 300 ms"), std::string::npos);
    ScriptedRun alt_f4 = run_scripted(probe_program(), "SS_PROBE=noesc",
                                      "50 key 1 down\n60 key 56 down\n70 key 62 down\n");
    EXPECT_EQ(alt_f4.status, 0) << alt_f4.output;
}

TEST(RuntimeOptionsReachTheGame, LevelOptionOrMinusOne) {
    ScriptedRun given = run_scripted(probe_program(), "SS_PROBE=level", "", "--level 12");
    ASSERT_EQ(given.status, 0) << given.output;
    EXPECT_NE(given.output.find("level 12\n"), std::string::npos) << given.output;
    ScriptedRun none = run_scripted(probe_program(), "SS_PROBE=level", "");
    ASSERT_EQ(none.status, 0) << none.output;
    EXPECT_NE(none.output.find("level -1\n"), std::string::npos) << none.output;
    ScriptedRun bad = run_scripted(probe_program(), "SS_PROBE=level", "", "--level 1.5");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.output.find("--level needs a whole number"), std::string::npos) << bad.output;
}

TEST(EndOfProgram, EscEndsReadsBackTheSwitch) {
    const double before = esc_ends();
    set_esc_ends(0);
    EXPECT_EQ(esc_ends(), 0);
    set_esc_ends(7);
    EXPECT_EQ(esc_ends(), 1);
    set_esc_ends(before);
}

TEST(EndOfProgram, RuntimeErrorEndsWithItsCode) {
    ScriptedRun r = run_scripted(probe_program(), "SS_PROBE=error", "");
    EXPECT_EQ(r.status, 9) << r.output;
}

TEST(EndOfProgram, ScriptedRunEndsOnSigterm) {
    // The script is the only input of a scripted run, but a signal still ends it: `timeout`
    // reports 124 when its SIGTERM ended the program, 137 when it had to send SIGKILL.
    ScriptedRun r =
        run_scripted(probe_program(), "SS_PROBE=frames timeout -k 20 1", "", "--max-ms 3600000");
    EXPECT_EQ(r.status, 124);
}

TEST(Pause, FocusLossHoldsTheLoopAndTheHoldIsNoGameTime) {
    // A minute away from the window: the loop is held inside present_frame (the frame count
    // stands still), script times run on through the hold, and the game's clocks leave it out.
    ScriptedRun r = run_scripted(probe_program(), "SS_PROBE=frames",
                                 "100 focus lost\n"
                                 "300 dump paused.json\n"
                                 "60100 dump still.json\n"
                                 "60100 focus gained\n"
                                 "60200 dump resumed.json\n"
                                 "60300 close\n",
                                 "--max-ms 70000");
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string paused = read_text(r.dir + "/paused.json");
    const std::string still = read_text(r.dir + "/still.json");
    EXPECT_NE(paused.find("\"caption\":\"Steel_Spree <pause>\""), std::string::npos) << paused;
    EXPECT_EQ(paused, still); // no frame in the minute between them
    EXPECT_NE(read_text(r.dir + "/resumed.json").find("\"caption\":\"Steel_Spree\""),
              std::string::npos);
    std::vector<double> t = values_after(r.output, "t");
    std::vector<double> ft = values_after(r.output, "frame_time"); // [0]: at the start
    ASSERT_EQ(ft.size(), t.size() + 1);
    ASSERT_GT(t.size(), 15u) << r.output;
    // Every step of timer_ms and every frame time is an ordinary frame, the one across the
    // hold too (frame i is read after i presented frames).
    for (size_t i = 1; i < t.size(); ++i) {
        EXPECT_NEAR(t[i] - t[i - 1], 1000.0 / 60, 0.1) << "frame " << i << "\n" << r.output;
        EXPECT_NEAR(ft[i + 1], 1000.0 / 60, 0.1) << "frame " << i << "\n" << r.output;
    }
    // The run's clock reached 60300 ms; the game's clock, without the minute, under 300 ms.
    EXPECT_GT(t.back(), 250) << r.output;
    EXPECT_LT(t.back(), 300) << r.output;
}

TEST(ScriptedRun, AltEnterTogglesFullscreenAndIsNoGameKey) {
    ScriptedRun r = run_scripted(probe_program(), "SS_PROBE=frames",
                                 "50 key 56 down\n60 key 28 down\n70 key 28 up\n80 key 56 up\n"
                                 "100 key 28 down\n150 close\n");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("fullscreen=0 enter=0"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("fullscreen=1 enter=0"), std::string::npos) << r.output;
    // Return alone is a game key again.
    EXPECT_NE(r.output.find("fullscreen=1 enter=1"), std::string::npos) << r.output;
}

TEST(ScriptedRun, DumpWritesEmptyObjectWithoutStateWriter) {
    // The probe's text-input mode registers no state writer.
    ScriptedRun r =
        run_scripted(probe_program(), "SS_PROBE=inkey", "50 dump state.json\n100 close\n");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(read_text(r.dir + "/state.json"), "{}");
}

TEST(ScriptedRun, MalformedLineStopsBeforeTheWindowOpens) {
    ScriptedRun r =
        run_scripted(game_executable(), "", "# a comment\n100 key 57 down\n200 joy 0 axis w 0.5\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("script.txt:3: bad axis 'w'"), std::string::npos) << r.output;
    EXPECT_FALSE(file_exists(r.dir + "/ErrorLog.txt")); // nothing started
    ScriptedRun missing = run_plain(game_executable(), "", "--script no_such_file.txt");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.output.find("no_such_file.txt"), std::string::npos);
    ScriptedRun unknown = run_plain(game_executable(), "", "--scirpt x");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.output.find("unknown option --scirpt"), std::string::npos);
}

TEST(Screenshots, ReadableBmpOfTheGameScreenAndIdenticalAcrossRuns) {
    const std::string script =
        "0 screenshot a.bmp\n50 key 57 down\n100 screenshot b.bmp\n150 close\n";
    ScriptedRun one = run_scripted(game_executable(), "", script);
    ScriptedRun two = run_scripted(game_executable(), "", script);
    ASSERT_EQ(one.status, 0) << one.output;
    ASSERT_EQ(two.status, 0) << two.output;
    std::string info;
    ASSERT_EQ(run_command("/usr/bin/identify -format '%m %w %h %z' '" + one.dir + "/a.bmp'", &info),
              0)
        << info;
    EXPECT_EQ(info, "BMP3 800 600 8"); // version 3 headers, 8 bits per channel: 24-bit
    std::string py;
    ASSERT_EQ(run_command("python3 -c \"import struct,sys; d=open(sys.argv[1],'rb').read(); "
                          "print(d[:2].decode(), *struct.unpack('<IiiHH', d[14:30]), len(d))\" '" +
                              one.dir + "/b.bmp'",
                          &py),
              0)
        << py;
    EXPECT_EQ(py, "BM 40 800 600 1 24 1440054\n");
    std::string a1 = read_text(one.dir + "/a.bmp"), a2 = read_text(two.dir + "/a.bmp");
    std::string b1 = read_text(one.dir + "/b.bmp"), b2 = read_text(two.dir + "/b.bmp");
    EXPECT_EQ(a1.size(), 1440054u);
    EXPECT_TRUE(a1 == a2);
    EXPECT_TRUE(b1 == b2);
    // Time 0 shows the first presented frame ("Loading..." in the middle of a black screen); the
    // placeholder game presents cleared frames.
    auto lit = [](const std::string& bmp) {
        size_t n = 0;
        for (size_t i = 54; i < bmp.size(); ++i)
            n += bmp[i] != 0;
        return n;
    };
    EXPECT_GT(lit(a1), 30u);
    EXPECT_EQ(lit(b1), 0u);
}

TEST(Recorder, ReplayingARecordingReproducesTheRun) {
    // The probe makes player input through the platform's queue at fixed frames; the recorded
    // run takes it as live input, the replay only sees the script.
    ScriptedRun live =
        run_plain(probe_program(), "SS_PROBE=recorded", "--record rec.txt --max-ms 5000");
    ASSERT_EQ(live.status, 0) << live.output;
    std::string recording = read_text(live.dir + "/rec.txt");
    EXPECT_NE(recording.find("key 30 down"), std::string::npos) << recording;
    EXPECT_NE(recording.find("mouse 120 90"), std::string::npos) << recording;
    EXPECT_NE(recording.find("joy 0 button 2 down"), std::string::npos) << recording;
    EXPECT_NE(recording.find("joy 0 hat right"), std::string::npos) << recording;
    ScriptedRun replay = run_scripted(probe_program(), "SS_PROBE=recorded", recording);
    ASSERT_EQ(replay.status, 0) << replay.output;
    EXPECT_EQ(live.output, replay.output);
    EXPECT_NE(live.output.find("keys=30"), std::string::npos);
}

TEST(Recorder, ShortTapsAndLateFramesReplayToTheSameState) {
    // Taps of 10 to 30 ms, each pressed and released between two reads, and two frames that
    // run 60 ms late. Every tap is seen in the live run, and the replay ends in the same state.
    ScriptedRun live = run_plain(probe_program(), "SS_PROBE=taps",
                                 "--record rec.txt --dump-at-exit live.json --max-ms 5000");
    ASSERT_EQ(live.status, 0) << live.output;
    const std::string recording = read_text(live.dir + "/rec.txt");
    const std::string live_state = read_text(live.dir + "/live.json");
    EXPECT_NE(live_state.find("\"f2\":3,\"ctrl\":2,\"space\":2"), std::string::npos) << live_state;
    // The late frames moved the recorded run's clock on, and the recording says so.
    EXPECT_NE(recording.find(" clock "), std::string::npos) << recording;
    ScriptedRun replay = run_scripted(probe_program(), "SS_PROBE=taps", recording,
                                      "--dump-at-exit replay.json --max-ms 5000");
    ASSERT_EQ(replay.status, 0) << replay.output;
    EXPECT_EQ(read_text(replay.dir + "/replay.json"), live_state);
}

TEST(Recorder, EveryEventIsWrittenWithinAFrameOfWhenItHappened) {
    // The probe says when each tap went down on the run's clock; the recording must give it a
    // time at most a frame away, also after the late frames (falling behind, the recorded run
    // would give the last taps times some 150 ms too early).
    ScriptedRun live =
        run_plain(probe_program(), "SS_PROBE=taps", "--record rec.txt --max-ms 5000");
    ASSERT_EQ(live.status, 0) << live.output;
    std::vector<ScriptCommand> commands;
    ScriptError error;
    ASSERT_TRUE(parse_script(read_text(live.dir + "/rec.txt"), commands, error)) << error.reason;
    std::istringstream said(live.output);
    size_t next = 0;
    int taps = 0;
    for (std::string line; std::getline(said, line);) {
        int key = 0;
        double at = 0;
        if (std::sscanf(line.c_str(), "tap %d at %lf", &key, &at) != 2) continue;
        while (next < commands.size() && !(commands[next].op == ScriptOp::Key &&
                                           commands[next].a == key && commands[next].down))
            ++next;
        ASSERT_LT(next, commands.size()) << "tap of key " << key << " not recorded";
        // A frame, and a few ms for a busy machine between the clock read and the push.
        EXPECT_NEAR(commands[next].time, at, 1000.0 / 60 + 8) << "key " << key;
        ++next;
        ++taps;
    }
    EXPECT_EQ(taps, 7);
}

TEST(RealWindow, ScriptedRunUnderXvfbWithTheX11Driver) {
    if (run_command("command -v xvfb-run") != 0) GTEST_SKIP() << "xvfb-run is not installed";
    std::string dir = make_temp_dir();
    write_bytes(dir + "/script.txt", "0 screenshot x11.bmp\n50 key 57 down\n100 close\n");
    std::string out;
    int status = run_command("cd '" + dir + "' && env TMPDIR='" + dir +
                                 "' SDL_VIDEODRIVER=x11 xvfb-run -a '" + game_executable() +
                                 "' --windowed --script script.txt --max-ms 5000",
                             &out);
    EXPECT_EQ(status, 0) << out;
    EXPECT_EQ(read_text(dir + "/x11.bmp").size(), 1440054u);
}
