// Reading .ddd files without a window: both variants, markers, shared corners, quantisation,
// bad input.
#include "ddd_models.h"
#include "graphics/ddd.h"
#include "graphics/scene.h"
#include "graphics/scene_engine.h"
#include "runtime/errors.h"
#include "support/test_support.h"

#include <filesystem>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

DddStatus parse(const std::string& bytes, DddMesh& mesh, DddVariant* variant = nullptr) {
    return parse_ddd(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), mesh, variant);
}

size_t triangles(const DddMesh& mesh, size_t frame) {
    std::vector<DrawVertex> out;
    expand_frame(mesh, frame, out);
    return out.size() / 3;
}

} // namespace

TEST(DddBinary, RoundTripsFieldForField) {
    DddMesh m = small_mesh(), back;
    std::string bytes = encode_ddd_binary(m);
    EXPECT_EQ(bytes.size(), 4 + 8 + 12 + 2 * 4 + 4 * 8 + 2 * (28 + 4 * 5));
    DddVariant variant = DddVariant::text;
    ASSERT_EQ(parse(bytes, back, &variant), DddStatus::ok);
    EXPECT_EQ(variant, DddVariant::binary);
    EXPECT_EQ(back.colours, m.colours);
    EXPECT_EQ(back.u, m.u);
    EXPECT_EQ(back.v, m.v);
    ASSERT_EQ(back.frames.size(), 2u);
    EXPECT_EQ(back.frames[1].offset[0], -1.0f);
    EXPECT_EQ(back.frames[1].vertices[2].x, 2);
    EXPECT_EQ(back.frames[1].vertices[1].normal[0], 5);
    EXPECT_EQ(encode_ddd_binary(back), bytes);

    std::vector<DrawVertex> d;
    expand_frame(back, 1, d);
    ASSERT_EQ(d.size(), 3u);
    EXPECT_FLOAT_EQ(d[1].pos[0], (2 + 1) * 0.5f); // (byte - offset) * scale
    EXPECT_FLOAT_EQ(d[1].uv[1], -1.0f);           // v negated
    EXPECT_FLOAT_EQ(d[0].rgba[0], 1.0f);          // colour 0x0000FF is red
    EXPECT_FLOAT_EQ(d[0].rgba[2], 0.0f);
    EXPECT_EQ(d[0].colour_index, 1u);
}

TEST(DddBinary, RejectsBrokenFilesWithReadError) {
    const std::string good = encode_ddd_binary(small_mesh());
    DddMesh m;
    // Version 1.0 instead of 1.02.
    std::string v10 = good;
    double one = 1.0;
    std::memcpy(&v10[4], &one, 8);
    EXPECT_EQ(parse(v10, m), DddStatus::read_error);
    EXPECT_TRUE(m.frames.empty());
    // Every truncation is a short read.
    for (size_t n = 4; n < good.size(); ++n)
        EXPECT_EQ(parse(good.substr(0, n), m), DddStatus::read_error) << n;
    // Normal index 162, colour index past the table, more vertices than uv pairs.
    const size_t first_vertex = 4 + 8 + 12 + 8 + 32 + 28;
    std::string bad = good;
    bad[first_vertex + 5 + 3] = char(162);
    EXPECT_EQ(parse(bad, m), DddStatus::read_error);
    bad = good;
    bad[first_vertex + 4] = 2;
    EXPECT_EQ(parse(bad, m), DddStatus::read_error);
    bad = good;
    bad[4 + 8 + 8] = 3; // uv count 3 < 4 vertices
    bad.erase(4 + 8 + 12 + 8 + 24, 8);
    EXPECT_EQ(parse(bad, m), DddStatus::read_error);
    // Huge counts fail before anything is allocated.
    bad = good;
    std::memset(&bad[12], 0xff, 12);
    EXPECT_EQ(parse(bad, m), DddStatus::read_error);
}

