#pragma once
// Whole-number conversions of game numbers (doubles). Defined for every double:
// truncation toward zero, NaN gives 0, values beyond the range saturate.
#include <cmath>
#include <cstdint>
#include <limits>

inline int32_t to_int32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

inline int64_t to_int64(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 9223372036854775807.0) return std::numeric_limits<int64_t>::max();
    if (v <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(v);
}

// Truth values of the value model.
inline double truth(bool b) { return b ? 1.0 : 0.0; }
