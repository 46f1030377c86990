// The device with drawing off (--no-draw): nothing reaches the screen, while loads and what the
// game can read back (slot sizes, glyph sizes, the scene's projection) stay as in a drawn run.
#include "ddd_models.h"
#include "draw_fixture.h"
#include "graphics/font.h"
#include "graphics/scene.h"
#include "graphics/scene_engine.h"

#include <algorithm>

namespace {

class NoDraw : public DrawTest {
  protected:
    void TearDown() override {
        gfx.no_draw = false;
        end_3d();
        DrawTest::TearDown();
    }

    // One of every drawing operation; returns what the game can see afterwards.
    std::vector<double> draw_everything() {
        solid_sprite(3, 20, 10, Rgb{255, 255, 0});
        load_font("", 0);
        EXPECT_TRUE(write_bytes(dir + "/cube.ddd", cube_text(0x00FF00)));
        load_object((dir + "/cube.ddd").c_str(), 9);
        draw_rect(10, 10, 100, 60, 255);
        draw_line(0, 599, 799, 0, 16777215);
        draw_point(400, 300, 65280);
        start_poly(-1);
        poly_vertex(300, 300, 0, 0, 255);
        poly_vertex(400, 300, 0, 0, 255);
        poly_vertex(350, 200, 0, 0, 255);
        end_poly();
        draw_sprite(3, 600, 20);
        zoom_sprite(3, 600, 60, 2, 3);
        rotozoom_sprite(3, 600, 120, 45, 2);
        print_text("no draw", 20, 500);
        grab_sprite(4, 0, 0, 50, 40);
        begin_3d(1, 100, 60);
        set_camera(0, 0, 8, 0, 0, 0);
        draw_object(9, 0);
        print_text_3d("3d", 0, 2, 0, 0);
        debug_line(-3, -3, 0, 3, 3, 0, 255, 3);
        double sx, sy, sz;
        world_to_screen(1, 1, 1, sx, sy, sz);
        end_3d();
        double w3, h3, w4, h4, gw, gh;
        sprite_size(3, w3, h3);
        sprite_size(4, w4, h4);
        font_size(gw, gh);
        return {w3, h3, w4, h4, gw, gh, sx, sy, sz, double(scene.objects[9].loaded)};
    }

    static size_t lit_pixels() {
        std::vector<uint8_t> screen = read_screen();
        size_t n = 0;
        for (size_t i = 0; i < screen.size(); i += 4)
            n += screen[i] != 0 || screen[i + 1] != 0 || screen[i + 2] != 0;
        return n;
    }
};

} // namespace

TEST_F(NoDraw, NothingReachesTheScreenAndTheGameSeesTheSame) {
    const std::vector<double> drawn = draw_everything();
    EXPECT_GT(lit_pixels(), 1000u); // the same calls draw when drawing is on
    set_viewport(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gfx.no_draw = true;
    clear_sprite_slot(3);
    clear_sprite_slot(4);
    const std::vector<double> undrawn = draw_everything();
    EXPECT_EQ(lit_pixels(), 0u);
    EXPECT_EQ(drawn, undrawn);
    EXPECT_EQ(undrawn[2], 50); // the grabbed slot's size
    EXPECT_EQ(undrawn[3], 40);
    // Loads fill their slots as always; a grabbed slot has no pixels (there is no screen).
    EXPECT_NE(sprite_slot(3)->texture, 0u);
    EXPECT_EQ(sprite_slot(4)->texture, 0u);
}
