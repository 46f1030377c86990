// The player's folder in scripted runs of the real program: settings kept across runs and
// damaged files survived, --fresh, the player's own levels, best results, F12 screenshots,
// multisampling, and an installed game started from elsewhere.
#include "bmp_read.h"
#include "game/best_results.h"
#include "game_run.h"
#include "graphics/png_file.h"
#include "levels/levels_common.h"
#include "runtime/user_dir.h"

#include <cmath>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

// Level 1 in play from the start; keys pressed from 1 s on.
const char* kPlay = "--level 1 --no-draw";

std::string Press(int ms, int key) {
    return std::to_string(ms) + " key " + std::to_string(key) + " down\n" +
           std::to_string(ms + 50) + " key " + std::to_string(key) + " up\n";
}

std::string Settings(const std::string& dump) {
    const size_t at = dump.find("\"Settings\":{");
    return at == std::string::npos ? "" : dump.substr(at, dump.find('}', at) - at + 1);
}

std::string Log(const GameRun& game) {
    return game.read("ErrorLog.txt");
}

TEST(UserSettings, VolumeKeysAreKeptForTheNextRun) {
    GameRun game;
    const std::string user = game.dir() + "/user";
    // F8 twice, F7: two steps down, then muted.
    ASSERT_EQ(game.run(Press(1000, 66) + Press(1200, 66) + Press(1400, 67) + Press(1600, 66) +
                           Press(1800, 65) + "2000 dump one.json\n2100 close\n",
                       std::string(kPlay) + " --user-dir '" + user + "'"),
              0);
    const std::string one = game.read("one.json");
    EXPECT_EQ(Settings(one), "\"Settings\":{\"Windowed\":0,\"EffectsVolume\":8,\"MusicVolume\":8,"
                             "\"Muted\":1,\"Msaa\":0}");
    EXPECT_EQ(JsonField(one, "UserDir"), user);
    const std::string file = read_text(user + "/settings.ini");
    EXPECT_NE(file.find("EffectsVolume=8\r\n"), std::string::npos);
    EXPECT_NE(file.find("Muted=1\r\n"), std::string::npos);
    // The next run starts with them; --windowed wins over the file but is not written to it.
    ASSERT_EQ(game.run("500 dump two.json\n600 close\n",
                       std::string(kPlay) + " --windowed --user-dir '" + user + "'"),
              0);
    EXPECT_EQ(Settings(game.read("two.json")),
              "\"Settings\":{\"Windowed\":1,\"EffectsVolume\":8,\"MusicVolume\":8,\"Muted\":1,"
              "\"Msaa\":0}");
    EXPECT_EQ(read_text(user + "/settings.ini"), file);
}

TEST(UserSettings, ADamagedSettingsFileFallsBackAndIsReported) {
    const std::string defaults = "\"Settings\":{\"Windowed\":0,\"EffectsVolume\":10,"
                                 "\"MusicVolume\":10,\"Muted\":0,\"Msaa\":0}";
    struct Case {
        const char* name;
        std::string text; // "" : a folder in the file's place
        std::string settings;
    };
    const std::vector<Case> cases = {
        {"garbage", std::string("\x7f\x45LF\x02\x01\x01\0\0\0 binary", 18), defaults},
        {"huge numbers", "[settings]\r\nEffectsVolume=1e999\r\nMusicVolume=123456789012345\r\n",
         defaults},
        {"one bad value among good ones", "[settings]\nMusicVolume=3\nMuted=yes\n",
         "\"Settings\":{\"Windowed\":0,\"EffectsVolume\":10,\"MusicVolume\":3,\"Muted\":0,"
         "\"Msaa\":0}"},
        {"a folder in its place", "", defaults},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GameRun game;
        const std::string user = game.dir() + "/user";
        fs::create_directories(user);
        if (c.text.empty()) {
            fs::create_directory(user + "/settings.ini");
        } else {
            ASSERT_TRUE(write_bytes(user + "/settings.ini", c.text));
        }
        ASSERT_EQ(game.run("500 dump s.json\n600 close\n",
                           std::string(kPlay) + " --user-dir '" + user + "'"),
                  0);
        EXPECT_EQ(Settings(game.read("s.json")), c.settings);
        EXPECT_NE(Log(game).find("Settings: " + user + "/settings.ini"), std::string::npos);
    }
}

TEST(UserSettings, FreshIgnoresTheFileWithoutTouchingIt) {
    GameRun game;
    const std::string user = game.dir() + "/user";
    fs::create_directories(user);
    const std::string text = "[settings]\r\nEffectsVolume=3\r\nMusicVolume=3\r\n";
    ASSERT_TRUE(write_bytes(user + "/settings.ini", text));
    ASSERT_EQ(game.run(Press(1000, 66) + "1500 dump s.json\n1600 close\n",
                       std::string(kPlay) + " --fresh --user-dir '" + user + "'"),
              0);
    EXPECT_EQ(JsonNum(game.read("s.json"), "EffectsVolume"), 9);
    EXPECT_EQ(read_text(user + "/settings.ini"), text);
}