TEST(DddBinary, MarkersSwitchTheGroupingAndAreNotDrawn) {
    DddMesh m;
    m.colours = {0xFFFFFF, kMarkerFan, kMarkerStrip, kMarkerTriangles};
    m.u.assign(16, 0);
    m.v.assign(16, 0);
    DddFrame f;
    auto vert = [](uint8_t x, uint8_t colour) { return DddVertex{x, 0, 0, {0, 0, 0}, colour}; };
    // 3 separate: one triangle; fan of 5: three; strip of 4: two.
    f.vertices = {vert(0, 0),  vert(1, 0),  vert(2, 0),  vert(3, 0),  vert(10, 1),
                  vert(10, 0), vert(11, 0), vert(12, 0), vert(13, 0), vert(14, 0),
                  vert(20, 2), vert(20, 0), vert(21, 0), vert(22, 0), vert(23, 0)};
    m.frames.push_back(f);
    std::vector<DrawVertex> d;
    expand_frame(m, 0, d);
    ASSERT_EQ(d.size(), 3u * (1 + 3 + 2));
    // The fourth plain vertex waits for two more; the fan's triangles share its first corner.
    EXPECT_FLOAT_EQ(d[3].pos[0], 10);
    EXPECT_FLOAT_EQ(d[6].pos[0], 10);
    EXPECT_FLOAT_EQ(d[9].pos[0], 10);
    EXPECT_FLOAT_EQ(d[11].pos[0], 14);
    // The strip alternates: (20, 21, 22) then (22, 21, 23).
    EXPECT_FLOAT_EQ(d[12].pos[0], 20);
    EXPECT_FLOAT_EQ(d[15].pos[0], 22);
    EXPECT_FLOAT_EQ(d[16].pos[0], 21);
    EXPECT_FLOAT_EQ(d[17].pos[0], 23);
    for (const auto& v : d)
        EXPECT_NE(v.colour, kMarkerFan);

    float centre[3], radius;
    bounding_sphere(d, centre, radius);
    EXPECT_GT(radius, 0);
}

TEST(DddCorners, EqualCornersShareOneVertexInEveryFrame) {
    auto corner = [](float x, float y) {
        DrawVertex v{};
        v.pos[0] = x;
        v.pos[1] = y;
        v.normal[2] = 1;
        return v;
    };
    const DrawVertex a = corner(0, 0), b = corner(1, 0), c = corner(1, 1), d = corner(0, 1);
    const DrawVertex negative_zero = corner(-0.0f, 0); // equal to a as a number, not in bytes
    DrawVertex a_moved = a;
    a_moved.pos[2] = 1;
    using Lists = std::vector<std::vector<DrawVertex>>;
    struct Case {
        const char* what;
        Lists lists;
        size_t distinct; // the first frame's vertices
    };
    const Case cases[] = {
        {"a quad: two triangles", {{a, b, c, a, c, d}}, 4},
        {"a corner that differs in one frame", {{a, b, c, a, c, d}, {a, b, c, a_moved, c, d}}, 5},
        {"the same moves in both frames", {{a, b, c, a, c, d}, {a_moved, b, c, a_moved, c, d}}, 4},
        {"-0 is not +0", {{a, b, c, negative_zero, c, d}}, 5},
        {"lists of different lengths are kept whole", {{a, b, c, a, c, d}, {a, b, c}}, 6},
        {"no frames", {}, 0},
    };
    for (const Case& t : cases) {
        Lists vertices;
        std::vector<uint32_t> index;
        share_corners(t.lists, vertices, index);
        ASSERT_EQ(vertices.size(), t.lists.size()) << t.what;
        if (!t.lists.empty()) {
            EXPECT_EQ(vertices[0].size(), t.distinct) << t.what;
        }
        for (size_t f = 0; f < t.lists.size(); ++f) {
            ASSERT_GE(index.size(), t.lists[f].size()) << t.what;
            // Every frame's triangle list comes back corner for corner, byte for byte.
            for (size_t i = 0; i < t.lists[f].size(); ++i) {
                ASSERT_LT(index[i], vertices[f].size()) << t.what;
                EXPECT_EQ(std::memcmp(&vertices[f][index[i]], &t.lists[f][i], sizeof(DrawVertex)),
                          0)
                    << t.what << ", frame " << f << ", corner " << i;
            }
        }
    }
}

