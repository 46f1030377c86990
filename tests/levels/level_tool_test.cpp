// steel_data level: a level file as the game reads it, with the designer's warnings.
#include "game/game_run.h"
#include "levels_common.h"

#include <array>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

// minx, miny, maxx, maxy, extx, exty
using PadRow = std::array<double, 6>;

std::string LevelText(std::initializer_list<PadRow> pads, int forcemap = 0,
                      const char* eol = "\r\n") {
    auto num = [](double v) {
        std::string s = std::to_string(v);
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.') s.pop_back();
        return s;
    };
    std::string s = std::string("[global]") + eol + "padcount=" + std::to_string(pads.size()) +
                    eol + "forcemap=" + std::to_string(forcemap) + eol;
    const char* keys[6] = {"minx", "miny", "maxx", "maxy", "extx", "exty"};
    int i = 0;
    for (const PadRow& p : pads) {
        s += "[pads" + std::to_string(i++) + "]" + eol;
        for (int k = 0; k < 6; ++k)
            s += std::string(keys[k]) + "=" + num(p[size_t(k)]) + eol;
    }
    return s;
}

// A lift, a floor beside it and a girder that slides along the floor.
const PadRow kLift{2, 5, 2, 5, 1, 1}, kFloor{3, 5, 3, 5, 6, 1}, kGirder{4, 4, 7, 4, 2, 1};

class LevelTool : public ::testing::Test {
  protected:
    std::string dir_ = make_temp_dir();

    // Writes the text as a level file and runs the tool on it.
    int Check(const std::string& text, std::string* out) {
        const std::string file = dir_ + "/level.ini";
        EXPECT_TRUE(write_bytes(file, text));
        return RunDataTool("level '" + file + "'", out);
    }
    // The warnings of a level that loads (its JSON's "warnings" array as text).
    std::string Warnings(const std::string& text) {
        std::string out;
        EXPECT_EQ(Check(text, &out), 0) << out;
        const size_t at = out.find("\"warnings\":[");
        return at == std::string::npos ? "?" : out.substr(at + 12);
    }
};

TEST_F(LevelTool, ShippedLevelsLoadWithoutWarningsAndAreInstalledBesideTheGame) {
    const std::string game_dir = std::filesystem::path(game_executable()).parent_path().string();
    for (int n = 1; n <= kLevelCount; ++n) {
        SCOPED_TRACE("level " + std::to_string(n));
        std::string out;
        ASSERT_EQ(RunDataTool("level '" + LevelSource(n) + "'", &out), 0) << out;
        EXPECT_NE(out.find("\"warnings\":[]"), std::string::npos) << out;
        EXPECT_NE(out.find("{\"index\":0,\"kind\":\"lift\""), std::string::npos);
        EXPECT_GE(JsonNum(out, "movable"), 1);
        EXPECT_EQ(read_text(game_dir + "/level" + std::to_string(n) + ".ini"),
                  read_text(LevelSource(n)));
        EXPECT_NE(read_text(LevelSource(n)).find("[global]\r\npadcount="), std::string::npos)
            << "the layout the game writes";
    }
    EXPECT_FALSE(
        std::filesystem::exists(game_dir + "/level" + std::to_string(kLevelCount + 1) + ".ini"));
}

