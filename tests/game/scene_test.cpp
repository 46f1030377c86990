// The level scene, drawn with the game's generated models and textures into the headless game
// framebuffer and read back. What a part of the scene contributes is found by drawing the same
// frame with and without that part's object slot.
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
#include <string>
#include <tuple>
#include <utility>
#include <vector>
#include <unistd.h>

namespace {

const Rgba kSky{170, 170, 255, 255};

struct Screen {
    std::vector<uint8_t> rgba; // rows from the top
    Rgba at(int x, int y) const {
        if (x < 0 || y < 0 || x >= 800 || y >= 600) return {0, 0, 0, 0};
        const uint8_t* p = &rgba[(size_t(y) * 800 + size_t(x)) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
};

// Pixels whose colour differs between two screens.
int differing(const Screen& a, const Screen& b) {
    int n = 0;
    for (size_t i = 0; i < a.rgba.size(); i += 4)
        if (std::memcmp(&a.rgba[i], &b.rgba[i], 3) != 0) ++n;
    return n;
}

bool near(const Rgba& a, const Rgba& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

std::string describe(const Rgba& c) {
    return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

struct Point {
    int x, y;
};

// Where a scene point lands under the camera of the last main pass.
Point project(double x, double y, double z) {
    double sx, sy, sz;
    world_to_screen(x, y, z, sx, sy, sz);
    return {int(std::lround(sx)), int(std::lround(sy))};
}

// The scene's slots as the game's start fills them, from the game folder.
void load_scene_slots() {
    char here[4096];
    if (!getcwd(here, sizeof here) || chdir(SS_GAME_DIR) != 0) return;
    LoadGameSlots();
    if (chdir(here) != 0) std::abort();
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

class LevelScene : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!open_test_window()) return;
        gfx_device_init(800, 600);
        load_scene_slots();
        load_font("", 0); // the built-in font
    }

    // A small level, laid out ahead of the camera: the lift, a 3 x 2 floor the worker stands
    // on, a bolted girder along x at its start, a girder along y on its way and a one-cell
    // girder far off.
    void SetUp() override {
        ASSERT_TRUE(open_test_window());
        ResetGameState();
        ScreenWidth = 800;
        ScreenHeight = 600;
        Pads.dim(5);
        set_pad(0, 6, 5, 6, 5, 1, 1);
        set_pad(1, 7, 5, 7, 5, 3, 2);
        set_pad(2, 2, 2, 6, 2, 4, 1);
        Pads.at(2).bolts = 1;
        set_pad(3, 3, 4, 3, 7, 1, 3);
        Pads.at(3).y = 4.5;
        set_pad(4, 0, 0, 0, 3, 1, 1);
        Workers.dim(1);
        Worker& w = Workers.at(0);
        w.x = 8.5;
        w.y = 5.5;
        w.pad = 1;
        FrameClock = 5000;
        w.idle_since = FrameClock;
        Level = 3;
        Lives = 3;
        Score = 12.5;
        TimeLeft = 125.7;
        TimerOption = 0;
        DetailOption = 1;
        MapFade = 0;
        DoneFade = 1;
        ExitTimer = 0;
    }

    void TearDown() override {
        set_alpha_mode(0);
        end_3d();
        ResetGameState();
    }

    // One frame: the screen as present_frame leaves it (cleared, 2D), then DrawLevel.
    static Screen draw() {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        set_alpha_mode(0);
        set_viewport(0, 0, 0, 0);
        DrawLevel(0);
        Screen s{read_screen()};
        return s;
    }

    // The same frame with an object slot empty.
    static Screen draw_without_object(int slot) {
        ObjectSlot saved;
        std::swap(scene.objects[size_t(slot)], saved);
        Screen s = draw();
        std::swap(scene.objects[size_t(slot)], saved);
        return s;
    }

    static Screen draw_without_sprite(int slot) {
        SpriteSlot saved;
        std::swap(gfx.slots[size_t(slot)], saved);
        Screen s = draw();
        std::swap(gfx.slots[size_t(slot)], saved);
        return s;
    }
};

// Pixels of the two screens that differ outside a rectangle.
int differing_outside(const Screen& a, const Screen& b, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            if (x >= x0 && x < x1 && y >= y0 && y < y1) continue;
            if (!(a.at(x, y) == b.at(x, y))) ++n;
        }
    return n;
}

} // namespace

TEST(LevelSceneText, ClockShowsMinutesAndSecondsInTwoCharactersEach) {
    EXPECT_STREQ(StatusTimeText(125.7).c_str(), " 2: 5");
    EXPECT_STREQ(StatusTimeText(1000).c_str(), "16:40");
    EXPECT_STREQ(StatusTimeText(180).c_str(), " 3: 0");
    EXPECT_STREQ(StatusTimeText(59.99).c_str(), " 0:59");
    EXPECT_STREQ(StatusTimeText(0).c_str(), " 0: 0");
}

TEST_F(LevelScene, DetailOneDrawsAFlatSkyAndTheCityButNoSkyDome) {
    const Screen s = draw();
    for (Point p : {Point{790, 5}, Point{10, 5}, Point{790, 60}})
        EXPECT_EQ(s.at(p.x, p.y), kSky) << p.x << "," << p.y << ": " << describe(s.at(p.x, p.y));
    // The city fills much of the lower screen.
    EXPECT_GT(differing(s, draw_without_object(203)), 800 * 600 / 10);
    EXPECT_EQ(differing(s, draw_without_object(200)), 0);
    EXPECT_EQ(differing(s, draw_without_object(201)), 0);
}

TEST_F(LevelScene, DetailZeroDrawsTheSkyDomeAndNoCity) {
    DetailOption = 0;
    const Screen s = draw();
    EXPECT_FALSE(near(s.at(790, 5), kSky, 10)) << describe(s.at(790, 5));
    const Screen no_dome = draw_without_object(200);
    EXPECT_EQ(no_dome.at(790, 5), (Rgba{0, 0, 0, 255})); // nothing else drawn there
    EXPECT_GT(differing(s, no_dome), 800 * 600 / 2);
    EXPECT_EQ(differing(s, draw_without_object(203)), 0);
    // The map view's sky is blended in only while the map shows.
    EXPECT_EQ(differing(s, draw_without_object(201)), 0);
    MapFade = 0.5;
    const Screen half_map = draw();
    EXPECT_GT(differing(half_map, draw_without_object(201)), 800 * 600 / 4);
}

// Without the timer neither the status models nor their texts are drawn: emptying their slots
// changes nothing, and without a font only the level label goes.
TEST_F(LevelScene, StatusModelsAndTextsOnlyWithTheTimer) {
    double gw = 0, gh = 0;
    font_size(gw, gh);
    ASSERT_GT(gw, 0);
    const int label_w = int(gw) * 6, label_y1 = 100 + int(gh);
    for (double timer : {0.0, 1.0, 2.0}) {
        SCOPED_TRACE(timer);
        TimerOption = timer;
        const Screen s = draw();
        int models = 0;
        for (int slot : {301, 302, 303})
            models += differing(s, draw_without_object(slot));
        const Screen no_font = draw_without_sprite(kFontSlotBase);
        EXPECT_GT(differing(s, no_font), 0); // the label
        const int texts = differing_outside(s, no_font, 0, 100, label_w, label_y1);
        if (timer == 0) {
            EXPECT_EQ(models, 0);
            EXPECT_EQ(texts, 0);
        } else {
            EXPECT_GT(models, 3 * 300);
            EXPECT_GT(texts, 3 * 10);
        }
    }
}

// The label is the level number after "Level", at (0, 100) in the current font.
TEST_F(LevelScene, LevelLabelAtTheLeft) {
    for (double level : {3.0, 12.0}) {
        Level = level;
        const Screen s = draw();
        const std::string text = "Level" + std::to_string(int(level));
        glClear(GL_COLOR_BUFFER_BIT);
        draw_rect(0, 0, 800, 600, 16755370);
        print_text(text.c_str(), 0, 100);
        const Screen reference{read_screen()};
        double gw = 0, gh = 0;
        font_size(gw, gh);
        int inked = 0;
        for (int y = 96; y < 100 + int(gh) + 4; ++y)
            for (int x = 0; x < int(gw) * int(text.size()) + 4; ++x) {
                ASSERT_EQ(s.at(x, y), reference.at(x, y)) << text << " at " << x << "," << y;
                if (!(s.at(x, y) == kSky)) ++inked;
            }
        EXPECT_GT(inked, 20) << text;
    }
}

// The level map (object and sprite 100) lies over the ground at 0.8 of MapFade.
TEST_F(LevelScene, MapOverlayBlendsOverTheGroundInTheMapView) {
    // A plain red map: a red sprite on a quad over the grid as the level map is built.
    glClear(GL_COLOR_BUFFER_BIT);
    draw_rect(0, 0, 64, 64, 255);
    grab_sprite(100, 0, 0, 64, 64);
    begin_object(100);
    add_object_vertex(-1, 0, -1, 0, -1, 16777215);
    add_object_vertex(-1, 0, 21, 0, 0, 16777215);
    add_object_vertex(61, 0, -1, 1, -1, 16777215);
    add_object_vertex(61, 0, 21, 1, 0, 16777215);
    end_object();

    EXPECT_EQ(differing(draw(), draw_without_object(100)), 0); // MapFade 0: no overlay
    MapFade = 1;
    const Screen over = draw();
    // The camera hangs 26.75 above the worker and looks straight down.
    EXPECT_DOUBLE_EQ(scene.eye[1], 26.75f);
    EXPECT_FLOAT_EQ(scene.eye[0], 17);
    EXPECT_FLOAT_EQ(scene.eye[2], 11);
    // A piece of ground no pad covers, between the floor and the girders.
    const Point p = project(12, 0.05, 5);
    ASSERT_TRUE(p.x >= 0 && p.x < 800 && p.y >= 0 && p.y < 600);
    const Rgba below = draw_without_object(100).at(p.x, p.y);
    // What the device makes of red at alpha 0.8 over that colour.
    glClear(GL_COLOR_BUFFER_BIT);
    draw_rect(0, 0, 8, 8, below.r + below.g * 256 + below.b * 65536);
    set_alpha_mode(-0.8);
    draw_rect(0, 0, 8, 8, 255);
    set_alpha_mode(0);
    const Rgba expected = read_pixel(4, 4);
    EXPECT_TRUE(near(over.at(p.x, p.y), expected, 3))
        << describe(over.at(p.x, p.y)) << " vs " << describe(expected) << " over "
        << describe(below);
    EXPECT_GT(over.at(p.x, p.y).r, 150);
    begin_object(100);
    end_object(); // empties the slot again
}

// During the ride the girders sink with RideOffset while the lift and the worker stay.
TEST_F(LevelScene, RideSinksTheGirdersButNotTheLiftOrTheWorker) {
    // Middle cell 1 of the girder along x: its top centre.
    const double gx = 2 * (2 + 1), gz = 2 * 2;
    const Screen still = draw();
    const Point top = project(gx, 0, gz);
    EXPECT_FALSE(still.at(top.x, top.y) == draw_without_object(1).at(top.x, top.y));

    ExitTimer = 0.25; // RideOffset = -20 (1 - cos 45) = -5.86
    const double offset = -20 * (1 - std::cos(std::acos(-1.0) / 4));
    const Screen ride = draw();
    const Point sunk = project(gx, offset, gz);
    ASSERT_TRUE(sunk.y > top.y + 20 && sunk.y < 600) << sunk.y;
    const Screen ride_without_girder = draw_without_object(1);
    EXPECT_TRUE(ride.at(top.x, top.y) == ride_without_girder.at(top.x, top.y));
    EXPECT_FALSE(ride.at(sunk.x, sunk.y) == ride_without_girder.at(sunk.x, sunk.y));

    // The lift's deck and the worker stay where they were.
    for (auto [slot, x, y, z] : {std::tuple{4, 12.0, 0.0, 10.0}, std::tuple{20, 16.0, 0.6, 10.0}}) {
        const Point p = project(x, y, z);
        EXPECT_FALSE(still.at(p.x, p.y) == draw_without_object(slot).at(p.x, p.y)) << slot;
        EXPECT_FALSE(ride.at(p.x, p.y) == draw_without_object(slot).at(p.x, p.y)) << slot;
    }
    EXPECT_EQ(ExitTimer, 0.25);
}

// The frame ends in 2D with fog, lights and cel shading off and blending off; during the ride
// the rest of the frame is drawn additively at half intensity.
TEST_F(LevelScene, LeavesTwoDimensionalDrawingWithFogAndLightsOff) {
    auto expect_2d = [] {
        EXPECT_FALSE(scene.in_3d);
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_FALSE(glIsEnabled(GL_FOG));
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
        EXPECT_EQ(scene.lights_on, 0);
        EXPECT_EQ(scene.shade_on, 0);
    };
    for (double detail : {0.0, 1.0})
        for (double map : {0.0, 1.0}) {
            SCOPED_TRACE(testing::Message() << "detail " << detail << " map " << map);
            DetailOption = detail;
            MapFade = map;
            TimerOption = 1;
            draw();
            expect_2d();
            EXPECT_FALSE(glIsEnabled(GL_BLEND));
            EXPECT_EQ(gfx.alpha_value, 1.0f);
        }
    MapFade = 0;
    ExitTimer = 1.5;
    draw();
    expect_2d();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_ONE);
    EXPECT_EQ(dst, GL_ONE);
    EXPECT_EQ(gfx.alpha_value, 0.5f);
}

