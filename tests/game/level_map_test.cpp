// The level map drawn from the pads, read back from Mesa before it is grabbed.
#include "rules_fixture.h"
#include "graphics/device.h"
#include "runtime/random.h"
#include "support/test_support.h"

namespace {

bool IsWhite(Rgba c) { return c.r > 200 && c.g > 200 && c.b > 200; }
bool IsTravel(Rgba c) { return c.r > 60 && c.r < 140 && c.b > 200; }
bool IsBackground(Rgba c) { return c.r == 0 && c.g == 0 && c.b == 240; }

class LevelMap : public Rules {
  protected:
    void SetUp() override {
        Rules::SetUp();
        ASSERT_TRUE(open_test_window());
        gfx_device_init(800, 600);
        set_viewport(0, 0, 0, 0);
        set_alpha_mode(0);
        ScreenWidth = 800;
        ScreenHeight = 600;
    }
    void TearDown() override {
        gfx_device_shutdown();
        Rules::TearDown();
    }
    // Counts pixels of a kind in the rectangle.
    template <class Pred> int Count(int x0, int y0, int x1, int y1, Pred pred) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += pred(read_pixel(x, y)) ? 1 : 0;
        return n;
    }
};

TEST_F(LevelMap, OutlinesWhereThePadsAreAndHatchingOnlyOnMovablePadsWithForcemap) {
    // A static floor at (2, 1) of 4 x 2 cells; a girder at (2, 5) of 4 x 2 that travels to x 20.
    MakeLevel({{2, 1, 2, 1, 4, 2}, {2, 5, 20, 5, 4, 2}});
    for (int forcemap = 0; forcemap < 2; ++forcemap) {
        ForceMap = forcemap;
        BuildLevelMap(100);
        // Current outline of the floor: its top edge near y = trunc(25 * 1.1) + 1 = 28.
        EXPECT_GT(Count(60, 25, 140, 32, IsWhite), 40);
        // Nothing drawn in the middle of the floor, with or without forcemap.
        EXPECT_EQ(Count(65, 38, 135, 70, [](Rgba c) { return !IsBackground(c); }), 0);
        // The girder's target outline at x = trunc(25 * 20) + 1 = 501.
        EXPECT_GT(Count(498, 127, 505, 172, IsTravel), 20);
        // The upper part of the girder's inside, away from its travel mark: hatched only with
        // forcemap.
        const int hatch = Count(60, 132, 130, 142, IsTravel);
        if (forcemap)
            EXPECT_GT(hatch, 50);
        else
            EXPECT_EQ(hatch, 0);
        // Outside every pad the map is its blue background.
        EXPECT_TRUE(IsBackground(read_pixel(300, 60)));
    }
}

TEST_F(LevelMap, TwoBuildsDrawDifferentSketchesOfTheSamePads) {
    MakeLevel({{2, 1, 2, 1, 8, 3}});
    rnd_seed(5);
    BuildLevelMap(100);
    std::vector<uint8_t> first = read_screen();
    BuildLevelMap(100);
    std::vector<uint8_t> second = read_screen();
    EXPECT_NE(first, second);
    rnd_seed(5);
    BuildLevelMap(100);
    EXPECT_EQ(read_screen(), first); // the same draws give the same picture
}

TEST_F(LevelMap, ZeroLengthTravelAndAbsurdPadsDrawWithoutHarm) {
    // Start and end centre coincide after truncation: no end blobs, no NaN reaches drawing.
    MakeLevel({{0, 0, 0, 0, 1, 1}, {3, 3, 3.01, 3.01, 2, 2}});
    BuildLevelMap(100);
    EXPECT_GT(Count(70, 70, 130, 130, IsWhite), 10);
    // The largest pads a file can give, many of them, with forcemap: the map still finishes.
    Pads.dim(1024);
    for (int i = 0; i < 1024; ++i) {
        Pad& p = Pads.at(i);
        p.minx = p.x = -64;
        p.miny = p.y = -64;
        p.maxx = 128;
        p.maxy = 128;
        p.extx = p.exty = 64;
    }
    ForceMap = 1;
    BuildLevelMap(100);
    double w = 0, h = 0;
    sprite_size(100, w, h);
    EXPECT_EQ(w, 775);
    EXPECT_EQ(h, 275);
}

} // namespace
