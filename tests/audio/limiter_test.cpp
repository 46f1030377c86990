// The master limiter: a signal below its ceiling passes unchanged (only delayed by the
// look-ahead); any sum above it is brought under the ceiling without a jump in gain.
#include "audio/limiter.h"
#include "audio/mixer.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Interleaved stereo: a sine of `amplitude` (16-bit scale) at `hz`, the same on both sides.
std::vector<float> sine(size_t frames, double amplitude, double hz) {
    std::vector<float> s(frames * 2);
    for (size_t i = 0; i < frames; ++i)
        s[2 * i] = s[2 * i + 1] = float(amplitude * std::sin(2 * kPi * hz * double(i) / 44100));
    return s;
}

// Runs the limiter in callback-sized blocks of `block` frames.
std::vector<float> limited(std::vector<float> s, size_t block = 1024) {
    Limiter l;
    for (size_t at = 0; at < s.size() / 2; at += block)
        l.process(s.data() + 2 * at, std::min(block, s.size() / 2 - at));
    return s;
}

float peak(const std::vector<float>& s, size_t from = 0) {
    float p = 0;
    for (size_t i = 2 * from; i < s.size(); ++i)
        p = std::max(p, std::fabs(s[i]));
    return p;
}

TEST(Limiter, BelowTheCeilingTheSignalOnlyComesLater) {
    struct Case {
        double amplitude;
        double hz;
        size_t block;
    };
    const Case cases[] = {{1000, 440, 1024}, {26214, 2600, 1024}, {29900, 90, 7}, {0, 440, 64}};
    for (const Case& c : cases) {
        const std::vector<float> in = sine(20000, c.amplitude, c.hz);
        const std::vector<float> out = limited(in, c.block);
        for (size_t i = Limiter::kLookahead; i < 20000; ++i)
            ASSERT_EQ(out[2 * i], in[2 * (i - Limiter::kLookahead)])
                << "amplitude " << c.amplitude << " frame " << i;
        for (size_t i = 0; i < 2 * Limiter::kLookahead; ++i)
            ASSERT_EQ(out[i], 0.0f);
    }
}

TEST(Limiter, NoSumOfVoicesReachesTheCeilingOrFullScale) {
    // Up to sixteen full-scale voices on top of each other (the bells and the music of a time
    // count are four voices and a tune), each starting suddenly.
    for (int voices : {2, 4, 8, 16}) {
        std::vector<float> sum(44100 * 2, 0.0f);
        for (int v = 0; v < voices; ++v) {
            const std::vector<float> s = sine(44100, 32767, 300 + 170 * v);
            for (size_t i = size_t(v) * 2000 * 2; i < sum.size(); ++i)
                sum[i] += s[i];
        }
        const std::vector<float> out = limited(sum);
        EXPECT_LE(peak(out), Limiter::kCeiling * 1.0001f) << voices << " voices"; // rounding
        std::vector<int16_t> pcm(out.size());
        float_to_s16(out.data(), pcm.data(), out.size());
        const long full = std::count_if(pcm.begin(), pcm.end(),
                                        [](int16_t x) { return x == 32767 || x == -32768; });
        EXPECT_EQ(full, 0) << voices << " voices";
    }
}

TEST(Limiter, TheGainFallsSmoothlyAndComesBackAfterTheLoudPart) {
    // A quiet tone, a loud burst in the middle, the quiet tone again.
    std::vector<float> s = sine(3 * 44100, 8000, 440);
    for (size_t i = 44100 * 2; i < 2 * 44100 * 2; ++i)
        s[i] *= 6;
    Limiter l;
    float lowest = 1, largest_step = 0, last = 1;
    for (size_t at = 0; at < s.size() / 2; ++at) {
        l.process(s.data() + 2 * at, 1);
        lowest = std::min(lowest, l.gain());
        largest_step = std::max(largest_step, std::fabs(l.gain() - last));
        last = l.gain();
    }
    EXPECT_LT(lowest, 0.7f);        // the burst was turned down
    EXPECT_LT(largest_step, 0.05f); // ... over many frames, not in one jump
    EXPECT_GT(l.gain(), 0.999f);    // a second after it, back to unity
    EXPECT_LE(peak(s), Limiter::kCeiling * 1.0001f);
}

TEST(Limiter, NonFiniteInputGivesSilenceNotNoise) {
    std::vector<float> s = sine(500, 1000, 440);
    s[20] = std::nanf("");
    s[41] = INFINITY;
    s[60] = -INFINITY;
    const std::vector<float> out = limited(s);
    for (float v : out)
        ASSERT_TRUE(std::isfinite(v));
    EXPECT_EQ(out[2 * (10 + Limiter::kLookahead)], 0.0f);   // the NaN frame's left side
    EXPECT_GT(peak(out, Limiter::kLookahead + 40), 900.0f); // and the tone goes on at its level
}

} // namespace
