#include "audio/limiter.h"

#include <algorithm>
#include <cmath>

namespace {

// Attack: the envelope closes about a quarter of its gap to the needed gain per 4 frames, so it
// has all but reached it when the loud frame leaves the look-ahead. Release: a time constant of
// about 80 ms, slow enough that the gain does not follow single waves (no distortion).
constexpr float kAttack = 1.0f / 16.0f;
constexpr float kRelease = 1.0f / 3500.0f;

} // namespace

void Limiter::reset() {
    delay_.fill(0.0f);
    need_.fill(1.0f);
    head_ = 0;
    gain_ = 1.0f;
}

void Limiter::process(float* samples, size_t frames) {
    for (size_t i = 0; i < frames; ++i) {
        float* frame = samples + 2 * i;
        float l = std::isfinite(frame[0]) ? frame[0] : 0.0f;
        float r = std::isfinite(frame[1]) ? frame[1] : 0.0f;
        const float peak = std::max(std::fabs(l), std::fabs(r));
        // The oldest waiting frame leaves now; the new one takes its place.
        const float out_l = delay_[2 * head_], out_r = delay_[2 * head_ + 1];
        const float out_need = need_[head_];
        delay_[2 * head_] = l;
        delay_[2 * head_ + 1] = r;
        need_[head_] = peak > kCeiling ? kCeiling / peak : 1.0f;
        head_ = (head_ + 1) % kLookahead;
        // The lowest gain any frame in the look-ahead needs, the one leaving included.
        float target = out_need;
        for (float n : need_)
            target = std::min(target, n);
        gain_ += (target - gain_) * (target < gain_ ? kAttack : kRelease);
        // The leaving frame never gets more than it needs: no output reaches the ceiling.
        const float g = std::min(gain_, out_need);
        frame[0] = out_l * g;
        frame[1] = out_r * g;
    }
}
