#pragma once
// Death tests that must see the test's own temporary folder run in a forked copy of the test
// process (the re-executing style would make a new folder). The test process has no threads.
#include <gtest/gtest.h>

#include <string>

class ForkedDeathTests {
  public:
    ForkedDeathTests() : saved_(GTEST_FLAG_GET(death_test_style)) {
        GTEST_FLAG_SET(death_test_style, "fast");
    }
    ~ForkedDeathTests() { GTEST_FLAG_SET(death_test_style, saved_); }

  private:
    std::string saved_;
};

#include <chrono>
#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Runs `loop` (which never returns on its own) in a forked child, kills the child with SIGKILL
// after a delay, and calls `check` with that delay; repeated for 40 delays spread over 0..max_us.
inline void kill_at_moments(const std::function<void()>& loop,
                            const std::function<void(int)>& check, int max_us = 20000) {
    for (int delay_us = 0; delay_us <= max_us; delay_us += max_us / 40) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            loop();
            _exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay_us));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        check(delay_us);
    }
}
