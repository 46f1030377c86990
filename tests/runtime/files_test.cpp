#include "runtime/files.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
mode_t umask_now() {
    mode_t m = umask(0);
    umask(m);
    return m;
}
} // namespace

TEST(Files, BackslashesNameFoldersAndMissingFilesReadAsNothing) {
    const std::string dir = make_temp_dir();
    ASSERT_EQ(mkdir((dir + "/music").c_str(), 0755), 0);
    ASSERT_TRUE(write_bytes(dir + "/music/SS_6.IT", "tune"));
    const std::string dos_name = dir + "/music\\SS_6.IT";
    EXPECT_TRUE(file_readable(dos_name));
    auto bytes = read_file(dos_name);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "tune");
    EXPECT_FALSE(read_file(dos_name, 3)); // larger than the caller allows
    EXPECT_FALSE(read_file(dir + "/music\\ss_6.it")); // names are exact
    EXPECT_FALSE(file_readable(dir + "/music")); // a folder is no file
    EXPECT_FALSE(read_file(""));
}

TEST(Files, AtomicWriteReplacesTheFileAndKeepsItsPermissions) {
    const std::string dir = make_temp_dir();
    const std::string file = dir + "/level1.ini";
    ASSERT_TRUE(write_bytes(file, "old"));
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    ASSERT_TRUE(write_file_atomic(file, "new contents"));
    EXPECT_EQ(read_text(file), "new contents");
    struct stat st{};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    ASSERT_TRUE(write_file_atomic(dir + "/fresh.txt", ""));
    ASSERT_EQ(stat((dir + "/fresh.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u & ~umask_now());

    // A folder that does not exist: nothing is written, and false says so.
    EXPECT_FALSE(write_file_atomic(dir + "/no/such/folder.txt", "x"));
}
