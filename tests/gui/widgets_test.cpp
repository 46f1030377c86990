// Widget sizes, click edges, layout, moving, resizing and scrolling, driven by input events.
#include "gui_fixture.h"

#include "gui/gui_internal.h"

using Widgets = GuiTest;

TEST_F(Widgets, AutomaticSizesInAnEightBySixteenFont) {
    gui_dialog_open(0, 0, 700, 500);
    gui_add_button("bt_save", "Save", 0, 0);
    gui_add_checkbox("cb_forcemap", "Has Map", 0, 0);
    gui_add_spacer(10000, 0);
    gui_add_widget("st_level", "Level 1", 0, 0);
    gui_add_widget("", "Move current", 40, 0);
    gui_add_slider("sl", 0, 0);
    gui_add_radio("rb", "a|bb|ccc", 0);
    gui_add_list("ls", "1|2|3|4|5|6|7|8|9|10", 0, 0);
    gui_add_file("fc", "", 0, 0);
    EXPECT_EQ(get("bt_saveWIDTH"), "40");
    EXPECT_EQ(get("bt_saveHEIGHT"), "20");
    EXPECT_EQ(get("cb_forcemapWIDTH"), "80");
    EXPECT_EQ(get("cb_forcemapHEIGHT"), "22");
    EXPECT_EQ(get("ID_SPACER_2WIDTH"), "10000");
    EXPECT_EQ(get("ID_SPACER_2HEIGHT"), "0");
    EXPECT_EQ(get("st_levelWIDTH"), "64");
    EXPECT_EQ(get("ID5"), "ID_STATIC_5");
    EXPECT_EQ(get("slWIDTH"), "100");
    EXPECT_EQ(get("slHEIGHT"), "16");
    EXPECT_EQ(get("slTEXT"), "0");
    EXPECT_EQ(get("rbWIDTH"), "48");
    EXPECT_EQ(get("rbHEIGHT"), "48");
    EXPECT_EQ(get("lsHEIGHT"), "68");
    EXPECT_EQ(get("lsCOUNT"), "10");
    EXPECT_EQ(get("fcWIDTH"), "96");
    EXPECT_EQ(get("COUNT"), "9");
    show();
    EXPECT_EQ(get("st_levelHEIGHT"), "16");       // one line after its first update
    EXPECT_EQ(get("ID_STATIC_5HEIGHT"), "32");    // "Move " / "current"
    EXPECT_EQ(get("st_levelHOVER"), "0");
}

TEST_F(Widgets, SpriteButtonsTakeTheSpriteSizePlusFour) {
    set_viewport(0, 0, 0, 0);
    draw_rect(0, 0, 29, 9, 255);
    grab_sprite(12, 0, 0, 30, 10);
    draw_rect(0, 0, 11, 19, 255);
    grab_sprite(13, 0, 0, 12, 20);
    gui_dialog_open(0, 0, 700, 500);
    gui_add_button("bt_spr", "SPR_B12", 0, 0);
    EXPECT_EQ(get("bt_sprWIDTH"), "34");
    EXPECT_EQ(get("bt_sprHEIGHT"), "14");
    gui_add_button("bt_none", "SPR_Bxyz", 0, 0); // slot 0, empty: 0 x 0 plus 4
    EXPECT_EQ(get("bt_noneWIDTH"), "4");
    RtArray<RtString> ids;
    RtArray<double> slots;
    dim(ids, 2);
    dim(slots, 3);
    at(ids, 0) = "sp_a";
    at(ids, 1) = "sp_b";
    at(slots, 0) = 12;
    at(slots, 1) = 13;
    at(slots, 2) = 12;
    gui_add_sprite_buttons(ids, slots); // two buttons (the shorter array), then a line break
    EXPECT_EQ(get("sp_aWIDTH"), "30");
    EXPECT_EQ(get("sp_aHEIGHT"), "20");
    EXPECT_EQ(get("sp_bTEXT"), "SPR_B13");
    EXPECT_EQ(get("COUNT"), "5");
    EXPECT_EQ(get("ID5"), "ID_SPACER_4");
}

