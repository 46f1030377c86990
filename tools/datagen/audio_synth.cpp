#include "audio_synth.h"

#include <algorithm>
#include <cmath>

namespace audiogen {

double note_freq(double note) {
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

uint32_t Rng::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

double Rng::uniform() {
    return double(next() >> 8) / double(1u << 24);
}
double Rng::bipolar() {
    return uniform() * 2.0 - 1.0;
}

OnePole::OnePole(double cutoff_hz, double rate) {
    a = 1.0 - std::exp(-2.0 * kPi * cutoff_hz / rate);
}

BandPass::BandPass(double centre_hz, double q, double rate) {
    double w = 2.0 * kPi * centre_hz / rate;
    double alpha = std::sin(w) / (2.0 * q);
    double a0 = 1.0 + alpha;
    b0 = alpha / a0;
    b2 = -alpha / a0;
    a1 = -2.0 * std::cos(w) / a0;
    a2 = (1.0 - alpha) / a0;
}

double BandPass::run(double x) {
    double y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
}

void normalize(std::vector<float>& data, double peak) {
    double m = 0;
    for (float v : data)
        m = std::max(m, double(std::fabs(v)));
    if (m <= 0) return;
    double g = peak / m;
    for (float& v : data)
        v = float(v * g);
}

double wave_partial(Wave wave, int n) {
    switch (wave) {
    case Wave::Saw:
        return 1.0 / n;
    case Wave::Square:
        return n % 2 ? 1.0 / n : 0.0;
    case Wave::Pulse25:
        return std::fabs(std::sin(kPi * n * 0.25)) / n;
    case Wave::Triangle:
        return n % 2 ? 1.0 / (double(n) * n) : 0.0;
    case Wave::Sine:
        return n == 1 ? 1.0 : 0.0;
    case Wave::Organ: // drawbars 8', 4', 2 2/3', 2', 1 3/5', 1'
        switch (n) {
        case 1:
            return 1.0;
        case 2:
            return 0.8;
        case 3:
            return 0.6;
        case 4:
            return 0.45;
        case 5:
            return 0.15;
        case 6:
            return 0.25;
        case 8:
            return 0.3;
        default:
            return 0.0;
        }
    case Wave::Hollow: // odd partials, softer top: a clarinet-like reed
        return n % 2 ? 1.0 / std::pow(double(n), 1.4) : 0.08 / n;
    }
    return 0.0;
}

SynthSample make_tone(const ToneSpec& s) {
    SynthSample out;
    out.name = s.name;
    out.rate = s.rate;
    out.sixteen_bit = s.sixteen_bit;
    const int L = s.loop_len;
    const int N = std::max(s.length, L);
    const int k = std::max(1, int(std::lround(note_freq(s.base_note) * L / s.rate)));
    const double f_gen = double(k) * s.rate / L;
    out.c5speed = int(std::lround(s.rate * note_freq(60) / f_gen));
    std::vector<double> acc(size_t(N), 0.0);
    Rng rng(s.seed);
    const int hold_from = N - L; // envelopes stop moving where the loop begins
    for (auto [detune, gain] : s.oscillators) {
        const int cycles = k + detune;
        for (int n = 1;; ++n) {
            double f = double(n) * cycles * s.rate / L;
            if (f > s.max_freq || f > 0.47 * s.rate) break;
            double amp = wave_partial(s.wave, n);
            if (amp == 0.0) continue;
            amp *= gain * std::pow(double(n), s.brightness - 1.0);
            double phase = rng.uniform() * 2.0 * kPi;
            // Saw-like waves keep a fixed phase relation for a sharper attack.
            if (s.wave == Wave::Saw || s.wave == Wave::Square || s.wave == Wave::Pulse25) phase = 0;
            double tau = s.decay_s > 0 ? s.decay_s / (0.15 + s.decay_tilt * (n - 1)) : 0.0;
            const long step = long(n) * cycles;
            for (int t = 0; t < N; ++t) {
                double env = 1.0;
                if (tau > 0) {
                    double ts = double(std::min(t, hold_from)) / s.rate;
                    env = s.floor + (1.0 - s.floor) * std::exp(-ts / tau);
                }
                // Whole cycles per loop: the index modulo L keeps the phase exact.
                double ph = 2.0 * kPi * double((step * t) % L) / L + phase;
                acc[size_t(t)] += amp * env * std::sin(ph);
            }
        }
    }
    out.data.resize(size_t(N));
    const int attack = std::max(1, int(s.attack_s * s.rate));
    for (int t = 0; t < N; ++t) {
        double a = t < attack ? double(t) / attack : 1.0;
        out.data[size_t(t)] = float(acc[size_t(t)] * a);
    }
    normalize(out.data, 0.95);
    if (s.loop) {
        out.loop_start = uint32_t(N - L);
        out.loop_end = uint32_t(N);
    } else {
        // A short fade to silence at the end of a one-shot.
        const int fade = std::min(N, s.rate / 100);
        for (int i = 0; i < fade; ++i)
            out.data[size_t(N - 1 - i)] *= float(double(i) / fade);
    }
    return out;
}

namespace {

SynthSample drum(const std::string& name, int rate, double seconds, bool sixteen) {
    SynthSample s;
    s.name = name;
    s.rate = rate;
    s.c5speed = rate;
    s.sixteen_bit = sixteen;
    s.data.assign(size_t(seconds * rate), 0.0f);
    return s;
}

void fade_tail(std::vector<float>& d, int len) {
    len = std::min<int>(len, int(d.size()));
    for (int i = 0; i < len; ++i)
        d[d.size() - 1 - size_t(i)] *= float(double(i) / len);
}

// Six square waves at inharmonic ratios: the metallic core of hats and cymbals.
double metal(double t, double base) {
    static const double ratios[6] = {1.0, 1.4836, 1.8018, 2.5462, 2.6303, 3.8965};
    double v = 0;
    for (double r : ratios)
        v += std::sin(2 * kPi * base * r * t) > 0 ? 1.0 : -1.0;
    return v / 6.0;
}

} // namespace

SynthSample make_kick(double punch) {
    SynthSample s = drum("kick", 22050, 0.42, true);
    Rng rng(101);
    OnePole click_lp(3000, s.rate);
    double phase = 0;
    for (size_t i = 0; i < s.data.size(); ++i) {
        double t = double(i) / s.rate;
        double f = 46.0 + (95.0 + 60.0 * punch) * std::exp(-t / 0.03);
        phase += 2 * kPi * f / s.rate;
        double body = std::sin(phase) * (t < 0.02 ? 1.0 : std::exp(-(t - 0.02) / 0.16));
        double click = click_lp.low(rng.bipolar()) * std::exp(-t / 0.004) * (0.6 + punch);
        s.data[i] = float(std::tanh(1.6 * (body + click)));
    }
    fade_tail(s.data, 400);
    normalize(s.data, 0.97);
    return s;
}

SynthSample make_snare(double tone) {
    SynthSample s = drum("snare", 22050, 0.32, true);
    Rng rng(202);
    BandPass bp(3200 + 2500 * tone, 0.7, s.rate);
    OnePole hp(700, s.rate);
    for (size_t i = 0; i < s.data.size(); ++i) {
        double t = double(i) / s.rate;
        double body =
            (std::sin(2 * kPi * 185 * t) + 0.5 * std::sin(2 * kPi * 330 * t)) * std::exp(-t / 0.05);
        double n = rng.bipolar();
        double noise = (bp.run(n) * 1.6 + hp.high(n) * 0.5) * std::exp(-t / (0.08 + 0.04 * tone));
        s.data[i] = float(0.55 * body + noise);
    }
    fade_tail(s.data, 300);
    normalize(s.data, 0.95);
    return s;
}

SynthSample make_hat(bool open) {
    SynthSample s =
        drum(open ? "open hat" : "closed hat", open ? 32000 : 44100, open ? 0.45 : 0.09, false);
    Rng rng(open ? 404 : 303);
    BandPass bp(9500, 0.9, s.rate);
    OnePole hp(6500, s.rate);
    for (size_t i = 0; i < s.data.size(); ++i) {
        double t = double(i) / s.rate;
        double raw = 0.6 * metal(t, 420) + 0.7 * rng.bipolar();
        double env = std::exp(-t / (open ? 0.16 : 0.022));
        s.data[i] = float(hp.high(bp.run(raw)) * env);
    }
    fade_tail(s.data, open ? 2000 : 300);
    normalize(s.data, 0.95);
    return s;
}

SynthSample make_crash() {
    SynthSample s = drum("crash", 26000, 1.2, false);
    Rng rng(505);
    OnePole hp(3000, s.rate);
    BandPass bp(6000, 0.5, s.rate);
    for (size_t i = 0; i < s.data.size(); ++i) {
        double t = double(i) / s.rate;
        double raw = 0.5 * metal(t, 300) + 0.8 * rng.bipolar();
        double env = std::exp(-t / 0.45) * (t < 0.003 ? t / 0.003 : 1.0);
        s.data[i] = float((hp.high(raw) * 0.6 + bp.run(raw)) * env);
    }
    fade_tail(s.data, 6000);
    normalize(s.data, 0.95);
    return s;
}

} // namespace audiogen
