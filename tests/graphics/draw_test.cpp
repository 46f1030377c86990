// 2D drawing read back pixel by pixel from the software renderer.
#include "draw_fixture.h"
#include "graphics/bmp.h"
#include "graphics/scene.h"
#include "graphics/screenshot.h"
#include "platform/window.h"

#include <vector>

namespace {
constexpr double kWhiteValue = 16777215;
constexpr double kRed = 255;
} // namespace

TEST_F(DrawTest, RectanglesFillBothCornersWhicheverWayTheyAreGiven) {
    draw_rect(10, 10, 10, 10, kWhiteValue);
    EXPECT_EQ(read_pixel(10, 10), kWhite);
    for (auto [x, y] : {std::pair{9, 10}, {11, 10}, {10, 9}, {10, 11}, {11, 11}})
        EXPECT_EQ(read_pixel(x, y), kBlack) << x << "," << y;

    glClear(GL_COLOR_BUFFER_BIT);
    draw_rect(10, 10, 20, 20, kRed);
    std::vector<uint8_t> forward = read_screen();
    EXPECT_EQ(read_pixel(10, 10), rgb(255, 0, 0));
    EXPECT_EQ(read_pixel(20, 20), rgb(255, 0, 0));
    EXPECT_EQ(read_pixel(21, 20), kBlack);
    EXPECT_EQ(read_pixel(20, 21), kBlack);
    EXPECT_EQ(read_pixel(9, 10), kBlack);
    glClear(GL_COLOR_BUFFER_BIT);
    draw_rect(20, 20, 10, 10, kRed);
    EXPECT_TRUE(read_screen() == forward);
    glClear(GL_COLOR_BUFFER_BIT);
    draw_rect(20, 10, 10, 20, kRed);
    EXPECT_TRUE(read_screen() == forward);
}

TEST_F(DrawTest, LinesSetBothEndPixelsAndPointsOnePixel) {
    draw_line(100, 100, 110, 100, kWhiteValue);
    for (int x = 100; x <= 110; ++x) EXPECT_EQ(read_pixel(x, 100), kWhite) << x;
    EXPECT_EQ(read_pixel(99, 100), kBlack);
    EXPECT_EQ(read_pixel(111, 100), kBlack);
    EXPECT_EQ(read_pixel(105, 99), kBlack);
    EXPECT_EQ(read_pixel(105, 101), kBlack);

    draw_line(200, 50, 200, 40, kWhiteValue); // upwards
    EXPECT_EQ(read_pixel(200, 50), kWhite);
    EXPECT_EQ(read_pixel(200, 40), kWhite);
    draw_line(300, 300, 310, 310, kWhiteValue); // diagonal
    EXPECT_EQ(read_pixel(300, 300), kWhite);
    EXPECT_EQ(read_pixel(305, 305), kWhite);
    EXPECT_EQ(read_pixel(310, 310), kWhite);

    draw_point(5, 7, 65280);
    EXPECT_EQ(read_pixel(5, 7), rgb(0, 255, 0));
    EXPECT_EQ(read_pixel(4, 7), kBlack);
    EXPECT_EQ(read_pixel(6, 7), kBlack);
    EXPECT_EQ(read_pixel(5, 6), kBlack);
    EXPECT_EQ(read_pixel(5, 8), kBlack);
}

TEST_F(DrawTest, TheTransparentColourDrawsNothing) {
    draw_rect(10, 10, 50, 50, kTransparentColour);
    draw_line(0, 0, 100, 100, kTransparentColour);
    draw_point(60, 60, kTransparentColour);
    set_alpha_mode(-0.5);
    draw_rect(10, 10, 50, 50, kTransparentColour);
    set_alpha_mode(0);
    EXPECT_EQ(read_pixel(30, 30), kBlack);
    EXPECT_EQ(read_pixel(50, 50), kBlack);
    EXPECT_EQ(read_pixel(60, 60), kBlack);
}

