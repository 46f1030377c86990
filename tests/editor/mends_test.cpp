// The editor's safeguards: the start pad is never deleted, a test run plays the edited level and
// comes back to it, no change is lost without a question, and saving is at once and atomic.
#include "editor_run.h"

#include <filesystem>

namespace editor_test {
namespace {

const char* kQuick = "--no-draw --max-ms 60000";

const std::vector<FilePad> kThree = {{0, 0, 0, 0, 1, 1}, {2, 0, 2, 0, 1, 1}, {4, 0, 4, 0, 1, 1}};

TEST(EditorStartPad, DeletingTheLastPadDoesNothing) {
    GameRun game(false);
    Script s; // level 1 has no file: its start pad alone
    s.click_cell(0, 0).click_widget("bt_del").press(211).dump("one.json");
    // With two pads the start pad can go: the other one takes its place.
    s.click_widget("bt_add").click_cell(0, 3).click_widget("bt_del").dump("two.json");
    s.command("close").answer(false);
    ASSERT_EQ(game.run(s.text(), kQuick), 0);
    const std::string one = game.read("one.json");
    EXPECT_EQ(JsonNum(one, "CurrentPad"), 0);
    ASSERT_EQ(DumpPads(one).size(), 1u);
    EXPECT_EQ(DumpPads(one)[0].at("extx"), 1);
    const std::string two = game.read("two.json");
    EXPECT_EQ(DumpPads(two).size(), 1u);
}

// Level 1's girder hangs one cell off the lift; the editor moves it beside the lift, where the
// run below bolts it and rides up. Only the edited level can be solved so.
const std::vector<FilePad> kDetached = {{0, 0, 0, 0, 1, 1}, {2, 0, 2, 2, 1, 1}};
std::string Solution(int start) {
    return Press(start + 50, 205, 300) + Press(start + 360, 29, 90) + Press(start + 1500, 203, 400);
}

TEST(EditorTest, TheTestPlaysTheEditedLevelAndItsRideComesBackToTheEditor) {
    GameRun game(false);
    game.write("level1.ini", LevelText(kDetached));
    Script s;
    s.click_cell(2, 0).press(203).dump("before.json").click_widget("bt_test", 0);
    // The run starts in the frame of the release, within a wait step of it.
    const int start = s.now() + 130;
    std::string text = Solution(start);
    s.wait(1000).dump("play.json").wait(14000).dump("back.json");
    s.command("close").answer(false);
    ASSERT_EQ(game.run(s.text() + text, kQuick), 0);
    const std::string before = game.read("before.json"), play = game.read("play.json"),
                      back = game.read("back.json");
    EXPECT_EQ(JsonField(play, "Screen"), "play");
    EXPECT_EQ(JsonNum(play, "TestPlay"), 1);
    EXPECT_EQ(JsonNum(play, "Level"), 0);
    EXPECT_EQ(DumpPads(play)[1].at("minx"), 1);
    std::vector<FilePad> edited = kDetached;
    edited[1].minx = edited[1].maxx = 1;
    EXPECT_EQ(game.read("level0.ini"), LevelText(edited));
    EXPECT_EQ(game.read("level1.ini"), LevelText(kDetached));
    // The ride ended the run: back in the editor with the level as it was edited.
    EXPECT_EQ(JsonField(back, "Screen"), "editor");
    EXPECT_EQ(JsonNum(back, "GameComplete"), 1);
    EXPECT_EQ(JsonNum(back, "TestPlay"), 0);
    EXPECT_EQ(JsonNum(back, "EditLevel"), 1);
    EXPECT_EQ(JsonNum(back, "CurrentPad"), 1);
    EXPECT_EQ(JsonNum(back, "Level"), JsonNum(before, "Level"));
    EXPECT_EQ(JsonField(back, "Pads"), JsonField(before, "Pads"));
    EXPECT_EQ(DumpPads(back), DumpPads(before));
    EXPECT_EQ(GuiRows(back)["COUNT"], "46");
}

// Esc ends the test run instead of the program. (A run that ends with the last life comes back
// the same way; it takes an hour of play with the timer's reset to a thousand seconds.)
TEST(EditorTest, EscEndsTheTestAndTheEditorGoesOn) {
    GameRun game(false);
    game.write("level1.ini", LevelText(kThree));
    Script s;
    s.press(205).dump("before.json").click_widget("bt_test").wait(500).dump("play.json");
    s.press(1, 100).wait(300).dump("esc.json").command("close").answer(false);
    ASSERT_EQ(game.run(s.text(), kQuick), 0);
    EXPECT_EQ(JsonField(game.read("play.json"), "Screen"), "play");
    const std::string before = game.read("before.json"), esc = game.read("esc.json");
    EXPECT_EQ(JsonField(esc, "Screen"), "editor");
    EXPECT_EQ(JsonNum(esc, "TestPlay"), 0);
    EXPECT_EQ(JsonNum(esc, "EditLevel"), 1);
    EXPECT_EQ(JsonNum(esc, "CurrentPad"), 2);
    EXPECT_EQ(DumpPads(esc), DumpPads(before));
}

// The level has a change (pad 2 one cell right) before each way out.
Script Changed() {
    Script s;
    s.press(205);
    return s;
}

TEST(EditorQuestions, ChangingTheLevelAsksFirstYesSavesNoDiscards) {
    GameRun game(false);
    game.write("level1.ini", LevelText(kThree));
    Script s = Changed();
    s.click_widget("bt_levelup").dump("asked.json").answer(false).dump("no.json");
    // Level 2 has no changes: back to level 1 at once, as it is on disk.
    s.click_widget("bt_leveldn").dump("reloaded.json");
    s.press(205).click_widget("bt_levelup").answer(true).dump("yes.json");
    s.command("close");
    ASSERT_EQ(game.run(s.text(), kQuick), 0);
    const std::string asked = game.read("asked.json");
    EXPECT_EQ(JsonNum(asked, "EditLevel"), 1);
    EXPECT_EQ(GuiRows(asked)["bt_yesTEXT"], "Yes");
    EXPECT_EQ(GuiRows(asked)["bt_noTEXT"], "No");
    EXPECT_EQ(JsonNum(game.read("no.json"), "EditLevel"), 2);
    const std::string reloaded = game.read("reloaded.json");
    EXPECT_EQ(JsonNum(reloaded, "EditLevel"), 1);
    EXPECT_EQ(DumpPads(reloaded)[2].at("minx"), 4);
    EXPECT_EQ(JsonNum(game.read("yes.json"), "EditLevel"), 2);
    std::vector<FilePad> saved = kThree;
    saved[2].minx = saved[2].maxx = 5;
    EXPECT_EQ(game.read("level1.ini"), LevelText(saved));
}

TEST(EditorQuestions, EscAltF4AndClosingAskFirstWhenTheLevelHasChanges) {
    GameRun game(false);
    std::vector<FilePad> saved = kThree;
    saved[2].minx = saved[2].maxx = 5;
    struct Way {
        const char* name;
        std::string keys; // at the script's clock
        bool yes;
    };
    for (bool yes : {true, false}) {
        for (const char* way : {"esc", "alt+f4", "close"}) {
            SCOPED_TRACE(std::string(way) + (yes ? " yes" : " no"));
            game.write("level1.ini", LevelText(kThree));
            Script s = Changed();
            if (std::string(way) == "esc") s.press(1);
            if (std::string(way) == "alt+f4")
                s.command("key 56 down", 20).press(62).command("key 56 up");
            if (std::string(way) == "close") s.command("close");
            s.dump("asked.json").answer(yes).dump("after.json");
            ASSERT_EQ(game.run(s.text(), kQuick), 0);
            EXPECT_EQ(GuiRows(game.read("asked.json"))["bt_noTEXT"], "No");
            EXPECT_FALSE(std::filesystem::exists(game.dir() + "/after.json"));
            std::filesystem::remove(game.dir() + "/after.json");
            EXPECT_EQ(game.read("level1.ini"), LevelText(yes ? saved : kThree));
        }
    }
    // Without changes the program ends at once; so it does after a save.
    for (const char* way : {"esc", "close"}) {
        SCOPED_TRACE(way);
        Script s;
        if (std::string(way) == "esc") s.click_widget("cb_forcemap").click_widget("bt_save");
        s.command(std::string(way) == "esc" ? "key 1 down" : "close").dump("after.json");
        ASSERT_EQ(game.run(s.text(), kQuick), 0);
        EXPECT_FALSE(std::filesystem::exists(game.dir() + "/after.json"));
    }
    EXPECT_EQ(game.read("level1.ini"), LevelText(kThree, 1));
}

TEST(EditorSave, ASaveThatCannotBeWrittenSaysSo) {
    GameRun game(false);
    std::filesystem::create_directory(game.dir() + "/level1.ini");
    Script s;
    s.click_widget("bt_add").click_widget("bt_save").dump("failed.json");
    // The box stays until it is answered; the clock ends the run.
    EXPECT_EQ(game.run(s.text(), "--no-draw --max-ms 5000"), 2);
    auto rows = GuiRows(game.read("failed.json"));
    EXPECT_EQ(rows["bt_yesTEXT"], "OK");
    EXPECT_NE(rows["ID_STATIC_1TEXT"].find("level1.ini"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(game.dir() + "/level1.ini"));
}

// The program is killed at moments around its saves: the level file is always a whole level,
// the old one or a new one.
TEST(EditorSave, AKillDuringSavesLeavesTheOldFileOrTheNew) {
    GameRun game(false);
    const std::vector<FilePad> start = {{1, 1, 1, 1, 1, 1}};
    Script s;
    for (int k = 0; k < 150; ++k)
        s.click_widget("bt_add", 100).click_widget("bt_save", 100);
    game.write("script.txt", s.text());
    for (const char* delay : {"0", "0.003", "0.01", "0.03", "0.1"}) {
        SCOPED_TRACE(delay);
        game.write("level1.ini", LevelText(start));
        game.write("old.ini", LevelText(start));
        // Once the first save is on disk, wait a moment and kill.
        const std::string command =
            "cd '" + game.dir() + "' && (TMPDIR='" + game.dir() +
            "' ./steel_spree --script script.txt --no-draw --max-ms 60000 >/dev/null 2>&1 & "
            "pid=$!; while cmp -s level1.ini old.ini; do sleep 0.001; done; sleep " +
            delay + "; kill -9 $pid; wait $pid; true)";
        ASSERT_EQ(run_command(command), 0);
        const std::string text = game.read("level1.ini");
        std::vector<FilePad> pads = start;
        bool whole = false;
        for (int k = 1; k <= 150 && !whole; ++k) {
            pads.push_back({0, 0, 0, 0, 1, 1});
            whole = text == LevelText(pads);
        }
        EXPECT_TRUE(whole) << text;
    }
}

} // namespace
} // namespace editor_test

namespace editor_test {
namespace {

// From the menu: a new level 25 built from nothing, tested, saved, then played as a game.
TEST(EditorFlow, ANewLevelIsBuiltTestedSavedAndPlayed) {
    GameRun game(false);
    Script s;
    for (int k = 0; k < 24; ++k)
        s.click_widget("bt_levelup", 150);
    // The lift stays at (0, 0); a girder beside it slides two cells down.
    s.click_widget("bt_add").press(205).click_widget("bt_mxy+").click_widget("bt_mxy+");
    s.dump("built.json").click_widget("bt_test", 0);
    const std::string solution = Solution(s.now() + 130);
    s.wait(15000).dump("tested.json").click_widget("bt_save").command("close");
    ASSERT_EQ(game.run(s.text() + solution, kQuick), 0);
    const std::string built = game.read("built.json");
    EXPECT_EQ(JsonNum(built, "EditLevel"), 25);
    const std::vector<FilePad> tiny = {{0, 0, 0, 0, 1, 1}, {1, 0, 1, 2, 1, 1}};
    EXPECT_EQ(game.read("level0.ini"), LevelText(tiny));
    const std::string tested = game.read("tested.json");
    EXPECT_EQ(JsonField(tested, "Screen"), "editor");
    EXPECT_EQ(JsonNum(tested, "GameComplete"), 1);
    EXPECT_EQ(game.read("level25.ini"), LevelText(tiny));
    // The saved level plays as the last level of a game.
    ASSERT_EQ(game.run(Solution(0) + "14000 dump end.json\n14000 close\n", "--level 25 --no-draw"),
              0);
    const std::string end = game.read("end.json");
    EXPECT_EQ(JsonField(end, "Screen"), "ending");
    EXPECT_EQ(JsonNum(end, "Level"), 25);
    EXPECT_EQ(JsonNum(end, "GameComplete"), 1);
}

} // namespace
} // namespace editor_test
