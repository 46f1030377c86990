// Line files and the file helpers.
#include "fork_style.h"
#include "runtime/errors.h"
#include "runtime/files.h"
#include "runtime/ini.h"
#include "runtime/line_files.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <regex>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::string S(const RtString& s) {
    return s.str();
}

class LineFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = make_temp_dir();
        ASSERT_FALSE(dir.empty());
        line_read((dir + "/none.txt").c_str(), 0); // leave an earlier test's file
        set_error_code(0);
    }
    RtString path(const std::string& name) const { return RtString((dir + "/" + name).c_str()); }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string dir;
};

TEST_F(LineFileTest, ReadsNumbersAndTexts) {
    write_bytes(dir + "/limitfps.txt", "30\r\nsecond line \t\r\n\r\nlast");
    EXPECT_EQ(line_read_number(path("limitfps.txt"), 0), 30);
    EXPECT_EQ(S(line_read(path("limitfps.txt"), 1)), "second line "); // trailing controls go
    EXPECT_EQ(S(line_read(path("limitfps.txt"), 2)), "NO_DATA");
    EXPECT_EQ(S(line_read(path("limitfps.txt"), 3)), "last"); // no final line end
    EXPECT_EQ(S(line_read(path("limitfps.txt"), 5)), "NO_DATA");
    EXPECT_EQ(last_error_code(), 0);
}

TEST_F(LineFileTest, MissingFilesAndBadLineNumbers) {
    EXPECT_EQ(S(line_read(path("missing.txt"), 0)), "NO_FILE");
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(S(line_read(path("missing.txt"), 0)), "NO_FILE"); // every time
    EXPECT_EQ(line_read_number(path("missing.txt"), 0), 0);
    set_error_code(0);
    write_bytes(dir + "/three.txt", "a\nb\nc\n");
    EXPECT_EQ(S(line_read(path("three.txt"), 256)), "NO_DATA");
    EXPECT_EQ(last_error_code(), 7);
    set_error_code(0);
    EXPECT_EQ(S(line_read(path("three.txt"), -1)), "NO_DATA");
    EXPECT_EQ(last_error_code(), 7);
    set_error_code(0);
    line_write(path("three.txt"), 256, "x");
    EXPECT_EQ(last_error_code(), 7);
    EXPECT_EQ(S(line_read(path("three.txt"), 2)), "c");
}

TEST_F(LineFileTest, WriteBackAtTheNextSelection) {
    line_write(path("new.txt"), 0, 60);
    EXPECT_FALSE(file_readable(path("new.txt").view()));
    EXPECT_EQ(S(line_read(path("new.txt"), 0)), "60");
    line_read(path("other.txt"), 0);
    EXPECT_EQ(read_text(dir + "/new.txt"), "60\r\n");

    write_bytes(dir + "/edit.txt", "one\ntwo\nthree\n");
    line_write(path("edit.txt"), 1, "TWO");
    line_write(path("edit.txt"), 4, 2.5);
    line_flush();
    EXPECT_EQ(read_text(dir + "/edit.txt"), "one\r\nTWO\r\nthree\r\n\r\n2.5\r\n");
}

TEST_F(LineFileTest, LineLengthLimits) {
    std::string full(1023, 'x');
    line_write(path("long.txt"), 0, full.c_str());
    line_write(path("long.txt"), 1, (full + "yz").c_str());
    line_flush();
    line_read(path("other.txt"), 0);
    EXPECT_EQ(S(line_read(path("long.txt"), 0)), full);
    EXPECT_EQ(S(line_read(path("long.txt"), 1)), full); // cut to 1023
    write_bytes(dir + "/longer.txt", std::string(3000, 'q') + "\nnext\n");
    EXPECT_EQ(S(line_read(path("longer.txt"), 0)), std::string(1023, 'q'));
    EXPECT_EQ(S(line_read(path("longer.txt"), 1)), "next"); // the rest of the long line skipped
}

TEST_F(LineFileTest, AtMost256LinesAreRead) {
    std::string bytes;
    for (int i = 0; i < 300; ++i)
        bytes += std::to_string(i) + "\n";
    auto lines = line_parse(bytes);
    EXPECT_EQ(lines.size(), 256u);
    write_bytes(dir + "/many.txt", bytes);
    EXPECT_EQ(line_read_number(path("many.txt"), 255), 255);
}

TEST_F(LineFileTest, FileHelpers) {
    write_bytes(dir + "/here.txt", "x");
    EXPECT_EQ(file_exists(path("here.txt")), 1.0);
    EXPECT_EQ(file_exists(path("gone.txt")), 0.0);
    EXPECT_EQ(file_exists(RtString(dir.c_str())), 0.0); // a folder is not a file
    delete_file(path("here.txt"));
    EXPECT_EQ(file_exists(path("here.txt")), 0.0);
    delete_file(path("here.txt")); // no error when missing
    EXPECT_EQ(S(platform_info("")), "WIN32");
    EXPECT_EQ(S(platform_info("device")), "DESKTOP");
    EXPECT_EQ(S(platform_info("other")), "NO_DATA");
    std::string time = S(platform_info("time"));
    EXPECT_TRUE(std::regex_match(
        time, std::regex(R"(\d{4}-[1-9]\d?-[1-9]\d? (0|[1-9]\d?):(0|[1-9]\d?):(0|[1-9]\d?))")))
        << time;
}

TEST_F(LineFileTest, AFifoIsNoFileAndReadingItNeverBlocks) {
    ForkedDeathTests forked;
    const std::string fifo = dir + "/pipe.txt";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    // In a child with an alarm: a read that waits for a writer ends it by SIGALRM.
    EXPECT_EXIT(
        {
            alarm(10);
            bool ok = S(line_read(fifo.c_str(), 0)) == "NO_FILE" && !read_file(fifo) &&
                      file_exists(fifo.c_str()) == 0.0;
            ini_open(fifo.c_str());
            ok = ok && S(ini_get("s", "k")) == "NO_DATA";
            std::_Exit(ok ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(LineFileTest, ProgramEndWritesTheCacheBack) {
    ForkedDeathTests forked;
    const std::string file = dir + "/end.txt";
    EXPECT_EXIT(
        {
            line_write(file.c_str(), 1, "b");
            runtime_end();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(read_text(file), "\r\nb\r\n");
}

// A child process rewrites a full line file again and again (one line toggling) and is killed at
// many moments; the file on disk must always be one whole version.
TEST_F(LineFileTest, KilledWriteBackLeavesAWholeFile) {
    const std::string file = dir + "/big.txt";
    auto version = [](char c) {
        std::string out = std::string(1023, c) + "\r\n";
        for (int i = 1; i < 256; ++i)
            out += std::string(1023, 'v') + "\r\n";
        return out;
    };
    const std::string a = version('a'), b = version('b');
    ASSERT_TRUE(write_bytes(file, a));
    const std::string other = dir + "/other.txt";
    kill_at_moments(
        [&] {
            auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            for (int round = 0; std::chrono::steady_clock::now() < until; ++round) {
                line_write(file, 0, std::string(1023, round % 2 ? 'a' : 'b'));
                line_read(other, 0); // selecting another file writes the cache back
            }
        },
        [&](int delay) {
            std::string now = read_text(file);
            EXPECT_TRUE(now == a || now == b)
                << "after " << delay << " us: " << now.size() << " bytes";
        });
}

} // namespace
