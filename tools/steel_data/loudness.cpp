#include "loudness.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// The two K-weighting stages designed for the given rate from their analogue prototypes.
Biquad shelf_stage(double rate) {
    const double f0 = 1681.974450955533, gain_db = 3.999843853973347, q = 0.7071752369554196;
    const double k = std::tan(kPi * f0 / rate);
    const double vh = std::pow(10.0, gain_db / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    const double a0 = 1.0 + k / q + k * k;
    Biquad s;
    s.b0 = (vh + vb * k / q + k * k) / a0;
    s.b1 = 2.0 * (k * k - vh) / a0;
    s.b2 = (vh - vb * k / q + k * k) / a0;
    s.a1 = 2.0 * (k * k - 1.0) / a0;
    s.a2 = (1.0 - k / q + k * k) / a0;
    return s;
}

Biquad high_pass_stage(double rate) {
    const double f0 = 38.13547087602444, q = 0.5003270373238773;
    const double k = std::tan(kPi * f0 / rate);
    const double a0 = 1.0 + k / q + k * k;
    Biquad s;
    s.b0 = 1.0;
    s.b1 = -2.0;
    s.b2 = 1.0;
    s.a1 = 2.0 * (k * k - 1.0) / a0;
    s.a2 = (1.0 - k / q + k * k) / a0;
    return s;
}

double lufs(double power) {
    return power > 0 ? -0.691 + 10.0 * std::log10(power) : -1000.0;
}

} // namespace

LoudnessMeter::LoudnessMeter(double rate)
    : step_(std::max<size_t>(1, size_t(std::lround(rate / 10.0)))) {
    for (int c = 0; c < 2; ++c) {
        shelf_[c] = shelf_stage(rate);
        high_pass_[c] = high_pass_stage(rate);
    }
}

void LoudnessMeter::add(const float* frames, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        for (int c = 0; c < 2; ++c) {
            const double x = frames[2 * i + size_t(c)];
            peak_ = std::max(peak_, std::fabs(x));
            const double y = high_pass_[c].run(shelf_[c].run(x));
            step_sum_ += y * y;
        }
        if (++in_step_ == step_) {
            steps_.push_back(step_sum_ / double(step_));
            step_sum_ = 0;
            in_step_ = 0;
            if (steps_.size() >= 4) {
                const size_t n = steps_.size();
                block_power_.push_back(
                    (steps_[n - 1] + steps_[n - 2] + steps_[n - 3] + steps_[n - 4]) / 4.0);
            }
        }
    }
}

double LoudnessMeter::integrated() const {
    // Absolute gate, then the relative gate from the mean of the blocks above it.
    double sum = 0;
    size_t n = 0;
    for (double p : block_power_)
        if (lufs(p) > -70.0) {
            sum += p;
            ++n;
        }
    if (n == 0) return -1000.0;
    const double relative = lufs(sum / double(n)) - 10.0;
    sum = 0;
    n = 0;
    for (double p : block_power_)
        if (lufs(p) > -70.0 && lufs(p) > relative) {
            sum += p;
            ++n;
        }
    return n ? lufs(sum / double(n)) : -1000.0;
}

double LoudnessMeter::peak_dbfs() const {
    return peak_ > 0 ? 20.0 * std::log10(peak_) : -1000.0;
}