TEST(DddText, FacesBecomeFansAndColoursFollowFirstUse) {
    const std::string text = "DDDA 1.1 # comment\n"
                             "2  0 0  1 1\n"
                             "2\n"
                             "255 0 0 4  0 0  1 1  2 0  3 1\n"
                             "0 256 7 3  0 0  2 0  3 1\n"
                             "1\n4\n"
                             "0 0 0 0 0 1\n 1 0 0 0 0 1\n 1 1 0 0 0 1\n 0 1 0 0 0 1\n";
    DddMesh m;
    DddVariant variant = DddVariant::binary;
    ASSERT_EQ(parse(text, m, &variant), DddStatus::ok);
    EXPECT_EQ(variant, DddVariant::text);
    ASSERT_EQ(m.frames.size(), 1u);
    // marker + 4 corners + marker + 3 corners; every vertex keeps a uv pair.
    EXPECT_EQ(m.frames[0].vertices.size(), 9u);
    EXPECT_EQ(m.u.size(), 9u);
    EXPECT_FLOAT_EQ(m.u[2], 1);
    EXPECT_EQ(triangles(m, 0), 2u + 1u);
    // Markers are in the table too, in order of first use; colour bytes use their low byte.
    ASSERT_EQ(m.colours.size(), 3u);
    EXPECT_EQ(m.colours[0], kMarkerFan);
    EXPECT_EQ(m.colours[1], 0x0000FFu);
    EXPECT_EQ(m.colours[2], 0x070000u);
    EXPECT_EQ(m.frames[0].vertices[1].normal[0], 5); // (0, 0, 1)
    EXPECT_TRUE(mesh_has_colours(m));
    // Negative components are whole numbers too: their low byte (two's complement) is used.
    ASSERT_EQ(parse("DDDA 1.0 0 1 -1 -255 -256 3 0 0 1 0 2 0 1 3 0 0 0 1 0 0 0 1 0", m),
              DddStatus::ok);
    ASSERT_EQ(m.colours.size(), 2u);
    EXPECT_EQ(m.colours[1], 0x0001FFu);
}

// Every way of writing a number that strtod reads is read the same, the plain decimal ones on
// the quick path included; what it does not read whole is an error.
TEST(DddText, NumbersInEveryFormReadAsStrtodReadsThem) {
    struct Case {
        const char* token;
        bool ok;
        uint32_t red; // the colour's low byte
    };
    const Case cases[] = {
        {"7", true, 7},      {"+7", true, 7},     {"7.6", true, 8},  {"-1", true, 0xFF},
        {".5e1", true, 5},   {"5.", true, 5},     {"1e1", true, 10}, {"0x10", true, 16},
        {"1e-320", true, 0}, {"00012", true, 12}, {"7e", false, 0},  {"-", false, 0},
        {"1e400", false, 0}, {"inf", false, 0},   {"nan", false, 0}, {"7x", false, 0},
        {"1.5.2", false, 0}, {"--1", false, 0},
    };
    for (const Case& c : cases) {
        DddMesh m;
        const std::string text =
            std::string("DDDA 1.0 0 1 ") + c.token + " 0 0 3 0 0 1 0 2 0 1 3 0 0 0 1 0 0 0 1 0";
        const DddStatus status = parse(text, m);
        EXPECT_EQ(status == DddStatus::ok, c.ok) << c.token;
        if (status != DddStatus::ok || !c.ok) continue;
        ASSERT_EQ(m.colours.size(), 2u) << c.token;
        EXPECT_EQ(m.colours[1] & 0xFFu, c.red) << c.token;
    }
}

TEST(DddText, QuantisesPerFrame) {
    DddMesh m;
    ASSERT_EQ(parse("DDDA 1.0 0 1 9 9 9 3 0 0 1 0 2 0 1 3 -1 5 2  1 5 2  0 5 4", m), DddStatus::ok);
    const DddFrame& f = m.frames[0];
    EXPECT_FLOAT_EQ(f.scale[0], 2.0f / 255);
    EXPECT_FLOAT_EQ(f.offset[0], 1 / (2.0f / 255));
    EXPECT_EQ(f.scale[1], 1.0f); // one value only
    EXPECT_EQ(f.offset[1], -5.0f);
    EXPECT_EQ(f.vertices[1].x, 0);
    EXPECT_EQ(f.vertices[2].x, 255);
    EXPECT_NEAR(f.vertices[3].x, 127.5, 0.5); // the middle, as near as single precision gets
    EXPECT_EQ(f.vertices[1].y, 0);
    std::vector<DrawVertex> d;
    expand_frame(m, 0, d);
    ASSERT_EQ(d.size(), 3u);
    EXPECT_NEAR(d[0].pos[0], -1, 1e-5);
    EXPECT_NEAR(d[1].pos[1], 5, 1e-5);
    EXPECT_NEAR(d[2].pos[2], 4, 1e-5);
    EXPECT_TRUE(mesh_has_colours(m)); // 9 9 9 is a colour
}

