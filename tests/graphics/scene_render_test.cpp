// Drawing the scene into the headless game framebuffer and reading the pixels back.
#include "ddd_models.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/scene.h"
#include "graphics/scene_engine.h"
#include "graphics/texture.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kRed = 0x0000FF;
const Rgba kBlue{0, 0, 255, 255};

class SceneRender : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(open_test_window());
        gfx_device_init(800, 600);
        set_viewport(0, 0, 0, 0);
        clear();
        dir_ = make_temp_dir();
    }
    // A blue background (begin_3d makes the clear colour black).
    static void clear() {
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    }
    void TearDown() override {
        set_fog(-1, 0, 0, 0);
        set_light(-2, 0, 0, 0, 0, 0, 0, 0, 0);
        end_3d();
    }
    void load_cube(int slot, uint32_t colour) {
        std::string file = dir_ + "/cube" + std::to_string(slot) + ".ddd";
        ASSERT_TRUE(write_bytes(file, cube_text(colour)));
        load_object(file.c_str(), slot);
        ASSERT_EQ(scene.objects[size_t(slot)].loaded, 1);
    }
    static Rgba at(double x, double y, double z) {
        double sx, sy, sz;
        world_to_screen(x, y, z, sx, sy, sz);
        return read_pixel(int(sx), int(sy));
    }
    std::string dir_;
};