// Drawing reads the game state and changes none of it.
TEST_F(LevelScene, LeavesTheGameStateAsItWas) {
    struct Globals {
        double values[20];
        static Globals take() {
            return {{ScreenWidth, ScreenHeight, FrameClock, Playing,      Level,
                     MapFade,     LevelDone,    DoneFade,   ForceMap,     ExitTimer,
                     TimeLeft,    HurryMusic,   MusicTrack, MusicWait,    StartLevelOption,
                     TimerOption, Lives,        Score,      DetailOption, ActionLatch}};
        }
    };
    ForceMap = 1;
    Pads.at(3).bolts = 3;
    Worker& w = Workers.at(0);
    for (double bolt : {0.0, 600.0, -1500.0}) {
        for (double exit_timer : {0.0, 0.7}) {
            w.bolt_timer = bolt;
            w.idle_since = FrameClock - 300; // walking
            ExitTimer = exit_timer;
            MapFade = 0.3;
            DoneFade = 0.4;
            TimerOption = 2;
            const Globals before = Globals::take();
            const RtArray<Pad> pads = Pads;
            const RtArray<Worker> workers = Workers;
            draw();
            const Globals after = Globals::take();
            EXPECT_EQ(std::memcmp(before.values, after.values, sizeof before.values), 0);
            ASSERT_EQ(PadCount(), pads.bounds(0));
            for (int i = 0; i < PadCount(); ++i)
                EXPECT_EQ(std::memcmp(&Pads.at(i), &pads.at(i), sizeof(Pad)), 0) << i;
            ASSERT_EQ(WorkerCount(), 1);
            EXPECT_EQ(std::memcmp(&Workers.at(0), &workers.at(0), sizeof(Worker)), 0);
        }
    }
}