TEST(UserSettings, AScriptedRunWithoutAUserFolderUsesNone) {
    GameRun game;
    ASSERT_EQ(game.run(Press(1000, 66) + "1500 dump s.json\n1600 close\n", kPlay), 0);
    const std::string dump = game.read("s.json");
    EXPECT_EQ(JsonField(dump, "UserDir"), "");
    EXPECT_EQ(JsonNum(dump, "EffectsVolume"), 9); // the key works for the run
    EXPECT_FALSE(fs::exists(game.dir() + "/settings.ini"));
}

TEST(Multisampling, TheCommandLineWinsAndADriverWithLessFallsBack) {
    struct Case {
        const char* name;
        std::string file_msaa; // "" : no settings file
        std::string option;
        int want;
    };
    const std::vector<Case> cases = {
        {"scripted runs default to none", "", "", 0},
        {"the settings file", "2", "", 2},
        {"the command line over the file", "4", "--msaa 0", 0},
        {"the command line", "", "--msaa 4", 4},
        {"more than any driver may offer", "", "--msaa 8", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GameRun game;
        const std::string user = game.dir() + "/user";
        fs::create_directories(user);
        if (!c.file_msaa.empty()) {
            ASSERT_TRUE(write_bytes(user + "/settings.ini", "[settings]\nMsaa=" + c.file_msaa));
        }
        ASSERT_EQ(game.run("500 dump s.json\n600 close\n",
                           "--level 1 " + c.option + " --user-dir '" + user + "'"),
                  0);
        const double got = JsonNum(game.read("s.json"), "Msaa");
        EXPECT_LE(got, c.want);
        // Less than asked for is said once in the log, and only then.
        const std::string line = "Multisampling " + std::to_string(c.want) + "x: ";
        EXPECT_EQ(Log(game).find(line) != std::string::npos, got < c.want) << Log(game);
    }
}

TEST(UserLevels, ThePlayersLevelComesBeforeTheShippedOne) {
    GameRun game;
    const std::string user = game.dir() + "/user";
    fs::create_directories(user + "/levels");
    ASSERT_TRUE(write_bytes(user + "/levels/level1.ini",
                            "[global]\npadcount=2\n[pads0]\nminx=1\nminy=1\nmaxx=1\nmaxy=1\n"
                            "extx=1\nexty=1\n[pads1]\nminx=2\nminy=1\nmaxx=2\nmaxy=1\nextx=4\n"
                            "exty=1\n"));
    ASSERT_EQ(game.run("500 dump own.json\n600 close\n",
                       std::string(kPlay) + " --user-dir '" + user + "'"),
              0);
    ASSERT_EQ(game.run("500 dump shipped.json\n600 close\n", kPlay), 0);
    auto pads = [](const std::string& dump) {
        size_t n = 0;
        for (size_t at = dump.find("\"extx\""); at != std::string::npos;
             at = dump.find("\"extx\"", at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(pads(game.read("own.json")), 2u);
    EXPECT_EQ(pads(game.read("shipped.json")), 3u);
}

TEST(BestResults, ARideKeepsTheLevelsTimeAndADamagedFileIsIgnored) {
    GameRun game;
    const std::string user = game.dir() + "/user";
    const std::string solution = SolutionScript(1);
    ASSERT_EQ(game.run(solution, "--level 1 --no-draw --user-dir '" + user + "'"), 0);
    BestTable table;
    ASSERT_TRUE(ParseBestResults(read_text(user + "/best.ini"), table));
    ASSERT_EQ(table.count("level1.timer1"), 1u);
    const double best = table["level1.timer1"];
    EXPECT_GT(best, 100);
    EXPECT_LT(best, 120);
    // The file damaged: ignored with a log line, then replaced by the next result.
    for (const std::string& damage :
         {std::string("\x89PNG\r\n\x1a\n\0\0", 10), std::string("[best]\nlevel1.timer1=-5\n"),
          std::string("[other]\nx=1\n")}) {
        ASSERT_TRUE(write_bytes(user + "/best.ini", damage));
        ASSERT_EQ(game.run(solution, "--level 1 --no-draw --user-dir '" + user + "'"), 0);
        EXPECT_NE(Log(game).find("Best results: " + user + "/best.ini is damaged"),
                  std::string::npos);
        ASSERT_TRUE(ParseBestResults(read_text(user + "/best.ini"), table));
        EXPECT_EQ(table["level1.timer1"], best);
    }
}

TEST(BestResults, TheLevelsOpeningShowsItsBest) {
    GameRun game;
    const std::string user = game.dir() + "/user";
    fs::create_directories(user);
    const std::string script = "600 screenshot shot.bmp\n700 close\n";
    ASSERT_EQ(game.run(script, "--level 1 --user-dir '" + user + "'"), 0);
    const Screenshot none(game.dir() + "/shot.bmp");
    ASSERT_TRUE(write_bytes(user + "/best.ini", "[best]\nlevel1.timer1=97.5\n"));
    ASSERT_EQ(game.run(script, "--level 1 --user-dir '" + user + "'"), 0);
    const Screenshot best(game.dir() + "/shot.bmp");
    ASSERT_TRUE(none.valid() && best.valid());
    // The line is the title card's second line, in the card's box below the worker; the rest
    // of the picture is the same.
    int changed_line = 0, changed_elsewhere = 0;
    for (int y = 0; y < 600; y += 2)
        for (int x = 0; x < 800; x += 2) {
            if (none.at(x, y) == best.at(x, y)) continue;
            (y >= 410 ? changed_line : changed_elsewhere)++;
        }
    EXPECT_GT(changed_line, 50);
    EXPECT_EQ(changed_elsewhere, 0);
    EXPECT_EQ(LevelBestLine(1, 1), ""); // this process keeps none
}

TEST(Screenshots, F12WritesThePresentedFrameAsAPngWithoutItsNote) {
    GameRun game;
    const std::string user = game.dir() + "/user";
    // The key and a script screenshot in the same frame: the script's picture shows the note.
    ASSERT_EQ(game.run("1000 key 88 down\n1000 screenshot shown.bmp\n1050 key 88 up\n"
                       "1100 close\n",
                       "--level 1 --user-dir '" + user + "'"),
              0);
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(user + "/screenshots"))
        files.push_back(e.path());
    ASSERT_EQ(files.size(), 1u);
    const std::string name = files[0].filename().string();
    EXPECT_EQ(name.rfind("steel_spree-", 0), 0u);
    EXPECT_EQ(name.size(), std::string("steel_spree-2026-12-07_05-40-46.png").size()) << name;
    int w = 0, h = 0;
    std::vector<uint8_t> rgba;
    ASSERT_TRUE(decode_png(read_text(files[0].string()), w, h, rgba));
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    EXPECT_NE(Log(game).find("Screenshot " + files[0].string()), std::string::npos);
    const Screenshot shown(game.dir() + "/shown.bmp");
    ASSERT_TRUE(shown.valid());
    int note = 0, elsewhere = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const uint8_t* p = &rgba[(size_t(y) * 800 + x) * 4];
            const Rgba png{p[0], p[1], p[2], 255};
            if (png == shown.at(x, y)) continue;
            (y < 60 && x > 400 ? note : elsewhere)++;
        }
    EXPECT_GT(note, 200);
    EXPECT_EQ(elsewhere, 0);
}

TEST(Install, AnInstalledGameRunsFromAnotherFolderAndFindsItsData) {
    const fs::path build = fs::path(game_executable()).parent_path().parent_path();
    const std::string prefix = make_temp_dir() + "/prefix";
    std::string out;
    ASSERT_EQ(
        run_command("cmake --install '" + build.string() + "' --prefix '" + prefix + "'", &out), 0)
        << out;
    for (const char* file :
         {"games/steel_spree", "share/games/steel_spree/bigfont.bmp",
          "share/games/steel_spree/level1.ini", "share/games/steel_spree/gfx/worker.ddd",
          "share/applications/org.steelspree.SteelSpree.desktop",
          "share/metainfo/org.steelspree.SteelSpree.metainfo.xml",
          "share/icons/hicolor/48x48/apps/steel_spree.png",
          "share/icons/hicolor/256x256/apps/steel_spree.png", "share/man/man6/steel_spree.6.gz"})
        EXPECT_TRUE(fs::exists(prefix + "/" + file)) << file;
    EXPECT_FALSE(fs::exists(prefix + "/share/games/steel_spree/steel_spree"));
    int w = 0, h = 0;
    std::vector<uint8_t> rgba;
    EXPECT_TRUE(decode_png(read_text(prefix + "/share/icons/hicolor/128x128/apps/steel_spree.png"),
                           w, h, rgba));
    EXPECT_EQ(w, 128);
    // Started from an unrelated folder: the data is found beside the prefix's games folder.
    const std::string elsewhere = make_temp_dir();
    ASSERT_TRUE(write_bytes(elsewhere + "/s.txt", "500 dump s.json\n600 close\n"));
    ASSERT_EQ(run_command("cd '" + elsewhere + "' && TMPDIR='" + elsewhere + "' '" + prefix +
                              "/games/steel_spree' --script s.txt --level 1 --no-draw",
                          &out),
              0)
        << out;
    const std::string dump = read_text(elsewhere + "/s.json");
    EXPECT_EQ(JsonNum(dump, "Playing"), 1);
    EXPECT_NE(dump.find("\"extx\""), std::string::npos);
    EXPECT_NE(read_text(elsewhere + "/ErrorLog.txt").find(prefix + "/share/games/steel_spree"),
              std::string::npos);
}

} // namespace

namespace {

TEST(BestResults, AFinishedGameKeepsItsScoreForTheTimerOption) {
    GameRun game;
    const std::string user = game.dir() + "/user";
    // The last level's solution ends the game: the ending shows the score.
    ASSERT_EQ(game.run(SolutionScript(24), "--level 24 --no-draw --user-dir '" + user + "'"), 0);
    const std::string end = game.read("end.json");
    EXPECT_EQ(JsonField(end, "Screen"), "ending");
    BestTable table;
    ASSERT_TRUE(ParseBestResults(read_text(user + "/best.ini"), table));
    EXPECT_EQ(table["game.timer1"], JsonNum(end, "Score"));
    EXPECT_GT(table["level24.timer1"], 30);
}

TEST(BestResults, OnlyABetterResultIsKeptAndTheLinesSaySo) {
    const std::string user = make_temp_dir();
    set_user_dir(user);
    LoadBestResults();
    struct Step {
        const char* name;
        bool game; // a game's score, else a level's time (level 3)
        double timer_option, value;
        bool new_best;
        std::string line; // LevelBestLine(3, timer) or GameScoreLine after the step
    };
    const std::vector<Step> steps = {
        {"first time", false, 1, 80.4, true, "Best time left: 80 s"},
        {"slower", false, 1, 70, false, "Best time left: 80 s"},
        {"faster", false, 1, 95.9, true, "Best time left: 95 s"},
        {"no clock keeps nothing", false, 0, 200, false, ""},
        {"another timer option", false, 2, 30, true, "Best time left: 30 s"},
        {"first game", true, 1, 12.5, true, "Score 12 - New best!"},
        {"a worse game", true, 1, 3, false, "Score 3 - Best 12"},
        {"a game under another option", true, 2, 5, true, "Score 5 - New best!"},
        {"not a number", true, 1, std::nan(""), false, ""},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        if (s.game) {
            const bool best = RecordGameScore(s.timer_option, s.value);
            EXPECT_EQ(best, s.new_best);
            if (!s.line.empty()) {
                EXPECT_EQ(GameScoreLine(s.timer_option, s.value, best), s.line);
            }
        } else {
            EXPECT_EQ(RecordLevelTime(3, s.timer_option, s.value), s.new_best);
            EXPECT_EQ(LevelBestLine(3, s.timer_option), s.line);
        }
    }
    // Kept in the file: a fresh load sees them.
    LoadBestResults();
    EXPECT_EQ(LevelBestLine(3, 1), "Best time left: 95 s");
    EXPECT_EQ(GameScoreLine(1, 1, false), "Score 1 - Best 12");
    set_user_dir("");
    LoadBestResults();
    EXPECT_EQ(LevelBestLine(3, 1), "");
}

} // namespace

namespace {

TEST(UserSettings, TheVolumeNoteShowsForAboutOneAndAHalfSeconds) {
    GameRun game;
    const std::string shots = "1100 screenshot a.bmp\n2800 screenshot b.bmp\n2900 close\n";
    ASSERT_EQ(game.run(shots, "--level 1"), 0);
    const Screenshot quiet_a(game.dir() + "/a.bmp"), quiet_b(game.dir() + "/b.bmp");
    ASSERT_EQ(game.run(Press(1000, 67) + shots, "--level 1"), 0);
    const Screenshot keyed_a(game.dir() + "/a.bmp"), keyed_b(game.dir() + "/b.bmp");
    ASSERT_TRUE(quiet_a.valid() && quiet_b.valid() && keyed_a.valid() && keyed_b.valid());
    struct Count {
        int note = 0, elsewhere = 0;
    };
    auto differences = [](const Screenshot& x, const Screenshot& y) {
        Count c;
        for (int py = 0; py < 600; ++py)
            for (int px = 0; px < 800; ++px)
                if (!(x.at(px, py) == y.at(px, py))) (py < 60 && px > 400 ? c.note : c.elsewhere)++;
        return c;
    };
    const Count shown = differences(quiet_a, keyed_a), gone = differences(quiet_b, keyed_b);
    EXPECT_GT(shown.note, 200); // 100 ms after F9: the note in the top right corner
    EXPECT_EQ(shown.elsewhere, 0);
    EXPECT_EQ(gone.note + gone.elsewhere, 0); // 1.8 s after: gone
}

} // namespace
