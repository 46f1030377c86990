// Level files: loading (tolerant of what designers write, clamped against absurd numbers),
// saving byte for byte and atomically, and the level map drawn from the pads.
#include "rules_fixture.h"
#include "runtime/ini.h"
#include "support/test_support.h"

#include <cmath>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class LevelFiles : public Rules {
  protected:
    void SetUp() override {
        Rules::SetUp();
        old_dir_ = std::filesystem::current_path();
        dir_ = make_temp_dir();
        std::filesystem::current_path(dir_);
    }
    void TearDown() override {
        ini_open("none.ini"); // nothing of this test's store reaches a later test
        std::filesystem::current_path(old_dir_);
        Rules::TearDown();
    }
    void Write(const std::string& name, const std::string& text) {
        ASSERT_TRUE(write_bytes(dir_ + "/" + name, text));
    }
    std::string Read(const std::string& name) { return read_text(dir_ + "/" + name); }

    std::filesystem::path old_dir_;
    std::string dir_;
};

const char* kTwoPads = "[global]\r\npadcount=2\r\nforcemap=0\r\n"
                       "[pads0]\r\nminx=0\r\nminy=0\r\nmaxx=0\r\nmaxy=0\r\nextx=3\r\nexty=2\r\n"
                       "[pads1]\r\nminx=5\r\nminy=1\r\nmaxx=9\r\nmaxy=1\r\nextx=4\r\nexty=1\r\n";

TEST_F(LevelFiles, LoadsWhatDesignersWriteAndSavesTheGamesLayoutByteForByte) {
    // Mixed case, LF only, a comment, keys in another order.
    Write("level3.ini", "[Global]\nPadCount=2\n; the lift\n[PADS0]\nEXTX=3\nexty=2\n"
                        "[pads1]\nMinX=5\nminy=1\nmaxx=9\nmaxy=1\nextx=4\nexty=1\n");
    LoadLevel(3);
    ASSERT_EQ(PadCount(), 2);
    EXPECT_EQ(P(0).extx, 3);
    EXPECT_EQ(P(1).minx, 5);
    EXPECT_EQ(P(1).x, 5);
    EXPECT_EQ(P(1).maxx, 9);
    EXPECT_EQ(ForceMap, 0);
    EXPECT_EQ(fake.maps_built, 1);
    SaveLevel(3);
    EXPECT_EQ(Read("level3.ini"), kTwoPads);
    // A saved file loads back to the same pads.
    LoadLevel(3);
    EXPECT_EQ(P(1).exty, 1);
}

TEST_F(LevelFiles, PerLevelStateIsResetAndTheWorkerStartsOnTheLift) {
    Write("level1.ini", "[global]\npadcount=1\n[pads0]\nminx=4\nminy=2\nmaxx=4\nmaxy=2\n"
                        "extx=1\nexty=1\n");
    const double expected[3] = {180, 120, 60};
    for (int option = 0; option < 3; ++option) {
        TimerOption = option;
        LevelDone = ExitTimer = HurryMusic = 1;
        MapFade = 0;
        LoadLevel(1);
        EXPECT_EQ(TimeLeft, expected[option]);
        EXPECT_EQ(LevelDone + ExitTimer + HurryMusic, 0);
        EXPECT_EQ(MapFade, 1);
    }
    EXPECT_EQ(W().x, 4.5);
    EXPECT_EQ(W().y, 2.5);
    EXPECT_EQ(W().pad, 0);
}

TEST_F(LevelFiles, CountsAndSectionsThatDisagree) {
    // A missing file: one pad of size 0 at the origin.
    LoadLevel(42);
    ASSERT_EQ(PadCount(), 1);
    EXPECT_EQ(P(0).extx, 0);
    EXPECT_EQ(W().x, 0.5);
    // More padcount than sections: the rest are zero; fewer: extra sections are ignored.
    Write("level5.ini", "[global]\npadcount=3\n[pads0]\nextx=1\nexty=1\n");
    LoadLevel(5);
    ASSERT_EQ(PadCount(), 3);
    EXPECT_EQ(P(2).extx, 0);
    Write("level6.ini", "[global]\npadcount=1\n[pads0]\nextx=1\n[pads1]\nextx=7\n");
    LoadLevel(6);
    EXPECT_EQ(PadCount(), 1);
    // A fractional count: truncated pads, sections read while i <= count - 1.
    Write("level7.ini", "[global]\npadcount=2.5\n[pads0]\nextx=1\n[pads1]\nextx=2\n"
                        "[pads2]\nextx=3\n");
    LoadLevel(7);
    ASSERT_EQ(PadCount(), 2);
    EXPECT_EQ(P(1).extx, 2);
    // Values that are not numbers read as 0.
    Write("level8.ini", "[global]\npadcount=1\n[pads0]\nextx=wide\nexty=2\n");
    LoadLevel(8);
    EXPECT_EQ(P(0).extx, 0);
    EXPECT_EQ(P(0).exty, 2);
}

