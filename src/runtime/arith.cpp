#include "runtime/arith.h"

#include "runtime/numbers.h"

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
