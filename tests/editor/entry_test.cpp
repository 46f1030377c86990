// The editor as the menu's F5 opens it: its dialog, its state dump and its plan, checked by
// pixels of a screenshot at places computed from the pads.
#include "editor_run.h"

namespace editor_test {
namespace {

TEST(EditorEntry, TheDialogHoldsTheFortySixWidgetsInOrderWithTheirTexts) {
    const std::string& dump = EditorLayout().editor;
    EXPECT_EQ(JsonField(dump, "Screen"), "editor");
    EXPECT_EQ(JsonNum(dump, "EditLevel"), 1);
    EXPECT_EQ(JsonNum(dump, "CurrentPad"), 2);
    auto rows = GuiRows(dump);
    // 0.65, 0.25 and 0.75 of the 800 x 600 screen; moved and resized by the user.
    EXPECT_EQ(rows["XPOS"], "520");
    EXPECT_EQ(rows["YPOS"], "0");
    EXPECT_EQ(rows["WIDTH"], "200");
    EXPECT_EQ(rows["HEIGHT"], "450");
    EXPECT_EQ(rows["SCALEABLE"], "1");
    EXPECT_EQ(rows["MOVEABLE"], "1");
    ASSERT_EQ(rows["COUNT"], "46");
    // identifier (or type of a generated one), type, text
    const char* expected[46][3] = {
        {"bt_leveldn", "BUTTON", "-"},
        {"st_level", "WIDGET", "Level 1"},
        {"bt_levelup", "BUTTON", "+"},
        {"", "SPACER", ""},
        {"bt_add", "BUTTON", "Add"},
        {"bt_del", "BUTTON", "Del"},
        {"bt_start", "BUTTON", "Start"},
        {"bt_flip", "BUTTON", "Flip"},
        {"", "SPACER", ""},
        {"bt_test", "BUTTON", "-TEST-"},
        {"bt_save", "BUTTON", "Save"},
        {"", "SPACER", ""},
        {"cb_forcemap", "CHECKBOX", "Has Map"},
        {"", "SPACER", ""},
        {"", "WIDGET", "Move current"},
        {"", "SPACER", ""},
        {"", "SPACER", ""},
        {"bt_mvup", "BUTTON", "^"},
        {"", "SPACER", ""},
        {"bt_mvleft", "BUTTON", "<-"},
        {"bt_mvright", "BUTTON", "->"},
        {"", "SPACER", ""},
        {"", "SPACER", ""},
        {"bt_mvdown", "BUTTON", "v"},
        {"", "SPACER", ""},
        {"", "WIDGET", "Size current"},
        {"", "SPACER", ""},
        {"", "SPACER", ""},
        {"bt_szy-", "BUTTON", "smaller"},
        {"", "SPACER", ""},
        {"bt_szx-", "BUTTON", "-> <-"},
        {"bt_szx+", "BUTTON", "<- ->"},
        {"", "SPACER", ""},
        {"", "SPACER", ""},
        {"bt_szy+", "BUTTON", "bigger"},
        {"", "SPACER", ""},
        {"", "WIDGET", "Current move"},
        {"", "SPACER", ""},
        {"", "SPACER", ""},
        {"bt_mxy-", "BUTTON", "^"},
        {"", "SPACER", ""},
        {"bt_mxx-", "BUTTON", "<-"},
        {"bt_mxx+", "BUTTON", "->"},
        {"", "SPACER", ""},
        {"", "SPACER", ""},
        {"bt_mxy+", "BUTTON", "v"},
    };
    // The narrow spacers indent the single arrow buttons by 2 glyphs ("bigger" by 2.5).
    const double fw = std::stod(rows["bt_saveWIDTH"]) / 5; // "Save" + 1 glyph
    const std::map<int, double> narrow = {{17, 2 * fw},   {23, 2 * fw}, {28, 2 * fw},
                                          {34, 2.5 * fw}, {39, 2 * fw}, {45, 2 * fw}};
    for (int n = 1; n <= 46; ++n) {
        const auto& e = expected[n - 1];
        const std::string id = rows["ID" + std::to_string(n)];
        SCOPED_TRACE("widget " + std::to_string(n) + " " + id);
        if (e[0][0] != 0)
            EXPECT_EQ(id, e[0]);
        else if (std::string(e[1]) == "SPACER")
            EXPECT_EQ(id, "ID_SPACER_" + std::to_string(n - 1));
        else
            EXPECT_EQ(id, "ID_STATIC_" + std::to_string(n));
        EXPECT_EQ(rows[id + "TYPE"], e[1]);
        EXPECT_EQ(rows[id + "TEXT"], e[2]);
        if (std::string(e[1]) == "SPACER") {
            EXPECT_EQ(rows[id + "HEIGHT"], "0");
            const double width = narrow.count(n) ? narrow.at(n) : 10000;
            EXPECT_EQ(std::stod(rows[id + "WIDTH"]), width);
        }
    }
    EXPECT_EQ(rows["cb_forcemapCHECKED"], "0");
    // Every widget has its box in the dump, in layout order; the arrows form crosses.
    const auto boxes = WidgetBoxes(dump);
    ASSERT_EQ(boxes.size(), 46u);
    EXPECT_EQ(boxes[0].first, "bt_leveldn");
    EXPECT_EQ(boxes[45].first, "bt_mxy+");
    const Rect up = WidgetRect(dump, "bt_mvup"), left = WidgetRect(dump, "bt_mvleft"),
               right = WidgetRect(dump, "bt_mvright"), down = WidgetRect(dump, "bt_mvdown");
    EXPECT_LT(up.y + up.h, left.y);
    EXPECT_EQ(left.y, right.y);
    EXPECT_LT(left.y + left.h, down.y);
    EXPECT_EQ(up.x, down.x);
    EXPECT_GT(up.x, left.x);
    EXPECT_LT(up.x + up.w, right.x + right.w);
    // The body starts one title bar (glyph height + 4) below YPOS.
    EXPECT_GT(WidgetRect(dump, "bt_leveldn").y, 20);
}

constexpr uint32_t kBlack = 0x000000, kWhite = 0xffffff;
constexpr uint32_t kFixedBorder = 0x80ff80, kFixedFill = 0x00ff80;
constexpr uint32_t kSelected = 0xffff40, kMarker = 0xff6060;

// Channels within `tolerance` of each other.
::testing::AssertionResult Near(uint32_t got, uint32_t want, int tolerance = 2) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = int(got >> shift & 255), b = int(want >> shift & 255);
        if (std::abs(a - b) > tolerance)
            return ::testing::AssertionFailure() << std::hex << "0x" << got << " is not 0x" << want;
    }
    return ::testing::AssertionSuccess();
}
uint32_t Scaled(uint32_t rgb, double k) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8)
        out |= uint32_t(std::lround((rgb >> shift & 255) * k)) << shift;
    return out;
}