TEST_F(DrawTest, SpritesDrawAtTheirOwnSizeAtTheNextWholePixel) {
    solid_sprite(1, 100, 50, {10, 200, 30});
    double w, h;
    sprite_size(1, w, h);
    EXPECT_EQ(w, 100);
    EXPECT_EQ(h, 50);
    EXPECT_EQ(gfx.slots[1].texture_width, 128);
    EXPECT_EQ(gfx.slots[1].texture_height, 64);
    EXPECT_NE(gfx.slots[1].mip_texture, 0u);

    draw_sprite(1, 10.2, 20.7); // lands at (11, 21)
    EXPECT_EQ(read_pixel(11, 21), rgb(10, 200, 30));
    EXPECT_EQ(read_pixel(110, 70), rgb(10, 200, 30));
    EXPECT_EQ(read_pixel(10, 21), kBlack);
    EXPECT_EQ(read_pixel(11, 20), kBlack);
    EXPECT_EQ(read_pixel(111, 70), kBlack);
    EXPECT_EQ(read_pixel(110, 71), kBlack);

    glClear(GL_COLOR_BUFFER_BIT);
    stretch_sprite(1, 0, 0, 20.5, 10); // width rounded up to 21
    EXPECT_EQ(read_pixel(20, 9), rgb(10, 200, 30));
    EXPECT_EQ(read_pixel(21, 9), kBlack);
    EXPECT_EQ(read_pixel(20, 10), kBlack);

    glClear(GL_COLOR_BUFFER_BIT);
    zoom_sprite(1, 300, 300, 2, 2); // 200 x 100 about the centre: top-left (250, 275)
    // Magnified with linear filtering: the outermost pixels blend with the wrapped texture edge.
    EXPECT_NE(read_pixel(250, 275), kBlack);
    EXPECT_NE(read_pixel(449, 374), kBlack);
    EXPECT_EQ(read_pixel(251, 276), rgb(10, 200, 30));
    EXPECT_EQ(read_pixel(448, 373), rgb(10, 200, 30));
    EXPECT_EQ(read_pixel(249, 275), kBlack);
    EXPECT_EQ(read_pixel(450, 374), kBlack);

    // Rotation about the centre: 0 degrees is the plain sprite, -270 the same as 90, and a
    // square turned by 90 degrees covers its own square.
    glClear(GL_COLOR_BUFFER_BIT);
    solid_sprite(8, 16, 16, {250, 250, 0});
    draw_sprite(8, 500, 400);
    std::vector<uint8_t> plain = read_screen();
    glClear(GL_COLOR_BUFFER_BIT);
    rotozoom_sprite(8, 500, 400, 0, 1);
    EXPECT_TRUE(read_screen() == plain);
    glClear(GL_COLOR_BUFFER_BIT);
    rotozoom_sprite(8, 500, 400, -270, 1);
    EXPECT_EQ(read_pixel(508, 408), rgb(250, 250, 0));
    EXPECT_EQ(read_pixel(498, 408), kBlack);
    EXPECT_EQ(read_pixel(518, 408), kBlack);
    rotozoom_sprite(8, 100, 100, -1e300, 1); // any angle is brought into 0..360 at once

    // An empty slot draws nothing.
    glClear(GL_COLOR_BUFFER_BIT);
    draw_sprite(2, 0, 0);
    stretch_sprite(2, 0, 0, 50, 50);
    rotozoom_sprite(2, 0, 0, 30, 1);
    EXPECT_EQ(read_pixel(5, 5), kBlack);
}

TEST_F(DrawTest, KeyedPixelsAreTransparentAndImagesKeepTheirOrientation) {
    // 3 x 2: top row red, key, green; bottom row blue, white, white.
    std::vector<Rgb> px = {{255, 0, 0}, {255, 0, 128}, {0, 255, 0},
                           {0, 0, 255}, {255, 255, 255}, {255, 255, 255}};
    draw_rect(0, 0, 20, 20, 0x404040);
    load_sprite(file("k.bmp", make_bmp(3, 2, 24, px)).c_str(), 3);
    draw_sprite(3, 5, 5);
    EXPECT_EQ(read_pixel(5, 5), rgb(255, 0, 0));
    EXPECT_EQ(read_pixel(6, 5), rgb(64, 64, 64)); // the background shows through
    EXPECT_EQ(read_pixel(7, 5), rgb(0, 255, 0));
    EXPECT_EQ(read_pixel(5, 6), rgb(0, 0, 255));
}

