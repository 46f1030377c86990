// steel_data wav and music: the JSON they print and their exit status.
#include "support/test_support.h"
#include "tiny_module.h"
#include "wav_bytes.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

class SteelDataAudio : public testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(data_tool())) GTEST_SKIP() << "steel_data is not built";
        dir_ = make_temp_dir();
    }
    void TearDown() override {
        std::error_code ec;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
    }
    int run(const std::string& args, std::string* out) {
        return run_command(data_tool() + " " + args, out);
    }
    std::string dir_;
};

TEST_F(SteelDataAudio, Wav) {
    WavSpec s;
    s.channels = 2;
    s.rate = 22050;
    ASSERT_TRUE(write_bytes(dir_ + "/a.wav", wav_bytes(s, pcm16(300, 2, 5))));
    std::string out;
    EXPECT_EQ(run("wav " + dir_ + "/a.wav", &out), 0);
    EXPECT_EQ(out, "{\"channels\":2, \"rate\":22050, \"bits\":16, \"frames\":300}\n");

    s.before_data = chunk("LIST", "abcd");
    ASSERT_TRUE(write_bytes(dir_ + "/b.wav", wav_bytes(s, pcm16(300, 2, 5))));
    EXPECT_EQ(run("wav " + dir_ + "/b.wav", &out), 1);
    EXPECT_EQ(out, "{\"error\":\"expected a data chunk\"}\n");
    EXPECT_EQ(run("wav " + dir_ + "/missing.wav", &out), 1);
    EXPECT_EQ(out, "{\"error\":\"cannot read the file\"}\n");
}

TEST_F(SteelDataAudio, Music) {
    ASSERT_TRUE(write_bytes(dir_ + "/a.it", tiny_module(8)));
    std::string out;
    EXPECT_EQ(run("music " + dir_ + "/a.it", &out), 0);
    // What libopenmpt reports, then what the song message names (nothing here) and how loud
    // the module plays to its end.
    EXPECT_EQ(out.rfind("{\"duration_s\":0.960, \"channels\":1, \"patterns\":1, \"orders\":1, "
                        "\"samples\":1, \"title\":\"\", \"form\":\"\", \"ending\":\"\", ",
                        0),
              0u)
        << out;
    EXPECT_NE(out.find("\"rendered_s\":"), std::string::npos) << out;
    EXPECT_NE(out.find("\"loudness_lufs\":"), std::string::npos) << out;
    EXPECT_NE(out.find("\"peak_dbfs\":"), std::string::npos) << out;
    ASSERT_TRUE(write_bytes(dir_ + "/b.it", "hello"));
    EXPECT_EQ(run("music " + dir_ + "/b.it", &out), 1);
    EXPECT_EQ(out.rfind("{\"error\":\"", 0), 0u) << out;
}

} // namespace
