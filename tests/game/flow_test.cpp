// The game from its start to the menu, into a game and back: scripted runs of the real program.
#include "bmp_read.h"
#include "game_run.h"

#include <cmath>
#include <cstring>
#include <set>
#include <sstream>

namespace {

// A level of a lift and a one-cell girder beside it that slides down: step onto it, bolt it
// while it is still near its start, step back onto the lift and ride.
const char* kTinyLevel = "[global]\npadcount=2\nforcemap=0\n[pads0]\nminx=0\nminy=0\nmaxx=0\n"
                         "maxy=0\nextx=1\nexty=1\n[pads1]\nminx=1\nminy=0\nmaxx=1\nmaxy=2\n"
                         "extx=1\nexty=1\n";
const char* kTinySolution = "50 key 205 down\n350 key 205 up\n360 key 29 down\n"
                            "450 key 29 up\n1500 key 203 down\n1900 key 203 up\n";

std::string Press(int ms, int key) {
    std::ostringstream s;
    s << ms << " key " << key << " down\n" << ms + 50 << " key " << key << " up\n";
    return s.str();
}

TEST(Flow, SplashWaitsFiveSecondsAndEndsOnSpaceOrTheLeftButton) {
    GameRun game;
    // Runs that check no pixels are logic-only (--no-draw).
    ASSERT_EQ(game.run("4900 dump a.json\n5100 dump b.json\n5100 close\n", "--no-draw"), 0);
    EXPECT_EQ(JsonField(game.read("a.json"), "Screen"), "splash");
    EXPECT_EQ(JsonField(game.read("b.json"), "Screen"), "intro");
    ASSERT_EQ(game.run(Press(1000, 57) + "1100 dump a.json\n1100 close\n", "--no-draw"), 0);
    EXPECT_EQ(JsonField(game.read("a.json"), "Screen"), "intro");
    ASSERT_EQ(game.run("1000 button 1 down\n1050 button 1 up\n1100 dump a.json\n1100 close\n",
                       "--no-draw"),
              0);
    EXPECT_EQ(JsonField(game.read("a.json"), "Screen"), "intro");
}

// Distinct FrameClock values of a game started at once, sampled every 2 ms for 200 ms.
double SmallestFrameStep(GameRun& game) {
    std::string script;
    for (int k = 0; k < 100; ++k)
        script += std::to_string(1000 + 2 * k) + " dump d" + std::to_string(k) + ".json\n";
    script += "1200 close\n";
    EXPECT_EQ(game.run(script, "--level 1 --no-draw"), 0);
    std::set<double> clocks;
    for (int k = 0; k < 100; ++k)
        clocks.insert(JsonNum(game.read("d" + std::to_string(k) + ".json"), "FrameClock"));
    double step = 1e9, last = -1;
    for (double c : clocks) {
        if (last >= 0) step = std::min(step, c - last);
        last = c;
    }
    return step;
}

TEST(Flow, FrameLimitComesFromLimitfpsTxt) {
    GameRun game;
    EXPECT_NEAR(SmallestFrameStep(game), 1000.0 / 60, 0.5); // no file
    game.write("limitfps.txt", "30\r\n");
    EXPECT_NEAR(SmallestFrameStep(game), 1000.0 / 30, 0.5);
    game.write("limitfps.txt", "0\n");
    EXPECT_NEAR(SmallestFrameStep(game), 1000.0 / 60, 0.5);
    game.write("limitfps.txt", "fast\n");
    EXPECT_NEAR(SmallestFrameStep(game), 1000.0 / 60, 0.5);
}

TEST(Flow, MenuOptionsCursorAndBox) {
    GameRun game;
    std::string s = Press(100, 57) + "200 key 29 down\n300 key 29 up\n300 dump skip.json\n";
    // The menu runs from about 0.3 s; the logo flies 2 s, then the box slides 4.2 s.
    s += "9000 dump rest.json\n9000 screenshot menu.bmp\n";
    s += Press(9100, 59) + Press(9200, 59) + Press(9300, 59) + "9400 dump f1.json\n";
    s += "9500 key 60 down\n10500 key 60 up\n10600 dump f2.json\n";
    s += Press(10700, 61) + "10800 dump f3.json\n";
    for (int k = 0; k < 5; ++k)
        s += Press(11000 + 100 * k, 200);
    s += "11600 dump top.json\n";
    for (int k = 0; k < 6; ++k)
        s += Press(11700 + 100 * k, 208);
    s += "12400 dump bottom.json\n";
    // Cursor up on the keyboard and the joystick at once: two lines in one press.
    s += "12500 joy 0 axis y -1\n12500 key 200 down\n12550 key 200 up\n12550 joy 0 axis y 0\n";
    s += "12600 dump both.json\n12600 screenshot changed.bmp\n12700 close\n";
    ASSERT_EQ(game.run(s), 0);
    EXPECT_EQ(JsonNum(game.read("skip.json"), "IntroSkipped"), 1);
    const std::string rest = game.read("rest.json");
    EXPECT_EQ(JsonField(rest, "Screen"), "menu");
    EXPECT_EQ(JsonNum(rest, "cursor"), 3); // on the F4 line
    EXPECT_GE(JsonNum(rest, "box_y"), -180);
    EXPECT_LT(JsonNum(rest, "box_y"), -178); // the box rests with its top at y 214
    EXPECT_EQ(JsonNum(game.read("f1.json"), "StartLevelOption"), 0);
    EXPECT_EQ(JsonNum(game.read("f2.json"), "TimerOption"), 2); // held: changed once
    EXPECT_EQ(JsonNum(game.read("f3.json"), "DetailOption"), 0);
    EXPECT_EQ(JsonNum(game.read("top.json"), "cursor"), 0);
    EXPECT_EQ(JsonNum(game.read("bottom.json"), "cursor"), 4);
    EXPECT_EQ(JsonNum(game.read("both.json"), "cursor"), 2);

    // The five lines as drawn: each glyph cell of the big font (15 x 20) holds ink exactly where
    // the line's text has a character that is not a space; the held menu shows its changes.
    const int box_y = int(JsonNum(rest, "box_y"));
    struct Shot {
        const char* file;
        const char* lines[5];
    };
    const Shot shots[] = {
        {"menu.bmp",
         {"[F1] Startlevel    - Dumb", "[F2] Timer         - Okay", "[F3] GFX - Details - Whee",
          "[F4] Spin the Steel - Yay!", "[F5] Edit Levels   - Tick"}},
        {"changed.bmp",
         {"[F1] Startlevel    - Dumb", "[F2] Timer         - Run!", "[F3] GFX - Details - C 64",
          "[F4] Spin the Steel - Yay!", "[F5] Edit Levels   - Tick"}},
    };
    for (const Shot& s : shots) {
        SCOPED_TRACE(s.file);
        const Screenshot shot(game.dir() + "/" + s.file);
        ASSERT_TRUE(shot.valid());
        for (int k = 0; k < 5; ++k) {
            const int top = 414 + box_y + 30 * k;
            for (int i = 0; i < 27; ++i) { // the cells inside the box
                int ink = 0;
                for (int y = top + 2; y < top + 18; ++y)
                    for (int x = 204 + 15 * i + 2; x < 204 + 15 * i + 13; ++x) {
                        Rgba c = shot.at(x, y);
                        ink += c.r > 180 && c.g > 120 && c.b < 120 ? 1 : 0;
                    }
                const bool letter = i < int(std::strlen(s.lines[k])) && s.lines[k][i] != ' ';
                EXPECT_EQ(ink > 0, letter) << "line " << k << " cell " << i << " ink " << ink;
            }
        }
    }
}

TEST(Flow, ControlAtOnceStartsLevelOneAndTheStartOptionsLevelsSixAndEleven) {
    GameRun game;
    const std::string skip = Press(100, 57) + "200 key 29 down\n300 key 29 up\n";
    ASSERT_EQ(game.run(skip + Press(3000, 29) + "3500 dump a.json\n3500 close\n", "--no-draw"), 0);
    const std::string a = game.read("a.json");
    EXPECT_EQ(JsonField(a, "Screen"), "play");
    EXPECT_EQ(JsonNum(a, "Level"), 1);
    EXPECT_EQ(JsonNum(a, "Lives"), 3);
    EXPECT_EQ(JsonNum(a, "Playing"), 1);
    // The first frame loses no time however long the menu was shown.
    EXPECT_GT(JsonNum(a, "TimeLeft"), 119.4);
    // Every game-wide variable and both record arrays are in the dump.
    for (const char* key : {"ScreenWidth", "ScreenHeight", "IntroSkipped", "FrameClock",
                            "Playing",     "Level",        "MapFade",      "LevelDone",
                            "DoneFade",    "ForceMap",     "ExitTimer",    "TimeLeft",
                            "HurryMusic",  "MusicTrack",   "MusicWait",    "StartLevelOption",
                            "TimerOption", "Lives",        "Score",        "DetailOption",
                            "Pads",        "Workers",      "step_x",       "bolts",
                            "exty",        "idle_since",   "bolt_timer",   "turn"})
        EXPECT_NE(a.find(std::string("\"") + key + "\":"), std::string::npos) << key;
    ASSERT_EQ(game.run(skip + Press(3000, 59) + Press(3100, 62) +
                           "3500 dump b.json\n"
                           "3500 close\n",
                       "--no-draw"),
              0);
    EXPECT_EQ(JsonNum(game.read("b.json"), "Level"), 6);
    ASSERT_EQ(game.run(skip + Press(3000, 59) + Press(3100, 59) + Press(3200, 29) +
                           "3500 dump c.json\n3500 close\n",
                       "--no-draw"),
              0);
    EXPECT_EQ(JsonNum(game.read("c.json"), "Level"), 11);
}

TEST(Flow, TheLastLevelEndsWithTheEndingAndTheMenuFollows) {
    GameRun game(false);
    game.write("level7.ini", kTinyLevel);
    std::string s = kTinySolution;
    s += "3200 dump ride.json\n14000 dump end.json\n";
    s += Press(14100, 57) + "15000 dump menu.json\n15000 close\n";
    ASSERT_EQ(game.run(s, "--level 7 --no-draw"), 0);
    const std::string ride = game.read("ride.json");
    EXPECT_GT(JsonNum(ride, "ExitTimer"), 0);
    EXPECT_EQ(JsonNum(ride, "LevelDone"), 1);
    const std::string end = game.read("end.json");
    EXPECT_EQ(JsonField(end, "Screen"), "ending");
    EXPECT_EQ(JsonNum(end, "GameComplete"), 1);
    EXPECT_EQ(JsonNum(end, "Level"), 7);
    EXPECT_EQ(JsonNum(end, "Lives"), 3);
    EXPECT_GT(JsonNum(end, "Score"), 2.5); // the bolt and the counted time
    EXPECT_EQ(JsonField(game.read("menu.json"), "Screen"), "menu");
}

} // namespace