TEST_F(Widgets, ClickEdgesPressAndReleaseInsideOrOutside) {
    gui_dialog_open(100, 100, 300, 200);
    gui_add_button("bt_save", "Save", 0, 0);
    show();
    const GuiWidgetBox b = rect("bt_save");
    EXPECT_EQ(b.x, 105);
    EXPECT_EQ(b.y, 105);
    const int in_x = int(b.x) + 5, in_y = int(b.y) + 5;

    // Pressed and released over it: "1" for exactly one frame.
    move(in_x, in_y);
    button(true);
    show();
    EXPECT_EQ(get("bt_saveCLICKED"), "0");
    EXPECT_EQ(get("bt_saveHOVER"), "1");
    button(false);
    show();
    EXPECT_EQ(get("bt_saveCLICKED"), "1");
    show();
    EXPECT_EQ(get("bt_saveCLICKED"), "0");

    // Pressed on it, released elsewhere: nothing.
    button(true);
    show();
    move(350, 250);
    button(false);
    show();
    EXPECT_EQ(get("bt_saveCLICKED"), "0");
    EXPECT_EQ(get("bt_saveHOVER"), "0");

    // Pressed elsewhere, released over it: a click.
    button(true);
    show();
    move(in_x, in_y);
    button(false);
    show();
    EXPECT_EQ(get("bt_saveCLICKED"), "1");
}

TEST_F(Widgets, CheckboxTogglesAtEveryClick) {
    gui_dialog_open(0, 0, 300, 200);
    gui_add_checkbox("cb_map", "Has Map", 0, 0);
    show();
    EXPECT_EQ(get("cb_mapCHECKED"), "");
    click(10, 10);
    EXPECT_EQ(get("cb_mapCHECKED"), "1");
    EXPECT_EQ(get("cb_mapCLICKED"), "1");
    click(10, 10);
    EXPECT_EQ(get("cb_mapCHECKED"), "0");
    EXPECT_EQ(get("cb_mapCLICKED"), "1"); // never cleared by the checkbox
}

TEST_F(Widgets, RowsWrapAndASpacerEndsTheRow) {
    gui_dialog_open(0, 0, 200, 300);
    gui_add_button("a", "Add", 0, 0);
    gui_add_button("b", "Del", 0, 0);
    gui_add_button("c", "Flip", 0, 0);
    gui_add_spacer(10000, 0);
    gui_add_button("d", "Save", 0, 0);
    gui_add_button("e", "Save", 0, 0);
    gui_add_button("f", "Very long button", 0, 0); // 136 wide: no room after two of 40
    show();
    EXPECT_EQ(rect("a").x, 5);
    EXPECT_EQ(rect("b").x, 5 + 32 + 2);
    EXPECT_EQ(rect("c").x, 5 + 32 + 2 + 32 + 2);
    EXPECT_EQ(rect("d").x, 5);
    EXPECT_EQ(rect("d").y, 5 + 20 + 2 + 0 + 2);
    EXPECT_EQ(rect("e").x, 5 + 40 + 2);
    EXPECT_EQ(rect("f").x, 5);
    EXPECT_EQ(rect("f").y, rect("d").y + 22);
    EXPECT_EQ(get("REALHEIGHT"), std::to_string(int(rect("f").y) + 2 + 20));
}

TEST_F(Widgets, DraggingTheTitleBarMovesTheDialogButNeverBelowZero) {
    gui_dialog_open(100, 100, 200, 150);
    gui_set("MOVEABLE", "1");
    gui_add_button("bt", "Save", 0, 0);
    move(150, 105); // inside the title strip
    show();
    EXPECT_EQ(rect("bt").y, 100 + 16 + 4 + 5); // the body lies below the bar
    button(true);
    show();
    move(170, 125);
    show();
    EXPECT_EQ(get("MOVING"), "1");
    EXPECT_EQ(get("XPOS"), "120");
    EXPECT_EQ(get("YPOS"), "120");
    move(20, 5); // far up and left: held at 0
    show();
    EXPECT_EQ(get("XPOS"), "0");
    EXPECT_EQ(get("YPOS"), "0");
    button(false);
    show();
    EXPECT_EQ(get("MOVING"), "0");
    // A press outside the strip starts no drag.
    move(100, 100);
    button(true);
    show();
    move(200, 200);
    show();
    EXPECT_EQ(get("XPOS"), "0");
    button(false);
    show();
}

