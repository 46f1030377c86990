// The effects mixer as a pure object over buffers, without a device.
#include "audio/decode.h"
#include "audio/mixer.h"
#include "wav_bytes.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// A sound of `frames` frames whose every sample is `value`.
std::unique_ptr<SoundData> constant_sound(size_t frames, int16_t value = 1000) {
    auto s = std::make_unique<SoundData>();
    s->samples.assign(frames * 2, value);
    return s;
}

std::vector<float> mix(Mixer& m, size_t frames) {
    std::vector<float> out(frames * 2, 0.0f);
    m.mix(out.data(), frames);
    return out;
}

TEST(MixerVoices, OneVoiceDropsRequestsWhilePlaying) {
    Mixer m;
    m.replace(2, constant_sound(100), 1);
    EXPECT_EQ(m.play(2, 0, 1), 0);
    mix(m, 40);
    EXPECT_EQ(m.position(2, 0), 40u);
    EXPECT_EQ(m.play(2, 0, 1), -1); // busy: no restart
    EXPECT_EQ(m.position(2, 0), 40u);
    mix(m, 60);
    EXPECT_FALSE(m.playing(2, 0));
    EXPECT_EQ(m.play(2, 0, 1), 0); // free again
    EXPECT_EQ(m.position(2, 0), 0u);
}

TEST(MixerVoices, TwoVoicesAlternate) {
    Mixer m;
    m.replace(0, constant_sound(100), 2);
    EXPECT_EQ(m.play(0, 0, 1), 0);
    mix(m, 10);
    EXPECT_EQ(m.play(0, 0, 1), 1);
    mix(m, 10);
    // Both busy: the next one after the voice used last (voice 0) restarts.
    EXPECT_EQ(m.play(0, 0, 1), 0);
    EXPECT_EQ(m.position(0, 0), 0u);
    EXPECT_EQ(m.position(0, 1), 10u);
    EXPECT_EQ(m.play(0, 0, 1), 1);
    EXPECT_EQ(m.position(0, 1), 0u);
}

TEST(MixerVoices, FourVoicesRoundRobinAndTheFifthRestartsTheOldest) {
    Mixer m;
    m.replace(3, constant_sound(1000), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(m.play(3, 0, 1), i);
        mix(m, 10);
    }
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(m.playing(3, i));
    EXPECT_EQ(m.position(3, 0), 40u); // the oldest
    EXPECT_EQ(m.play(3, 0, 1), 0);
    EXPECT_EQ(m.position(3, 0), 0u);
    EXPECT_TRUE(m.playing(3, 0));
    EXPECT_EQ(m.position(3, 1), 30u); // the others go on
}

TEST(MixerVoices, AFinishedVoiceIsUsedAgainFirst) {
    Mixer m;
    m.replace(1, constant_sound(10), 4);
    EXPECT_EQ(m.play(1, 0, 1), 0);
    mix(m, 20);
    EXPECT_EQ(m.play(1, 0, 1), 0);
    EXPECT_EQ(m.next_voice(1), 0);
}

TEST(MixerVoices, EmptyAndReloadedSlots) {
    Mixer m;
    EXPECT_EQ(m.play(5, 0, 1), -1);
    EXPECT_EQ(m.play(-1, 0, 1), -1);
    EXPECT_EQ(m.play(128, 0, 1), -1);
    m.replace(5, constant_sound(50), 9);
    EXPECT_EQ(m.voices(5), 4);
    m.play(5, 0, 1);
    m.play(5, 0, 1);
    auto old = m.replace(5, constant_sound(50), 0);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(m.voices(5), 1);
    EXPECT_FALSE(m.playing(5, 0));
    EXPECT_FALSE(m.playing(5, 1));
    EXPECT_EQ(m.next_voice(5), 0);
    m.replace(5, nullptr, 4);
    EXPECT_FALSE(m.loaded(5));
    EXPECT_EQ(m.play(5, 0, 1), -1);
}

TEST(MixerVoices, SlotAndVoiceNumbersFromTheGame) {
    EXPECT_EQ(sound_slot_index(0), 0);
    EXPECT_EQ(sound_slot_index(3.9), 3);
    EXPECT_EQ(sound_slot_index(127), 127);
    EXPECT_EQ(sound_slot_index(500), 127);
    EXPECT_EQ(sound_slot_index(1e300), 127);
    EXPECT_EQ(sound_slot_index(-1), -1);
    EXPECT_EQ(sound_slot_index(NAN), 0);
    EXPECT_EQ(sound_voice_count(0), 1);
    EXPECT_EQ(sound_voice_count(2.7), 2);
    EXPECT_EQ(sound_voice_count(10), 4);
    EXPECT_EQ(sound_voice_count(-3), 1);
}