namespace {

TEST(Flow, APauseOfAMinuteCostsNoClockTimeAndTheWorkerDoesNotJump) {
    GameRun game(false);
    game.write("level1.ini", kTinyLevel);
    std::string s = "1000 dump before.json\n1000 focus lost\n";
    s += "1000 key 205 down\n61000 key 205 up\n"; // held through the pause
    s += "61000 focus gained\n61000 dump at.json\n62000 dump after.json\n62000 close\n";
    ASSERT_EQ(game.run(s, "--level 1 --no-draw"), 0);
    const std::string before = game.read("before.json"), after = game.read("after.json");
    // One second of play after the pause, and nothing of the minute in between.
    EXPECT_NEAR(JsonNum(before, "TimeLeft") - JsonNum(after, "TimeLeft"), 1, 0.05);
    EXPECT_EQ(JsonNum(after, "Lives"), 3);
    EXPECT_NEAR(JsonNum(after, "FrameClock") - JsonNum(before, "FrameClock"), 1000, 20);
}

TEST(Flow, ADrawnAndAnUndrawnRunEndAlikeAndNeitherTalksToTheConsole) {
    GameRun game(false);
    game.write("level1.ini", kTinyLevel);
    std::string s = kTinySolution;
    s += "5000 dump end.json\n5000 close\n";
    std::string console;
    ASSERT_EQ(game.run(s, "--level 1", &console), 0);
    // Not even the graphics driver's notices of the options the game sets for it.
    EXPECT_EQ(console, "");
    const std::string drawn = game.read("end.json");
    ASSERT_EQ(game.run(s, "--level 1 --no-draw", &console), 0);
    EXPECT_EQ(console, "");
    EXPECT_EQ(game.read("end.json"), drawn);
    EXPECT_GT(JsonNum(drawn, "ExitTimer"), 1);
}

} // namespace

namespace {

TEST(Flow, AGameControllerPlaysALevelToItsEnd) {
    GameRun game(false);
    game.write("level1.ini", kTinyLevel);
    // The tiny level's solution on joystick 0: the stick walks, button 2 bolts.
    const std::string s = "50 joy 0 axis x 1\n350 joy 0 axis x 0\n360 joy 0 button 2 down\n"
                          "450 joy 0 button 2 up\n1500 joy 0 axis x -1\n1900 joy 0 axis x 0\n"
                          "13000 dump end.json\n13000 close\n";
    ASSERT_EQ(game.run(s, "--level 1 --no-draw"), 0);
    const std::string end = game.read("end.json");
    EXPECT_EQ(JsonField(end, "Screen"), "ending");
    EXPECT_EQ(JsonNum(end, "Lives"), 3);
}

} // namespace