TEST_F(LevelTool, PrintsThePadsAsTheGameReadsThem) {
    std::string out;
    ASSERT_EQ(Check(LevelText({kLift, kFloor, kGirder}, 1), &out), 0) << out;
    EXPECT_EQ(JsonNum(out, "padcount"), 3);
    EXPECT_EQ(JsonNum(out, "forcemap"), 1);
    EXPECT_EQ(JsonNum(out, "movable"), 1);
    EXPECT_NE(out.find("{\"index\":1,\"kind\":\"floor\",\"minx\":3,\"miny\":5,\"maxx\":3,"
                       "\"maxy\":5,\"extx\":6,\"exty\":1,\"reachable\":true}"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("{\"index\":2,\"kind\":\"girder\",\"minx\":4,\"miny\":4,\"maxx\":7,"),
              std::string::npos);
    EXPECT_NE(out.find("\"warnings\":[]"), std::string::npos);
    // Plain LF line ends and other letter cases read the same.
    std::string lf = LevelText({kLift, kFloor, kGirder}, 1, "\n");
    lf.replace(lf.find("padcount"), 8, "PadCount");
    std::string out_lf;
    ASSERT_EQ(Check(lf, &out_lf), 0);
    EXPECT_EQ(out_lf, out);
}

TEST_F(LevelTool, AFileThatIsNoLevelIsAnError) {
    std::string out;
    EXPECT_EQ(RunDataTool("level '" + dir_ + "/missing.ini'", &out), 1);
    EXPECT_NE(out.find("{\"error\":\"cannot read"), std::string::npos) << out;
    EXPECT_EQ(Check(std::string("\x7f"
                                "ELF\0\0\x01\x02garbage",
                                14),
                    &out),
              1);
    EXPECT_NE(out.find("not a text file"), std::string::npos) << out;
    EXPECT_EQ(Check("just some words\nand more\n", &out), 1);
    EXPECT_NE(out.find("no [global] padcount"), std::string::npos) << out;
    EXPECT_EQ(Check("", &out), 1);
    EXPECT_EQ(RunDataTool("level", &out), 2);
}

TEST_F(LevelTool, WarnsAboutTheGridTheLiftAndLevelsThatCannotBeFinished) {
    // A girder whose far end leaves the grid, one that starts left of it.
    EXPECT_NE(Warnings(LevelText({kLift, kFloor, {4, 4, 30, 4, 2, 1}}))
                  .find("pad 2 leaves the 31 x 11 grid (it covers x 4..32, y 4..5)"),
              std::string::npos);
    EXPECT_NE(Warnings(LevelText({kLift, {-1, 5, -1, 5, 4, 1}, kGirder})).find("pad 1 leaves"),
              std::string::npos);
    // Exactly up to the grid's edge is fine.
    EXPECT_EQ(Warnings(LevelText({{0, 0, 0, 0, 1, 1}, {1, 0, 1, 0, 30, 1}, {1, 1, 1, 9, 30, 1}})),
              "]}\n");
    // The lift: 2 x 1, moving.
    EXPECT_NE(Warnings(LevelText({{2, 5, 2, 5, 2, 1}, kFloor, kGirder}))
                  .find("the lift (pad 0) is 2 x 1, not 1 x 1"),
              std::string::npos);
    EXPECT_NE(
        Warnings(LevelText({{2, 5, 2, 7, 1, 1}, kFloor, kGirder})).find("the lift (pad 0) moves"),
        std::string::npos);
    // Nothing to bolt; a pad of no area; half cells; a path whose axes run against each other.
    EXPECT_NE(Warnings(LevelText({kLift, kFloor})).find("no movable pad"), std::string::npos);
    EXPECT_NE(Warnings(LevelText({kLift, kFloor, {4, 4, 7, 4, 2, 0}}))
                  .find("pad 2 is 2 x 0, smaller than one cell"),
              std::string::npos);
    EXPECT_NE(Warnings(LevelText({kLift, kFloor, {4, 4, 7.5, 4, 2, 1}}))
                  .find("pad 2 is not on whole cells"),
              std::string::npos);
    EXPECT_NE(Warnings(LevelText({kLift, kFloor, {4, 4, 7, 1, 2, 1}}))
                  .find("pad 2 has a path whose axes run against each other"),
              std::string::npos);
}

TEST_F(LevelTool, APadIsReachableWhenSomePositionOfTheGirdersConnectsIt) {
    // A floor far away: unreachable.
    std::string w = Warnings(LevelText({kLift, kFloor, kGirder, {20, 5, 20, 5, 3, 1}}));
    EXPECT_NE(w.find("pad 3 cannot be reached from the lift"), std::string::npos) << w;
    // The girder's far end (x 7..9) touches a floor at x 9: reachable, and so is a second
    // girder whose path only touches that floor at its own far end.
    EXPECT_EQ(
        Warnings(LevelText({kLift, kFloor, kGirder, {9, 3, 9, 3, 2, 2}, {14, 3, 11, 3, 1, 1}})),
        "]}\n");
    // A diagonal path from (12, 0) to (16, 4): its bounding box covers the floor at (12, 3),
    // but no position on the path touches it.
    w = Warnings(
        LevelText({kLift, kFloor, {8, 4, 8, 4, 4, 1}, {12, 0, 16, 4, 1, 1}, {12, 3, 12, 3, 1, 1}}));
    EXPECT_NE(w.find("pad 3 cannot be reached"), std::string::npos) << w;
    EXPECT_EQ(w.find("pad 4 cannot be reached"), std::string::npos) << w; // the floor touches pad 2
    // The same path from (12, 4) to (16, 8) passes over a floor at (14, 6) half-way.
    EXPECT_EQ(Warnings(LevelText(
                  {kLift, kFloor, {8, 4, 8, 4, 4, 1}, {12, 4, 16, 8, 1, 1}, {14, 6, 14, 6, 1, 1}})),
              "]}\n");
    // Touching at a corner is touching.
    EXPECT_EQ(Warnings(LevelText({kLift, kFloor, kGirder, {9, 6, 9, 6, 1, 1}})), "]}\n");
}

TEST_F(LevelTool, WarnsAboutValuesTheGameReadsAsZero) {
    std::string text = LevelText({kLift, kFloor, kGirder});
    text.replace(text.find("maxx=7"), 6, "maxx=7abc");
    text.replace(text.find("[pads1]\r\nminx=3\r\n"), 17, "[pads1]\r\n");
    text += "[pads7]\r\nminx=1\r\n";
    const std::string w = Warnings(text);
    EXPECT_NE(w.find("[pads2] maxx '7abc' is not a number (reads 7)"), std::string::npos) << w;
    EXPECT_NE(w.find("[pads1] has no minx (reads 0)"), std::string::npos) << w;
    EXPECT_NE(w.find("section [pads7] lies beyond padcount (it is ignored)"), std::string::npos);

    text = LevelText({kLift, kFloor, kGirder});
    text.replace(text.find("padcount=3"), 10, "padcount=4.5");
    const std::string w2 = Warnings(text);
    EXPECT_NE(w2.find("padcount '4.5' is not a whole number"), std::string::npos) << w2;
    EXPECT_NE(w2.find("section [pads3] is missing (the pad is all zeros)"), std::string::npos);
}

} // namespace