TEST_F(DrawTest, AlphaModesScaleBlendAndAdd) {
    solid_sprite(1, 8, 8, {200, 100, 40});
    draw_rect(0, 0, 100, 100, 0x646464); // grey 100

    set_alpha_mode(-0.5); // colour and alpha halved: 0.5 * 0.5 * texel + 0.5 * background
    draw_sprite(1, 10, 10);
    EXPECT_TRUE(near(read_pixel(12, 12), rgb(100, 75, 60))) << read_pixel(12, 12);

    set_alpha_mode(2); // additive at full intensity (the alpha value is held at 1)
    EXPECT_EQ(gfx.alpha_value, 1.0f);
    draw_sprite(1, 30, 30);
    EXPECT_TRUE(near(read_pixel(32, 32), rgb(255, 200, 140))) << read_pixel(32, 32);

    set_alpha_mode(-0.1); // alpha 0.1 fails the 0.15 alpha test
    draw_sprite(1, 50, 50);
    EXPECT_EQ(read_pixel(52, 52), rgb(100, 100, 100));

    set_alpha_mode(0);
    draw_sprite(1, 70, 70);
    EXPECT_EQ(read_pixel(72, 72), rgb(200, 100, 40));

    // Rectangles scale their colour too and ignore the alpha test.
    glClear(GL_COLOR_BUFFER_BIT);
    set_alpha_mode(-0.5);
    draw_rect(0, 0, 3, 3, kWhiteValue);
    EXPECT_TRUE(near(read_pixel(1, 1), rgb(64, 64, 64))) << read_pixel(1, 1);
    set_alpha_mode(-0.1);
    draw_rect(10, 0, 13, 3, kWhiteValue);
    EXPECT_TRUE(near(read_pixel(11, 1), rgb(3, 3, 3))) << read_pixel(11, 1);
    set_alpha_mode(0);
}

TEST_F(DrawTest, GrabbedPixelsDrawBackUnchanged) {
    for (int i = 0; i < 40; ++i) draw_point(10 + i, 10 + (i * 7) % 30, 255 + i * 5 * 256);
    draw_rect(20, 15, 30, 25, 16711680);
    grab_sprite(5, 10, 10, 40, 30);
    EXPECT_EQ(gfx.slots[5].texture_width, 64);
    EXPECT_EQ(gfx.slots[5].texture_height, 32);
    EXPECT_EQ(gfx.slots[5].mip_texture, 0u);
    double w, h;
    sprite_size(5, w, h);
    EXPECT_EQ(w, 40);
    EXPECT_EQ(h, 30);
    std::vector<Rgba> before;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) before.push_back(read_pixel(10 + x, 10 + y));
    draw_sprite(5, 300, 200);
    int differ = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            if (read_pixel(300 + x, 200 + y) != before[size_t(y) * 40 + x]) ++differ;
    EXPECT_EQ(differ, 0);

    // Small grabs get at least a 32 x 32 texture.
    grab_sprite(6, 0, 0, 3, 5);
    EXPECT_EQ(gfx.slots[6].texture_width, 32);
    EXPECT_EQ(gfx.slots[6].texture_height, 32);

    // Rectangles far off the screen (at the ends of the integer range) copy nothing.
    for (double at : {-3e9, 3e9, -2147483648.0}) {
        grab_sprite(7, at, at, 40, 30);
        sprite_size(7, w, h);
        EXPECT_EQ(w, 40);
        EXPECT_EQ(h, 30);
    }
}

