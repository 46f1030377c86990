#pragma once
// The arithmetic library of the value model. Angles are degrees; the conversion constant is
// 57.2957795 throughout, so results match the game's stored angles.
#include "runtime/random.h"

inline constexpr double kDegreesPerRadian = 57.2957795;

double sin_deg(double a);
double cos_deg(double a);
double tan_deg(double a);
// atan2(y, x) in degrees, in (-180, 180].
double atan_deg(double y, double x);
// 0 for x >= 1, 180 for x <= -1, else acos(x) in degrees.
double acos_deg(double x);
double rt_sqrt(double x);
double rt_abs(double x);
double rt_pow(double x, double y);
// Remainder of the truncated 32-bit operands (sign follows a: mod(-7, 3) is -1). Never traps:
// a divisor that truncates to 0 gives 0, and so does mod(-2147483648, -1).
double mod(double a, double b);
// 1 when the boxes (x, y, w, h) overlap on both axes, else 0. Each box covers the closed
// interval [min(a, a + w), max(a, a + w)] on each axis, so touching edges overlap and widths may
// be negative; a box of size 0 is a point.
double boxes_overlap(double x1, double y1, double w1, double h1, double x2, double y2, double w2,
                     double h2);
