// What the screens show, read back from real pixels of scripted runs: the status texts stay
// readable over a whole sway of the status models, and the ending's box leaves the credits'
// texts alone and says how to go on.
#include "bmp_read.h"
#include "game_run.h"

#include <filesystem>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// The models that could stand in front of a text of the play screen: the status models, the
// lift (its mast) and the remote control.
const char* const kModelsNearTexts[] = {"status_01.ddd", "status_02.ddd", "status_03.ddd",
                                        "aufzug.ddd", "remote.ddd"};

// A run folder whose gfx folder lacks those models (the texts are drawn all the same).
void DropModels(GameRun& game) {
    const std::string gfx = game.dir() + "/gfx";
    const fs::path source = fs::read_symlink(gfx);
    fs::remove(gfx);
    fs::create_directory(gfx);
    for (const auto& e : fs::directory_iterator(source)) {
        const std::string name = e.path().filename().string();
        bool dropped = false;
        for (const char* m : kModelsNearTexts)
            dropped = dropped || name == m;
        if (!dropped) fs::create_symlink(e.path(), gfx + "/" + name);
    }
}

TEST(StatusTexts, NoModelCoversATextOverAWholeSway) {
    // The status models sway with timer_ms / 30 degrees: one period is 10.8 s. Eighteen frames
    // 0.6 s apart cover it, from the end of the opening map view on; the worker stands on the
    // lift all along, as at every level's start.
    std::ostringstream s;
    for (int k = 0; k < 18; ++k)
        s << 2000 + 600 * k << " screenshot shot" << k << ".bmp\n";
    s << 13000 << " close\n";
    GameRun with, without;
    DropModels(without);
    ASSERT_EQ(with.run(s.str(), "--level 1"), 0);
    ASSERT_EQ(without.run(s.str(), "--level 1"), 0);
    const Rgba sky{170, 170, 255, 255};
    for (int k = 0; k < 18; ++k) {
        SCOPED_TRACE("frame " + std::to_string(k));
        const Screenshot a(with.dir() + "/shot" + std::to_string(k) + ".bmp");
        const Screenshot b(without.dir() + "/shot" + std::to_string(k) + ".bmp");
        ASSERT_TRUE(a.valid() && b.valid());
        // Above y 135 the flat sky holds only texts: the help texts, "Level1", the time, "x3"
        // and the score. Every pixel of them, outline included, must be as drawn without the
        // models in front.
        int text = 0, covered = 0;
        for (int y = 0; y < 135; ++y)
            for (int x = 0; x < 800; ++x) {
                const Rgba p = b.at(x, y);
                if (p == sky) continue;
                ++text;
                covered += !(a.at(x, y) == p);
            }
        EXPECT_GT(text, 2000); // the six texts are there
        EXPECT_EQ(covered, 0);
    }
}

TEST(Ending, TheBoxLeavesTheCreditsAloneAndShowsTheWayOn) {
    GameRun game(false);
    // The last level: a lift and a one-cell girder; bolt it, back onto the lift, ride.
    game.write("level1.ini",
               "[global]\npadcount=2\nforcemap=0\n[pads0]\nminx=0\nminy=0\nmaxx=0\nmaxy=0\n"
               "extx=1\nexty=1\n[pads1]\nminx=1\nminy=0\nmaxx=1\nmaxy=2\nextx=1\nexty=1\n");
    ASSERT_EQ(game.run("50 key 205 down\n350 key 205 up\n360 key 29 down\n450 key 29 up\n"
                       "1500 key 203 down\n1900 key 203 up\n14000 screenshot ending.bmp\n"
                       "14000 dump ending.json\n14100 close\n",
                       "--level 1"),
              0);
    ASSERT_EQ(JsonField(game.read("ending.json"), "Screen"), "ending");
    const Screenshot shot(game.dir() + "/ending.bmp");
    const Screenshot credits(game.dir() + "/gfx/Credits.bmp");
    ASSERT_TRUE(shot.valid() && credits.valid());
    auto near = [](Rgba p, Rgba q) {
        return std::abs(p.r - q.r) <= 3 && std::abs(p.g - q.g) <= 3 && std::abs(p.b - q.b) <= 3;
    };
    // The credits' texts (y 0 .. 390) and the girder at the foot of the picture are as drawn.
    int differ = 0;
    for (int y = 0; y < 600; ++y) {
        if (y >= 390 && y < 570) continue;
        for (int x = 0; x < 800; ++x)
            differ += !near(shot.at(x, y), credits.at(x, y));
    }
    EXPECT_EQ(differ, 0);
    // The box's four lines: each row of glyphs holds the big font's ink; the last one is the
    // prompt, "Space or pad button 2: menu".
    const int rows[] = {412, 438, 464, 490};
    for (int top : rows) {
        int ink = 0;
        for (int y = top; y < top + 20; ++y)
            for (int x = 150; x < 650; ++x) {
                const Rgba c = shot.at(x, y);
                ink += c.r > 180 && c.g > 120 && c.b < 150;
            }
        EXPECT_GT(ink, 150) << "row at " << top;
    }
}

TEST(RideClouds, FadeInNeverDarkerThanTheSky) {
    // Level 1's solution reaches the lift at about 11.3 s; the cloud layer fades in over the
    // next two seconds. The band above the crane's hook holds only the flat sky and the clouds.
    GameRun game;
    std::string script;
    std::istringstream solution(
        read_text(std::string(SS_SOURCE_DIR) + "/data/levels/solutions/level1.txt"));
    for (std::string line; std::getline(solution, line);)
        if (line.find("dump") == std::string::npos && line.find("close") == std::string::npos)
            script += line + "\n";
    const int times[] = {11800, 12100, 12700};
    for (int t : times)
        script += std::to_string(t) + " screenshot ride" + std::to_string(t) + ".bmp\n";
    ASSERT_EQ(game.run(script + "12800 close\n", "--level 1"), 0);
    const Rgba sky{170, 170, 255, 255};
    int clouds = 0;
    for (int t : times) {
        SCOPED_TRACE("at " + std::to_string(t) + " ms");
        const Screenshot shot(game.dir() + "/ride" + std::to_string(t) + ".bmp");
        ASSERT_TRUE(shot.valid());
        int darker = 0;
        for (int y = 125; y < 170; ++y)
            for (int x = 0; x < 800; ++x) {
                const Rgba p = shot.at(x, y);
                darker += p.r < sky.r || p.g < sky.g || p.b < sky.b;
                clouds += p.r > 190;
            }
        EXPECT_EQ(darker, 0);
    }
    EXPECT_GT(clouds, 10000); // the layer is there, brightening
}

} // namespace