TEST_F(Widgets, TheGripResizesTheDialog) {
    gui_dialog_open(100, 100, 200, 150);
    gui_set("SCALEABLE", "1");
    move(295, 245); // in the grip box at the bottom-right corner
    show();
    button(true);
    show();
    move(315, 275);
    show();
    EXPECT_EQ(get("SCALING"), "1");
    EXPECT_EQ(get("WIDTH"), "220");
    EXPECT_EQ(get("HEIGHT"), "180");
    button(false);
    show();
    EXPECT_EQ(get("SCALING"), "0");
}

TEST_F(Widgets, TallContentGetsTheDialogScrollBarAndLessRoom) {
    gui_dialog_open(100, 100, 200, 100); // content area 190 x 90 at (105, 105)
    gui_add_button("wide1", "", 90, 0);
    gui_add_button("wide2", "", 96, 0); // 90 + 2 + 96 fits 190, not 190 - 12
    gui_add_spacer(10000, 0);
    for (int i = 0; i < 6; ++i) {
        gui_add_button("b" + str_from_number(i), "Button", 0, 0);
        gui_add_spacer(10000, 0);
    }
    // The first frame knows no content height yet: no bar. Its content is 5 + 7 rows of 20 + 2
    // + 2 high, which is what gui_show returns.
    const double real = 5 + 7 * 24 - 2 + 2;
    EXPECT_EQ(show(), real);
    EXPECT_EQ(get("SCROLLMAX"), "0");
    EXPECT_EQ(rect("wide2").y, 105);
    EXPECT_EQ(show(), real + 22); // the wrapped button makes one row more
    // The bar takes 1.5 glyph widths of room: the second wide button wraps.
    EXPECT_EQ(get("SCROLLMAX"), str_from_number(std::ceil((real - 90) / 32)).str());
    EXPECT_EQ(rect("wide2").x, 105);
    EXPECT_EQ(rect("wide2").y, 105 + 22);
    // The down arrow at the bottom of the bar (bar height 90 - 2 * 16): two lines per click.
    click(290, 105 + 58 - 4);
    EXPECT_EQ(get("SCROLL"), "1");
    show();
    EXPECT_EQ(rect("wide2").y, 105 + 22 - 32);
    EXPECT_FALSE(gui_widget_boxes()[0].drawn); // scrolled out at the top: not drawn
    // Dragging in the track far down stops at the last step.
    move(290, 105 + 40);
    button(true);
    show();
    button(false);
    show();
    EXPECT_LE(gui_get_number("SCROLL"), gui_get_number("SCROLLMAX"));
    EXPECT_GT(gui_get_number("SCROLL"), 1);
}

TEST_F(Widgets, MessageBoxGeometryOnWideAndNarrowScreens) {
    gui::message_box_open("Save the level?", 1);
    EXPECT_EQ(gui_dialog_depth(), 1);
    EXPECT_NEAR(gui_get_number("XPOS"), (800 - 800.0 / 3) * 0.5, 1e-6);
    EXPECT_EQ(get("YPOS"), "150");
    EXPECT_NEAR(gui_get_number("WIDTH"), 800.0 / 3, 1e-6);
    EXPECT_EQ(get("HEIGHT"), "150");
    EXPECT_EQ(get("TEXT"), "!?");
    EXPECT_EQ(get("MOVABLE"), "1");
    EXPECT_EQ(get("bt_yesTEXT"), "Yes");
    EXPECT_EQ(get("bt_noTEXT"), "No");
    EXPECT_NEAR(gui_get_number("ID_STATIC_1WIDTH"), 800.0 / 3 - 16, 1e-6);
    gui_dialog_close();

    frame.settings.width = 400;
    frame.settings.height = 300;
    gui::message_box_open("Done", 0);
    EXPECT_EQ(get("WIDTH"), "148");
    EXPECT_EQ(get("XPOS"), "126");
    EXPECT_EQ(get("YPOS"), "75");
    EXPECT_EQ(get("bt_yesTEXT"), "OK");
    EXPECT_EQ(get("bt_noTEXT"), "");
}
