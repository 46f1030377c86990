// What the toolkit draws, read back from the screen.
#include "gui_fixture.h"

#include <cstdlib>
#include <ostream>

namespace {

bool near(Rgba a, Rgba b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

const Rgba kNorm{128, 128, 144, 255};
const Rgba kBright{240, 240, 255, 255};
const Rgba kHoverNorm{48, 128, 255, 255};
const Rgba kHoverBright{144, 224, 255, 255};

} // namespace

inline std::ostream& operator<<(std::ostream& o, const Rgba& c) {
    return o << "(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

using Drawing = GuiTest;

TEST_F(Drawing, BodyFrameAndTitleBar) {
    gui_dialog_open(100, 100, 200, 100);
    show();
    EXPECT_EQ(read_pixel(100, 100), kNorm);  // the frame
    EXPECT_EQ(read_pixel(299, 199), kNorm);
    EXPECT_EQ(read_pixel(150, 150), kBright); // the inside
    EXPECT_EQ(read_pixel(300, 150), (Rgba{0, 0, 0, 255}));

    glClear(GL_COLOR_BUFFER_BIT);
    gui_set("MOVABLE", "1");
    gui_set("TEXT", "Hi");
    show();
    EXPECT_EQ(read_pixel(100, 100), kBright); // the bar's outer edge
    EXPECT_EQ(read_pixel(290, 110), kNorm);   // the bar's inside, right of the caption
    EXPECT_EQ(read_pixel(100, 120), kNorm);   // the body starts fh + 4 lower
    EXPECT_EQ(read_pixel(150, 170), kBright);
}

TEST_F(Drawing, SavedDialogsAreDarkenedByHalfTitleBarIncluded) {
    gui_dialog_open(100, 100, 200, 100);
    gui_set("MOVABLE", "1");
    gui_dialog_open(500, 400, 100, 100);
    show(0);
    EXPECT_TRUE(near(read_pixel(150, 150), Rgba{120, 120, 127, 255}, 2)) << read_pixel(150, 150);
    EXPECT_TRUE(near(read_pixel(150, 215), Rgba{120, 120, 127, 255}, 2)) << read_pixel(150, 215);
    EXPECT_TRUE(near(read_pixel(100, 100), Rgba{120, 120, 127, 255}, 2)) << read_pixel(100, 100);
    EXPECT_EQ(read_pixel(550, 450), kBright); // the active one is not
    glClear(GL_COLOR_BUFFER_BIT);
    show(1); // only the active one
    EXPECT_EQ(read_pixel(150, 150), (Rgba{0, 0, 0, 255}));
}

TEST_F(Drawing, GradientBoxShadesWideAndTallBoxes) {
    set_viewport(0, 0, 0, 0);
    gui_gradient_box(255, 16711680, 10, 10, 100, 40); // red edges, blue middle line
    const Rgba top = read_pixel(60, 10), middle = read_pixel(60, 30), bottom = read_pixel(60, 49);
    EXPECT_GT(top.r, 200);
    EXPECT_LT(top.b, 60);
    EXPECT_GT(middle.b, 200);
    EXPECT_LT(middle.r, 60);
    EXPECT_GT(bottom.r, 200);
    // Tall: red at the left edge and the bottom-right corner, blue along the middle and at the
    // top-right corner.
    gui_gradient_box(255, 16711680, 200, 10, 16, 20);
    EXPECT_GT(read_pixel(200, 20).r, 200);
    EXPECT_GT(read_pixel(208, 20).b, 200);
    EXPECT_GT(read_pixel(214, 11).b, 150);
    EXPECT_GT(read_pixel(214, 28).r, 150);
}

TEST_F(Drawing, ButtonAndCheckboxShowHoverAndChecked) {
    gui_dialog_open(0, 0, 300, 200);
    gui_add_button("bt", "Save", 0, 0);      // (5, 5) 40 x 20
    gui_add_checkbox("cb", "Has Map", 0, 0); // (47, 5)
    move(250, 150);
    show();
    EXPECT_EQ(read_pixel(5, 5), kNorm);
    EXPECT_TRUE(near(read_pixel(47 + 8, 5 + 3), kBright, 12)) << read_pixel(47 + 8, 5 + 3);
    move(40, 22); // over the button's lower right, away from its text
    show();
    EXPECT_EQ(read_pixel(5, 5), kHoverNorm);
    gui_set("cbCHECKED", "1");
    move(250, 150);
    show();
    EXPECT_TRUE(near(read_pixel(47 + 8, 5 + 3), kHoverBright, 12)) << read_pixel(47 + 8, 5 + 3);
}

TEST_F(Drawing, WidgetsAreClippedToTheContentArea) {
    gui_dialog_open(100, 100, 60, 60); // content 50 x 50 at (105, 105)
    gui_add_button("bt", "", 200, 20);
    move(0, 0);
    show();
    // Wider than the area, so it wraps at once and starts 2 pixels lower.
    EXPECT_EQ(rect("bt").y, 107);
    EXPECT_EQ(read_pixel(105, 107), kNorm); // its top edge...
    EXPECT_EQ(read_pixel(154, 107), kNorm);
    EXPECT_EQ(read_pixel(156, 107), kBright); // ...cut at the content area's right edge
    EXPECT_EQ(rect("bt").width, 200);
    EXPECT_TRUE(gui_widget_boxes()[0].drawn);
}