TEST(DddText, RejectsWhatIsNotAModelAndBrokenIndices) {
    DddMesh m;
    EXPECT_EQ(parse("DDDB 1.0 0 0 0", m), DddStatus::not_a_model);
    EXPECT_EQ(parse("DDDA 1.2 0 0 0", m), DddStatus::not_a_model);
    EXPECT_EQ(parse("", m), DddStatus::not_a_model);
    EXPECT_EQ(parse("DDDA 1.1 0 0 0", m), DddStatus::ok);
    EXPECT_EQ(parse("DDDA 1.0 0 1 1 1 1 3 0 0 1 0 5 0 1 3 0 0 0 1 0 0 0 1 0", m),
              DddStatus::read_error); // vertex 5 of 3
    EXPECT_EQ(parse("DDDA 1.0 1 0 0 1 1 1 1 3 0 0 1 2 2 0 1 3 0 0 0 1 0 0 0 1 0", m),
              DddStatus::read_error); // uv 2 of 1
    EXPECT_EQ(parse("DDDA 1.0 0 1 1 1 1 3 0 0 1 0 2 0 1 3 0 0 0 1 0", m),
              DddStatus::read_error); // short
    EXPECT_EQ(parse("DDDA 1.0 0 1 1 1 1 3 0 0 1 0 2 0 99999999 3 0 0 0 1 0 0 0 1 0", m),
              DddStatus::read_error); // frames beyond what the file can justify
    EXPECT_EQ(parse("DDDA 1.0 nan", m), DddStatus::read_error);
}

TEST(DddNormals, TableEntriesMapToThemselves) {
    EXPECT_FLOAT_EQ(kNormalTable[0][0], -0.525731f);
    EXPECT_FLOAT_EQ(kNormalTable[1][1], 0.238856f);
    for (int i = 0; i < kNormalCount; ++i) {
        const float* n = kNormalTable[i];
        EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1, 1e-4);
        EXPECT_EQ(nearest_normal(n[0] * 3, n[1] * 3, n[2] * 3), i);
    }
    EXPECT_EQ(nearest_normal(0, 0, 0), 0);
}

TEST(DddLoad, LogsReadErrorsAndReloadReplaces) {
    std::string dir = make_temp_dir();
    std::string good = dir + "/good.ddd", other = dir + "/other.ddd", bad = dir + "/bad.ddd";
    ASSERT_TRUE(write_bytes(good, encode_ddd_binary(small_mesh())));
    ASSERT_TRUE(write_bytes(other, cube_text(0xFF)));
    std::string v10 = encode_ddd_binary(small_mesh());
    double one = 1.0;
    std::memcpy(&v10[4], &one, 8);
    ASSERT_TRUE(write_bytes(bad, v10));

    load_object(good.c_str(), 7);
    ASSERT_EQ(scene.objects[7].loaded, 1);
    EXPECT_EQ(scene.objects[7].meshes.front()->data.frames.size(), 2u);
    load_object(other.c_str(), 7);
    ASSERT_EQ(scene.objects[7].meshes.size(), 1u);
    const MeshObject& cube = *scene.objects[7].meshes.front();
    EXPECT_EQ(cube.data.frames.size(), 1u);
    EXPECT_EQ(cube.corners[0], 36u);
    EXPECT_EQ(cube.vertices[0].size(), 24u); // four corners a face
    EXPECT_TRUE(cube.has_colours);
    EXPECT_NEAR(cube.data.frames[0].radius, std::sqrt(3.0f), 1e-3);
    // Face normals point out of the cube.
    for (const auto& v : cube.vertices[0])
        EXPECT_GT(v.normal[0] * v.pos[0] + v.normal[1] * v.pos[1] + v.normal[2] * v.pos[2], 0);

    load_object((dir + "/missing.ddd").c_str(), 7); // nothing happens
    EXPECT_EQ(scene.objects[7].loaded, 1);

    // A file that is there but cannot be read (here: larger than any model may be) empties
    // the slot and is logged.
    std::string huge = dir + "/huge.ddd";
    ASSERT_TRUE(write_bytes(huge, ""));
    std::filesystem::resize_file(huge, (std::uintmax_t(1) << 30) + 1); // sparse
    error_log_restart();
    load_object(huge.c_str(), 7);
    EXPECT_EQ(scene.objects[7].loaded, 0);
    EXPECT_NE(read_text(error_log_path()).find("# read error\r\n" + huge), std::string::npos);
    load_object(good.c_str(), 7);
    ASSERT_EQ(scene.objects[7].loaded, 1);

    error_log_restart();
    load_object(bad.c_str(), 7);
    EXPECT_EQ(scene.objects[7].loaded, 0);
    std::string log = read_text(error_log_path());
    EXPECT_NE(log.find("# read error\r\n" + bad + "\r\n"), std::string::npos) << log;

    // save_object writes the binary variant of the slot's mesh.
    load_object(good.c_str(), 8);
    std::string saved = dir + "/saved.ddd";
    save_object(saved.c_str(), 8);
    EXPECT_EQ(read_text(saved), encode_ddd_binary(small_mesh()));

    // Loading into the slot of an object being built replaces it: the build is over, and
    // end_object changes nothing, whether the file loaded or not.
    for (const std::string& file : {good, bad}) {
        begin_object(9);
        for (int i = 0; i < 4; ++i)
            add_object_vertex(i & 1, i >> 1, 0, 0, 0, 255);
        load_object(file.c_str(), 9);
        add_object_vertex(5, 5, 5, 0, 0, 255);
        end_object();
        EXPECT_EQ(scene.objects[9].loaded, file == good ? 1 : 0) << file;
        if (file == good) {
            EXPECT_EQ(encode_ddd_binary(scene.objects[9].meshes.front()->data),
                      encode_ddd_binary(small_mesh()));
        }
    }
}

