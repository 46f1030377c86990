#include "runtime/arith.h"

#include "runtime/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

double sin_deg(double a) {
    return std::sin(a / kDegreesPerRadian);
}
double cos_deg(double a) {
    return std::cos(a / kDegreesPerRadian);
}
double tan_deg(double a) {
    return std::tan(a / kDegreesPerRadian);
}
double atan_deg(double y, double x) {
    return std::atan2(y, x) * kDegreesPerRadian;
}

double acos_deg(double x) {
    if (x >= 1) return 0;
    if (x <= -1) return 180;
    return std::acos(x) * kDegreesPerRadian;
}

double rt_sqrt(double x) {
    return std::sqrt(x);
}
double rt_abs(double x) {
    return std::fabs(x);
}
double rt_pow(double x, double y) {
    return std::pow(x, y);
}

double mod(double a, double b) {
    const int32_t ia = to_int32(a);
    const int32_t ib = to_int32(b);
    if (ib == 0 || ib == -1) return 0; // x % -1 is always 0; INT32_MIN % -1 would trap
    return double(ia % ib);
}

double boxes_overlap(double x1, double y1, double w1, double h1, double x2, double y2, double w2,
                     double h2) {
    auto overlap = [](double a, double wa, double b, double wb) {
        double a0 = std::min(a, a + wa), a1 = std::max(a, a + wa);
        double b0 = std::min(b, b + wb), b1 = std::max(b, b + wb);
        return a0 <= b1 && b0 <= a1;
    };
    return overlap(x1, w1, x2, w2) && overlap(y1, h1, y2, h2) ? 1 : 0;
}
