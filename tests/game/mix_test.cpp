// The mix as the player hears it, written by --audio-out in step with a scripted run's clock:
// a sound on its own keeps its level; the bells of a time count over the music never reach
// full scale.
#include "game_run.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace {

// The 16-bit samples of a WAV file's "data" chunk (interleaved as stored); empty when unusable.
std::vector<int16_t> WavSamples(const std::string& bytes, int* channels = nullptr) {
    auto u32 = [&](size_t o) {
        return uint32_t(uint8_t(bytes[o])) | uint32_t(uint8_t(bytes[o + 1])) << 8 |
               uint32_t(uint8_t(bytes[o + 2])) << 16 | uint32_t(uint8_t(bytes[o + 3])) << 24;
    };
    std::vector<int16_t> out;
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0) return out;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id = bytes.substr(at, 4);
        const size_t size = u32(at + 4);
        if (id == "fmt " && channels) *channels = uint8_t(bytes[at + 10]);
        if (id == "data") {
            const size_t n = std::min(size, bytes.size() - at - 8) / 2;
            for (size_t i = 0; i < n; ++i)
                out.push_back(int16_t(uint16_t(uint8_t(bytes[at + 8 + 2 * i])) |
                                      uint16_t(uint8_t(bytes[at + 9 + 2 * i])) << 8));
            return out;
        }
        at += 8 + size + (size & 1);
    }
    return out;
}

struct Level {
    int peak = 0;
    size_t full_scale = 0;
};

// Peak and full-scale samples of stereo samples from `from_ms` to `to_ms` (44.1 frames per ms).
Level Measure(const std::vector<int16_t>& s, double from_ms, double to_ms) {
    Level l;
    const size_t a = std::min(s.size(), size_t(from_ms * 44.1) * 2);
    const size_t b = std::min(s.size(), size_t(to_ms * 44.1) * 2);
    for (size_t i = a; i < b; ++i) {
        l.peak = std::max(l.peak, std::abs(int(s[i])));
        l.full_scale += s[i] == 32767 || s[i] == -32768;
    }
    return l;
}

double Db(double ratio) {
    return 20 * std::log10(ratio);
}

TEST(Mix, TheSoundFollowsTheRunsClock) {
    GameRun game(false);
    ASSERT_EQ(game.run("2000 close\n", "--level 0 --no-draw --audio-out mix.wav"), 0);
    int channels = 0;
    const std::string bytes = game.read("mix.wav");
    const std::vector<int16_t> s = WavSamples(bytes, &channels);
    EXPECT_EQ(channels, 2);
    // The run ends in the frame of its close command: two seconds and at most a frame more.
    EXPECT_GE(s.size() / 2, size_t(2000 * 44.1));
    EXPECT_LE(s.size() / 2, size_t(2040 * 44.1));
}

TEST(Mix, ALoneSoundKeepsItsLevel) {
    // No music: the fastening sound on its own, from the bolt at 0.36 s.
    GameRun game(false);
    std::filesystem::remove(game.dir() + "/music");
    game.write("level1.ini",
               "[global]\npadcount=2\nforcemap=0\n[pads0]\nminx=0\nminy=0\nmaxx=0\nmaxy=0\n"
               "extx=1\nexty=1\n[pads1]\nminx=1\nminy=0\nmaxx=1\nmaxy=2\nextx=1\nexty=1\n");
    ASSERT_EQ(game.run("50 key 205 down\n350 key 205 up\n360 key 29 down\n450 key 29 up\n"
                       "1200 close\n",
                       "--level 1 --no-draw --audio-out mix.wav"),
              0);
    const std::vector<int16_t> source = WavSamples(game.read("sfx/festmachen.wav"));
    ASSERT_FALSE(source.empty());
    int source_peak = 0;
    for (int16_t v : source)
        source_peak = std::max(source_peak, std::abs(int(v)));
    const std::vector<int16_t> mix = WavSamples(game.read("mix.wav"));
    EXPECT_EQ(Measure(mix, 0, 300).peak, 0); // silence before it
    const Level l = Measure(mix, 300, 1200);
    EXPECT_NEAR(Db(double(l.peak) / source_peak), 0, 1) << l.peak << " vs " << source_peak;
}

TEST(Mix, AFullTimeCountNeverReachesFullScale) {
    // Level 1's solution: the ride starts at about 11.3 s of play and the time is counted into
    // the score from four seconds later, every frame a bell on four voices, over the music.
    GameRun game;
    std::string solution =
        read_text(std::string(SS_SOURCE_DIR) + "/data/levels/solutions/level1.txt");
    ASSERT_FALSE(solution.empty());
    ASSERT_EQ(game.run(solution, "--level 1 --no-draw --audio-out mix.wav"), 0);
    const double ride = JsonNum(game.read("ride.json"), "FrameClock");
    ASSERT_GT(ride, 0);
    const std::vector<int16_t> mix = WavSamples(game.read("mix.wav"));
    const Level count = Measure(mix, ride + 4000, ride + 10000);
    EXPECT_GT(count.peak, 16000); // the count is loud...
    EXPECT_LT(count.peak, 32767); // ... and never clips
    EXPECT_EQ(count.full_scale, 0u);
    EXPECT_EQ(Measure(mix, 0, 1e9).full_scale, 0u);
}

} // namespace
