// The file requester's filter and folder listing.
#include "gui/gui_internal.h"
#include "support/test_support.h"

#include <filesystem>
#include <gtest/gtest.h>

TEST(FileFilter, PatternsSeparatedByBarsOrSemicolonsDescriptionsIgnored) {
    EXPECT_TRUE(file_filter_matches("*.*", "README"));
    EXPECT_TRUE(file_filter_matches("", "anything"));
    EXPECT_TRUE(file_filter_matches("*.ini", "LEVEL1.INI"));
    EXPECT_FALSE(file_filter_matches("*.ini", "level1.ini.bak"));
    EXPECT_TRUE(file_filter_matches("*.ini|*.txt", "limitfps.txt"));
    EXPECT_TRUE(file_filter_matches("Levels|*.ini;*.bmp", "a.bmp"));
    EXPECT_FALSE(file_filter_matches("Levels|*.ini", "Levels"));
    EXPECT_TRUE(file_filter_matches("level?.ini", "level7.ini"));
    EXPECT_FALSE(file_filter_matches("level?.ini", "level10.ini"));
}

TEST(FileFilter, FolderItemsListFoldersFirstThenMatchingFiles) {
    const std::string dir = make_temp_dir();
    std::filesystem::create_directory(dir + "/b_folder");
    std::filesystem::create_directory(dir + "/A_folder");
    write_bytes(dir + "/x.ini", "");
    write_bytes(dir + "/a.txt", "");
    write_bytes(dir + "/bad|name.ini", ""); // cannot stand in an item list
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    const std::vector<std::string> items = folder_items("*.ini");
    std::filesystem::current_path(before);
    EXPECT_EQ(items, (std::vector<std::string>{"..", "A_folder/", "b_folder/", "x.ini"}));
}
