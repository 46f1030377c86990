// The user folder's functions and the settings file: parsing (damaged and hand-edited files),
// the round trip, where files are read and written, where the data and the pictures are.
#include "runtime/settings.h"
#include "runtime/user_dir.h"
#include "support/test_support.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

TEST(SettingsFile, DamagedValuesKeepTheirDefaultsAndAreReported) {
    const Settings defaults;
    struct Case {
        const char* name;
        std::string text;
        Settings expect;
        bool problems;
    };
    Settings edited = defaults;
    edited.windowed = true;
    edited.effects_volume = 3;
    edited.msaa = 2;
    Settings half = defaults;
    half.music_volume = 4;
    const std::vector<Case> cases = {
        {"empty", "", defaults, false},
        {"hand edited, mixed case", "[Settings]\nwindowed = 1\nEFFECTSVOLUME=3\nMsaa 2\n", edited,
         false},
        {"garbage", "\x01\x02 this is no settings file \xff\xfe", defaults, true},
        {"huge numbers",
         "[settings]\nEffectsVolume=99999999999999999999999\nWindowWidth=1e300\n"
         "MusicVolume=4\n",
         half, true},
        {"out of range and negative", "[settings]\nEffectsVolume=11\nMusicVolume=-1\nMuted=2\n",
         defaults, true},
        {"samples the driver never offers", "[settings]\nMsaa=3\n", defaults, true},
        {"unknown key and section", "[settings]\nColour=red\n[other]\nx=1\n", defaults, true},
        {"trailing junk after a number", "[settings]\nMusicVolume=4x\n", defaults, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> problems;
        EXPECT_EQ(settings_parse(c.text, problems), c.expect);
        EXPECT_EQ(!problems.empty(), c.problems);
    }
}

TEST(SettingsFile, EverySettingSurvivesTheRoundTrip) {
    Settings s;
    s.windowed = true;
    s.window_width = 1280;
    s.window_height = 720;
    s.effects_volume = 0;
    s.music_volume = 7;
    s.muted = true;
    for (int msaa : {-1, 0, 2, 4, 8}) {
        s.msaa = msaa;
        std::vector<std::string> problems;
        EXPECT_EQ(settings_parse(settings_format(s), problems), s);
        EXPECT_TRUE(problems.empty());
    }
}

TEST(SettingsFile, LoadAndSaveThroughARealFile) {
    const std::string dir = make_temp_dir();
    const std::string path = dir + "/settings.ini";
    set_settings_file(path);
    load_settings(); // missing: the defaults
    EXPECT_EQ(current_settings(), Settings{});
    current_settings().music_volume = 2;
    ASSERT_TRUE(save_settings());
    current_settings() = Settings{};
    load_settings();
    EXPECT_EQ(current_settings().music_volume, 2);
    // A folder where the file should be: the defaults, and saving fails without harm.
    fs::remove(path);
    fs::create_directory(path);
    load_settings();
    EXPECT_EQ(current_settings(), Settings{});
    EXPECT_FALSE(save_settings());
    EXPECT_TRUE(fs::is_directory(path));
    set_settings_file("");
    EXPECT_FALSE(save_settings());
}

TEST(SettingsFile, VolumeStepsFallEvenlyFromFullToSilent) {
    EXPECT_FLOAT_EQ(volume_gain(10), 1.0f);
    EXPECT_EQ(volume_gain(0), 0.0f);
    EXPECT_EQ(volume_gain(-5), 0.0f);
    EXPECT_FLOAT_EQ(volume_gain(99), 1.0f);
    for (int step = 1; step < 10; ++step)
        EXPECT_NEAR(volume_gain(step + 1) / volume_gain(step), 1.4125f, 1e-3f) << step;
}

TEST(UserFolder, OwnFilesComeFirstAndWritesGoOnlyThere) {
    const std::string user = make_temp_dir() + "/deep/user";
    set_user_dir(user + "/");
    EXPECT_EQ(user_dir(), user);
    // Nothing of the player's yet: the shipped name; the write makes the folder.
    EXPECT_EQ(user_or_shipped("levels", "level3.ini"), "level3.ini");
    const std::string target = user_write_path("levels", "level3.ini");
    EXPECT_EQ(target, user + "/levels/level3.ini");
    EXPECT_TRUE(fs::is_directory(user + "/levels"));
    ASSERT_TRUE(write_bytes(target, "[global]\n"));
    EXPECT_EQ(user_or_shipped("levels", "level3.ini"), target);
    // A file where the folder should be: nowhere to write.
    const std::string blocked = make_temp_dir();
    ASSERT_TRUE(write_bytes(blocked + "/levels", "not a folder"));
    set_user_dir(blocked);
    EXPECT_EQ(user_write_path("levels", "level3.ini"), "");
    EXPECT_EQ(user_or_shipped("levels", "level3.ini"), "level3.ini");
    // No user folder: beside the shipped data, as a run without one always did.
    set_user_dir("");
    EXPECT_EQ(user_path("best.ini"), "");
    EXPECT_EQ(user_write_path("levels", "level3.ini"), "level3.ini");
}

TEST(UserFolder, TheDataIsFoundBesideTheExecutableOrInItsPrefix) {
    const std::string root = make_temp_dir();
    struct Case {
        const char* name;
        std::string exe_dir;
        std::string data_dir;
    };
    fs::create_directories(root + "/build/game/gfx");
    fs::create_directories(root + "/usr/games");
    fs::create_directories(root + "/usr/share/games/steel_spree/gfx");
    fs::create_directories(root + "/bare/games");
    const std::vector<Case> cases = {
        {"build tree", root + "/build/game", root + "/build/game"},
        {"installed prefix", root + "/usr/games", root + "/usr/share/games/steel_spree"},
        {"neither: the executable's folder", root + "/bare/games", root + "/bare/games"},
        {"unknown", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(data_dir_for_executable(c.exe_dir), c.data_dir);
    }
}

TEST(UserFolder, ThePicturesFolderComesFromTheUserDirsFile) {
    const std::string home = make_temp_dir();
    fs::create_directories(home + "/.config");
    struct Case {
        const char* name;
        std::string file; // "" : no file
        std::string expect;
    };
    const std::vector<Case> cases = {
        {"no file", "", ""},
        {"home relative", "# written by the desktop\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n",
         home + "/Bilder"},
        {"absolute", "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_PICTURES_DIR=\"/srv/pics/\"\n",
         "/srv/pics"},
        {"home itself means unset", "XDG_PICTURES_DIR=\"$HOME/\"\n", ""},
        {"relative is invalid", "XDG_PICTURES_DIR=\"Pictures\"\n", ""},
        {"not named", "XDG_MUSIC_DIR=\"$HOME/Music\"\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(home + "/.config/user-dirs.dirs");
        if (!c.file.empty()) {
            ASSERT_TRUE(write_bytes(home + "/.config/user-dirs.dirs", c.file));
        }
        EXPECT_EQ(xdg_pictures_dir(home, ""), c.expect);
        // The configuration folder may lie elsewhere than under home.
        EXPECT_EQ(xdg_pictures_dir("/elsewhere", home + "/.config").empty(), c.expect.empty());
    }
}

} // namespace