TEST(MixerGain, VolumeInHundredthsOfADecibel) {
    auto near = [](double a, double b) { return std::fabs(a - b) <= 1e-6 * std::max(1.0, b); };
    EXPECT_EQ(voice_gain(0, 1).left, 1.0f);
    EXPECT_EQ(voice_gain(0, 1).right, 1.0f);
    EXPECT_TRUE(near(voice_gain(0, 0.5).left, std::pow(10.0, -5000 / 2000.0)));  // -50 dB
    EXPECT_TRUE(near(voice_gain(0, 0.999).left, std::pow(10.0, -100 / 2000.0))); // trunc(99.9)
    EXPECT_TRUE(near(voice_gain(0, 0).left, 1e-5));                              // -100 dB
    EXPECT_TRUE(near(voice_gain(0, -3).left, 1e-5));
    EXPECT_EQ(voice_gain(0, 7).left, 1.0f);
    EXPECT_TRUE(near(voice_gain(0, NAN).right, 1e-5));
}

TEST(MixerGain, PanAttenuatesTheFarSide) {
    auto near = [](double a, double b) { return std::fabs(a - b) <= 1e-6 * std::max(1.0, b); };
    StereoGain right = voice_gain(1, 1);
    EXPECT_TRUE(near(right.left, 1e-5));
    EXPECT_EQ(right.right, 1.0f);
    StereoGain left = voice_gain(-1, 1);
    EXPECT_EQ(left.left, 1.0f);
    EXPECT_TRUE(near(left.right, 1e-5));
    StereoGain quarter = voice_gain(0.25, 1);
    EXPECT_TRUE(near(quarter.left, std::pow(10.0, -2500 / 2000.0)));
    EXPECT_EQ(quarter.right, 1.0f);
    StereoGain both = voice_gain(-0.5, 0.5); // volume and pan add up in decibels
    EXPECT_TRUE(near(both.left, std::pow(10.0, -5000 / 2000.0)));
    EXPECT_TRUE(near(both.right, std::pow(10.0, -10000 / 2000.0)));
}

TEST(MixerGain, PlaySoundZeroFiveSevenIsFullRightAtFullVolume) {
    Mixer m;
    m.replace(0, constant_sound(8, 10000), 2);
    ASSERT_EQ(m.play(0, 5, 7), 0);
    StereoGain g = m.gain(0, 0);
    EXPECT_EQ(g.right, 1.0f);
    EXPECT_LT(g.left, 1e-4f);
    std::vector<float> out = mix(m, 8);
    std::vector<int16_t> pcm(out.size());
    float_to_s16(out.data(), pcm.data(), out.size());
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(pcm[2 * i], 0);         // left: -100 dB rounds to silence
        EXPECT_EQ(pcm[2 * i + 1], 10000); // right: unchanged
    }
}

TEST(MixerMix, VoicesAddUpAndClip) {
    Mixer m;
    m.replace(0, constant_sound(4, 20000), 2);
    m.replace(1, constant_sound(2, -300), 1);
    m.play(0, 0, 1);
    m.play(0, 0, 1);
    m.play(1, 0, 1);
    std::vector<float> out = mix(m, 6);
    EXPECT_FLOAT_EQ(out[0], 39700.0f);
    EXPECT_FLOAT_EQ(out[4], 40000.0f);
    EXPECT_FLOAT_EQ(out[8], 0.0f); // past the end of every sound
    std::vector<int16_t> pcm(out.size());
    float_to_s16(out.data(), pcm.data(), out.size());
    EXPECT_EQ(pcm[0], 32767);
    float low[2] = {-40000.0f, -0.4f};
    int16_t clipped[2];
    float_to_s16(low, clipped, 2);
    EXPECT_EQ(clipped[0], -32768);
    EXPECT_EQ(clipped[1], 0);
}