bool near(const Rgba& a, const Rgba& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

::testing::AssertionResult IsNear(const Rgba& a, const Rgba& b, int tolerance) {
    if (near(a, b, tolerance)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << int(a.r) << "," << int(a.g) << "," << int(a.b) << ") vs (" << int(b.r) << ","
           << int(b.g) << "," << int(b.b) << ")";
}

} // namespace

TEST_F(SceneRender, ColouredCubeLandsWhereTheCameraSays) {
    for (bool buffers : {true, false}) {
        bool had = gl_ext.buffers;
        gl_ext.buffers = had && buffers;
        load_cube(10, kRed);
        clear();
        begin_3d(1, 100, 45);
        set_camera(0, 0, 10, 0, 0, 0);
        set_texture(-1, -1);
        set_translation(2, 0, 0);
        draw_object(10, 0);
        double sx, sy, sz;
        world_to_screen(0, 0, 0, sx, sy, sz);
        EXPECT_NEAR(sx, 400, 1e-3);
        EXPECT_NEAR(sy, 300, 1e-3);
        world_to_screen(2, 0, 0, sx, sy, sz);
        EXPECT_GT(sx, 500);
        EXPECT_EQ(read_pixel(int(sx), int(sy)), (Rgba{255, 0, 0, 255})) << buffers;
        EXPECT_EQ(read_pixel(400, 300), kBlue);
        EXPECT_EQ(at(3.6, 0, 0), kBlue);
        // screen_to_world undoes world_to_screen.
        double x, y, z;
        screen_to_world(sx, sy, sz, x, y, z);
        EXPECT_NEAR(x, 2, 1e-3);
        EXPECT_NEAR(z, 0, 1e-3);
        end_3d();
        release_slot(scene.objects[10]);
        gl_ext.buffers = had;
    }
}

TEST_F(SceneRender, ObjectsBehindTheCameraAreSkippedAndConeUsesFovPlusFive) {
    begin_3d(0.1, 200, 45);
    EXPECT_NEAR(scene.cull_tangent, std::tan(50 * 3.14159265358979 / 180), 1e-5);
    begin_3d(0.1, 200, -45);
    EXPECT_NEAR(scene.cull_tangent, std::tan(89 * 3.14159265358979 / 180), 1e-2);
}

TEST_F(SceneRender, FogReachesItsColourAtTheFarDistance) {
    load_cube(11, 0xFFFFFF);
    begin_3d(1, 20, 45);
    set_camera(0, 0, 0, 0, 0, -1);
    set_fog(65280, 0, 0, 0); // green, near to far
    set_scaling(3, 3, 0.05);
    set_translation(0, 0, -19.5);
    draw_object(11, 0);
    EXPECT_TRUE(IsNear(read_pixel(400, 300), Rgba{0, 255, 0, 255}, 12));
    clear();
    set_translation(0, 0, -2.5);
    draw_object(11, 0);
    Rgba close = read_pixel(400, 300);
    EXPECT_GT(close.r, 200);
    set_fog(-1, 0, 0, 0);
    clear();
    set_translation(0, 0, -19.5);
    draw_object(11, 0);
    EXPECT_EQ(read_pixel(400, 300), (Rgba{255, 255, 255, 255}));
}

TEST_F(SceneRender, CelShadingGivesFlatRampBandsAndABlackOutline) {
    const uint32_t colour = 200 + 100 * 256 + 50 * 65536;
    load_cube(12, colour);
    for (bool cel : {true, false}) {
        clear();
        begin_3d(1, 100, 45);
        set_camera(0, 0, 10, 0, 0, 0);
        set_culling(1);
        set_light(-2, 16777215, 0, 0, 1000, 0, 0, 0, cel ? 360 : 0);
        set_translation(0, 0, 0);
        add_rotation(20, 0, 1, 0);
        draw_object(12, 0);

        const double s20 = std::sin(20 * 3.14159265358979 / 180);
        const double c20 = std::cos(20 * 3.14159265358979 / 180);
        double fx, fy, fz, lx, ly, lz;
        world_to_screen(s20, 0, c20, fx, fy, fz);  // the front face, lit head-on
        world_to_screen(-c20, 0, s20, lx, ly, lz); // the left face, N.L = sin 20
        const Rgba lit{200, 100, 50, 255};
        const Rgba mid{200 * 160 / 255, 100 * 160 / 255, 50 * 160 / 255, 255};
        if (cel) {
            for (int d = -6; d <= 6; d += 3) {
                EXPECT_TRUE(IsNear(read_pixel(int(fx) + d, int(fy) + d), lit, 1)) << d;
                EXPECT_TRUE(IsNear(read_pixel(int(lx), int(ly) + d * 4), mid, 1)) << d;
            }
        }
        // Walk up from each face to the background: black only with the outline (the top face,
        // edge-on to the camera, is pushed out past the silhouette).
        for (double x : {fx, lx}) {
            int y = int(fy);
            Rgba px = read_pixel(int(x), y);
            bool black = false;
            while (y > 0 && !(px == kBlue)) {
                black = black || px == (Rgba{0, 0, 0, 255});
                px = read_pixel(int(x), --y);
            }
            EXPECT_EQ(black, cel) << x;
        }
        end_3d();
    }
    ASSERT_NE(scene.objects[12].meshes.front()->ramp_texture, 0u);
    EXPECT_EQ(scene.objects[12].meshes.front()->ramp_height, 2);
    set_culling(0);
}

// Outlines kept for the end of a batch give the same pixels as outlines drawn after each object:
// cubes that overlap, share faces, turn both ways, lie in fog, and a translucent and an additive
// one among them; and a field of small cubes too many for one batch to hold.
TEST_F(SceneRender, BatchedOutlinesKeepEveryPixel) {
    load_cube(12, 200 + 100 * 256 + 50 * 65536);
    load_cube(13, 0x30C060);
    struct Cube {
        int slot;
        double x, y, z, angle, alpha_mode, cull;
    };
    const Cube cubes[] = {
        {12, -3, 0, 0, 20, 0, 1},     {13, -1.5, 0.5, -1, 35, 0, 1}, {12, -1.5, 0.5, -1, 35, 0, 1},
        {13, 0, -0.5, 0.5, 0, -0.5, 1}, {12, 0.8, 0, -0.5, 60, 0, -1}, {13, 2, 0.3, 0, 10, 0.6, 1},
        {12, 2.5, -0.2, 0.4, 80, 0, 1}, {13, 4, 0, -2, 45, 0, 1},     {12, -4.5, -1, -3, 5, 0, -1},
    };
    std::vector<Cube> field;
    for (int i = 0; i < 3000; ++i)
        field.push_back({12 + i % 2, -6 + 0.2 * (i % 60), -3 + 0.2 * (i / 60 % 30), -0.1 * (i / 60),
                         7.0 * i, 0, 1});
    size_t waited = 0, most = 0;
    auto frame = [&](bool batch, const std::vector<Cube>& cubes) {
        clear();
        begin_3d(1, 100, 45);
        set_camera(1, 3, 12, 0, 0, 0);
        set_light(-2, 16777215, 300, 400, 1000, 0, 0, 0, 360);
        set_fog(0xC0A080, 0, 13, 40); // the farther cubes in fog
        if (batch) batch_outlines(1);
        for (const Cube& c : cubes) {
            set_culling(c.cull);
            set_alpha_mode(c.alpha_mode);
            set_translation(c.x, c.y, c.z);
            add_rotation(c.angle, 0, 1, 0);
            draw_object(c.slot, 0);
            set_alpha_mode(0);
            waited = std::max(waited, scene.outline_batch.outlines.size());
            most = std::max(most, scene.outline_batch.positions.size() / 3);
        }
        if (batch) batch_outlines(0);
        end_3d();
        return read_screen();
    };
    const std::vector<Cube> few(std::begin(cubes), std::end(cubes));
    const std::vector<Cube>* lists[] = {&few, &field};
    for (const std::vector<Cube>* list : lists) {
        waited = 0;
        const std::vector<uint8_t> each = frame(false, *list), batched = frame(true, *list);
        EXPECT_GE(waited, 3u);
        ASSERT_EQ(each.size(), batched.size());
        size_t differing = 0, black = 0;
        for (size_t i = 0; i < each.size(); i += 4) {
            if (std::memcmp(&each[i], &batched[i], 4) != 0) ++differing;
            if (each[i] == 0 && each[i + 1] == 0 && each[i + 2] == 0) ++black;
        }
        EXPECT_EQ(differing, 0u) << list->size() << " cubes";
        EXPECT_GT(black, 500u); // the outlines are there
    }
    // The field's outlines went out in batches of at most 4 MB of vertices.
    EXPECT_GT(most, 60000u);
    EXPECT_LT(most, 65536u);
    set_culling(0);
}

// A textured square grid of n x n quads over -1..1 in x and z, every face one colour.
std::string grid_text(int n) {
    std::string s = "DDDA 1.0\n" + std::to_string((n + 1) * (n + 1)) + "\n";
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i)
            s += std::to_string(double(i) / n * 3) + " " + std::to_string(double(j) / n * 3) + "\n";
    s += std::to_string(n * n) + "\n";
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const int a = j * (n + 1) + i, b = a + 1, c = a + n + 2, d = a + n + 1;
            s += "220 200 180 4";
            for (int v : {a, d, c, b})
                s += " " + std::to_string(v) + " " + std::to_string(v);
            s += "\n";
        }
    s += "1\n" + std::to_string((n + 1) * (n + 1)) + "\n";
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i)
            s += std::to_string(-1 + 2.0 * i / n) + " 0 " + std::to_string(-1 + 2.0 * j / n) + "\n";
    return s;
}

