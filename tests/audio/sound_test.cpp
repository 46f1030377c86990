// The game's sound operations on a real SDL device: the dummy driver for loading, the disk
// driver for what reaches the output.
#include "audio/sound.h"
#include "support/test_support.h"
#include "tiny_module.h"
#include "wav_bytes.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace {

class SoundDevice : public testing::Test {
  protected:
    void SetUp() override {
        sound_shutdown();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        dir_ = make_temp_dir();
        WavSpec s;
        s.channels = 2;
        s.rate = 44100;
        ASSERT_TRUE(write_bytes(dir_ + "/bell.wav", wav_bytes(s, pcm16(2000, 2, 12345))));
        s.data_size = 999999;
        ASSERT_TRUE(write_bytes(dir_ + "/liar.wav", wav_bytes(s, pcm16(20, 2, 1))));
    }
    void TearDown() override {
        sound_shutdown();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    // Opens the disk driver writing into `file`, as fast as it can.
    void open_disk(const std::string& file) {
        sound_shutdown();
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "0", 1);
        sound_init();
    }
    std::string dir_;
};

std::vector<int16_t> read_samples(const std::string& path) {
    std::string raw = read_text(path);
    std::vector<int16_t> s(raw.size() / 2);
    std::memcpy(s.data(), raw.data(), s.size() * 2);
    return s;
}

void wait_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

size_t file_size(const std::string& path) {
    std::error_code ec;
    auto n = std::filesystem::file_size(path, ec);
    return ec ? 0 : size_t(n);
}

// Waits until the disk driver has written `bytes` more (a megabyte is six seconds of output),
// for at most ten seconds.
void wait_for_output(const std::string& path, size_t bytes) {
    size_t start = file_size(path);
    for (int i = 0; i < 1000 && file_size(path) < start + bytes; ++i)
        wait_ms(10);
}

TEST_F(SoundDevice, LoadsIntoSlots) {
    sound_init();
    ASSERT_TRUE(sound_available());
    EXPECT_EQ(load_sound(dir_ + "/bell.wav", 3, 4), 1.0);
    EXPECT_TRUE(sound_loaded(3));
    // A missing file leaves the slot as it was; a bad one empties it.
    EXPECT_EQ(load_sound(dir_ + "/missing.wav", 3, 4), 0.0);
    EXPECT_TRUE(sound_loaded(3));
    EXPECT_EQ(load_sound(dir_ + "/liar.wav", 3, 4), 0.0);
    EXPECT_FALSE(sound_loaded(3));
    // Slots above 127 use 127; negative slots load and play nothing.
    EXPECT_EQ(load_sound(dir_ + "\\bell.wav", 1000, 1), 1.0);
    EXPECT_TRUE(sound_loaded(127));
    EXPECT_EQ(load_sound(dir_ + "/bell.wav", -1, 1), 0.0);
    EXPECT_EQ(play_sound(-1, 0, 1), 0.0);
    EXPECT_EQ(play_sound(1000, 0, 1), 0.0);
    sound_shutdown();
    EXPECT_FALSE(sound_loaded(127));
}

TEST_F(SoundDevice, WithoutADeviceLoadsLoadNothing) {
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    sound_init();
    EXPECT_FALSE(sound_available());
    EXPECT_EQ(load_sound(dir_ + "/bell.wav", 0, 2), 0.0);
    EXPECT_FALSE(sound_loaded(0));
    EXPECT_EQ(play_sound(0, 0, 1), 0.0);
    sound_set_paused(true);
    sound_set_paused(false);
}

TEST_F(SoundDevice, AnEffectReachesTheOutput) {
    std::string out = dir_ + "/effect.raw";
    open_disk(out);
    ASSERT_TRUE(sound_available());
    ASSERT_EQ(load_sound(dir_ + "/bell.wav", 0, 2), 1.0);
    play_sound(0, 0, 1);
    wait_for_output(out, 1 << 20);
    sound_shutdown();
    // Full volume, centred, device rate: every frame of the sound arrives unchanged, once.
    size_t frames = 0;
    std::vector<int16_t> s = read_samples(out);
    for (size_t i = 0; i + 1 < s.size(); i += 2)
        if (s[i] == 12345 && s[i + 1] == 12345) ++frames;
    EXPECT_EQ(frames, 2000u) << "of " << s.size() / 2 << " frames written";
}

TEST_F(SoundDevice, AModuleReachesTheOutputAndPausingHoldsIt) {
    ASSERT_TRUE(write_bytes(dir_ + "/tune.it", tiny_module(8)));
    std::string out = dir_ + "/music.raw";
    open_disk(out);
    ASSERT_TRUE(sound_available());
    ASSERT_EQ(load_music(dir_ + "/tune.it"), 1.0);
    sound_set_paused(true);
    start_music();
    wait_for_output(out, 1 << 20);
    EXPECT_EQ(music_finished(), 0.0); // paused: the module stays where it was
    std::vector<int16_t> paused = read_samples(out);
    EXPECT_GT(paused.size(), 0u);
    EXPECT_TRUE(std::all_of(paused.begin(), paused.end(), [](int16_t v) { return v == 0; }))
        << "sound while paused";
    sound_set_paused(false);
    for (int i = 0; i < 500 && music_finished() == 0.0; ++i)
        wait_ms(10);
    EXPECT_EQ(music_finished(), 1.0);
    sound_shutdown();
    int peak = 0;
    for (int16_t v : read_samples(out))
        peak = std::max(peak, std::abs(int(v)));
    EXPECT_GT(peak, 1000);
}

} // namespace
