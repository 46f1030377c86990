// The level scene's culling of pads and rows the camera cannot see: it must leave out only
// draws the engine's own view test would drop, so frames drawn with it and without it have the
// same pixels, and it must actually leave things out. The frames also compare the engine's
// view-volume test and the girders' batched outlines against drawing without them.
#include "game/game.h"
#include "game/scene.h"
#include "game/state.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/scene.h"
#include "graphics/scene_engine.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

struct Camera {
    const char* name;
    float eye[3], target[3];
    double fov;
};

const Camera kCameras[] = {
    {"play view", {32, 6.75f, 20}, {23, 2.25f, 11}, 45},
    {"map view", {23, 26.75f, 11}, {23, 2.25f, 11}, 45},
    {"sky camera", {0, 0, 2.1f}, {0, 0, 0}, 45},
    {"wide", {0, 0, 0}, {1, 0.5f, -2}, 84},
    {"far out", {1e6f, 3, -1e6f}, {1e6f + 5, 0, -1e6f}, 45},
};

void use_camera(const Camera& c) {
    std::memcpy(scene.eye, c.eye, sizeof scene.eye);
    std::memcpy(scene.target, c.target, sizeof scene.target);
    const double cone = std::min(c.fov + 5, 89.0);
    scene.cull_tangent = float(std::tan(cone * 3.14159265358979323846 / 180));
}

// Every small sphere the engine's per-draw test passes makes any sphere holding it pass the
// culling test: nothing the engine would draw is ever left out.
TEST(SceneCulling, NoSphereTheEngineDrawsIsCulledWithTheSphereHoldingIt) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> unit(-1, 1), radius(0.01f, 3);
    for (const Camera& c : kCameras) {
        use_camera(c);
        int passed = 0, culled = 0;
        for (int i = 0; i < 40000; ++i) {
            const float spread = i % 4 == 0 ? 400 : 60;
            const float centre[3] = {c.eye[0] + spread * unit(rng), c.eye[1] + spread * unit(rng),
                                     c.eye[2] + spread * unit(rng)};
            const float r = radius(rng);
            // A holding sphere: its centre moved off by up to 20, its radius covering that.
            const float m[3] = {20 * unit(rng), 20 * unit(rng), 20 * unit(rng)};
            const double shift = std::sqrt(double(m[0]) * m[0] + m[1] * m[1] + m[2] * m[2]);
            const double big = shift + r;
            const bool engine =
                sphere_in_view(centre, r, scene.eye, scene.target, scene.cull_tangent);
            const bool may =
                sphere_may_show(centre[0] + m[0], centre[1] + m[1], centre[2] + m[2], big) != 0;
            if (engine) {
                ++passed;
                ASSERT_TRUE(may) << c.name << ": sphere at (" << centre[0] << ", " << centre[1]
                                 << ", " << centre[2] << ") r " << r;
            }
            // Same centre, same radius: the test is no looser than it has to be either.
            if (sphere_may_show(centre[0], centre[1], centre[2], r) == 0) ++culled;
        }
        EXPECT_GT(passed, 1000) << c.name;
        EXPECT_GT(culled, 10000) << c.name << ": the test must leave something out";
    }
}

TEST(SceneCulling, OddSpheresAndNoDrawing) {
    use_camera(kCameras[0]);
    struct Case {
        const char* name;
        double x, y, z, r;
        double expected;
    };
    const Case cases[] = {
        {"at the eye", 32, 6.75, 20, 0, 1},
        {"straight ahead", 23, 2.25, 11, 0.1, 1},
        {"right behind the eye", 60, 20, 48, 1, 0},
        {"behind, but big enough to reach the eye", 60, 20, 48, 45, 1},
        {"NaN centre", NAN, 0, 0, 1, 1},
        {"infinite radius", 1e9, 1e9, 1e9, HUGE_VAL, 1},
        {"NaN radius", 1e9, 1e9, 1e9, NAN, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sphere_may_show(c.x, c.y, c.z, c.r), c.expected) << c.name;
    // Looking at itself: no direction, nothing is culled.
    Camera still = kCameras[0];
    std::memcpy(still.target, still.eye, sizeof still.eye);
    use_camera(still);
    EXPECT_EQ(sphere_may_show(-500, 0, 0, 1), 1);
    gfx.no_draw = true;
    EXPECT_EQ(sphere_may_show(23, 2.25, 11, 1), 0);
    gfx.no_draw = false;
}

void set_pad(int i, double minx, double miny, double maxx, double maxy, double extx, double exty) {
    Pad& p = Pads.at(i);
    p.minx = p.x = minx;
    p.miny = p.y = miny;
    p.maxx = maxx;
    p.maxy = maxy;
    p.extx = extx;
    p.exty = exty;
}

class SceneCullingFrames : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!open_test_window()) return;
        gfx_device_init(800, 600);
        char here[4096];
        if (getcwd(here, sizeof here) && chdir(SS_GAME_DIR) == 0) {
            LoadGameSlots();
            if (chdir(here) != 0) std::abort();
        }
        load_font("", 0);
    }

    void SetUp() override {
        ASSERT_TRUE(open_test_window());
        // The girder and floor models come from the generated game data.
        for (int slot : {0, 1, 2, 3})
            ASSERT_TRUE(scene.objects[size_t(slot)].loaded) << slot;
        ResetGameState();
        ScreenWidth = 800;
        ScreenHeight = 600;
        Workers.dim(1);
        FrameClock = 5000;
        Level = 3;
        Lives = 3;
        // The status models sway with the running clock, so two frames drawn one after the
        // other differ there; they are not culled and are left out here.
        TimerOption = 0;
        DoneFade = 0.5;
    }

    void TearDown() override {
        SceneCulling = true;
        scene.frustum_culling = 1;
        scene.outline_batching = 1;
        set_alpha_mode(0);
        end_3d();
        ResetGameState();
    }

    // Culling on: the game's pad and row tests, the engine's view-volume test and the batched
    // outlines.
    static std::vector<uint8_t> frame(bool culling) {
        SceneCulling = culling;
        scene.frustum_culling = culling ? 1 : 0;
        scene.outline_batching = culling ? 1 : 0;
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        set_alpha_mode(0);
        set_viewport(0, 0, 0, 0);
        DrawLevel(0);
        end_3d();
        return read_screen();
    }
};