// A 64 x 64 checkerboard, opaque, or with every 7th texel transparent.
void install_checkerboard(int slot, bool holes) {
    TexelImage image;
    image.width = image.height = image.texture_width = image.texture_height = 64;
    image.texels.resize(64 * 64 * 4);
    for (int i = 0; i < 64 * 64; ++i) {
        const bool dark = (i / 8 + i / 64 / 8) % 2 != 0;
        uint8_t* t = &image.texels[size_t(i) * 4];
        t[0] = dark ? 40 : 230, t[1] = dark ? 60 : 120, t[2] = dark ? 200 : 30;
        t[3] = holes && i % 7 == 0 ? 0 : 255;
    }
    install_slot_image(slot, image, false);
}

// Triangles wholly beyond linear fog's end are drawn untextured, and no pixel shows it: a ground
// grid and a field of cubes running from near the camera far into the fog, lit and unlit, both
// cull modes, both texture modes; where the texture has holes, the draw is translucent or the
// fog is not linear, every triangle keeps its texture.
TEST_F(SceneRender, TrianglesBeyondTheFogLeaveTheirTextureWithoutChangingAPixel) {
    const std::string file = dir_ + "/grid.ddd";
    ASSERT_TRUE(write_bytes(file, grid_text(24)));
    load_object(file.c_str(), 14);
    ASSERT_EQ(scene.objects[14].loaded, 1);
    load_cube(16, 0xC0C0C0);
    install_checkerboard(14, false);
    install_checkerboard(15, true);
    MeshObject& grid = *scene.objects[14].meshes.front();
    struct Case {
        const char* name;
        int texture;
        double light, cull, texture_mode, alpha_mode, fog_mode;
        bool split;
    };
    const Case cases[] = {
        {"lit", 14, 360, 1, 0, 0, 0, true},
        {"unlit, mipmapped, other cull", 14, 0, -1, 1, 0, 0, true},
        {"a texture with holes", 15, 360, 1, 0, 0, 0, false},
        {"translucent", 14, 360, 1, 0, -0.5, 0, false},
        {"exponential fog", 14, 360, 1, 0, 0, 1, false},
    };
    for (const Case& c : cases) {
        auto frame = [&](bool shortcut) {
            scene.fog_shortcut = shortcut ? 1 : 0;
            grid.fog_index.clear();
            clear();
            begin_3d(0.5, 200, 45);
            set_camera(0, 6, 10, 0, 0, -30);
            set_texture_mode(c.texture_mode);
            set_light(0, 16777215, 50, 80, 30, 0, 1, 0, c.light);
            set_fog(0x80B0C0, c.fog_mode, c.fog_mode != 0 ? 0.02 : 12, 30);
            set_culling(c.cull);
            set_alpha_mode(c.alpha_mode);
            set_texture(c.texture, -1);
            set_scaling(c.cull > 0 ? 40 : -40, 1, 40);
            set_translation(0, -1, -30);
            draw_object(14, 0);
            set_scaling(1, 1, 1);
            for (int i = 0; i < 60; ++i) {
                set_translation(-8 + 4 * (i % 5), 0.5, 4 - 3.0 * (i / 5));
                add_rotation(17.0 * i, 0, 1, 0);
                draw_object(16, 0);
            }
            set_light(0, 0, 0, 0, 0, 0, 1, 0, 0);
            set_alpha_mode(0);
            set_texture_mode(0);
            set_culling(0);
            end_3d();
            return read_screen();
        };
        const std::vector<uint8_t> each = frame(false);
        const std::vector<uint8_t> split = frame(true);
        ASSERT_EQ(each.size(), split.size());
        size_t differing = 0;
        for (size_t i = 0; i < each.size(); i += 4)
            differing += std::memcmp(&each[i], &split[i], 4) != 0 ? 1 : 0;
        EXPECT_EQ(differing, 0u) << c.name;
        EXPECT_EQ(grid.fog_index.empty(), !c.split) << c.name;
    }
    scene.fog_shortcut = 1;
}

