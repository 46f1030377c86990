// Test main shared by every test program: the headless environment is set before anything
// starts (without overriding what the caller already set), and the process gets a temporary
// folder of its own, so tests running side by side never share files such as the error log.
#include "support/test_support.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

pid_t tmp_owner = 0;
std::string tmp_dir;

void remove_tmp_dir() {
    if (getpid() != tmp_owner) return; // a forked child leaves its parent's folder alone
    std::error_code ec;
    std::filesystem::remove_all(tmp_dir, ec);
}

// Death tests re-run this program: the child finds SS_TEST_TMP and keeps its parent's folder,
// so what the child writes (the error log) is where the parent looks for it.
void use_own_tmp_dir() {
    if (const char* inherited = std::getenv("SS_TEST_TMP")) {
        setenv("TMPDIR", inherited, 1);
        return;
    }
    const char* base = std::getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/ss_tests_XXXXXX";
    if (!mkdtemp(templ.data())) return;
    tmp_dir = templ;
    tmp_owner = getpid();
    setenv("SS_TEST_TMP", tmp_dir.c_str(), 1);
    setenv("TMPDIR", tmp_dir.c_str(), 1);
    std::atexit(remove_tmp_dir);
}

} // namespace

int main(int argc, char** argv) {
    set_headless_environment();
    use_own_tmp_dir();
    testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    return RUN_ALL_TESTS();
}
