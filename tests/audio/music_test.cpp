// Music: modules through libopenmpt, the player that renders them, and the game's operations.
#include "audio/music.h"
#include "audio/sound.h"
#include "support/test_support.h"
#include "tiny_module.h"
#include "wav_bytes.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace {

std::unique_ptr<Module> load(const std::string& bytes) {
    auto b = as_bytes(bytes);
    std::string error;
    auto m = Module::load(b, &error);
    EXPECT_NE(m, nullptr) << error;
    return m;
}

// Renders `frames` frames of the player's output.
std::vector<float> render(MusicPlayer& p, size_t frames) {
    std::vector<float> out(2 * frames, 0.0f), scratch(2 * frames);
    p.mix(out.data(), frames, scratch.data());
    return out;
}

float peak(const std::vector<float>& v) {
    float m = 0;
    for (float x : v)
        m = std::max(m, std::fabs(x));
    return m;
}

TEST(Music, TinyModuleLoads) {
    auto m = load(tiny_module(8));
    ASSERT_NE(m, nullptr);
    EXPECT_NEAR(m->duration_s(), 0.96, 0.01);
    EXPECT_EQ(m->patterns(), 1);
    EXPECT_EQ(m->orders(), 1);
    EXPECT_EQ(m->samples(), 1);
    EXPECT_GE(m->channels(), 1);
}

TEST(Music, PlaysOnceThenFinishesAndStartsAgainFromTheBeginning) {
    MusicPlayer p;
    EXPECT_TRUE(p.finished()); // nothing loaded
    EXPECT_EQ(p.replace(load(tiny_module(8))), nullptr);
    EXPECT_FALSE(p.finished());
    EXPECT_EQ(peak(render(p, 4410)), 0.0f); // not started: silent

    p.start();
    std::vector<float> first = render(p, 8820);
    EXPECT_GT(peak(first), 1000.0f); // audible
    EXPECT_FALSE(p.finished());
    render(p, 44100); // past its 0.96 s
    EXPECT_TRUE(p.finished());
    EXPECT_FALSE(p.playing());
    EXPECT_EQ(peak(render(p, 4410)), 0.0f);

    p.start();
    EXPECT_FALSE(p.finished());
    std::vector<float> again = render(p, 8820);
    EXPECT_EQ(again, first); // from the start, sample for sample (no dither)
}

TEST(Music, ReplacingLeavesOnlyTheNewModule) {
    MusicPlayer p;
    p.replace(load(tiny_module(8, 60)));
    p.start();
    render(p, 1000);
    auto old = p.replace(load(tiny_module(4, 72)));
    ASSERT_NE(old, nullptr);
    EXPECT_NEAR(old->duration_s(), 0.96, 0.01);
    EXPECT_FALSE(p.playing()); // waits for start
    p.start();
    std::vector<float> now = render(p, 8820);

    MusicPlayer fresh;
    fresh.replace(load(tiny_module(4, 72)));
    fresh.start();
    EXPECT_EQ(now, render(fresh, 8820));

    EXPECT_NE(p.replace(nullptr), nullptr);
    EXPECT_TRUE(p.finished());
}

TEST(Music, ReplacingWhileTheAudioThreadRenders) {
    // Replacing and restarting the module while another thread renders it, as the game and
    // the audio callback do: no deadlock, no crash, and the player ends up with a module.
    MusicPlayer p;
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        std::vector<float> out(512), scratch(512);
        while (!stop)
            p.mix(out.data(), 256, scratch.data());
    });
    std::string bytes = tiny_module(200); // long enough to be rendering at every replace
    for (int i = 0; i < 100; ++i) {
        auto b = as_bytes(bytes);
        auto old = p.replace(Module::load(b));
        p.start();
        (void)p.finished();
    }
    stop = true;
    audio.join();
    EXPECT_TRUE(p.loaded());
}

TEST(Music, LibopenmptRefusesGarbage) {
    std::string error;
    for (std::string bytes : {std::string(), std::string("not a module at all"),
                              std::string(5000, '\0'), tiny_module().substr(0, 100)}) {
        auto b = as_bytes(bytes);
        EXPECT_EQ(Module::load(b, &error), nullptr) << bytes.size();
    }
}

// The game's operations on the dummy audio device of the tests.
class MusicDevice : public testing::Test {
  protected:
    void SetUp() override {
        sound_shutdown();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        sound_init();
        dir_ = make_temp_dir();
        ASSERT_TRUE(write_bytes(dir_ + "/a.it", tiny_module(8)));
        ASSERT_TRUE(write_bytes(dir_ + "/bad.it", "garbage"));
    }
    void TearDown() override {
        sound_shutdown();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string dir_;
};

TEST_F(MusicDevice, LoadStartAndStop) {
    ASSERT_TRUE(sound_available());
    EXPECT_EQ(music_finished(), 1.0); // nothing loaded
    EXPECT_EQ(load_music(dir_ + "/a.it"), 1.0);
    EXPECT_EQ(start_music(), 0.0);
    EXPECT_EQ(music_finished(), 0.0);
    EXPECT_EQ(stop_music(), 0.0);
    EXPECT_EQ(music_finished(), 1.0);
    EXPECT_EQ(start_music(), 0.0); // nothing to start
    EXPECT_EQ(music_finished(), 1.0);
}

TEST_F(MusicDevice, AFailedLoadFreesThePreviousModule) {
    EXPECT_EQ(load_music(dir_ + "/a.it"), 1.0);
    start_music();
    EXPECT_EQ(load_music(dir_ + "/missing.it"), 0.0);
    EXPECT_EQ(music_finished(), 1.0);
    EXPECT_EQ(load_music(dir_ + "/a.it"), 1.0);
    EXPECT_EQ(load_music(dir_ + "/bad.it"), 0.0);
    start_music();
    EXPECT_EQ(music_finished(), 1.0);
}

TEST_F(MusicDevice, BackslashNamesResolve) {
    EXPECT_EQ(load_music(dir_ + "\\a.it"), 1.0);
}

TEST_F(MusicDevice, WithoutADeviceEverythingIsQuiet) {
    sound_shutdown();
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    sound_init();
    EXPECT_FALSE(sound_available());
    EXPECT_EQ(load_music(dir_ + "/a.it"), 0.0);
    EXPECT_EQ(start_music(), 0.0);
    EXPECT_EQ(music_finished(), 1.0);
    EXPECT_EQ(stop_music(), 0.0);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

} // namespace
