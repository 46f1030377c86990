// Multisampled drawing of the game screen: slanted edges get in-between shades, reads see the
// resolved picture, and switching it off gives hard edges again.
#include "draw_fixture.h"
#include "platform/window.h"

#include <set>

namespace {

// A white triangle with a slanted edge on black; the shades found along that edge.
std::set<int> EdgeShades() {
    glClear(GL_COLOR_BUFFER_BIT);
    start_poly(-1);
    poly_vertex(100, 100, 0, 0, 16777215); // counter-clockwise on the screen
    poly_vertex(100, 500, 0, 0, 16777215);
    poly_vertex(700, 130, 0, 0, 16777215);
    end_poly();
    std::set<int> shades;
    const std::vector<uint8_t> screen = read_screen();
    for (int y = 100; y < 500; ++y)
        for (int x = 100; x < 700; ++x)
            shades.insert(screen[(size_t(y) * 800 + x) * 4]);
    return shades;
}

TEST_F(DrawTest, MultisamplingShadesSlantedEdgesAndOffKeepsThemHard) {
    struct Case {
        int samples;
        bool soft;
    };
    for (const Case c : {Case{0, false}, Case{4, true}, Case{2, true}, Case{0, false}}) {
        SCOPED_TRACE(c.samples);
        const char* why = nullptr;
        const int got = platform::set_game_samples(c.samples, &why);
        if (c.samples > 0 && got == 0) GTEST_SKIP() << "no multisampling here: " << why;
        EXPECT_EQ(platform::game_samples(), got);
        const std::set<int> shades = EdgeShades();
        EXPECT_TRUE(shades.count(0) && shades.count(255));
        EXPECT_EQ(shades.size() > 2, c.soft) << shades.size() << " shades";
    }
}

TEST_F(DrawTest, AGrabbedSpriteSeesTheMultisampledPicture) {
    if (platform::set_game_samples(4) == 0) GTEST_SKIP() << "no multisampling here";
    glClear(GL_COLOR_BUFFER_BIT);
    draw_rect(10, 10, 50, 50, 255); // red
    grab_sprite(7, 0, 0, 64, 64);
    glClear(GL_COLOR_BUFFER_BIT);
    draw_sprite(7, 200, 200);
    EXPECT_EQ(read_pixel(230, 230), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(read_pixel(205, 205), (Rgba{0, 0, 0, 255}));
    platform::set_game_samples(0);
}

} // namespace
