#pragma once
// The master limiter at the end of the mix: whatever number of voices and music add up, the
// output never reaches full scale. Below its ceiling the signal passes unchanged (a lone sound
// keeps its level); above it a gain envelope with a short look-ahead turns the level down
// smoothly before the loud part arrives and lets it back up slowly afterwards. Fixed-size
// state: processing never allocates, so it runs in the audio callback.
#include <array>
#include <cstddef>

class Limiter {
  public:
    Limiter() { reset(); }

    // Frames the output lags the input (the look-ahead): 64 frames, about 1.5 ms at 44100 Hz.
    static constexpr size_t kLookahead = 64;
    // Highest output level in 16-bit scale: 30000 (0.77 dB below full scale).
    static constexpr float kCeiling = 30000.0f;

    // Limits `frames` interleaved stereo frames in place (16-bit scale floats).
    void process(float* samples, size_t frames);
    // Back to silence and unity gain.
    void reset();
    // The gain now applied (1 when nothing is being limited).
    float gain() const { return gain_; }

  private:
    std::array<float, 2 * kLookahead> delay_{}; // the frames waiting to be output
    std::array<float, kLookahead> need_{};      // the gain each waiting frame needs
    size_t head_ = 0;
    float gain_ = 1.0f;
};