// With the map positions demanded, a bolt on a girder away from its map position shows the
// second bolt texture; at its map position, or without the demand, the first.
TEST_F(LevelScene, SecondBoltTextureMarksAGirderAwayFromItsMapPosition) {
    Pad& girder = Pads.at(2);
    auto uses = [&](int sprite) { return differing(draw(), draw_without_sprite(sprite)) > 0; };
    ForceMap = 1;
    EXPECT_TRUE(uses(10));
    EXPECT_FALSE(uses(11));
    girder.x = girder.maxx - 1; // the last cell's bolt stays in view
    girder.bolts = 2;
    ForceMap = 0;
    EXPECT_TRUE(uses(10));
    EXPECT_FALSE(uses(11));
    ForceMap = 1;
    EXPECT_FALSE(uses(10));
    EXPECT_TRUE(uses(11));
    girder.bolts = 0;
    EXPECT_FALSE(uses(11));
}

// The remote bobs above the lift until DoneFade reaches 1.
TEST_F(LevelScene, RemoteShownUntilDoneFadeReachesOne) {
    auto drawn = [] { return differing(draw(), draw_without_object(5)) > 0; };
    EXPECT_FALSE(drawn());
    DoneFade = 0;
    EXPECT_TRUE(drawn());
    DoneFade = 0.3; // 2.4 above the lift
    EXPECT_TRUE(drawn());
}

