#pragma once
// A small deterministic synthesiser: seeded noise, filters, additive tones with seamless loops,
// and the drum sounds. Every function gives the same samples on every run.
#include <cstdint>
#include <string>
#include <vector>

namespace audiogen {

constexpr double kPi = 3.14159265358979323846;

// Frequency of a note number (60 = middle C, 12 per octave, A above middle C = 440 Hz).
double note_freq(double note);

// Seeded noise source (xorshift32).
class Rng {
  public:
    explicit Rng(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    uint32_t next();
    double uniform(); // 0..1
    double bipolar(); // -1..1
  private:
    uint32_t state_;
};

// One-pole low-pass filter; high-pass is the input minus the low-pass.
struct OnePole {
    double a = 1, y = 0;
    OnePole(double cutoff_hz, double rate);
    double low(double x) { return y += a * (x - y); }
    double high(double x) { return x - low(x); }
};

// Band-pass biquad (constant peak gain).
struct BandPass {
    double b0, b2, a1, a2, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    BandPass(double centre_hz, double q, double rate);
    double run(double x);
};

// A sample as the music modules store it: float data, its rate, and the playback speed that
// makes note 60 sound at middle C. loop_end == 0 means no loop.
struct SynthSample {
    std::string name;
    std::vector<float> data;
    int rate = 22050;
    int c5speed = 22050;
    uint32_t loop_start = 0, loop_end = 0;
    bool sixteen_bit = true;
    // Automatic vibrato: speed, depth, sweep (0..64).
    int vib_speed = 0, vib_depth = 0, vib_sweep = 0;
};

enum class Wave { Saw, Square, Pulse25, Triangle, Sine, Organ, Hollow };

// Amplitude of harmonic n (1-based) of a band-unlimited waveform.
double wave_partial(Wave wave, int n);

// An additive tone. Every oscillator runs a whole number of cycles per loop_len samples, so
// the last loop_len samples loop without a seam. Partials fall to `floor` of their level with
// time constant decay_s / (0.15 + decay_tilt * (n - 1)), so the upper ones die first, like a
// closing filter; decay_s 0 keeps them steady. The envelopes stop where the loop begins.
struct ToneSpec {
    std::string name;
    Wave wave = Wave::Saw;
    double base_note = 60; // pitch the tone is built at
    int rate = 22050;
    int loop_len = 8192;
    int length = 8192; // >= loop_len; the loop is the last loop_len samples
    std::vector<std::pair<int, double>> oscillators{{0, 1.0}}; // detune in cycles per loop, gain
    double brightness = 1.0; // partial n scaled by n^(brightness - 1): below 1 is darker
    double max_freq = 9000;  // highest partial built, in Hz at the base note
    double decay_s = 0, decay_tilt = 0, floor = 1;
    double attack_s = 0.002;
    uint32_t seed = 1;
    bool loop = true;
    bool sixteen_bit = true;
};
SynthSample make_tone(const ToneSpec& tone);

// Drums: the kit every tune uses, tuned by `tone` (0..1: darker to brighter).
SynthSample make_kick(double punch);
SynthSample make_snare(double tone);
SynthSample make_hat(bool open);
SynthSample make_crash();

// Scales the data so its largest magnitude is `peak`.
void normalize(std::vector<float>& data, double peak);

} // namespace audiogen
