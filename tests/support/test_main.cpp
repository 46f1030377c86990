// Test main shared by every test program: the headless environment is set before anything
// starts (without overriding what the caller already set).
#include "support/test_support.h"

#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    set_headless_environment();
    testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    return RUN_ALL_TESTS();
}
