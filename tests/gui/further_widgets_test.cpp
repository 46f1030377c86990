// Slider, radio group, list and editable text, driven by input events.
#include "gui_fixture.h"

using Further = GuiTest;

TEST_F(Further, SliderHeldNearEitherEndStoresOneOrZero) {
    gui_dialog_open(0, 0, 300, 200);
    gui_add_slider("sl", 100, 0); // at (5, 5)
    show();
    move(5 + 96, 5 + 8);
    button(true);
    show();
    EXPECT_EQ(get("slTEXT"), "1.00");
    EXPECT_EQ(get("slCLICKED"), "-1");
    move(5 + 3, 5 + 8);
    show();
    EXPECT_EQ(get("slTEXT"), "0.00");
    EXPECT_EQ(get("slCLICKED"), "0");
    move(5 + 50, 5 + 8);
    show();
    EXPECT_EQ(get("slTEXT"), "0.49"); // (50 - 5) / 91
    button(false);
    show();
    EXPECT_EQ(get("slCLICKED"), "1");
    move(5 + 90, 5 + 8); // not held: no change
    show();
    EXPECT_EQ(get("slTEXT"), "0.49");
}

TEST_F(Further, RadioGroupSelectsTheClickedLineForOneFrame) {
    gui_dialog_open(0, 0, 300, 200);
    gui_add_radio("rb", "Easy|Normal|Hard", 0);
    EXPECT_EQ(get("rbHEIGHT"), "48");
    show();
    move(10, 5 + 20); // the second line
    show();
    EXPECT_EQ(get("rbHOVER"), "1");
    click(10, 5 + 20);
    EXPECT_EQ(get("rbSELECT"), "1");
    EXPECT_EQ(get("rbCLICKED"), "1");
    show();
    EXPECT_EQ(get("rbCLICKED"), "0");
    EXPECT_EQ(gui_get_item("rb", -1).str(), "Normal");
    click(10, 5 + 20); // the same line again: no change
    EXPECT_EQ(get("rbCLICKED"), "0");
    move(200, 150);
    show();
    EXPECT_EQ(get("rbHOVER"), "-1");
}

TEST_F(Further, ListScrollsWithItsBarAndSelectsUnderTheScroll) {
    gui_dialog_open(0, 0, 300, 200);
    gui_add_list("ls", "1|2|3|4|5|6|7|8|9|10", 0, 0); // 40 x 68 at (5, 5)
    show();
    EXPECT_EQ(get("lsSCROLLMAX"), "6");
    EXPECT_EQ(get("lsSELECT"), ""); // reads as the first item
    // The bar's bottom arrow (column 28..39, arrow from y 52).
    click(5 + 34, 5 + 60);
    EXPECT_EQ(get("lsSCROLL"), "1");
    for (int i = 0; i < 8; ++i)
        click(5 + 34, 5 + 60);
    EXPECT_EQ(get("lsSCROLL"), "6"); // never past the maximum
    click(5 + 34, 5 + 4); // the top arrow
    EXPECT_EQ(get("lsSCROLL"), "5");
    // The first visible row is item 5.
    click(5 + 10, 5 + 8);
    EXPECT_EQ(get("lsSELECT"), "5");
    EXPECT_EQ(get("lsCLICKED"), "1");
    EXPECT_EQ(gui_get_item("ls", -1).str(), "6");
    show();
    EXPECT_EQ(get("lsCLICKED"), "0");
}

TEST_F(Further, ItemHelpersInsertAndKeepTheChoice) {
    gui_dialog_open(0, 0, 300, 200);
    gui_add_list("ls", "a|b|c", 0, 0);
    gui_set("lsSELECT", "1");
    gui_insert_item("ls", "", 0);
    EXPECT_EQ(get("lsTEXT"), "<null>|a|b|c");
    EXPECT_EQ(get("lsCOUNT"), "4");
    EXPECT_EQ(get("lsSELECT"), "2");
    EXPECT_EQ(gui_get_item("ls", -1).str(), "b");
    gui_insert_item("ls", "z", 99);
    EXPECT_EQ(get("lsTEXT"), "<null>|a|b|c|z");
    EXPECT_EQ(get("lsSELECT"), "2");
    EXPECT_EQ(gui_get_item("ls", 9).str(), "");
    gui_add_radio("rb", "", 0);
    EXPECT_EQ(get("rbSELECT"), "-1");
    EXPECT_EQ(gui_get_item("rb", -1).str(), "");
}