// Cells are 20 pixels (800 / 40). Pads: 0 the lift at (1, 1); 1 a fixed 3 x 2 floor at (3, 1);
// 2 a moving 2 x 1 girder from (3, 7) to (8, 7), selected after entry; 3 a moving 1 x 2
// girder from (24, 2) down to (24, 5).
TEST(EditorEntry, ThePlanDrawsDotsPadsGapsEndsSweptAreasPathsAndMarkers) {
    GameRun game(false);
    game.write(
        "level1.ini",
        LevelText(
            {{1, 1, 1, 1, 1, 1}, {3, 1, 3, 1, 3, 2}, {3, 7, 8, 7, 2, 1}, {24, 2, 24, 5, 1, 2}}));
    ASSERT_EQ(
        game.run(EnterEditor() + At(kStart, "screenshot plan.bmp") + At(kStart + 300, "close")), 0);
    const Screenshot img = ReadScreenshot(game.dir() + "/plan.bmp");
    ASSERT_EQ(img.width, 800);
    // Grid dots at the cell centres, 30 x 10 of them; black between.
    EXPECT_EQ(img.at(290, 190), kWhite);
    EXPECT_EQ(img.at(510, 190), kWhite);
    EXPECT_EQ(img.at(10, 190), kWhite);
    EXPECT_EQ(img.at(291, 190), kBlack);
    EXPECT_EQ(img.at(290, 210), kBlack) << "no tenth row of dots below y 200";
    // The fixed floor: border at x 60 and 118, fill inside, one-pixel gap at 119 and y 59.
    EXPECT_EQ(img.at(60, 45), kFixedBorder);
    EXPECT_EQ(img.at(118, 45), kFixedBorder);
    EXPECT_EQ(img.at(75, 25), kFixedFill);
    EXPECT_EQ(img.at(119, 45), kBlack);
    EXPECT_EQ(img.at(75, 58), kFixedBorder);
    EXPECT_EQ(img.at(75, 59), kBlack);
    // The lift: a fixed pad with "UP" printed on it.
    EXPECT_EQ(img.at(20, 25), kFixedBorder);
    int text = 0;
    for (int y = 21; y < 38; ++y)
        for (int x = 21; x < 38; ++x)
            if (img.at(x, y) != kFixedFill) ++text;
    EXPECT_GT(text, 10);
    // The selected moving girder: yellow border, blue fill plus a tenth of the swept area.
    const uint32_t swept = Scaled(0x8080ff, 0.1), end = Scaled(0x0080ff, 0.2);
    // The swept area is drawn over the pad itself too.
    EXPECT_TRUE(Near(img.at(60, 145), 0xffff5a));
    EXPECT_TRUE(Near(img.at(70, 145), 0x0d8dff));
    // Between start and end: the swept area only; at the end: end position plus swept area.
    EXPECT_TRUE(Near(img.at(125, 145), swept));
    EXPECT_TRUE(Near(img.at(175, 145), end + swept, 3));
    EXPECT_EQ(img.at(199, 145), kBlack) << "gap right of the end";
    EXPECT_EQ(img.at(200, 145), kBlack);
    // The path: centre (3 + 1) * 20, 7.5 * 20 to (8 + 1) * 20, the same row.
    EXPECT_EQ(img.at(125, 150), kSelected);
    // The other girder is not selected: blue border; its path runs down from (490, 60).
    EXPECT_TRUE(Near(img.at(480, 45), 0x8d8dff)) << "the blue border plus the swept area";
    EXPECT_EQ(img.at(490, 85), kSelected);
    EXPECT_TRUE(Near(img.at(485, 125), end + swept, 3));
    // Marker dots: rows of three at (6.5 .. 8.5, 2.5), (9.5 .., 6.5), (15.5 .., 2.5),
    // (18.5 .., 6.5) cells.
    for (int m = 0; m < 3; ++m) {
        EXPECT_EQ(img.at(130 + 20 * m, 50), kMarker) << m;
        EXPECT_EQ(img.at(190 + 20 * m, 130), kMarker) << m;
        EXPECT_EQ(img.at(310 + 20 * m, 50), kMarker) << m;
        EXPECT_EQ(img.at(370 + 20 * m, 130), kMarker) << m;
    }
    EXPECT_EQ(img.at(190, 50), kWhite) << "the row of markers has three dots";
    // The pad count "4" at (100, 100).
    int count = 0;
    for (int y = 100; y < 116; ++y)
        for (int x = 100; x < 108; ++x)
            if (img.at(x, y) != kBlack) ++count;
    EXPECT_GT(count, 5);
    // The dialog at x 520, 200 wide.
    EXPECT_NE(img.at(600, 300), kBlack);
    EXPECT_EQ(img.at(730, 300), kBlack);
}

} // namespace
} // namespace editor_test
