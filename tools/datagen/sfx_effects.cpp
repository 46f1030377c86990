#include "sfx_effects.h"

#include "audio_synth.h"

#include <algorithm>
#include <cmath>

namespace audiogen {

namespace {

constexpr double R = kSfxRate;

std::vector<float> silence(double seconds) {
    return std::vector<float>(size_t(seconds * R), 0.0f);
}

// Adds one ratchet click at `at` seconds: a snap of filtered noise and the pawl's metallic ring.
void add_click(std::vector<float>& out, double at, double gain, double pitch, uint32_t seed) {
    Rng rng(seed);
    BandPass snap(2600 * pitch, 1.2, R);
    const double ring[3] = {1900 * pitch, 3150 * pitch, 4800 * pitch};
    const size_t start = size_t(at * R);
    const size_t len = size_t(0.045 * R);
    for (size_t i = 0; i < len && start + i < out.size(); ++i) {
        double t = double(i) / R;
        double v = snap.run(rng.bipolar()) * 2.2 * std::exp(-t / 0.004);
        for (int k = 0; k < 3; ++k)
            v += 0.22 / (k + 1) * std::sin(2 * kPi * ring[k] * t) *
                 std::exp(-t / (0.012 - 0.003 * k));
        out[start + i] += float(v * gain);
    }
}

// A dull metal thud: low damped tone under a short noise burst.
void add_thud(std::vector<float>& out, double at, double gain, double freq, uint32_t seed) {
    Rng rng(seed);
    OnePole lp(1800, R);
    const size_t start = size_t(at * R);
    const size_t len = size_t(0.18 * R);
    for (size_t i = 0; i < len && start + i < out.size(); ++i) {
        double t = double(i) / R;
        double v = std::sin(2 * kPi * freq * t) * std::exp(-t / 0.045) +
                   0.4 * std::sin(2 * kPi * freq * 2.7 * t) * std::exp(-t / 0.02) +
                   lp.low(rng.bipolar()) * 1.5 * std::exp(-t / 0.01);
        out[start + i] += float(v * gain);
    }
}

void finish(std::vector<float>& d, double peak) {
    const size_t fade = std::min<size_t>(d.size(), size_t(0.01 * R));
    for (size_t i = 0; i < fade; ++i)
        d[d.size() - 1 - i] *= float(double(i) / fade);
    normalize(d, peak);
}

} // namespace

std::vector<float> sfx_fasten() {
    std::vector<float> out = silence(0.62);
    // Five quick clicks, each a touch higher as the bolt tightens, then the final seat.
    for (int i = 0; i < 5; ++i)
        add_click(out, 0.01 + i * 0.085, 0.65 + 0.07 * i, 1.0 + 0.04 * i, 11 + uint32_t(i));
    add_click(out, 0.45, 1.0, 1.25, 21);
    add_thud(out, 0.45, 0.8, 150, 22);
    finish(out, 0.9);
    return out;
}

std::vector<float> sfx_loosen() {
    std::vector<float> out = silence(1.25);
    // The bolt breaks loose: a short rising creak of stick-slip friction.
    {
        Rng rng(31);
        BandPass body(900, 3.0, R);
        double phase = 0;
        const size_t len = size_t(0.32 * R);
        for (size_t i = 0; i < len; ++i) {
            double t = double(i) / R;
            double f = 310 + 180 * t / 0.32 + 25 * std::sin(2 * kPi * 23 * t);
            phase += f / R;
            double saw = 2.0 * (phase - std::floor(phase)) - 1.0;
            double env = std::min(1.0, t / 0.03) * std::min(1.0, (0.32 - t) / 0.06);
            out[i] += float((body.run(saw + 0.3 * rng.bipolar()) * 2.5 + 0.25 * saw) * env * 0.5);
        }
    }
    add_thud(out, 0.3, 0.6, 120, 32);
    // Then the ratchet turns back: slower clicks, falling in pitch, fading.
    for (int i = 0; i < 6; ++i)
        add_click(out, 0.42 + i * 0.13, 0.85 - 0.1 * i, 0.95 - 0.05 * i, 41 + uint32_t(i));
    finish(out, 0.9);
    return out;
}

std::vector<float> sfx_elevator() {
    std::vector<float> out = silence(2.6);
    // The brake releases with a clank...
    add_thud(out, 0.0, 1.0, 90, 51);
    add_click(out, 0.0, 0.7, 0.8, 52);
    // ...and the motor winds up: a buzzing hum rising in pitch with a gear whine above it,
    // the cabin's rattle on top.
    Rng rng(53);
    OnePole hum_lp(900, R);
    BandPass rattle(1400, 2.0, R);
    double ph = 0, whine = 0;
    for (size_t i = size_t(0.06 * R); i < out.size(); ++i) {
        double t = double(i) / R - 0.06;
        double spin = 1.0 - std::exp(-t / 0.7);
        double f = 38 + 52 * spin;
        ph += f / R;
        whine += f * 7.5 / R;
        double saw = 2.0 * (ph - std::floor(ph)) - 1.0;
        double hum = hum_lp.low(saw) * 1.4;
        double w = 0.3 * std::sin(2 * kPi * whine) * spin;
        double rat =
            rattle.run(rng.bipolar()) * 0.5 * (0.5 + 0.5 * std::sin(2 * kPi * f * 0.25 * t));
        double env =
            std::min(1.0, t / 0.25) * (t > 2.2 ? std::max(0.0, 1.0 - (t - 2.2) / 0.34) : 1.0);
        out[i] += float((hum + w + rat * 0.6) * env * 0.7);
    }
    finish(out, 0.85);
    return out;
}

std::vector<float> sfx_bell() {
    // Replayed every frame of the count on four voices, so it must be gone almost at once: a
    // small bright bell of inharmonic partials, struck without an attack ramp.
    std::vector<float> out = silence(0.045);
    const double f = 2600;
    const double part[3][3] = {{1.0, 1.0, 0.011}, {2.76, 0.6, 0.007}, {3.52, 0.3, 0.005}};
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / R;
        double v = 0;
        for (auto& p : part)
            if (f * p[0] < 0.45 * R)
                v += p[1] * std::sin(2 * kPi * f * p[0] * t) * std::exp(-t / p[2]);
        out[i] = float(v * std::min(1.0, t / 0.0004));
    }
    finish(out, 0.8);
    return out;
}

} // namespace audiogen
