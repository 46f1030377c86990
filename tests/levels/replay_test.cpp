// Every shipped level is won by its solution (data/levels/solutions), replayed through the real
// program as a `--level N` scripted run: the ride starts with no life lost (levels 1 to 10
// within their first minute), and the next level, or after the last one the ending, follows.
#include "game/game_run.h"
#include "levels_common.h"

#include <string>

namespace {

class LevelReplay : public ::testing::TestWithParam<int> {};

TEST_P(LevelReplay, SolutionRidesTheLiftAndTheNextLevelFollows) {
    const int n = GetParam();
    const std::string script = SolutionScript(n);
    ASSERT_FALSE(script.empty()) << "no solution for level " << n;
    GameRun game;
    std::string out;
    ASSERT_EQ(game.run(script, "--level " + std::to_string(n) + " --no-draw", &out), 0) << out;

    // Half a second into the ride: the level solved, the lift moving, nothing counted yet.
    const std::string ride = game.read("ride.json");
    ASSERT_FALSE(ride.empty()) << "the solution has no ride dump";
    EXPECT_EQ(JsonField(ride, "Screen"), "play");
    EXPECT_EQ(JsonNum(ride, "Level"), n);
    EXPECT_EQ(JsonNum(ride, "TimerOption"), 1);
    EXPECT_EQ(JsonNum(ride, "LevelDone"), 1);
    EXPECT_GT(JsonNum(ride, "ExitTimer"), 0);
    EXPECT_LT(JsonNum(ride, "ExitTimer"), 2); // the time count starts at 2
    EXPECT_EQ(JsonNum(ride, "Lives"), 3);
    EXPECT_GT(JsonNum(ride, "TimeLeft"), n <= kFirstMinuteLevels ? 60 : 0);

    const std::string end = game.read("end.json");
    ASSERT_FALSE(end.empty()) << "the solution has no end dump";
    EXPECT_EQ(JsonNum(end, "Lives"), 3);
    if (n < kLevelCount) {
        EXPECT_EQ(JsonField(end, "Screen"), "play");
        EXPECT_EQ(JsonNum(end, "Level"), n + 1);
        EXPECT_EQ(JsonNum(end, "LevelDone"), 0);
        EXPECT_EQ(JsonNum(end, "ExitTimer"), 0);
    } else {
        EXPECT_EQ(JsonField(end, "Screen"), "ending");
        EXPECT_EQ(JsonNum(end, "GameComplete"), 1);
        EXPECT_EQ(JsonNum(end, "Level"), n);
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, LevelReplay, ::testing::Range(1, kLevelCount + 1),
                         [](const auto& info) { return "Level" + std::to_string(info.param); });

// The solution up to its ride dump, with a dump half-way through play, then the end.
std::string UpToTheRide(const std::string& solution) {
    std::string script, line;
    double ride_ms = -1;
    for (size_t at = 0; at < solution.size();) {
        size_t nl = solution.find('\n', at);
        if (nl == std::string::npos) nl = solution.size();
        line = solution.substr(at, nl - at);
        at = nl + 1;
        if (line.find("dump ride.json") != std::string::npos) ride_ms = std::stod(line);
        if (line.find("dump end.json") != std::string::npos ||
            line.find(" close") != std::string::npos)
            continue;
        script += line + "\n";
    }
    if (ride_ms < 0) return "";
    return script + std::to_string(ride_ms / 2) + " dump mid.json\n" + std::to_string(ride_ms) +
           " close\n";
}

// The rules run alike whether or not the scene is drawn: the same dumps, to the last digit.
class DrawnReplay : public ::testing::TestWithParam<int> {};

TEST_P(DrawnReplay, DrawnAndUndrawnRunsDumpTheSameState) {
    const int n = GetParam();
    const std::string script = UpToTheRide(SolutionScript(n));
    ASSERT_FALSE(script.empty());
    GameRun game;
    const std::string level = "--level " + std::to_string(n);
    std::string out;
    ASSERT_EQ(game.run(script, level, &out), 0) << out;
    const std::string drawn_mid = game.read("mid.json"), drawn_ride = game.read("ride.json");
    ASSERT_EQ(game.run(script, level + " --no-draw", &out), 0) << out;
    EXPECT_EQ(game.read("mid.json"), drawn_mid);
    EXPECT_EQ(game.read("ride.json"), drawn_ride);
    EXPECT_EQ(JsonNum(drawn_ride, "LevelDone"), 1);
    EXPECT_GT(JsonNum(drawn_ride, "ExitTimer"), 0);
}

INSTANTIATE_TEST_SUITE_P(Shipped, DrawnReplay, ::testing::Values(1, 2, 3),
                         [](const auto& info) { return "Level" + std::to_string(info.param); });

} // namespace
