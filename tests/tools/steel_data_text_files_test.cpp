// steel_data ini and line: what the game's INI store and line cache make of a file.
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

class SteelDataTextFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = make_temp_dir();
        ASSERT_FALSE(dir.empty());
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    int run(const std::string& args, std::string* out) {
        return run_command(data_tool() + " " + args, out);
    }
    int ini(const std::string& args, std::string* out) { return run("ini " + args, out); }
    int line(const std::string& args, std::string* out) { return run("line " + args, out); }
    std::string dir;
};

TEST_F(SteelDataTextFiles, IniPrintsValuesAsTheStoreReadsThem) {
    ASSERT_TRUE(write_bytes(dir + "/level1.ini",
                            "[pads0]\r\nminx=3\r\nmaxx = 4\r\n[global]\r\nname=two words  "));
    std::string out;
    EXPECT_EQ(ini(dir + "/level1.ini PADS0 MinX", &out), 0);
    EXPECT_EQ(out, "3\n");
    EXPECT_EQ(ini(dir + "/level1.ini pads0 maxx", &out), 0);
    EXPECT_EQ(out, "= 4\n");
    EXPECT_EQ(ini(dir + "/level1.ini global name", &out), 0);
    EXPECT_EQ(out, "two words  \n");
    EXPECT_EQ(ini(dir + "/level1.ini pads0 extx", &out), 0);
    EXPECT_EQ(out, "NO_DATA\n");
    EXPECT_EQ(ini(dir + "/missing.ini pads0 minx", &out), 0);
    EXPECT_EQ(out, "NO_DATA\n");
    EXPECT_EQ(read_text(dir + "/level1.ini"),
              "[pads0]\r\nminx=3\r\nmaxx = 4\r\n[global]\r\nname=two words  ");
}

TEST_F(SteelDataTextFiles, IniTakesBackslashNames) {
    std::filesystem::create_directory(dir + "/sub");
    ASSERT_TRUE(write_bytes(dir + "/sub/a.ini", "[s]\nk=v\n"));
    std::string out;
    EXPECT_EQ(ini("'" + dir + "\\sub\\a.ini' s k", &out), 0);
    EXPECT_EQ(out, "v\n");
}

TEST_F(SteelDataTextFiles, LinePrintsLines) {
    ASSERT_TRUE(write_bytes(dir + "/limitfps.txt", "30\r\n\r\nlast"));
    std::string out;
    EXPECT_EQ(line(dir + "/limitfps.txt 0", &out), 0);
    EXPECT_EQ(out, "30\n");
    EXPECT_EQ(line(dir + "/limitfps.txt 1", &out), 0);
    EXPECT_EQ(out, "NO_DATA\n");
    EXPECT_EQ(line(dir + "/limitfps.txt 2", &out), 0);
    EXPECT_EQ(out, "last\n");
    EXPECT_EQ(line(dir + "/limitfps.txt 256", &out), 0);
    EXPECT_EQ(out, "NO_DATA\n");
    EXPECT_EQ(line(dir + "/nothing.txt 0", &out), 0);
    EXPECT_EQ(out, "NO_FILE\n");
}

TEST_F(SteelDataTextFiles, BadArgumentsGiveOneLineAndStatus2) {
    std::string out;
    for (const std::string& args :
         {std::string("ini"), std::string("ini a b"), std::string("ini a b c d"),
          std::string("line"), std::string("line f"), std::string("line f x"),
          std::string("line f 1.5"), std::string("line f 99999999999999999999"),
          std::string("no_such_command")}) {
        EXPECT_EQ(run_command(data_tool() + " " + args, &out), 2) << args;
        EXPECT_EQ(out.rfind("steel_data: ", 0), 0u) << args << ": " << out;
        EXPECT_EQ(out.find('\n'), out.size() - 1) << args << ": " << out;
    }
}

} // namespace
