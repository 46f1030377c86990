// What the game tells the player, through scripted runs of the real program: the cue sounds
// (the dump's "SoundsStarted"), the banners ("Message"), the pause and the leave question with
// the level's clock, and a short tap that falls between two reads of the keyboard.
#include "bmp_read.h"
#include "game_run.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <sstream>
#include <vector>

namespace {

// A lift and a one-cell girder beside it that slides down: bolt it near its start, step back.
const char* kLevel = "[global]\npadcount=2\nforcemap=0\n[pads0]\nminx=0\nminy=0\nmaxx=0\n"
                     "maxy=0\nextx=1\nexty=1\n[pads1]\nminx=1\nminy=0\nmaxx=1\nmaxy=2\n"
                     "extx=1\nexty=1\n";
const char* kSolve = "50 key 205 down\n350 key 205 up\n360 key 29 down\n450 key 29 up\n";

// A key pressed at `ms` for `hold` ms.
std::string Tap(double ms, int key, double hold = 10) {
    std::ostringstream s;
    s << ms << " key " << key << " down\n" << ms + hold << " key " << key << " up\n";
    return s.str();
}

// A dump at every frame boundary (60 per second) from `from` to `to` ms, named f<k>.json.
std::string FrameDumps(double from, double to) {
    std::ostringstream s;
    s << std::fixed << std::setprecision(3);
    for (int k = 0; from + k * 1000.0 / 60 <= to; ++k)
        s << from + k * 1000.0 / 60 << " dump f" << k << ".json\n";
    return s.str();
}

// The numbers of the dump's "SoundsStarted" list.
std::vector<int> Sounds(const std::string& dump) {
    std::vector<int> out;
    size_t at = dump.find("\"SoundsStarted\":[");
    if (at == std::string::npos) return out;
    std::istringstream list(dump.substr(at + 17, dump.find(']', at) - at - 17));
    for (std::string n; std::getline(list, n, ',');)
        if (!n.empty()) out.push_back(std::stoi(n));
    return out;
}

// Field `key` of pad `index` in a dump.
double PadField(const std::string& dump, int index, const std::string& key) {
    size_t at = dump.find("\"Pads\":[");
    for (int i = 0; i <= index && at != std::string::npos; ++i)
        at = dump.find('{', at + 1);
    if (at == std::string::npos) return std::nan("");
    return JsonNum(dump.substr(at, dump.find('}', at) - at + 1), key);
}

class Feedback : public testing::Test {
  protected:
    GameRun game{false};
    void SetUp() override {
        game.write("level1.ini", kLevel);
        game.write("level2.ini", kLevel);
        game.write("levelnames.txt", "Test Yard\n");
    }
    // Every frame's dump from a run: f0.json, f1.json, ...
    std::vector<std::string> Frames() {
        std::vector<std::string> out;
        for (int k = 0;; ++k) {
            std::string d = game.read("f" + std::to_string(k) + ".json");
            if (d.empty()) return out;
            out.push_back(d);
        }
    }
};

TEST_F(Feedback, EachCueSoundsOnceInTheFrameOfWhatHappened) {
    struct Case {
        const char* what;
        std::string script;
        double from, to;
        int slot;
        size_t count;
    };
    const Case cases[] = {
        // On the lift, a static pad: nothing to bolt. Two presses, two dull sounds.
        {"nothing to bolt", Tap(205, 29, 40) + Tap(605, 29, 40), 150, 900, 4, 2},
        // Bolting the level's only girder solves it: fastened, and the chime.
        {"solved", kSolve, 300, 600, 5, 1},
        // The clock's last ten seconds (timer "Okay": 120 s): a tick for each.
        {"ticks", "", 109000, 120500, 6, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(
            game.run(c.script + FrameDumps(c.from, c.to) + "121000 close\n", "--level 1 --no-draw"),
            0);
        size_t seen = 0;
        std::vector<double> times;
        for (const std::string& d : Frames()) {
            const std::vector<int> s = Sounds(d);
            const size_t n = size_t(std::count(s.begin(), s.end(), c.slot));
            EXPECT_LE(n, 1u); // told once, in one frame only
            if (n) times.push_back(JsonNum(d, "TimeLeft"));
            seen += n;
        }
        EXPECT_EQ(seen, c.count);
        if (c.slot == 6) {
            // One tick per second: at 9.x, 8.x ... 0.x seconds left.
            ASSERT_EQ(times.size(), 10u);
            for (size_t i = 0; i < times.size(); ++i)
                EXPECT_EQ(std::trunc(times[i]), 9 - double(i));
        }
    }
}

TEST_F(Feedback, TheTitleCardNamesTheLevelAndLevelSolvedFollowsTheLastBolt) {
    // Level 1 has a name, level 2 none (levelnames.txt has one line).
    std::string s = std::string(kSolve) + "100 dump card.json\n300 dump card_late.json\n";
    s += "1000 dump solved.json\n3200 dump solved_late.json\n3500 dump solved_gone.json\n";
    s += "1500 key 203 down\n1900 key 203 up\n"; // back onto the lift: the ride
    // The ride ends 10 s after it began: level 2's card from then on for 2.5 s.
    s += "12100 dump next.json\n14200 dump next_late.json\n14700 dump next_gone.json\n";
    s += "15000 close\n";
    ASSERT_EQ(game.run(s, "--level 1 --no-draw"), 0);
    EXPECT_EQ(JsonField(game.read("card.json"), "Message"), "Level 1 - Test Yard");
    EXPECT_EQ(JsonField(game.read("card_late.json"), "Message"), "Level 1 - Test Yard");
    // The last bolt: "Level solved" takes the banner's place for three seconds.
    EXPECT_EQ(JsonField(game.read("solved.json"), "Message"), "Level solved");
    EXPECT_EQ(JsonField(game.read("solved_late.json"), "Message"), "Level solved");
    EXPECT_EQ(JsonField(game.read("solved_gone.json"), "Message"), "");
    const std::string next = game.read("next.json");
    EXPECT_EQ(JsonNum(next, "Level"), 2);
    EXPECT_EQ(JsonField(next, "Message"), "Level 2");
    EXPECT_EQ(JsonField(game.read("next_late.json"), "Message"), "Level 2");
    EXPECT_EQ(JsonField(game.read("next_gone.json"), "Message"), "");
}

TEST_F(Feedback, PauseHoldsTheClockAndP10msTapsAreEnough) {
    // Keyboard P and the pad's Start button, each a 10 ms tap between two frames.
    struct Case {
        const char* what;
        std::string press_at_1005, press_at_3005;
    };
    const Case cases[] = {
        {"key P", Tap(1005, 25), Tap(3005, 25)},
        {"pad Start", "1005 joy 0 button 7 down\n1015 joy 0 button 7 up\n",
         "3005 joy 0 button 7 down\n3015 joy 0 button 7 up\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string s = "1000 dump before.json\n" + c.press_at_1005 + "1500 dump held.json\n";
        s += "2900 dump held_late.json\n" + c.press_at_3005 + "4000 dump after.json\n4000 close\n";
        ASSERT_EQ(game.run(s, "--level 1 --no-draw"), 0);
        const std::string before = game.read("before.json"), held = game.read("held.json"),
                          late = game.read("held_late.json"), after = game.read("after.json");
        EXPECT_EQ(JsonNum(held, "Paused"), 1);
        EXPECT_EQ(JsonField(held, "Message"), "Paused");
        EXPECT_EQ(JsonNum(late, "TimeLeft"), JsonNum(held, "TimeLeft")); // the clock stands
        EXPECT_EQ(JsonNum(late, "FrameClock"), JsonNum(held, "FrameClock"));
        EXPECT_EQ(JsonNum(after, "Paused"), 0);
        // Three seconds of the run, one of them played: two seconds were held.
        EXPECT_NEAR(JsonNum(before, "TimeLeft") - JsonNum(after, "TimeLeft"), 1, 0.05);
        // The girder is where it is after two seconds of play without a pause (within the one
        // frame by which the dump's moment and the end of the hold can differ).
        ASSERT_EQ(game.run("2000 dump plain.json\n2000 close\n", "--level 1 --no-draw"), 0);
        const std::string plain = game.read("plain.json");
        EXPECT_NEAR(PadField(after, 1, "y"), PadField(plain, 1, "y"), 1.2 * 1.1 / 60);
        EXPECT_NEAR(JsonNum(after, "TimeLeft"), JsonNum(plain, "TimeLeft"), 1.2 / 60);
    }
}

TEST_F(Feedback, ThePausedSceneStandsStillAndANoteComesAndGoesOverIt) {
    // Pause at 1005; F8 (volume down) at 1700 shows its note for 1.5 s; play on at 4005.
    std::string s = Tap(1005, 25) + "1100 screenshot a.bmp\n1600 screenshot b.bmp\n";
    s += Tap(1700, 66) + "1800 screenshot note.bmp\n3500 screenshot gone.bmp\n";
    s += Tap(4005, 25) + "4100 screenshot on.bmp\n4100 close\n";
    ASSERT_EQ(game.run(s, "--level 1"), 0);
    const std::string a = game.read("a.bmp");
    ASSERT_EQ(a.size(), 1440054u);
    EXPECT_TRUE(game.read("b.bmp") == a);
    EXPECT_TRUE(game.read("gone.bmp") == a);
    EXPECT_FALSE(game.read("on.bmp") == a);
    // The note stands in the top right corner, over the paused scene and nowhere else.
    const Screenshot shot_a(game.dir() + "/a.bmp"), note(game.dir() + "/note.bmp");
    int top_right = 0, elsewhere = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const Rgba p = shot_a.at(x, y), q = note.at(x, y);
            if (p == q) continue;
            (x >= 500 && y < 40 ? top_right : elsewhere) += 1;
        }
    EXPECT_GT(top_right, 100);
    EXPECT_EQ(elsewhere, 0);
}

TEST_F(Feedback, TheLeaveQuestionPlaysOnOrLeavesAndCostsNoClockTime) {
    struct Case {
        const char* what;
        std::string answer; // given at 2005
        bool leaves;
    };
    // The box's buttons on an 800 x 600 screen: "Yes" about x 272..330, "No" 333..377, y 208..230.
    const Case cases[] = {
        {"N", Tap(2005, 49), false},
        {"Backspace again", Tap(2005, 14), false},
        {"pad button 1", "2005 joy 0 button 1 down\n2015 joy 0 button 1 up\n", false},
        {"a click on No", "2005 mouse 355 219\n2010 button 1 down\n2060 button 1 up\n", false},
        {"Return", Tap(2005, 28), true},
        {"Y", Tap(2005, 21), true},
        {"pad button 2", "2005 joy 0 button 2 down\n2015 joy 0 button 2 up\n", true},
        {"a click on Yes", "2005 mouse 300 219\n2010 button 1 down\n2060 button 1 up\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string s = "1000 dump before.json\n" + Tap(1005, 14) + "1500 dump asked.json\n";
        s += "1990 dump asked_late.json\n" + c.answer + "3000 dump after.json\n3000 close\n";
        // Mouse clicks need the drawn box under the pointer.
        const bool mouse = c.answer.find("mouse") != std::string::npos;
        ASSERT_EQ(game.run(s, mouse ? "--level 1" : "--level 1 --no-draw"), 0);
        const std::string before = game.read("before.json"), asked = game.read("asked.json"),
                          late = game.read("asked_late.json"), after = game.read("after.json");
        EXPECT_EQ(JsonField(asked, "Question"), "Leave this game?");
        EXPECT_EQ(JsonNum(late, "TimeLeft"), JsonNum(asked, "TimeLeft"));
        EXPECT_EQ(JsonField(after, "Question"), "");
        if (c.leaves) {
            EXPECT_EQ(JsonField(after, "Screen"), "menu");
            EXPECT_EQ(JsonNum(after, "Playing"), 0);
        } else {
            EXPECT_EQ(JsonField(after, "Screen"), "play");
            // Two seconds of the run, about one of them asking (a click answers when the
            // button is let go).
            EXPECT_NEAR(JsonNum(before, "TimeLeft") - JsonNum(after, "TimeLeft"), 1, 0.1);
        }
    }
}

TEST(Taps, ATenMillisecondTapOfF2InTheMenuIsSeen) {
    // Space and left Ctrl skip the splash and the intro; the menu's box has come to rest by 9 s.
    // The taps go down and up between two frames' reads, so only the press latch sees them.
    GameRun game;
    for (double hold : {10.0, 20.0, 30.0}) {
        SCOPED_TRACE(hold);
        std::string s = Tap(100, 57, 50) + Tap(200, 29, 100) + "9000 dump before.json\n";
        s += Tap(9005, 60, hold) + "9300 dump after.json\n9300 close\n";
        ASSERT_EQ(game.run(s, "--no-draw"), 0);
        EXPECT_EQ(JsonField(game.read("before.json"), "Screen"), "menu");
        EXPECT_EQ(JsonNum(game.read("before.json"), "TimerOption"), 1);
        EXPECT_EQ(JsonNum(game.read("after.json"), "TimerOption"), 2);
    }
}

TEST(ExitDump, TheStateIsWrittenHoweverTheProgramEnds) {
    GameRun game(false);
    game.write("level1.ini", kLevel);
    struct Case {
        const char* what;
        std::string script;
        std::string options;
        int status;
    };
    const Case cases[] = {
        {"closed", "1000 close\n", "", 0},
        {"Esc", "1000 key 1 down\n", "", 0},
        {"stopped by --max-ms", "", "--max-ms 1000", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(game.dir() + "/exit.json");
        EXPECT_EQ(game.run(c.script, "--level 1 --no-draw --dump-at-exit exit.json " + c.options),
                  c.status);
        const std::string d = game.read("exit.json");
        EXPECT_EQ(JsonField(d, "Screen"), "play");
        EXPECT_NEAR(JsonNum(d, "TimeLeft"), 119, 0.1);
    }
}

} // namespace