// Levels whose pads lie in view, across its edges, behind the camera and beyond the fog, under
// every view the game has: the frames with and without the culling match pixel for pixel.
TEST_F(SceneCullingFrames, CulledFramesMatchTheUnculledOnesPixelForPixel) {
    struct View {
        const char* name;
        double detail, map_fade, exit_timer;
    };
    const View views[] = {
        {"play, detail 1", 1, 0, 0}, {"play, detail 0", 0, 0, 0}, {"map view", 1, 1, 0},
        {"half map", 0, 0.5, 0},     {"lift ride", 1, 0, 0.4},    {"ride, world sunk", 0, 0, 3},
    };
    struct Level {
        const char* name;
        double worker_x, worker_y;
    };
    const Level levels[] = {
        {"worker in the middle", 12.5, 5.5},
        {"worker at the corner", 0.5, 0.5},
        {"worker far off", 60.5, -40.5},
    };
    Pads.dim(12);
    set_pad(0, 10, 4, 10, 4, 3, 3);         // the lift
    set_pad(1, 0, 0, 0, 0, 31, 11);         // a floor under everything
    set_pad(2, -64, -64, -64, -64, 64, 64); // the largest pad, mostly out of view
    set_pad(3, 40, 20, 40, 20, 64, 2);      // behind the camera
    set_pad(4, 3, 5, 6, 5, 4, 1);
    Pads.at(4).bolts = 3;
    set_pad(5, 13, 1, 13, 6, 1, 5);
    Pads.at(5).bolts = 1;
    set_pad(6, 16, 8, 20, 8, 5, 1);
    set_pad(7, 20, -30, 20, -30, 2, 64); // across the view's far edge
    set_pad(8, 128, 128, 128, 128, 1, 1);
    set_pad(9, -20, 10, -20, 10, 64, 1); // across the left edge
    set_pad(10, 25, 3, 25, 3, 1, 1);
    set_pad(11, 5, 9, 8, 9, 2, 2);
    Pads.at(6).x = 18.3;
    for (const Level& l : levels)
        for (const View& v : views) {
            Worker& w = Workers.at(0);
            w.x = l.worker_x;
            w.y = l.worker_y;
            w.idle_since = FrameClock;
            DetailOption = v.detail;
            MapFade = v.map_fade;
            ExitTimer = v.exit_timer;
            const std::vector<uint8_t> plain = frame(false), culled = frame(true);
            ASSERT_EQ(plain.size(), culled.size());
            int differing = 0;
            for (size_t i = 0; i < plain.size(); ++i)
                if (plain[i] != culled[i]) ++differing;
            EXPECT_EQ(differing, 0) << l.name << ", " << v.name;
        }
}

// One-cell pads on every cell around the worker: many of them sit right at the view's edges,
// where the culling must agree with the engine cell by cell.
TEST_F(SceneCullingFrames, AFieldOfOneCellPadsAtTheViewsEdgesKeepsItsPixels) {
    Pads.dim(1 + 32 * 32);
    set_pad(0, 10, 4, 10, 4, 3, 3);
    for (int i = 0; i < 32 * 32; ++i) {
        const double x = -8 + i % 32, y = -12 + i / 32;
        set_pad(1 + i, x, y, x + (i % 5 == 0 ? 2 : 0), y, 1, 1);
    }
    struct View {
        const char* name;
        double worker_x, worker_y, map_fade;
    };
    const View views[] = {
        {"play", 11.5, 5.5, 0}, {"map view", 11.5, 5.5, 1}, {"shifted", 3.2, -1.7, 0.3}};
    for (const View& v : views) {
        Worker& w = Workers.at(0);
        w.x = v.worker_x;
        w.y = v.worker_y;
        w.idle_since = FrameClock;
        DetailOption = 1;
        MapFade = v.map_fade;
        const std::vector<uint8_t> plain = frame(false), culled = frame(true);
        int differing = 0;
        for (size_t i = 0; i < plain.size() && i < culled.size(); ++i)
            if (plain[i] != culled[i]) ++differing;
        EXPECT_EQ(differing, 0) << v.name;
    }
}

} // namespace