TEST_F(LevelFiles, PadcountZeroIsSavedAsOnePadAndASecondSaveLeavesOnlyTheNewLevel) {
    Write("level2.ini", "[global]\npadcount=0\nforcemap=1\n");
    LoadLevel(2);
    SaveLevel(2);
    EXPECT_EQ(Read("level2.ini"), "[global]\r\npadcount=1\r\nforcemap=1\r\n[pads0]\r\nminx=0\r\n"
                                  "miny=0\r\nmaxx=0\r\nmaxy=0\r\nextx=0\r\nexty=0\r\n");
    // Saved twice with no other file opened between: the file holds the second save exactly.
    Pads.dim(3);
    SaveLevel(2);
    Pads.dim(1);
    P(0).extx = 1;
    SaveLevel(2);
    EXPECT_EQ(Read("level2.ini"), "[global]\r\npadcount=1\r\nforcemap=1\r\n[pads0]\r\nminx=0\r\n"
                                  "miny=0\r\nmaxx=0\r\nmaxy=0\r\nextx=1\r\nexty=0\r\n");
}

TEST_F(LevelFiles, SavingIsImmediateAndAtomic) {
    Write("level4.ini", kTwoPads);
    LoadLevel(4);
    // On disk at once, before any other INI file is opened or the program ends.
    P(1).maxx = 12;
    SaveLevel(4);
    EXPECT_NE(Read("level4.ini").find("maxx=12"), std::string::npos);
    // A process killed at any moment of a save leaves the old file or the new one.
    const std::string old_text = Read("level4.ini");
    Pads.dim(40);
    const std::string new_text = LevelFileText();
    for (int delay_us = 0; delay_us < 4000; delay_us += 200) {
        pid_t child = fork();
        if (child == 0) {
            for (;;) SaveLevel(4);
        }
        usleep(useconds_t(delay_us));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        std::string now = Read("level4.ini");
        EXPECT_TRUE(now == old_text || now == new_text) << "after " << delay_us << " us";
    }
    // A folder where the file cannot be written: the old file stays and the save says so.
    std::filesystem::create_directory(dir_ + "/level9.ini");
    EXPECT_EQ(SaveLevel(9), -1);
}

TEST_F(LevelFiles, AbsurdNumbersAreClampedToRangesNoLevelNeeds) {
    Write("level1.ini", "[global]\npadcount=1e9\nforcemap=1\n[pads0]\nminx=1e300\nminy=-1e300\n"
                        "maxx=-70\nmaxy=200\nextx=-1e300\nexty=1e300\n");
    LoadLevel(1);
    EXPECT_EQ(PadCount(), 1024);
    EXPECT_EQ(P(0).minx, 128);
    EXPECT_EQ(P(0).miny, -64);
    EXPECT_EQ(P(0).maxx, -64);
    EXPECT_EQ(P(0).maxy, 128);
    EXPECT_EQ(P(0).extx, 0);
    EXPECT_EQ(P(0).exty, 64);
    Write("level2.ini", "[global]\npadcount=1e999\n");
    LoadLevel(2);
    EXPECT_EQ(PadCount(), 1024);
    Write("level3.ini", "[global]\npadcount=-5\n");
    LoadLevel(3);
    EXPECT_EQ(PadCount(), 1);
    // An ordinary level keeps its meaning.
    Write("level4.ini", kTwoPads);
    LoadLevel(4);
    EXPECT_EQ(P(1).maxx, 9);
    EXPECT_EQ(P(0).extx, 3);
}

} // namespace
