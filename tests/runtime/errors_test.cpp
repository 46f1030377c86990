// runtime_error ends the program with its code as the exit status and logs the reason.
#include "fork_style.h"
#include "runtime/errors.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class RuntimeErrorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = make_temp_dir();
        ASSERT_FALSE(dir.empty());
        setenv("TMPDIR", dir.c_str(), 1); // the log goes to this test's folder
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
        if (saved.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", saved.c_str(), 1);
    }
    std::string saved = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    std::string dir;
};

TEST_F(RuntimeErrorTest, ExitsWithTheCodeAndLogsTheReason) {
    ForkedDeathTests forked;
    EXPECT_EXIT(runtime_error(9), testing::ExitedWithCode(9), "");
    EXPECT_EXIT(runtime_error(7), testing::ExitedWithCode(7), "");
    std::string log = read_text(dir + "/ErrorLog.txt");
    EXPECT_NE(log.find("Runtime error 9: array index out of range\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Runtime error 7: "), std::string::npos) << log;
}

TEST_F(RuntimeErrorTest, AnErrorIsNeverReportedAsSuccess) {
    ForkedDeathTests forked;
    EXPECT_EXIT(runtime_error(0), testing::ExitedWithCode(1), "");
    // The exit status keeps only 8 bits: codes that would read as 0 there end with 1 too.
    EXPECT_EXIT(runtime_error(256), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(runtime_error(-512), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(runtime_error(0.5), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(runtime_error(300), testing::ExitedWithCode(300 & 0xFF), "");
    EXPECT_EXIT(runtime_end(), testing::ExitedWithCode(0), "");
}

int g_hook_order = 0;
void first_hook() {
    g_hook_order = g_hook_order * 10 + 1;
}
void second_hook() {
    g_hook_order = g_hook_order * 10 + 2;
    error_log("hooks " + std::to_string(g_hook_order));
}

TEST_F(RuntimeErrorTest, EndHooksRunLastRegisteredFirst) {
    ForkedDeathTests forked;
    EXPECT_EXIT(
        {
            at_runtime_end(second_hook);
            at_runtime_end(first_hook);
            runtime_error(8);
        },
        testing::ExitedWithCode(8), "");
    EXPECT_NE(read_text(dir + "/ErrorLog.txt").find("hooks 12\r\n"), std::string::npos);
}

} // namespace