TEST(SceneBlend, ChoosesFramesAndWeights) {
    FrameBlend b = choose_frames(0, 10, 0.25, true, 11);
    EXPECT_EQ(b.first, 2);
    EXPECT_EQ(b.second, 3);
    EXPECT_FLOAT_EQ(b.w, 0.5f);
    FrameBlend wrapped = choose_frames(0, 10, 1.25, true, 11);
    EXPECT_EQ(wrapped.first, 2);
    EXPECT_FLOAT_EQ(wrapped.w, 0.5f);
    b = choose_frames(10, 0, 0.8, true, 11); // f = 2 exactly: frame 2 alone
    EXPECT_EQ(b.second, 2);
    EXPECT_FLOAT_EQ(b.w, 0);
    b = choose_frames(4, 5, 0.3, false, 11); // 0.3 x frame 5 + 0.7 x frame 4
    EXPECT_EQ(b.first, 5);
    EXPECT_EQ(b.second, 4);
    EXPECT_FLOAT_EQ(b.w, 0.3f);
    b = choose_frames(4, 5, 0, false, 11);
    EXPECT_EQ(b.second, 4);
    EXPECT_FLOAT_EQ(b.w, 0);
    b = choose_frames(-3, 40, 0, false, 11); // clamped
    EXPECT_EQ(b.first, 10);
    EXPECT_EQ(b.second, 0);
    // Frame numbers at the ends of the integer range still clamp (no overflow on the way).
    b = choose_frames(0, INT32_MAX, 1, true, 11);
    EXPECT_EQ(b.first, 10);
    EXPECT_EQ(b.second, 10);
    b = choose_frames(INT32_MIN, INT32_MAX, 0.5, true, 11); // f = -0.5: frames 0 and 1
    EXPECT_EQ(b.first, 0);
    EXPECT_EQ(b.second, 1);
    b = choose_frames(INT32_MAX, INT32_MIN, 0.25, true, 11);
    EXPECT_EQ(b.first, 10);
    EXPECT_EQ(b.second, 10);
}

TEST(SceneCone, SkipsWhatIsOutsideTheViewCone) {
    const float eye[3] = {0, 0, 0}, target[3] = {0, 0, -1};
    const float tan50 = float(std::tan(50 * 3.14159265358979 / 180));
    const float ahead[3] = {0, 0, -10}, behind[3] = {0, 0, 5}, around[3] = {0, 0, 0.5f};
    const float side[3] = {12, 0, -10}, wide[3] = {40, 0, -10};
    EXPECT_TRUE(sphere_in_view(ahead, 1, eye, target, tan50));
    EXPECT_FALSE(sphere_in_view(behind, 1, eye, target, tan50));
    EXPECT_TRUE(sphere_in_view(around, 1, eye, target, tan50));  // the eye is inside
    EXPECT_TRUE(sphere_in_view(side, 0.5f, eye, target, tan50)); // 12 < 10 * tan50 * 1.05
    EXPECT_FALSE(sphere_in_view(wide, 1, eye, target, tan50));
}