TEST_F(SceneRender, RunTimeQuadOfFourVerticesIsTwoTriangles) {
    begin_3d(1, 100, 45);
    set_camera(0, 0, 5, 0, 0, 0);
    set_texture(-1, -1);
    begin_object(20);
    add_object_vertex(-1, -1, 0, 0, 0, 16777215);
    add_object_vertex(1, -1, 0, 1, 0, 16777215);
    add_object_vertex(-1, 1, 0, 0, 1, 16777215);
    end_object();
    ASSERT_EQ(scene.objects[20].loaded, 1);
    EXPECT_EQ(scene.objects[20].meshes.front()->corners[0], 3u);
    draw_object(20, 0);
    const Rgba white{255, 255, 255, 255};
    EXPECT_EQ(at(-0.5, -0.5, 0), white);
    EXPECT_EQ(at(0.5, 0.5, 0), kBlue);

    begin_object(20);
    add_object_vertex(-1, -1, 0, 0, 0, 16777215);
    add_object_vertex(1, -1, 0, 1, 0, 16777215);
    add_object_vertex(-1, 1, 0, 0, 1, 16777215);
    add_object_vertex(1, 1, 0, 1, 1, -1); // a colour past the markers is white, not a marker
    end_object();
    add_object_vertex(5, 5, 5, 0, 0, 0); // ignored: nothing is being built
    EXPECT_EQ(scene.objects[20].meshes.front()->corners[0], 6u);
    clear();
    draw_object(20, 0);
    EXPECT_EQ(at(-0.5, -0.5, 0), white);
    EXPECT_EQ(at(0.5, 0.5, 0), white);

    // The strip marker and one vertex are not an object.
    begin_object(21);
    add_object_vertex(0, 0, 0, 0, 0, 0);
    end_object();
    EXPECT_EQ(scene.objects[21].loaded, 0);
    EXPECT_TRUE(scene.objects[21].meshes.empty());
}