// Levels the game never makes still draw: no pads or workers at all, absurd or undefined sizes
// and positions. A pad of a billion cells costs no more than the view can show.
TEST_F(LevelScene, DrawsOddLevelsWithoutFailing) {
    Pads = RtArray<Pad>();
    Workers = RtArray<Worker>();
    draw();
    Pads.dim(3);
    set_pad(1, -5e8, 3, -5e8, 3, 1e9, 1);
    set_pad(2, std::nan(""), 1, 4, 1, std::nan(""), 2);
    Workers.dim(1);
    Workers.at(0).x = 2.5;
    Workers.at(0).y = 3.5;
    const Screen s = draw();
    // The long floor crosses the view.
    EXPECT_GT(differing(s, draw_without_object(3)), 800 * 600 / 10);
}

namespace {

// DrawGirder seen straight from above, with markers in place of the cell models: each model
// slot a flat box of its own colour, off-centre towards +x, so a cell's pixels tell both the
// model and its turn.
class GirderCells : public ::testing::Test {
  protected:
    static constexpr uint32_t kColours[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};

    static std::string marker(uint32_t colour) {
        std::string s = "DDDA 1.0\n0\n6\n";
        const char* faces[6] = {"6 0 7 0 5 0 4 0", "3 0 2 0 0 0 1 0", "7 0 3 0 1 0 5 0",
                                "2 0 6 0 4 0 0 0", "2 0 3 0 7 0 6 0", "4 0 5 0 1 0 0 0"};
        for (const char* f : faces)
            s += std::to_string(colour & 0xff) + " " + std::to_string((colour >> 8) & 0xff) + " " +
                 std::to_string((colour >> 16) & 0xff) + " 4 " + f + "\n";
        s += "1\n8\n";
        for (int i = 0; i < 8; ++i)
            s += std::string(i & 1 ? "0.7" : "0.3") + " " + (i & 2 ? "0.2" : "0") + " " +
                 (i & 4 ? "0.2" : "-0.2") + "\n";
        return s;
    }

