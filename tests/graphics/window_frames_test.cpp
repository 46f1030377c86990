// The two places a frame is drawn: the window's own buffers while the window is the game's size,
// the offscreen framebuffer while it is not. Both give the same pixels, and a kept frame can be
// read after its present either way.
#include "ddd_models.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/scene.h"
#include "platform/window.h"
#include "support/test_support.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

class WindowFrames : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(open_test_window());
        gfx_device_init(800, 600);
        dir_ = make_temp_dir();
        const std::string cube = dir_ + "/cube.ddd";
        ASSERT_TRUE(write_bytes(cube, cube_text(200 + 100 * 256 + 50 * 65536)));
        load_object(cube.c_str(), 30);
    }
    void TearDown() override {
        platform::set_window_size(800, 600);
        platform::present();
        gfx_device_shutdown();
    }

    // Depth, cel shading with its outline, fog, translucency and text: a frame as the game draws
    // one.
    static std::vector<uint8_t> frame() {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        set_viewport(0, 0, 0, 0);
        draw_rect(0, 0, 800, 600, 16755370);
        begin_3d(1, 100, 45);
        set_camera(3, 4, 10, 0, 0, 0);
        set_culling(1);
        set_light(-2, 16777215, 350, 250, 50, 0, 1, 0, 360);
        set_fog(16755370, 0, 8, 16);
        for (int i = 0; i < 4; ++i) {
            set_translation(2.5 * i - 4, 0, -1.5 * i);
            add_rotation(25 * i, 0, 1, 0);
            draw_object(30, 0);
        }
        set_fog(-1, 0, 0, 0);
        set_light(-2, 0, 0, 0, 0, 0, 0, 0, 0);
        end_3d();
        set_alpha_mode(-0.6);
        draw_rect(184, 394, 616, 564, 0);
        set_alpha_mode(0);
        print_text("Level 13", 204, 414);
        return read_screen();
    }

    std::string dir_;
};

// The two are rasterised in opposite row order: rounding may differ by a step at a few pixels
// of a fogged or cel-shaded edge, and nowhere more.
TEST_F(WindowFrames, TheWindowAndTheOffscreenFramebufferDrawTheSamePixels) {
    platform::set_window_size(800, 600);
    platform::present();
    ASSERT_TRUE(platform::draws_into_window());
    const std::vector<uint8_t> in_window = frame();

    for (auto [w, h] : {std::pair{1600, 1200}, std::pair{1000, 600}}) {
        SCOPED_TRACE(w);
        platform::set_window_size(w, h);
        platform::present();
        int x = 0, y = 0, vw = 0, vh = 0;
        platform::game_viewport(x, y, vw, vh);
        if (vw == 800 && vh == 600 && x == 0 && y == 0)
            GTEST_SKIP() << "this video driver does not resize its windows";
        EXPECT_FALSE(platform::draws_into_window());
        const std::vector<uint8_t> offscreen = frame();
        int differing = 0, most = 0;
        for (size_t i = 0; i < offscreen.size(); i += 4) {
            int step = 0;
            for (size_t c = 0; c < 4; ++c)
                step = std::max(step, std::abs(int(offscreen[i + c]) - int(in_window[i + c])));
            differing += step != 0;
            most = std::max(most, step);
        }
        EXPECT_LE(most, 1);
        EXPECT_LE(differing, 20) << "of 480,000 pixels";
    }
}

TEST_F(WindowFrames, AKeptFrameReadsBackAfterItsPresent) {
    platform::set_window_size(800, 600);
    platform::present();
    ASSERT_TRUE(platform::draws_into_window());
    const std::vector<uint8_t> drawn = frame();
    platform::present(true);
    EXPECT_FALSE(platform::draws_into_window()); // the kept frame stays where it is read
    EXPECT_TRUE(read_screen() == drawn);
    platform::present_again(); // nothing lost: nothing shown, nothing changed
    EXPECT_TRUE(read_screen() == drawn);
    platform::present(); // an ordinary frame again: the next one goes into the window
    EXPECT_TRUE(platform::draws_into_window());
}

} // namespace