// A camera at the origin looking down -z through a 90-degree frustum from 1 to 100.
TEST(SceneFrustum, SpheresWhollyOutsideTheViewVolumeAreLeftOut) {
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const float projection[16] = {
        1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -101.0f / 99, -1, 0, 0, -200.0f / 99, 0};
    std::memcpy(scene.camera_matrix, identity, sizeof identity);
    std::memcpy(scene.projection, projection, sizeof projection);
    float shifted[16];
    std::memcpy(shifted, identity, sizeof identity);
    shifted[14] = -30; // placed 30 ahead
    struct Case {
        const char* name;
        const float* place;
        float x, y, z, r;
        bool outside;
    } const cases[] = {
        {"ahead", identity, 0, 0, -10, 1, false},
        {"past the left edge by 1.06", identity, -11.5f, 0, -10, 1, true},
        {"touching the left edge", identity, -11.5f, 0, -10, 1.1f, false},
        {"past the top edge", identity, 0, 11.5f, -10, 1, true},
        {"behind the eye", identity, 0, 0, 5, 1, true},
        {"short of the near plane", identity, 0, 0, 0.5f, 1, true},
        {"across the near plane", identity, 0, 0, 0.5f, 2, false},
        {"beyond the far plane", identity, 0, 0, -102, 1, true},
        {"across the far plane", identity, 0, 0, -100.5f, 1, false},
        {"placed past the left edge", shifted, -31.5f, 0, 0, 1, true},
        {"placed in view", shifted, -29, 0, 0, 1, false},
        {"NaN centre", identity, NAN, 0, -10, 1, false},
        {"infinite radius", identity, 500, 0, 0, HUGE_VALF, false},
    };
    for (const Case& c : cases) {
        const float centre[3] = {c.x, c.y, c.z};
        EXPECT_EQ(sphere_outside_frustum(c.place, centre, c.r), c.outside) << c.name;
    }
    std::memcpy(scene.projection, identity, sizeof identity);
}

TEST(SceneTransform, TranslationAndScalingClearTheRotationList) {
    scene.transform_level = 0;
    scene.levels[0].reset();
    set_translation(1, 2, 3);
    add_rotation(90, 0, 1, 0);
    set_scaling(2, 2, 2);
    EXPECT_EQ(scene.levels[0].rotation_count, 0);
    float m[16];
    placement_matrix(m);
    EXPECT_FLOAT_EQ(m[0], 2);
    EXPECT_FLOAT_EQ(m[8], 0); // no rotation left
    EXPECT_FLOAT_EQ(m[12], 1);
    EXPECT_FLOAT_EQ(m[14], 3);
    for (int i = 0; i < 20; ++i)
        add_rotation(10, 0, 0, 1);
    EXPECT_EQ(scene.levels[0].rotation_count, 16);

    // Rotations are applied last-added first, so the first-added one acts on the vertex first:
    // (1, 0, 0) about x stays, then about z becomes (0, 1, 0).
    set_translation(0, 0, 0);
    add_rotation(90, 1, 0, 0);
    add_rotation(90, 0, 0, 1);
    set_scaling(1, 1, 1);
    float p[3] = {1, 0, 0}, out[3];
    placement_matrix(m);
    transform_point(m, p, out);
    EXPECT_NEAR(out[0], 1, 1e-6); // set_scaling cleared them
    add_rotation(90, 1, 0, 0);
    add_rotation(90, 0, 0, 1);
    placement_matrix(m);
    transform_point(m, p, out);
    EXPECT_NEAR(out[0], 0, 1e-6);
    EXPECT_NEAR(out[1], 1, 1e-6);
    EXPECT_NEAR(out[2], 0, 1e-6);

    push_transform();
    EXPECT_EQ(scene.transform_level, 1);
    EXPECT_EQ(scene.levels[1].rotation_count, 0);
    pop_transform();
    pop_transform();
    EXPECT_EQ(scene.transform_level, 0);
}
