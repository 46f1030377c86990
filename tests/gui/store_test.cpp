// The property store and the dialog stack.
#include "gui_fixture.h"

#include <vector>

namespace {

std::vector<std::string> keys() {
    std::vector<std::string> out;
    for (const PropertyRow& row : gui_store().rows)
        out.push_back(row.key.str());
    return out;
}

} // namespace

using Store = GuiTest;

TEST_F(Store, RowsStaySortedByteWiseWithUniqueKeys) {
    gui_set("bt_saveCLICKED", "1");
    gui_set("COUNT", "3");
    gui_set("ID2", "b");
    gui_set("ID10", "j");
    gui_set("ID1", "a");
    gui_set("COUNT", "4"); // an existing key keeps its one row
    EXPECT_EQ(keys(), (std::vector<std::string>{"COUNT", "ID1", "ID10", "ID2", "bt_saveCLICKED"}));
    EXPECT_EQ(get("COUNT"), "4");
    EXPECT_EQ(gui_find_key("ID10", 0), 2);
    EXPECT_EQ(gui_find_key("ID3", 0), -1);
    EXPECT_EQ(gui_find_key("ID3", 1), 4); // inserted at its sorted place, value empty
    EXPECT_EQ(get("ID3"), "");
    EXPECT_EQ(keys().size(), 6u);
}

TEST_F(Store, GetNeverCreatesAndAbsentReadsAsEmptyAndZero) {
    gui_set("A", "x");
    EXPECT_EQ(get("nothing"), "");
    EXPECT_EQ(gui_get_number("nothing"), 0);
    EXPECT_EQ(gui_get_number("A"), 0);
    EXPECT_EQ(keys().size(), 1u);
    gui_set_clicked("bt_x", 1);
    EXPECT_EQ(get("bt_xCLICKED"), "1");
    gui_set_clicked("bt_x", 2);
    EXPECT_EQ(get("bt_xCLICKED"), "0");
}

// "ID10" sorts before "ID2", yet the tenth widget is still the tenth in the layout.
TEST_F(Store, ByteOrderOfKeysDoesNotChangeTheWidgetOrder) {
    gui_dialog_open(0, 0, 700, 500);
    for (int i = 1; i <= 12; ++i)
        gui_add_button("b" + str_from_number(i), "B", 0, 0);
    show();
    const std::vector<GuiWidgetBox>& boxes = gui_widget_boxes();
    ASSERT_EQ(boxes.size(), 12u);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(boxes[size_t(i)].id.str(), "b" + std::to_string(i + 1));
    EXPECT_LT(boxes[8].x, boxes[9].x); // b9 left of b10
    EXPECT_EQ(get("ID10"), "b10");
}

TEST_F(Store, OpenClampsToTheScreenAndClearKeepsTheGeometry) {
    gui_dialog_open(900, 700, 300, 300);
    EXPECT_EQ(get("XPOS"), "799");
    EXPECT_EQ(get("YPOS"), "599");
    gui_dialog_open(600, 500, 300, 300);
    EXPECT_EQ(get("WIDTH"), "200");
    EXPECT_EQ(get("HEIGHT"), "100");
    EXPECT_EQ(get("COL_BRIGHT"), "16773360");
    EXPECT_EQ(get("COL_NORM"), "9470080");
    EXPECT_EQ(get("COL_HOVER_BRIGHT"), "16769168");
    EXPECT_EQ(get("COL_HOVER_NORM"), "16744496");
    gui_set("TEXT", "x");
    gui_add_button("bt_a", "A", 0, 0);
    gui_dialog_clear();
    EXPECT_EQ(keys(), (std::vector<std::string>{"COL_BRIGHT", "COL_HOVER_BRIGHT", "COL_HOVER_NORM",
                                                "COL_NORM", "HEIGHT", "WIDTH", "XPOS", "YPOS"}));
    EXPECT_EQ(get("XPOS"), "600");
    EXPECT_EQ(gui_dialog_depth(), 2);
}

TEST_F(Store, ClosingADialogRestoresEveryRowOfTheOneBelow) {
    gui_dialog_open(10, 10, 300, 200);
    gui_add_button("bt_save", "Save", 0, 0);
    gui_add_checkbox("cb_map", "Has Map", 0, 0);
    gui_set("cb_mapCHECKED", "1");
    gui_set("zz_last", "kept"); // the last row in key order
    move(20, 20);
    show();
    std::vector<PropertyRow> before = gui_store().rows;
    gui_dialog_open(100, 100, 200, 100);
    gui_add_button("bt_other", "Other", 0, 0);
    show();
    EXPECT_EQ(gui_dialog_depth(), 2);
    gui_dialog_close();
    EXPECT_EQ(gui_dialog_depth(), 1);
    const std::vector<PropertyRow>& after = gui_store().rows;
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].key, before[i].key);
        // Closing resets hover and click states and nothing else.
        if (after[i].key.view().ends_with("HOVER") || after[i].key.view().ends_with("CLICKED"))
            continue;
        EXPECT_EQ(after[i].value, before[i].value) << after[i].key.str();
    }
    EXPECT_EQ(get("zz_last"), "kept");
    gui_dialog_close();
    gui_dialog_close(); // an empty stack leaves an empty store
    EXPECT_TRUE(gui_store().rows.empty());
}

TEST_F(Store, SwapExchangesTheActiveDialogWithTheTopSavedOne) {
    gui_dialog_open(0, 0, 100, 100);
    gui_set("TEXT", "first");
    gui_dialog_open(50, 50, 100, 100);
    gui_set("TEXT", "second");
    gui_dialog_swap();
    EXPECT_EQ(get("TEXT"), "first");
    EXPECT_EQ(gui_dialog_depth(), 2);
    gui_dialog_swap();
    EXPECT_EQ(get("TEXT"), "second");
}