TEST(MixerConvert, Mono8BitAndStereo16BitAtTheirOwnRates) {
    // One second of mono 8-bit at 11025 Hz: a square wave between 0x40 and 0xC0.
    WavSpec mono;
    mono.channels = 1;
    mono.rate = 11025;
    mono.bits = 8;
    std::string pcm8;
    for (int i = 0; i < 11025; ++i)
        pcm8 += char((i / 50) % 2 ? 0xC0 : 0x40);
    auto bytes = as_bytes(wav_bytes(mono, pcm8));
    std::string error;
    auto a = decode_wav_sound(bytes, &error);
    ASSERT_NE(a, nullptr) << error;
    EXPECT_EQ(a->frames(), 44100u);
    // Mono reaches both sides alike; unsigned 8-bit is centred on 0x80.
    int16_t peak = 0;
    for (size_t i = 0; i < a->frames(); ++i) {
        EXPECT_EQ(a->samples[2 * i], a->samples[2 * i + 1]);
        peak = std::max<int16_t>(peak, a->samples[2 * i]);
    }
    EXPECT_NEAR(peak, 0x40 << 8, 0x40 << 6); // with the resampler's ringing at the edges

    // Half a second of stereo 16-bit at 22050 Hz, left and right apart.
    WavSpec stereo;
    stereo.channels = 2;
    stereo.rate = 22050;
    std::string pcm16s;
    for (int i = 0; i < 11025; ++i) {
        append16(pcm16s, uint16_t(int16_t(8000)));
        append16(pcm16s, uint16_t(int16_t(-8000)));
    }
    bytes = as_bytes(wav_bytes(stereo, pcm16s));
    auto b = decode_wav_sound(bytes, &error);
    ASSERT_NE(b, nullptr) << error;
    EXPECT_EQ(b->frames(), 22050u);
    size_t mid = b->frames() / 2;
    EXPECT_NEAR(b->samples[2 * mid], 8000, 80);
    EXPECT_NEAR(b->samples[2 * mid + 1], -8000, 80);
    // The sound runs to its last frame: no tail is lost in the resampler.
    EXPECT_NEAR(b->samples[2 * (b->frames() - 4)], 8000, 800);

    // The device's own format passes through unchanged.
    WavSpec same;
    same.channels = 2;
    same.rate = 44100;
    bytes = as_bytes(wav_bytes(same, pcm16(1000, 2, 1234)));
    auto c = decode_wav_sound(bytes, &error);
    ASSERT_NE(c, nullptr) << error;
    EXPECT_EQ(c->frames(), 1000u);
    for (int16_t s : c->samples)
        ASSERT_EQ(s, 1234);
}

TEST(MixerConvert, EveryFormatConvertsToTheExactLength) {
    for (uint32_t rate : {8000u, 11025u, 22050u, 32000u, 44100u, 48000u, 96000u, 200000u}) {
        for (int channels : {1, 2}) {
            for (int bits : {8, 16}) {
                WavSpec s;
                s.rate = rate;
                s.channels = channels;
                s.bits = bits;
                size_t in_frames = rate / 3 + 7;
                std::string pcm = bits == 8 ? std::string(in_frames * size_t(channels), '\xC0')
                                            : pcm16(in_frames, channels, 16384);
                auto bytes = as_bytes(wav_bytes(s, pcm));
                std::string error;
                auto sound = decode_wav_sound(bytes, &error);
                ASSERT_NE(sound, nullptr)
                    << rate << " " << channels << " " << bits << ": " << error;
                auto expected = size_t(std::llround(double(in_frames) * 44100.0 / rate));
                EXPECT_EQ(sound->frames(), expected) << rate << " " << channels << " " << bits;
                size_t late = sound->frames() * 95 / 100;
                EXPECT_NEAR(sound->samples[2 * late], 16384, 400)
                    << rate << " " << channels << " " << bits;
                EXPECT_NEAR(sound->samples[2 * late + 1], 16384, 400)
                    << rate << " " << channels << " " << bits;
            }
        }
    }
}

TEST(MixerConvert, BadFilesGiveNoSound) {
    std::string error;
    std::vector<uint8_t> nothing;
    EXPECT_EQ(decode_wav_sound(nothing, &error), nullptr);
    EXPECT_FALSE(error.empty());
    WavSpec s;
    s.data_size = 5000;
    auto bytes = as_bytes(wav_bytes(s, pcm16(10, 1, 1)));
    EXPECT_EQ(decode_wav_sound(bytes), nullptr);
    // A tiny file at the lowest rate still converts to a bounded length.
    WavSpec slow;
    slow.rate = 100;
    bytes = as_bytes(wav_bytes(slow, pcm16(100, 1, 100)));
    auto sound = decode_wav_sound(bytes, &error);
    ASSERT_NE(sound, nullptr) << error;
    EXPECT_EQ(sound->frames(), 44100u);
}

} // namespace