    void SetUp() override {
        ASSERT_TRUE(open_test_window());
        if (!gfx.initialised) gfx_device_init(800, 600);
        const std::string dir = make_temp_dir();
        for (int m = 0; m < 4; ++m) {
            std::swap(scene.objects[size_t(m)], saved_objects_[m]);
            const std::string file = dir + "/marker" + std::to_string(m) + ".ddd";
            ASSERT_TRUE(write_bytes(file, marker(kColours[m])));
            load_object(file.c_str(), m);
            ASSERT_EQ(scene.objects[size_t(m)].loaded, 1);
        }
        std::swap(gfx.slots[0], saved_sprite_); // no girder texture unless a test sets one
    }

    void TearDown() override {
        clear_sprite_slot(0);
        std::swap(gfx.slots[0], saved_sprite_);
        for (int m = 0; m < 4; ++m) {
            release_slot(scene.objects[size_t(m)]);
            std::swap(scene.objects[size_t(m)], saved_objects_[m]);
        }
        end_3d();
    }

    // Draws one pad from above, centred on the view.
    static Screen draw_pad(double x, double y, double extx, double exty, double is_static) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        set_viewport(0, 0, 0, 0);
        begin_3d(1, 100, -10); // orthographic, 17.5 units high
        const double cx = 2 * x + extx - 1, cz = 2 * y + exty - 1;
        set_camera_up(0, 0, -1);
        set_camera(cx, 50, cz, cx, 0, cz);
        DrawGirder(x, y, extx, exty, 0, is_static);
        return Screen{read_screen()};
    }

