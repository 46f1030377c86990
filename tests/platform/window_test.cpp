#include "platform/gl.h"
#include "platform/window.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

// The headless context is the base of every drawing test: it must offer what the runtime uses.
TEST(Window, HeadlessContextHasGameFramebufferAndExtensions) {
    ASSERT_TRUE(open_test_window());
    EXPECT_TRUE(gl_ext.multitexture);
    EXPECT_TRUE(gl_ext.buffers);
    EXPECT_TRUE(gl_ext.framebuffers);
    EXPECT_EQ(platform::game_width(), 800);
    EXPECT_EQ(platform::game_height(), 600);

    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(read_pixel(0, 0), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(read_pixel(799, 599), (Rgba{255, 0, 0, 255}));
    glClearColor(0, 0, 0, 1);
}

TEST(Window, MapsWindowPositionsIntoGameSpace) {
    ASSERT_TRUE(open_test_window());
    double gx, gy;
    platform::window_to_game(400, 300, gx, gy);
    EXPECT_DOUBLE_EQ(gx, 400);
    EXPECT_DOUBLE_EQ(gy, 300);
}
