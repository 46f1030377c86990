#pragma once
// Integrated loudness of a stereo signal: K-weighting (a high shelf for the head's effect and
// a high-pass below the low bass), mean square over 400 ms blocks every 100 ms, an absolute
// gate at -70 LUFS and a relative gate 10 LU below the level of the blocks that pass it.
// Also the sample peak.
#include <cstddef>
#include <vector>

// One second-order section, direct form I.
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double run(double x) {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

class LoudnessMeter {
  public:
    explicit LoudnessMeter(double rate);
    // Interleaved stereo frames (range -1..1).
    void add(const float* frames, size_t count);
    // Integrated loudness in LUFS; -inf (as -1000) when no block passes the gates.
    double integrated() const;
    // Largest magnitude of any sample, in dB relative to full scale (-1000 for silence).
    double peak_dbfs() const;
    // Number of complete 400 ms blocks measured.
    size_t blocks() const { return block_power_.size(); }

  private:
    Biquad shelf_[2], high_pass_[2];
    size_t step_;               // samples per 100 ms
    std::vector<double> steps_; // summed mean squares of the last four 100 ms steps
    double step_sum_ = 0;
    size_t in_step_ = 0;
    std::vector<double> block_power_; // mean square of each 400 ms block, channels summed
    double peak_ = 0;
};