TEST_F(SceneRender, BlendedDrawMixesTwoFrames) {
    // Frame f of small_mesh is frame 0 moved by f * 0.5 along x; frames 0 and 1 at t = 0.5.
    std::string file = dir_ + "/two.ddd";
    ASSERT_TRUE(write_bytes(file, encode_ddd_binary(small_mesh())));
    load_object(file.c_str(), 22);
    ASSERT_EQ(scene.objects[22].loaded, 1);
    begin_3d(1, 100, 45);
    set_camera(0.5, 0.5, 5, 0.5, 0.5, 0);
    draw_object_blend(22, 0, 1, 0.5, 0);
    const MeshObject& mesh = *scene.objects[22].meshes.front();
    ASSERT_GE(mesh.blend.size(), 3u);
    EXPECT_FLOAT_EQ(mesh.blend[0].pos[0], 0.25f);
    EXPECT_FLOAT_EQ(mesh.blend[1].pos[0], 1.25f);
}

namespace {

int white_pixels(int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            n += read_pixel(x, y) == Rgba{255, 255, 255, 255};
    return n;
}

} // namespace

TEST_F(SceneRender, TextAtAPointIsHiddenBehindNearerObjects) {
    load_font("no such font.bmp", 0); // the built-in 8 x 8 font, white glyphs
    load_cube(13, kRed);
    for (double cube_z : {-4.0, 4.0}) { // behind the point, then in front of it
        clear();
        begin_3d(1, 100, 45);
        set_camera(0, 0, 10, 0, 0, 0);
        set_texture(-1, -1);
        set_translation(0, 0, cube_z);
        draw_object(13, 0);
        print_text_3d("HIH", 0, 0, 0, 0);
        // Centred on x 400, bottom edge at y 300: glyph rows 292..299, columns 388..411.
        int shown = white_pixels(388, 292, 411, 299);
        if (cube_z < 0) {
            EXPECT_GT(shown, 10);
            EXPECT_EQ(white_pixels(370, 301, 430, 310), 0); // nothing below the point
        } else {
            EXPECT_EQ(shown, 0);
        }
        end_3d();
    }
    // Camera-facing quads: 0.1 units per glyph pixel at the point.
    clear();
    begin_3d(1, 100, 45);
    set_camera(0, 0, 10, 0, 0, 0);
    print_text_3d("HIH", 0, 0, 0, 0.1);
    double sx, sy, sz;
    world_to_screen(1.2, 0.4, 0, sx, sy, sz);
    EXPECT_GT(white_pixels(int(800 - sx), int(sy), int(sx), int(600 - sy)), 50);
    EXPECT_EQ(white_pixels(int(sx) + 4, 250, int(sx) + 40, 350), 0);
    end_3d();
}

TEST_F(SceneRender, CollisionQueriesTestThePlacedTriangles) {
    load_cube(14, kRed);
    begin_3d(1, 100, 45);
    set_camera(0, 0, 10, 0, 0, 0);
    set_translation(5, 0, 0);
    EXPECT_EQ(object_hits_sphere(14, 0, 5, 0, 1.5, 0.6), 1);
    EXPECT_EQ(object_hits_sphere(14, 0, 5, 0, 1.5, 0.4), 0);
    EXPECT_EQ(object_hits_box(14, 0, 7, 7, 7, 5.5, 0.5, 0.5), 1);
    EXPECT_EQ(object_hits_box(14, 0, 7, 7, 7, 8, 8, 8), 0);
    EXPECT_NEAR(object_ray_distance(14, 0, 5, 0, 10, 0, 0, -3), 9, 1e-4);
    EXPECT_EQ(object_ray_distance(14, 0, 0, 0, 10, 0, 0, -1), -1);
    EXPECT_EQ(object_hits_sphere(15, 0, 0, 0, 0, 100), 0); // an empty slot hits nothing
    set_scene_debug(1); // draws the shapes: a red point where nothing is hit
    object_hits_sphere(14, 0, 0, 3, 0, 3.9);
    EXPECT_EQ(at(0, 3, 0), (Rgba{255, 0, 0, 255}));
    set_scene_debug(0);
    end_3d();
}

TEST_F(SceneRender, TranslucentDrawsScaleVertexColoursToo) {
    load_cube(16, kRed);
    begin_3d(1, 100, 45);
    set_camera(0, 0, 10, 0, 0, 0);
    set_alpha_mode(-0.5); // half transparent, darkened by half, as in 2D
    draw_object(16, 0);
    set_alpha_mode(0);
    EXPECT_TRUE(IsNear(read_pixel(400, 300), Rgba{64, 0, 128, 255}, 2));
}