TEST_F(DrawTest, PolygonsAreTriangleFansWithCornerColours) {
    start_poly(-1);
    poly_vertex(100, 100, 0, 0, kRed);
    poly_vertex(100, 200, 0, 0, kRed); // counter-clockwise on the screen
    poly_vertex(200, 200, 0, 0, kRed);
    poly_vertex(200, 100, 0, 0, kRed);
    end_poly();
    EXPECT_EQ(read_pixel(150, 150), rgb(255, 0, 0));
    EXPECT_EQ(read_pixel(90, 150), kBlack);

    // Textured: the texel position maps into the slot's image.
    glClear(GL_COLOR_BUFFER_BIT);
    solid_sprite(7, 16, 16, {0, 0, 255});
    start_poly(7);
    poly_vertex(10, 10, 0, 0, kWhiteValue);
    poly_vertex(10, 26, 0, 16, kWhiteValue);
    poly_vertex(26, 26, 16, 16, kWhiteValue);
    poly_vertex(26, 10, 16, 0, kWhiteValue);
    end_poly();
    EXPECT_EQ(read_pixel(18, 18), rgb(0, 0, 255));
    // The state after a polygon is the 2D one again.
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    GLint shade = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(shade, GL_FLAT);
}

TEST_F(DrawTest, ViewportSetsTheWhole2DState) {
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glShadeModel(GL_SMOOTH);
    set_viewport(100, 50, 200, 100);
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(std::vector<int>(vp, vp + 4), std::vector<int>({100, 600 - 50 - 100, 200, 100}));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    GLfloat ref = 0;
    glGetFloatv(GL_ALPHA_TEST_REF, &ref);
    EXPECT_FLOAT_EQ(ref, 0.15f);
    GLint shade = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(shade, GL_FLAT);
    // Drawing is relative to the viewport's top-left.
    draw_rect(0, 0, 0, 0, kWhiteValue);
    EXPECT_EQ(read_pixel(100, 50), kWhite);
    set_viewport(0, 0, 0, 0);
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(std::vector<int>(vp, vp + 4), std::vector<int>({0, 0, 800, 600}));
    // Rectangles at the ends of the integer range are harmless, in 2D and in 3D.
    for (double at : {-3e9, 3e9}) {
        set_viewport(at, at, 3e9, 3e9);
        draw_rect(0, 0, 10, 10, kWhiteValue);
        begin_3d(1, 100, 45);
        end_3d();
    }
    set_viewport(0, 0, 0, 0);
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(std::vector<int>(vp, vp + 4), std::vector<int>({0, 0, 800, 600}));
}

