// steel_data model and render, run as programs.
#include "bmp_writer.h"
#include "ddd_models.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

bool have_tool() {
    return std::filesystem::exists(data_tool());
}

} // namespace

TEST(DddTool, ModelPrintsJsonOrAnError) {
    if (!have_tool()) GTEST_SKIP() << "steel_data is not built";
    std::string dir = make_temp_dir(), out;
    ASSERT_TRUE(write_bytes(dir + "/m.ddd", encode_ddd_binary(small_mesh())));
    ASSERT_EQ(run_command(data_tool() + " model " + dir + "/m.ddd", &out), 0) << out;
    EXPECT_EQ(out,
              "{\"variant\":\"binary\",\"frames\":2,\"colours\":2,\"uvs\":4,\"has_colours\":true,"
              "\"frame_info\":[{\"vertices\":4,\"triangles\":1,\"centre\":[0.333333,0.333333,0],"
              "\"radius\":0.745356},{\"vertices\":4,\"triangles\":1,\"centre\":[0.833333,"
              "0.333333,0],\"radius\":0.745356}]}\n");
    ASSERT_TRUE(write_bytes(dir + "/c.ddd", cube_text(255)));
    ASSERT_EQ(run_command(data_tool() + " model " + dir + "/c.ddd", &out), 0) << out;
    EXPECT_NE(out.find("\"variant\":\"text\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"triangles\":12"), std::string::npos) << out;

    ASSERT_TRUE(
        write_bytes(dir + "/bad.ddd", "DDDA 1.0 0 1 1 1 1 3 0 0 1 0 9 0 1 3 0 0 0 1 0 0 0 1 0"));
    EXPECT_EQ(run_command(data_tool() + " model " + dir + "/bad.ddd", &out), 1);
    EXPECT_EQ(out, "{\"error\":\"read error\"}\n");
    EXPECT_EQ(run_command(data_tool() + " model " + dir + "/none.ddd", &out), 1);
}

TEST(DddTool, RenderWritesTheFrame) {
    if (!have_tool()) GTEST_SKIP() << "steel_data is not built";
    std::string dir = make_temp_dir(), out;
    ASSERT_TRUE(write_bytes(dir + "/c.ddd", cube_text(255)));
    std::string bmp = dir + "/c.bmp";
    ASSERT_EQ(run_command(
                  data_tool() + " render " + dir + "/c.ddd --out " + bmp + " --cel --yaw 30", &out),
              0)
        << out;
    std::string image = read_text(bmp);
    ASSERT_EQ(image.size(), 54u + 800u * 600u * 3u);
    // The centre shows the red cube (BGR bytes), the corner the grey background.
    size_t centre = 54 + (300u * 800u + 400u) * 3u;
    EXPECT_GE(uint8_t(image[centre + 2]), 100); // a band of the red ramp
    EXPECT_EQ(uint8_t(image[centre + 1]), 0);
    EXPECT_EQ(uint8_t(image[centre + 0]), 0);
    EXPECT_NEAR(uint8_t(image[54 + 2]), 128, 1);
    EXPECT_NE(run_command(data_tool() + " render " + dir + "/none.ddd --out " + bmp, &out), 0);

    // A white cube with a green texture, lit by the fixed light.
    ASSERT_TRUE(write_bytes(dir + "/w.ddd", cube_text(0xFFFFFF)));
    ASSERT_TRUE(write_bytes(dir + "/g.bmp", solid_bmp(8, 8, Rgb{0, 200, 0})));
    ASSERT_EQ(run_command(data_tool() + " render " + dir + "/w.ddd --out " + bmp + " --texture " +
                              dir + "/g.bmp --frame 3",
                          &out),
              0)
        << out;
    image = read_text(bmp);
    ASSERT_EQ(image.size(), 54u + 800u * 600u * 3u);
    EXPECT_GT(uint8_t(image[centre + 1]), 40);
    EXPECT_EQ(uint8_t(image[centre + 2]), 0);
}
