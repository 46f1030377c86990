#include "music_timbres.h"

#include <algorithm>
#include <cmath>

namespace audiogen {

namespace {

// Playback speed that makes note 60 sound at middle C for a sample built at `base_note`.
int c5_speed(int rate, double base_note) {
    return int(std::lround(rate * note_freq(60) / note_freq(base_note)));
}

void fade_out(std::vector<float>& d, int len) {
    len = std::min<int>(len, int(d.size()));
    for (int i = 0; i < len; ++i)
        d[d.size() - 1 - size_t(i)] *= float(double(i) / len);
}

} // namespace

SynthSample make_pluck(const std::string& name, double base_note, double seconds, double brightness,
                       uint32_t seed) {
    SynthSample s;
    s.name = name;
    s.rate = 22050;
    const double period = s.rate / note_freq(base_note);
    // The loop averages each sample with the one before it, weight `d` on the older: 0.5 is
    // the darkest string; the average delays by d samples, an all-pass adds the rest of the
    // period's fraction.
    const double d = 0.5 - 0.3 * std::clamp(brightness, 0.0, 1.0);
    const int len = std::max(2, int(std::floor(period - d - 0.1)));
    const double frac = period - d - len;
    const double ap = (1.0 - frac) / (1.0 + frac);
    s.c5speed = c5_speed(s.rate, base_note);
    Rng rng(seed);
    // The excitation: noise, low-passed for a softer pick when the string is dark.
    std::vector<double> line(static_cast<size_t>(len));
    OnePole pick(1500 + 6000 * brightness, s.rate);
    for (double& v : line)
        v = pick.low(rng.bipolar());
    const double decay = 0.9965 + 0.003 * brightness;
    const size_t n = size_t(seconds * s.rate);
    s.data.resize(n);
    size_t at = 0;
    double last = 0, ap_x1 = 0, ap_y1 = 0, older = 0;
    for (size_t i = 0; i < n; ++i) {
        const double cur = line[at];
        const size_t next = (at + 1) % size_t(len);
        const double avg = decay * ((1.0 - d) * cur + d * older);
        older = cur;
        // All-pass for the fraction of a sample the period leaves over.
        const double y = ap * avg + ap_x1 - ap * ap_y1;
        ap_x1 = avg;
        ap_y1 = y;
        line[at] = y;
        at = next;
        // A gentle body: a one-pole blend of the string with its last value.
        last = 0.7 * cur + 0.3 * last;
        s.data[i] = float(last);
    }
    fade_out(s.data, s.rate / 20);
    normalize(s.data, 0.95);
    return s;
}

SynthSample make_mallet(const std::string& name, double base_note, double seconds, double hardness,
                        uint32_t seed) {
    SynthSample s;
    s.name = name;
    s.rate = 22050;
    s.c5speed = c5_speed(s.rate, base_note);
    const double f = note_freq(base_note);
    // Modes of a tuned bar: the fundamental, a tuned fourth partial, and a high one.
    struct Mode {
        double ratio, gain, tau;
    };
    const Mode modes[] = {{1.0, 1.0, 0.55},
                          {3.98, 0.30 + 0.35 * hardness, 0.12},
                          {9.9, 0.08 + 0.2 * hardness, 0.035},
                          {2.0, 0.06, 0.3}};
    Rng rng(seed);
    OnePole knock_lp(900 + 1800 * hardness, s.rate);
    const size_t n = size_t(seconds * s.rate);
    s.data.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const double t = double(i) / s.rate;
        double v = 0;
        for (const Mode& m : modes) {
            if (f * m.ratio > 0.45 * s.rate) continue;
            v += m.gain * std::exp(-t / m.tau) * std::sin(2 * kPi * f * m.ratio * t);
        }
        v += 0.5 * knock_lp.low(rng.bipolar()) * std::exp(-t / 0.006);
        const double attack = std::min(1.0, t / 0.0015);
        s.data[i] = float(v * attack);
    }
    fade_out(s.data, s.rate / 10);
    normalize(s.data, 0.95);
    return s;
}