TEST_F(DrawTest, BackgroundStaysBehindEachFrame) {
    std::vector<Rgb> px(300 * 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) px[size_t(y) * 300 + x] = {uint8_t(x), uint8_t(y), 77};
    gfx.max_texture_size = 128; // several tiles
    show_background(file("bg.bmp", make_bmp(300, 200, 24, px)).c_str());
    EXPECT_EQ(gfx.background.tiles.size(), 6u);
    EXPECT_EQ(read_pixel(0, 0), rgb(0, 0, 77));
    EXPECT_EQ(read_pixel(299, 199), rgb(43, 199, 77)); // 299 & 255
    EXPECT_EQ(read_pixel(130, 140), rgb(130, 140, 77));

    // A frame: swap and clear, the after-flip reset draws the layer, then the frame's drawing.
    set_alpha_mode(-0.5);
    glClear(GL_COLOR_BUFFER_BIT);
    gfx_after_flip();
    EXPECT_EQ(gfx.alpha_value, 1.0f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    draw_rect(10, 10, 20, 20, kWhiteValue);
    EXPECT_EQ(read_pixel(15, 15), kWhite);
    EXPECT_EQ(read_pixel(25, 15), rgb(25, 15, 77));
    EXPECT_EQ(read_pixel(200, 150), rgb(200, 150, 77));

    clear_screen(); // drops the layer
    EXPECT_TRUE(gfx.background.tiles.empty());
    gfx_after_flip();
    EXPECT_EQ(read_pixel(200, 150), kBlack);

    // The screen itself as the background.
    draw_rect(0, 0, 799, 599, 0x00FF00);
    draw_rect(400, 300, 410, 310, kRed);
    use_screen_as_background();
    glClear(GL_COLOR_BUFFER_BIT);
    gfx_after_flip();
    EXPECT_EQ(read_pixel(405, 305), rgb(255, 0, 0));
    EXPECT_EQ(read_pixel(799, 599), rgb(0, 255, 0));

    // A missing file keeps the layer.
    show_background((dir + "/missing.bmp").c_str());
    EXPECT_FALSE(gfx.background.tiles.empty());
}

TEST_F(DrawTest, BackgroundThatCannotBeReadEndsTheProgram) {
    const std::string bad = file("bad.bmp", "BM broken");
    EXPECT_EXIT(show_background(bad.c_str()), testing::ExitedWithCode(3), "");
}

TEST_F(DrawTest, LoadingKeepsOrEmptiesTheSlot) {
    solid_sprite(9, 4, 4, {1, 2, 3});
    GLuint before = gfx.slots[9].texture;
    load_sprite((dir + "/missing.bmp").c_str(), 9); // missing: unchanged
    EXPECT_EQ(gfx.slots[9].texture, before);
    EXPECT_EQ(gfx.slots[9].width, 4);
    load_sprite(file("bad.bmp", "BM this is no bitmap").c_str(), 9); // unreadable: empty
    EXPECT_EQ(gfx.slots[9].texture, 0u);
    EXPECT_EQ(gfx.slots[9].width, 0);
    load_sprite(file("x.bmp", solid_bmp(4, 4, {1, 2, 3})).c_str(), 70000); // no such slot
    load_sprite(file("x.bmp", solid_bmp(4, 4, {1, 2, 3})).c_str(), -1);
}

TEST_F(DrawTest, SavedSpritesAndScreenshotsAre24BitBmps) {
    std::vector<Rgb> px = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, {13, 14, 15}, {16, 17, 18}};
    load_sprite(file("s.bmp", make_bmp(3, 2, 24, px)).c_str(), 4);
    const std::string out = dir + "/saved.bmp";
    ASSERT_TRUE(save_sprite(4, out.c_str()));
    const std::string saved = read_text(out);
    ASSERT_EQ(saved.size(), 54u + 2 * 12);
    EXPECT_EQ(saved.substr(0, 2), "BM");
    EXPECT_EQ(uint8_t(saved[10]), 54);
    EXPECT_EQ(uint8_t(saved[28]), 24);
    TexelImage back;
    ASSERT_TRUE(decode_bmp(reinterpret_cast<const uint8_t*>(saved.data()), saved.size(), {}, back,
                           nullptr));
    TexelImage original;
    const std::string src = make_bmp(3, 2, 24, px);
    ASSERT_TRUE(decode_bmp(reinterpret_cast<const uint8_t*>(src.data()), src.size(), {}, original,
                           nullptr));
    EXPECT_EQ(back.texels, original.texels);
    EXPECT_FALSE(save_sprite(11, (dir + "/empty.bmp").c_str()));

    draw_rect(0, 0, 0, 0, kRed); // top-left pixel
    ASSERT_TRUE(save_screenshot((dir + "/shot.bmp").c_str()));
    const std::string shot = read_text(dir + "/shot.bmp");
    ASSERT_EQ(shot.size(), 54u + 800 * 600 * 3);
    // Bottom-up rows: the top-left pixel is the first pixel of the last row (B, G, R).
    const size_t top_left = 54 + size_t(599) * 800 * 3;
    EXPECT_EQ(uint8_t(shot[top_left + 2]), 255);
    EXPECT_EQ(uint8_t(shot[top_left + 1]), 0);
}

TEST_F(DrawTest, CollisionsTestOpaquePixels) {
    std::vector<Rgb> px(4 * 4, Rgb{255, 0, 128});
    px[0] = {9, 9, 9}; // only the top-left pixel is opaque
    load_sprite(file("c.bmp", make_bmp(4, 4, 24, px)).c_str(), 12);
    solid_sprite(13, 4, 4, {1, 1, 1});
    EXPECT_EQ(sprites_collide(12, 10, 10, 13, 7, 7), 1);  // (10,10) covered by both
    EXPECT_EQ(sprites_collide(12, 10, 10, 13, 11, 11), 0); // boxes overlap, pixels don't
    EXPECT_EQ(sprites_collide(12, 10, 10, 13, 100, 100), 0);
    EXPECT_EQ(sprites_collide(12, 10, 10, 14, 10, 10), 0); // empty slot
}