class TextField : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        gui_dialog_open(0, 0, 400, 200);
        gui_add_text_field("tx", "Worker", 200, 0); // at (5, 5)
        gui_add_text_field("ty", "Other", 100, 0);  // at (207, 5)
        show();
    }
    // A key pressed in one frame and released in the next, then a pause past the repeat.
    static void press(int code) {
        key(code, true);
        show();
        key(code, false);
        show();
        frame.virtual_now += 200;
    }
    static std::string text() { return get("txTEXT"); }
    static std::string sel() { return get("txSELSTART") + "," + get("txSELEND"); }
};

TEST_F(TextField, ClickFocusesAndPlacesTheCaretThenTypingInsertsAtIt) {
    press(30); // no focus yet: nothing typed
    EXPECT_EQ(text(), "Worker");
    click(5 + 2, 5 + 5);
    EXPECT_EQ(get("FOCUS"), "tx");
    EXPECT_EQ(sel(), "0,0");
    press(30);
    EXPECT_EQ(text(), "aWorker");
    EXPECT_EQ(sel(), "1,1");
    press(205); // cursor right
    EXPECT_EQ(sel(), "2,2");
    press(48); // b
    EXPECT_EQ(text(), "aWborker");
    EXPECT_EQ(sel(), "3,3");
    press(14); // Backspace
    EXPECT_EQ(text(), "aWorker");
    EXPECT_EQ(sel(), "2,2");
    press(211); // Delete
    EXPECT_EQ(text(), "aWrker");
    EXPECT_EQ(sel(), "2,2");
    click(300, 150); // elsewhere in the dialog: the focus stays
    press(30);
    EXPECT_EQ(text(), "aWarker");
}

TEST_F(TextField, ShiftExtendsTheSelectionAndBackspaceRemovesOnlyIt) {
    click(5 + 2, 5 + 5);
    key(42, true); // Shift held
    press(205);
    press(205);
    EXPECT_EQ(sel(), "0,2");
    key(42, false);
    show();
    press(14);
    EXPECT_EQ(text(), "rker");
    EXPECT_EQ(sel(), "0,0");
    // Typing over a selection replaces it.
    key(42, true);
    press(205);
    key(42, false);
    show();
    press(31); // s
    EXPECT_EQ(text(), "sker");
    // The caret never leaves the text.
    for (int i = 0; i < 6; ++i)
        press(203);
    EXPECT_EQ(sel(), "0,0");
    press(14);
    EXPECT_EQ(text(), "sker");
}

TEST_F(TextField, AHeldCursorKeyRepeatsAfterAPause) {
    click(5 + 2, 5 + 5);
    key(205, true);
    show(); // moves once
    EXPECT_EQ(sel(), "1,1");
    show(); // 20 ms later: held, no repeat yet
    show();
    EXPECT_EQ(sel(), "1,1");
    frame.virtual_now += 150;
    show();
    EXPECT_EQ(sel(), "2,2");
    key(205, false);
    show();
}

TEST_F(TextField, OnlyTheFocusedFieldTakesKeys) {
    click(5 + 2, 5 + 5);
    click(207 + 2, 5 + 5);
    EXPECT_EQ(get("FOCUS"), "ty");
    move(5 + 20, 5 + 5); // the mouse back over the other field
    show();
    press(30);
    EXPECT_EQ(get("tyTEXT"), "aOther");
    EXPECT_EQ(text(), "Worker");
}

TEST_F(TextField, DraggingSelectsFromPressToRelease) {
    move(5 + 2, 5 + 5);
    button(true);
    show();
    move(5 + 4 + 8 * 4, 5 + 5);
    show();
    button(false);
    show();
    EXPECT_EQ(get("txSELSTART"), "0");
    EXPECT_GT(gui_get_number("txSELEND"), 1);
    EXPECT_LE(gui_get_number("txSELEND"), 4);
}
