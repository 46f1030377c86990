// The music choice during play: two plays of each tune, never the same tune twice in a row, the
// hurry-up tune once, a new tune after each level, silence when there is no music.
#include "rules_fixture.h"

#include <algorithm>

namespace {

using Music = Rules;

int Count(const std::string& what) {
    return int(std::count(fake.music.begin(), fake.music.end(), what));
}

// Plays the current tune to its end and lets the choice run once.
void EndTuneAndChoose() {
    fake.finished = true;
    ChooseMusic();
}

TEST_F(Music, EachTuneIsPlayedTwiceAndTheNextIsNeverTheSame) {
    TimeLeft = 120;
    MusicWait = 0;
    MusicTrack = 0;
    std::vector<std::string> loads;
    double last = 0;
    for (int k = 0; k < 40; ++k) {
        size_t before = fake.music.size();
        EndTuneAndChoose();
        ASSERT_EQ(fake.music.back(), "start") << k; // a tune always (re)starts
        bool loaded = fake.music.size() - before == 2;
        EXPECT_EQ(loaded, k % 2 == 0) << k; // new tune, replay, new tune, replay ...
        if (loaded) {
            EXPECT_NE(MusicTrack, last);
            EXPECT_GE(MusicTrack, 1);
            EXPECT_LE(MusicTrack, 7);
            EXPECT_EQ(fake.music[before],
                      "load music\\SS_" + std::to_string(int(MusicTrack)) + ".IT");
            last = MusicTrack;
        }
    }
    // While a tune plays nothing happens.
    fake.finished = false;
    size_t before = fake.music.size();
    ChooseMusic();
    EXPECT_EQ(fake.music.size(), before);
}

TEST_F(Music, HurryTuneStartsOnceWhenLessThanAMinuteIsLeft) {
    TimeLeft = 59.9;
    ChooseMusic();
    EXPECT_EQ(fake.music, (std::vector<std::string>{"load music\\SS_8.IT", "start"}));
    EXPECT_EQ(HurryMusic, 1);
    EndTuneAndChoose(); // it ended while time is still short: not restarted
    EndTuneAndChoose();
    EXPECT_EQ(Count("start"), 1);
    // With the timer off the clock never falls, and the hurry tune never plays.
    fake.music.clear();
    HurryMusic = 0;
    TimerOption = 0;
    ChooseMusic();
    EXPECT_EQ(Count("load music\\SS_8.IT"), 0);
}

TEST_F(Music, ACompletedLevelStartsANewTuneAtOnce) {
    MusicWait = -1; // set by the ride's end; the ride stopped the music
    MusicTrack = 4;
    fake.finished = true;
    ChooseMusic();
    ASSERT_EQ(fake.music.size(), 2u);
    EXPECT_NE(fake.music[0], "load music\\SS_4.IT");
    EXPECT_EQ(MusicWait, 1);
}

TEST_F(Music, MissingMusicKeepsTryingANewTuneEverySecondCall) {
    // load_music fails quietly and music_finished stays 1.
    Seam.load_music = [](const char* f) {
        fake.music.push_back(std::string("load ") + f);
        return 0.0;
    };
    Seam.start_music = [] { fake.music.push_back("start"); };
    fake.finished = true;
    MusicWait = 0;
    for (int k = 0; k < 10; ++k) ChooseMusic();
    EXPECT_EQ(Count("start"), 10);
    EXPECT_EQ(int(fake.music.size()) - 10, 5);
}

TEST_F(Music, WithTheRunOptionTheHurryTuneReplacesTheLevelTuneInTheFirstFrame) {
    TimerOption = 2;
    MakeLevel({{0, 0, 0, 0, 1, 1}});
    TimeLeft = 60;
    Frame();
    EXPECT_EQ(fake.music.front(), "load music\\SS_8.IT");
}

} // namespace
