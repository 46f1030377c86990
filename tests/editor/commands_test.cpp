// The editing commands in scripted runs: level choice, add and save, sizes, delete, moving with
// held keys, the start pad, selection behind the dialog, the map switch and the travel's end.
#include "editor_run.h"

namespace editor_test {
namespace {

// Four pads in a row at the top: the lift, a fixed pad, a girder sliding right, a girder
// sliding down.
const std::vector<FilePad> kFour = {
    {0, 0, 0, 0, 1, 1}, {2, 0, 2, 0, 1, 1}, {4, 0, 6, 0, 1, 2}, {8, 0, 8, 3, 2, 1}};

// Logic-only runs, stopped by the clock should the editor wait for ever.
const char* kQuick = "--no-draw --max-ms 60000";

std::vector<double> Fields(const std::map<std::string, double>& pad) {
    return {pad.at("minx"), pad.at("miny"), pad.at("maxx"),
            pad.at("maxy"), pad.at("extx"), pad.at("exty")};
}
std::vector<double> Fields(const FilePad& p) {
    return {p.minx, p.miny, p.maxx, p.maxy, p.extx, p.exty};
}

TEST(EditorCommands, MinusStopsAtOnePlusAtNinetyNineAndBothReloadTheLevel) {
    GameRun game(false);
    game.write("level1.ini", LevelText(kFour));
    game.write("level2.ini", LevelText({{3, 3, 3, 3, 1, 1}, {5, 5, 5, 5, 2, 2}}));
    Script s;
    s.click_cell(0, 0).dump("selected.json");
    s.click_widget("bt_leveldn").dump("one.json");
    s.click_widget("bt_levelup").dump("two.json");
    for (int k = 0; k < 97; ++k)
        s.click_widget("bt_levelup", 150);
    s.dump("ninetynine.json").click_widget("bt_levelup").dump("still.json").command("close");
    ASSERT_EQ(game.run(s.text(), kQuick), 0);
    EXPECT_EQ(JsonNum(game.read("selected.json"), "CurrentPad"), 0);
    const std::string one = game.read("one.json");
    EXPECT_EQ(JsonNum(one, "EditLevel"), 1);
    EXPECT_EQ(JsonNum(one, "CurrentPad"), 2);
    EXPECT_EQ(DumpPads(one).size(), 4u);
    EXPECT_EQ(GuiRows(one)["st_levelTEXT"], "Level 1");
    const std::string two = game.read("two.json");
    EXPECT_EQ(JsonNum(two, "EditLevel"), 2);
    ASSERT_EQ(DumpPads(two).size(), 2u);
    EXPECT_EQ(DumpPads(two)[1].at("extx"), 2);
    EXPECT_EQ(GuiRows(two)["st_levelTEXT"], "Level 2");
    for (const char* name : {"ninetynine.json", "still.json"}) {
        const std::string d = game.read(name);
        EXPECT_EQ(JsonNum(d, "EditLevel"), 99) << name;
        EXPECT_EQ(GuiRows(d)["st_levelTEXT"], "Level 99") << name;
        // A level without a file: its start pad alone.
        EXPECT_EQ(DumpPads(d).size(), 1u) << name;
    }
}

TEST(EditorCommands, AddThenSaveWritesAOneByOnePadAtTheOriginAndHasMapTheNextSave) {
    GameRun game(false);
    const std::vector<FilePad> two = {{1, 1, 1, 1, 1, 1}, {2, 1, 5, 1, 2, 1}};
    game.write("level1.ini", LevelText(two));
    Script s;
    s.click_widget("bt_add").dump("added.json").click_widget("bt_save");
    // Level 2 has no file: its start pad, the map switch on, saved.
    s.click_widget("bt_levelup").click_widget("cb_forcemap").dump("map.json");
    s.click_widget("bt_save").command("close");
    ASSERT_EQ(game.run(s.text(), kQuick), 0);
    const std::string added = game.read("added.json");
    EXPECT_EQ(JsonNum(added, "CurrentPad"), 2);
    ASSERT_EQ(DumpPads(added).size(), 3u);
    std::vector<FilePad> three = two;
    three.push_back({0, 0, 0, 0, 1, 1});
    EXPECT_EQ(game.read("level1.ini"), LevelText(three));
    EXPECT_EQ(JsonNum(game.read("map.json"), "ForceMap"), 1);
    EXPECT_EQ(game.read("level2.ini"), LevelText({{0, 0, 0, 0, 1, 1}}, 1));
}

TEST(EditorCommands, SizesStayAtLeastOneAndTheTravelEndMovesAlone) {
    GameRun game(false);
    game.write("level1.ini",
               LevelText({{0, 0, 0, 0, 1, 1}, {2, 0, 2, 0, 1, 1}, {4, 4, 4, 4, 1, 1}}));
    Script s;
    s.click_widget("bt_szy-").click_widget("bt_szx-").dump("small.json");
    s.click_widget("bt_szy+").click_widget("bt_szy+").click_widget("bt_szx+");
    s.click_widget("bt_szy-").click_widget("bt_mxx+").click_widget("bt_mxx+");
    s.click_widget("bt_mxy-").dump("sized.json");
    s.click_widget("bt_flip").dump("flipped.json").command("close").answer(false);
    ASSERT_EQ(game.run(s.text(), kQuick), 0);
    EXPECT_EQ(Fields(DumpPads(game.read("small.json"))[2]),
              (std::vector<double>{4, 4, 4, 4, 1, 1}));
    EXPECT_EQ(Fields(DumpPads(game.read("sized.json"))[2]),
              (std::vector<double>{4, 4, 6, 3, 2, 2}));
    // Flip: the girder starts at the other end of its travel.
    EXPECT_EQ(Fields(DumpPads(game.read("flipped.json"))[2]),
              (std::vector<double>{6, 3, 4, 4, 2, 2}));
}

TEST(EditorCommands, DeletingPadOneOfFourMovesPadThreeThereAndSelectsPadTwo) {
    GameRun game(false);
    game.write("level1.ini", LevelText(kFour));
    Script s;
    s.click_cell(2, 0).click_widget("bt_del").dump("button.json");
    // The Delete key: pad 2 (the last) goes, pad 1 is selected.
    s.press(211, 300).dump("key.json").command("close").answer(false);
    ASSERT_EQ(game.run(s.text(), kQuick), 0);
    const std::string button = game.read("button.json");
    EXPECT_EQ(JsonNum(button, "CurrentPad"), 2);
    auto pads = DumpPads(button);
    ASSERT_EQ(pads.size(), 3u);
    EXPECT_EQ(Fields(pads[0]), Fields(kFour[0]));
    EXPECT_EQ(Fields(pads[1]), Fields(kFour[3]));
    EXPECT_EQ(Fields(pads[2]), Fields(kFour[2]));
    const std::string key = game.read("key.json");
    EXPECT_EQ(JsonNum(key, "CurrentPad"), 1);
    pads = DumpPads(key);
    ASSERT_EQ(pads.size(), 2u);
    EXPECT_EQ(Fields(pads[1]), Fields(kFour[3]));
}

TEST(EditorCommands, AHeldCursorKeyMovesThePadOneCellPerPress) {
    GameRun game(false);
    game.write("level1.ini", LevelText(kFour));
    Script s;
    s.press(205, 700).dump("held.json");
    s.press(205).press(208, 500).press(208).press(203).press(200).dump("moved.json");
    s.command("close").answer(false);
    ASSERT_EQ(game.run(s.text(), kQuick), 0);
    // Pad 2 is selected after entry; the whole pad moves with its travel.
    EXPECT_EQ(Fields(DumpPads(game.read("held.json"))[2]), (std::vector<double>{5, 0, 7, 0, 1, 2}));
    EXPECT_EQ(Fields(DumpPads(game.read("moved.json"))[2]),
              (std::vector<double>{5, 1, 7, 1, 1, 2}));
    EXPECT_EQ(Fields(DumpPads(game.read("moved.json"))[1]), Fields(kFour[1]));
}

TEST(EditorCommands, StartOnPadThreeMakesItAFixedOneByOneStartPad) {
    GameRun game(false);
    game.write("level1.ini", LevelText(kFour));
    Script s;
    s.click_cell(8, 0).click_widget("bt_start").dump("start.json");
    s.command("close").answer(false);
    ASSERT_EQ(game.run(s.text(), kQuick), 0);
    const std::string d = game.read("start.json");
    EXPECT_EQ(JsonNum(d, "CurrentPad"), 3);
    const auto pads = DumpPads(d);
    ASSERT_EQ(pads.size(), 4u);
    EXPECT_EQ(Fields(pads[0]), (std::vector<double>{8, 0, 8, 0, 1, 1}));
    EXPECT_EQ(Fields(pads[3]), Fields(kFour[0]));
}

// Pads under the dialog (x 520 .. 719; its box reaches y 450, its body 470): a press on the box
// does not select, a press on the body's lowest rows does.
TEST(EditorCommands, APressOnTheDialogSelectsNoPadBehindItButItsLowestRowsReachThePlan) {
    GameRun game(false);
    game.write("level1.ini", LevelText({{0, 0, 0, 0, 1, 1},
                                        {2, 0, 2, 0, 1, 1},
                                        {4, 0, 4, 0, 1, 1},
                                        {26, 22, 26, 22, 1, 1},
                                        {33, 20, 33, 20, 1, 1}}));
    Script s;
    s.click(665, 405).dump("behind.json").click(525, 445).dump("box.json");
    s.click(525, 455).dump("rows.json").click(45, 5).dump("plan.json").command("close");
    ASSERT_EQ(game.run(s.text(), kQuick), 0);
    EXPECT_EQ(JsonNum(game.read("behind.json"), "CurrentPad"), 2);
    EXPECT_EQ(JsonNum(game.read("box.json"), "CurrentPad"), 2);
    EXPECT_EQ(JsonNum(game.read("rows.json"), "CurrentPad"), 3);
    EXPECT_EQ(JsonNum(game.read("plan.json"), "CurrentPad"), 1);
}

TEST(EditorCommands, TheDialogIsDraggedByItsTitleAndResizedByItsGrip) {
    GameRun game(false);
    Script s;
    // Title strip: y 0 .. 15; grip: the body's last 20 x 20 pixels (body from y 20).
    s.drag(600, 5, 400, 105).dump("moved.json");
    s.drag(320 + 200 - 10, 100 + 20 + 450 - 10, 320 + 200 + 40, 100 + 20 + 450 - 70);
    s.dump("sized.json");
    // A press that starts on the plan does not drag the dialog.
    s.drag(100, 300, 300, 400).dump("plan.json").command("close");
    ASSERT_EQ(game.run(s.text(), kQuick), 0);
    auto moved = GuiRows(game.read("moved.json"));
    EXPECT_EQ(moved["XPOS"], "320");
    EXPECT_EQ(moved["YPOS"], "100");
    auto sized = GuiRows(game.read("sized.json"));
    EXPECT_EQ(sized["XPOS"], "320");
    EXPECT_EQ(sized["WIDTH"], "250");
    EXPECT_EQ(sized["HEIGHT"], "390");
    const std::string plan = game.read("plan.json");
    EXPECT_EQ(GuiRows(plan)["XPOS"], "320");
    EXPECT_EQ(GuiRows(plan)["YPOS"], "100");
    // The widgets went with the dialog.
    EXPECT_EQ(WidgetRect(plan, "bt_leveldn").x, EditorLayout().at("bt_leveldn").x - 200);
    EXPECT_EQ(WidgetRect(plan, "bt_leveldn").y, EditorLayout().at("bt_leveldn").y + 100);
}

} // namespace
} // namespace editor_test
