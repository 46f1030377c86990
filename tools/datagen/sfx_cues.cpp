// The game's cues: what the player's action or the clock just did, each short and quiet enough
// to sit under the music.
#include "sfx_effects.h"

#include "audio_synth.h"

#include <algorithm>
#include <cmath>

namespace audiogen {

namespace {

constexpr double R = kSfxRate;

void fade_out_end(std::vector<float>& d) {
    const size_t fade = std::min<size_t>(d.size(), size_t(0.008 * R));
    for (size_t i = 0; i < fade; ++i)
        d[d.size() - 1 - i] *= float(double(i) / fade);
}

} // namespace

std::vector<float> sfx_dull() {
    // A muffled knock on a girder: a low damped tone and a soft burst of filtered noise.
    std::vector<float> out(size_t(0.16 * R), 0.0f);
    Rng rng(61);
    OnePole lp(600, R);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / R;
        double v = std::sin(2 * kPi * 95 * t) * std::exp(-t / 0.035) +
                   0.35 * std::sin(2 * kPi * 171 * t) * std::exp(-t / 0.02) +
                   lp.low(rng.bipolar()) * 0.9 * std::exp(-t / 0.012);
        out[i] = float(v * std::min(1.0, t / 0.002));
    }
    fade_out_end(out);
    normalize(out, 0.6);
    return out;
}

std::vector<float> sfx_chime() {
    // Three rising bell tones (a major triad), each ringing on under the next.
    std::vector<float> out(size_t(1.3 * R), 0.0f);
    const double notes[3] = {784.0, 987.8, 1318.5};
    for (int n = 0; n < 3; ++n) {
        const size_t start = size_t(0.12 * n * R);
        for (size_t i = start; i < out.size(); ++i) {
            double t = double(i - start) / R;
            double f = notes[n];
            double v = std::sin(2 * kPi * f * t) * std::exp(-t / 0.45) +
                       0.3 * std::sin(2 * kPi * f * 2.0 * t) * std::exp(-t / 0.2) +
                       0.12 * std::sin(2 * kPi * f * 3.01 * t) * std::exp(-t / 0.1);
            out[i] += float(v * std::min(1.0, t / 0.003));
        }
    }
    fade_out_end(out);
    normalize(out, 0.7);
    return out;
}

std::vector<float> sfx_tick() {
    // The alarm clock's tick: a short dry click with a wooden knock below it.
    std::vector<float> out(size_t(0.05 * R), 0.0f);
    Rng rng(71);
    BandPass snap(3200, 1.5, R);
    for (size_t i = 0; i < out.size(); ++i) {
        double t = double(i) / R;
        double v = snap.run(rng.bipolar()) * 2.0 * std::exp(-t / 0.003) +
                   0.6 * std::sin(2 * kPi * 620 * t) * std::exp(-t / 0.008);
        out[i] = float(v);
    }
    fade_out_end(out);
    normalize(out, 0.65);
    return out;
}

} // namespace audiogen
