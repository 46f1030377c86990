#include "runtime/rt_array.h"

#include "runtime/errors.h"

#include <cmath>

namespace rt_array_detail {

namespace {
// Largest store an array may take; beyond it dimensioning fails as an allocation would.
constexpr double kMaxStoreBytes = double(1u << 30);
} // namespace

Shape make_shape(double d0, double d1, double d2, double d3, size_t elem_size) {
    Shape s{};
    const double d[4] = {d0, d1, d2, d3};
    s.empty = !(d0 >= 1); // also NaN
    double count = 1;
    for (int k = 0; k < 4; ++k) {
        double v = (k == 0 && s.empty) ? 0 : d[k];
        // A dimension below 1 counts as 1 in the element count (NaN too).
        double adjusted = (k > 0 && !(v >= 1)) ? 1 : v;
        count *= adjusted;
        int32_t size = to_int32(v);
        s.size[k] = size > 0 ? size : 0;
        s.extent[k] = s.size[k] > 0 ? s.size[k] : 1;
    }
    count = std::trunc(count);
    double capacity = std::floor(count / 8) * 8 + 8;
    if (!(capacity * double(elem_size) <= kMaxStoreBytes)) fail(7);
    s.capacity = uint32_t(capacity);
    s.ndims = 0;
    while (s.ndims < 4 && s.size[s.ndims] != 0)
        ++s.ndims;
    if (s.ndims == 0) s.ndims = 1;
    return s;
}

void fail(int code) {
    runtime_error(code);
}

} // namespace rt_array_detail
