// The player's volume before the output stage: effects and music scaled apart, then added.
#include "audio/mixer.h"
#include "runtime/settings.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(OutputGains, EffectsAndMusicAreScaledApart) {
    struct Case {
        const char* name;
        float effects_gain, music_gain;
        float expect; // the mix of an effect sample 1000 and a music sample 3000
    };
    const std::vector<Case> cases = {
        {"full", 1.0f, 1.0f, 4000.0f},
        {"effects silent", 0.0f, 1.0f, 3000.0f},
        {"music silent", 1.0f, 0.0f, 1000.0f},
        {"muted", 0.0f, 0.0f, 0.0f},
        {"half each", 0.5f, 0.5f, 2000.0f},
        {"volume steps 7 and 4", volume_gain(7), volume_gain(4),
         1000.0f * volume_gain(7) + 3000.0f * volume_gain(4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<float> effects(64, 1000.0f);
        const std::vector<float> music(64, 3000.0f);
        apply_output_gains(effects.data(), music.data(), effects.size(), c.effects_gain,
                           c.music_gain);
        for (float v : effects)
            ASSERT_FLOAT_EQ(v, c.expect);
    }
}

TEST(OutputGains, OnlyTheGivenSamplesChange) {
    std::vector<float> effects = {1, 2, 3, 4}, music = {10, 20, 30, 40};
    apply_output_gains(effects.data(), music.data(), 2, 2.0f, 0.5f);
    EXPECT_EQ(effects, (std::vector<float>{7, 14, 3, 4}));
}

} // namespace