SynthSample make_brass(const std::string& name, double base_note, double swell_s, double brightness,
                       uint32_t seed) {
    SynthSample s;
    s.name = name;
    s.rate = 22050;
    const int loop = 4096;
    // Whole cycles per loop, so the steady part repeats without a seam.
    const int k = std::max(1, int(std::lround(note_freq(base_note) * loop / s.rate)));
    const double f_gen = double(k) * s.rate / loop;
    s.c5speed = int(std::lround(s.rate * note_freq(60) / f_gen));
    const int hold = int(std::ceil(swell_s * 2.5 * s.rate / loop)) * loop; // the swell's length
    const int total = hold + loop;
    std::vector<double> acc(size_t(total), 0.0);
    for (int detune : {0, 1}) {
        const int cycles = k + detune;
        const double layer = detune ? 0.45 : 1.0;
        for (int h = 1;; ++h) {
            const double fh = double(h) * cycles * s.rate / loop;
            if (fh > 6500 || fh > 0.45 * s.rate) break;
            // Saw partials, the top rolled off; each comes in later than the one below.
            const double amp = layer * std::pow(double(h), -1.0 - 0.9 * (1.0 - brightness)) /
                               (1.0 + std::pow(fh / 2600.0, 2.0));
            const double delay = swell_s * std::min(1.0, 0.12 * (h - 1));
            const long step = long(h) * cycles;
            for (int t = 0; t < total; ++t) {
                const double ts = double(std::min(t, hold)) / s.rate;
                const double env =
                    1.0 - std::exp(-std::max(0.0, ts - 0.3 * delay) / (0.02 + 0.5 * delay + 1e-6));
                acc[size_t(t)] +=
                    amp * env * std::sin(2.0 * kPi * double((step * t) % loop) / loop);
            }
        }
    }
    // A breath of noise at the onset.
    Rng rng(seed);
    BandPass breath(1800, 0.8, s.rate);
    const int breath_len = std::min(total, int(0.08 * s.rate));
    for (int t = 0; t < breath_len; ++t)
        acc[size_t(t)] += 0.25 * breath.run(rng.bipolar()) * (1.0 - double(t) / breath_len);
    s.data.resize(size_t(total));
    for (int t = 0; t < total; ++t)
        s.data[size_t(t)] = float(acc[size_t(t)]);
    normalize(s.data, 0.95);
    s.loop_start = uint32_t(hold);
    s.loop_end = uint32_t(total);
    return s;
}

SynthSample make_tom(double note) {
    SynthSample s;
    s.name = "tom";
    s.rate = 22050;
    s.c5speed = s.rate;
    s.data.resize(size_t(0.5 * s.rate));
    Rng rng(606);
    OnePole skin(2500, s.rate);
    const double f0 = note_freq(note);
    double phase = 0;
    for (size_t i = 0; i < s.data.size(); ++i) {
        const double t = double(i) / s.rate;
        phase += 2 * kPi * f0 * (1.0 + 0.6 * std::exp(-t / 0.04)) / s.rate;
        const double body = std::sin(phase) * std::exp(-t / 0.18);
        const double noise = skin.low(rng.bipolar()) * std::exp(-t / 0.03);
        s.data[i] = float(std::tanh(1.3 * (body + 0.5 * noise)));
    }
    fade_out(s.data, 600);
    normalize(s.data, 0.95);
    return s;
}

SynthSample make_clap() {
    SynthSample s;
    s.name = "clap";
    s.rate = 22050;
    s.c5speed = s.rate;
    s.data.resize(size_t(0.3 * s.rate));
    Rng rng(707);
    BandPass bp(1200, 0.9, s.rate);
    for (size_t i = 0; i < s.data.size(); ++i) {
        const double t = double(i) / s.rate;
        // Three hands a few milliseconds apart, then the room.
        double env = std::exp(-t / 0.09) * 0.5;
        for (double at : {0.0, 0.011, 0.022})
            if (t >= at) env += std::exp(-(t - at) / 0.004);
        s.data[i] = float(bp.run(rng.bipolar()) * env);
    }
    fade_out(s.data, 400);
    normalize(s.data, 0.95);
    return s;
}

} // namespace audiogen
