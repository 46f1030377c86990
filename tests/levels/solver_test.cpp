// steel_data solve: solutions found by searching the game's rules in-process, replayed through
// the real program.
#include "game/game_run.h"
#include "levels_common.h"

#include <string>

namespace {

// A lift and a floor with a girder alongside it that slides three cells to the right.
std::string AlongsideLevel(int forcemap) {
    return "[global]\r\npadcount=3\r\nforcemap=" + std::to_string(forcemap) +
           "\r\n[pads0]\r\nminx=0\r\nminy=0\r\nmaxx=0\r\nmaxy=0\r\nextx=1\r\nexty=1\r\n"
           "[pads1]\r\nminx=1\r\nminy=0\r\nmaxx=1\r\nmaxy=0\r\nextx=6\r\nexty=1\r\n"
           "[pads2]\r\nminx=2\r\nminy=1\r\nmaxx=5\r\nmaxy=1\r\nextx=2\r\nexty=1\r\n";
}

class Solver : public ::testing::Test {
  protected:
    std::string dir_ = make_temp_dir();
    // Solves the level text with small limits; the script goes to dir/solution.txt.
    int Solve(const std::string& level, const std::string& limits, std::string* out) {
        EXPECT_TRUE(write_bytes(dir_ + "/level.ini", level));
        return RunDataTool("solve '" + dir_ + "/level.ini' -o '" + dir_ +
                               "/solution.txt' --cell 0.2 --slack 1 " + limits,
                           out);
    }
};

// The solver's frames and clock are the real program's: its script wins the level there.
TEST_F(Solver, ItsScriptWinsTheLevelInTheRealProgram) {
    std::string out;
    ASSERT_EQ(Solve(AlongsideLevel(0), "--deadline 15", &out), 0) << out;
    EXPECT_NE(out.find("\"solved\":true"), std::string::npos) << out;
    EXPECT_NE(out.find("{\"pad\":2,\"end\":\"other\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"robust\":true"), std::string::npos) << out;
    const std::string script = read_text(dir_ + "/solution.txt");
    EXPECT_NE(script.find("key 29 down"), std::string::npos);
    EXPECT_NE(script.find("dump ride.json"), std::string::npos);

    GameRun game(false);
    game.write("level1.ini", AlongsideLevel(0));
    std::string run_out;
    ASSERT_EQ(game.run(script, "--level 1 --no-draw", &run_out), 0) << run_out;
    const std::string ride = game.read("ride.json"), end = game.read("end.json");
    EXPECT_EQ(JsonNum(ride, "LevelDone"), 1);
    EXPECT_GT(JsonNum(ride, "ExitTimer"), 0);
    EXPECT_NEAR(JsonNum(ride, "TimeLeft"), JsonNum(out, "time_left"), 0.01);
    EXPECT_EQ(JsonField(end, "Screen"), "ending");
    EXPECT_EQ(JsonNum(end, "Lives"), 3);
}

TEST_F(Solver, WithForcemapEveryGirderIsBoltedAtItsStart) {
    std::string out;
    ASSERT_EQ(Solve(AlongsideLevel(1), "--deadline 20", &out), 0) << out;
    EXPECT_NE(out.find("{\"pad\":2,\"end\":\"start\""), std::string::npos) << out;
    // The girder is back at its start only after its round trip of about 11.5 s.
    EXPECT_GT(JsonNum(out, "ride_start_s"), 11);
}

TEST_F(Solver, SaysWhyItFoundNoSolution) {
    std::string out;
    // Nothing to bolt.
    EXPECT_EQ(
        Solve("[global]\npadcount=2\n[pads0]\nextx=1\nexty=1\n[pads1]\nminx=1\nmaxx=1\nextx=3\n"
              "exty=1\n",
              "", &out),
        1);
    EXPECT_NE(out.find("no movable pad"), std::string::npos) << out;
    // A girder the worker cannot reach.
    EXPECT_EQ(Solve("[global]\npadcount=2\n[pads0]\nextx=1\nexty=1\n[pads1]\nminx=10\nminy=5\n"
                    "maxx=12\nmaxy=5\nextx=2\nexty=1\n",
                    "--deadline 3", &out),
              1);
    EXPECT_NE(out.find("no solution"), std::string::npos) << out;
    // The girder returns to its start only after the deadline.
    EXPECT_EQ(Solve(AlongsideLevel(1), "--deadline 8", &out), 1);
    EXPECT_NE(out.find("{\"error\":"), std::string::npos) << out;

    EXPECT_EQ(RunDataTool("solve '" + dir_ + "/missing.ini'", &out), 1);
    EXPECT_NE(out.find("cannot read"), std::string::npos) << out;
    EXPECT_EQ(RunDataTool("solve", &out), 2);
    EXPECT_EQ(RunDataTool("solve '" + dir_ + "/level.ini' --deadline never", &out), 2);
}

} // namespace