    // The model and turn of the cell at grid (gx, gy) as the screen shows them: the marker's
    // colour where a box turned by the angle lies, and nothing at the other three turns.
    static ::testing::AssertionResult Cell(const Screen& s, double gx, double gy, int model,
                                           int angle) {
        const uint32_t c = kColours[model];
        const Rgba want{uint8_t(c & 0xff), uint8_t(c >> 8 & 0xff), uint8_t(c >> 16 & 0xff), 255};
        for (int turn = 0; turn < 360; turn += 90) {
            const double a = (angle + turn) * std::acos(-1.0) / 180;
            const Point p = project(2 * gx + 0.5 * std::cos(a), 0.2, 2 * gy - 0.5 * std::sin(a));
            const Rgba got = s.at(p.x, p.y);
            const bool here = got == want, empty = got == (Rgba{0, 0, 0, 255});
            if (turn == 0 ? !here : !empty)
                return ::testing::AssertionFailure()
                       << "cell " << gx << "," << gy << " turned " << angle + turn << ": "
                       << describe(got) << ", want model " << model << " at " << angle;
        }
        return ::testing::AssertionSuccess();
    }

    ObjectSlot saved_objects_[4];
    SpriteSlot saved_sprite_;
};

} // namespace

TEST_F(GirderCells, OneCellGirderUsesItsOwnModel) {
    const Screen s = draw_pad(3, 2, 1, 1, 0);
    EXPECT_TRUE(Cell(s, 3, 2, 0, 0));
}

// End pieces at both ends, the first turned round; middle pieces between them.
TEST_F(GirderCells, GirderAlongYHasEndsAndMiddles) {
    const Screen s = draw_pad(3, 1, 1, 4, 0);
    EXPECT_TRUE(Cell(s, 3, 1, 2, 180));
    EXPECT_TRUE(Cell(s, 3, 2, 1, 0));
    EXPECT_TRUE(Cell(s, 3, 3, 1, 0));
    EXPECT_TRUE(Cell(s, 3, 4, 2, 0));
}

// The same along x, every piece turned a further 90 degrees.
TEST_F(GirderCells, GirderAlongXIsTurnedAQuarter) {
    const Screen s = draw_pad(1, 3, 4, 1, 0);
    EXPECT_TRUE(Cell(s, 1, 3, 2, 270));
    EXPECT_TRUE(Cell(s, 2, 3, 1, 90));
    EXPECT_TRUE(Cell(s, 3, 3, 1, 90));
    EXPECT_TRUE(Cell(s, 4, 3, 2, 90));
}

// A square pad runs along y; every row of a wide pad follows the same rule.
TEST_F(GirderCells, SquarePadRunsAlongY) {
    const Screen s = draw_pad(2, 2, 2, 2, 0);
    for (double gx : {2.0, 3.0}) {
        EXPECT_TRUE(Cell(s, gx, 2, 2, 180));
        EXPECT_TRUE(Cell(s, gx, 3, 2, 0));
    }
}

// A static pad is one floor model per cell, turned as a girder of its shape would be.
TEST_F(GirderCells, StaticPadDrawsAFloorModelPerCell) {
    const Screen s = draw_pad(1, 1, 3, 2, 1);
    for (double gy : {1.0, 2.0}) {
        EXPECT_TRUE(Cell(s, 1, gy, 3, 270));
        EXPECT_TRUE(Cell(s, 2, gy, 3, 90));
        EXPECT_TRUE(Cell(s, 3, gy, 3, 90));
    }
    int marked = 0;
    for (size_t i = 0; i < s.rgba.size(); i += 4)
        if (s.rgba[i] == 255 && s.rgba[i + 1] == 255 && s.rgba[i + 2] == 0) ++marked;
    EXPECT_GT(marked, 6 * 100);
}

// Girders wear the girder texture (slot 0); floors none.
TEST_F(GirderCells, OnlyMovablePadsAreTextured) {
    glClear(GL_COLOR_BUFFER_BIT);
    draw_rect(0, 0, 64, 64, 0xFFFF80); // (128, 255, 255): halves the red of the red marker
    grab_sprite(0, 0, 0, 64, 64);
    const Screen girder = draw_pad(3, 2, 1, 1, 0);
    const Point p = project(6.5, 0.2, 4);
    EXPECT_TRUE(near(girder.at(p.x, p.y), Rgba{128, 0, 0, 255}, 2))
        << describe(girder.at(p.x, p.y));
    const Screen floor = draw_pad(3, 2, 1, 1, 1);
    EXPECT_TRUE(Cell(floor, 3, 2, 3, 0));
}
