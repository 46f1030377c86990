// The loudness meter of steel_data music: K-weighting, the 400 ms blocks and both gates,
// checked on signals whose loudness is known.
#include "loudness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr double kRate = 48000;
constexpr double kPi = 3.14159265358979323846;

struct Part {
    double seconds, freq, left, right; // a sine of that amplitude in each channel
};

// Interleaved stereo frames: the parts one after another.
std::vector<float> signal(const std::vector<Part>& parts) {
    std::vector<float> out;
    for (const Part& p : parts) {
        const size_t n = size_t(p.seconds * kRate);
        for (size_t i = 0; i < n; ++i) {
            const double s = std::sin(2 * kPi * p.freq * double(i) / kRate);
            out.push_back(float(p.left * s));
            out.push_back(float(p.right * s));
        }
    }
    return out;
}

double measure(const std::vector<Part>& parts, double* peak = nullptr, size_t chunk = 1000) {
    LoudnessMeter meter(kRate);
    const std::vector<float> s = signal(parts);
    // Fed in pieces, as a renderer delivers it.
    for (size_t at = 0; at < s.size() / 2; at += chunk)
        meter.add(&s[2 * at], std::min(chunk, s.size() / 2 - at));
    if (peak) *peak = meter.peak_dbfs();
    return meter.integrated();
}

TEST(Loudness, KnownSignals) {
    struct Case {
        const char* what;
        std::vector<Part> parts;
        double lufs, tolerance;
    };
    const double a20 = std::pow(10.0, -20.0 / 20.0); // -20 dBFS
    const std::vector<Case> cases = {
        // At 1 kHz the weighting adds what the -0.691 offset takes away: both channels at
        // -20 dBFS read -20 LUFS, one channel alone 3 dB less.
        {"1 kHz, both channels", {{5, 1000, a20, a20}}, -20.0, 0.1},
        {"1 kHz, left only", {{5, 1000, a20, 0}}, -23.01, 0.1},
        {"1 kHz, full scale", {{5, 1000, 1, 1}}, 0.0, 0.1},
        // The high shelf lifts the top by about 4 dB (against 0.7 dB at 1 kHz), the high-pass
        // takes the sub-bass away (about 13 dB at 20 Hz).
        {"10 kHz", {{5, 10000, a20, a20}}, -20.0 - 0.69 + 4.0, 0.5},
        {"20 Hz", {{5, 20, a20, a20}}, -20.0 - 0.69 - 13.3, 1.0},
        // Silence before and after does not pull the level down (absolute gate); only the six
        // blocks that overlap the edges count partly (-0.25 dB).
        {"with silence", {{3, 1000, 0, 0}, {5, 1000, a20, a20}, {3, 1000, 0, 0}}, -20.25, 0.05},
        // A passage 30 dB down is gated out relative to the rest.
        {"quiet passage", {{5, 1000, a20, a20}, {5, 1000, a20 * 0.0316, a20 * 0.0316}}, -20.0, 0.3},
        // Two halves 6 dB apart are both counted: the mean power of the two.
        {"two levels",
         {{5, 1000, a20, a20}, {5, 1000, a20 * 0.5, a20 * 0.5}},
         -20.0 + 10 * std::log10((1 + 0.25) / 2),
         0.2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(measure(c.parts), c.lufs, c.tolerance);
    }
}

TEST(Loudness, EdgesOfTheMeasurement) {
    // Nothing but silence, or less than one 400 ms block: no level (reported as -1000).
    EXPECT_EQ(measure({{4, 1000, 0, 0}}), -1000.0);
    EXPECT_EQ(measure({{0.3, 1000, 0.5, 0.5}}), -1000.0);
    LoudnessMeter meter(kRate);
    EXPECT_EQ(meter.integrated(), -1000.0);
    EXPECT_EQ(meter.peak_dbfs(), -1000.0);
    EXPECT_EQ(meter.blocks(), 0u);
    // Blocks every 100 ms once the first 400 ms are in.
    const std::vector<float> s = signal({{1.0, 1000, 0.1, 0.1}});
    meter.add(s.data(), s.size() / 2);
    EXPECT_EQ(meter.blocks(), 7u);
    // The peak is the largest sample, in dB of full scale; the feed's chunking changes nothing.
    double peak = 0;
    const double whole = measure({{2, 440, 0.5, 0.25}}, &peak, 96000);
    EXPECT_NEAR(peak, 20 * std::log10(0.5), 0.01);
    EXPECT_NEAR(measure({{2, 440, 0.5, 0.25}}, nullptr, 7), whole, 1e-9);
}

} // namespace