TEST_F(SceneRender, AnOutlineLeavesTheAlphaModeBlendingAsItWas) {
    // Additive blending set before 3D: a cel-shaded, outlined draw must not turn it into
    // translucent blending for what is drawn after it (here a 2D rectangle over the blue).
    load_cube(17, kRed);
    set_alpha_mode(1);
    begin_3d(1, 100, 45);
    set_camera(0, 0, 10, 0, 0, 0);
    set_culling(1);
    set_light(-2, 16777215, 0, 0, 1000, 0, 0, 0, 360);
    set_translation(0, 0, 0);
    draw_object(17, 0);
    set_light(-2, 0, 0, 0, 0, 0, 0, 0, 0);
    end_3d();
    draw_rect(10, 10, 20, 20, kRed);
    set_alpha_mode(0);
    EXPECT_EQ(read_pixel(15, 15), (Rgba{255, 0, 255, 255})); // red added to the blue
}

namespace {

// The parts of the OpenGL state that 2D drawing relies on.
std::vector<int> two_d_state() {
    std::vector<int> s;
    auto units = gl_ext.multitexture ? 2 : 1;
    for (int u = 0; u < units; ++u) {
        if (gl_ext.multitexture) {
            gl_ext.ActiveTexture(GLenum(GL_TEXTURE0 + u));
            gl_ext.ClientActiveTexture(GLenum(GL_TEXTURE0 + u));
        }
        for (GLenum e : {GL_TEXTURE_2D, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T})
            s.push_back(glIsEnabled(e));
        s.push_back(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
        GLint env = 0;
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
        s.push_back(env);
    }
    if (gl_ext.multitexture) {
        gl_ext.ActiveTexture(GL_TEXTURE0);
        gl_ext.ClientActiveTexture(GL_TEXTURE0);
    }
    for (GLenum e : {GL_BLEND, GL_CULL_FACE, GL_DEPTH_TEST, GL_ALPHA_TEST, GL_FOG, GL_LIGHTING,
                     GL_COLOR_MATERIAL, GL_STENCIL_TEST, GL_NORMALIZE, GL_DITHER, GL_VERTEX_ARRAY,
                     GL_NORMAL_ARRAY, GL_COLOR_ARRAY})
        s.push_back(glIsEnabled(e));
    for (GLenum q : {GL_BLEND_SRC, GL_BLEND_DST, GL_DEPTH_WRITEMASK, GL_FRONT_FACE,
                     GL_CULL_FACE_MODE, GL_SHADE_MODEL, GL_ALPHA_TEST_FUNC, GL_MATRIX_MODE,
                     GL_MODELVIEW_STACK_DEPTH, GL_PROJECTION_STACK_DEPTH, GL_ATTRIB_STACK_DEPTH}) {
        GLint v = 0;
        glGetIntegerv(q, &v);
        s.push_back(v);
    }
    GLboolean mask[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    for (GLboolean m : mask)
        s.push_back(m);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    for (GLfloat c : colour)
        s.push_back(int(c * 1000));
    GLint buffer = 0;
    if (gl_ext.buffers) glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &buffer);
    s.push_back(buffer);
    return s;
}

} // namespace

TEST_F(SceneRender, LeavingThreeDGivesBackTheWhole2DState) {
    // Everything the scene can switch on, then end_3d: 2D drawing finds the state it had.
    load_cube(18, kRed);
    load_font("no such font.bmp", 0);
    set_alpha_mode(1);
    set_viewport(0, 0, 0, 0);
    const std::vector<int> before = two_d_state();
    begin_3d(1, 100, 45);
    set_camera(0, 0, 10, 0, 0, 0);
    set_culling(1);
    set_fog(0x808080, 0, 0, 0);
    set_light(0, 16777215, 0, 0, 0, 0, 0, -1, 180);
    set_light(-2, 16777215, 0, 0, 1000, 0, 0, 0, 360);
    set_texture(kFontSlotBase, kFontSlotBase);
    set_texture_offset(0.5, 0);
    set_sphere_mapping(1);
    set_translation(0, 0, 0);
    draw_object(18, 0);
    set_sphere_mapping(0);
    draw_object_blend(18, 0, 0, 0.5, 0);
    print_text_3d("A", 0, 0, 0, 0);
    print_text_3d("A", 0, 0, 0, 0.1);
    end_3d();
    EXPECT_EQ(two_d_state(), before);
    set_light(0, 0, 0, 0, 0, 0, 0, 0, 0);
    set_light(-2, 0, 0, 0, 0, 0, 0, 0, 0);
    set_alpha_mode(0);
}
