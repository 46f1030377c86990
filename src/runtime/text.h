#pragma once
// Text functions of the value model. Positions are 0-based; numbers are truncated to whole
// numbers where a whole number is needed.
#include "runtime/rt_array.h"
#include "runtime/rt_string.h"

#include <cstddef>
#include <cstdint>

double str_len(const RtString& s);
// At most `count` characters from `start`; empty for count <= 0, start < 0 or start > length.
RtString str_mid(const RtString& s, double start, double count);
// Position of the first occurrence of needle, -1 when none, 0 for an empty needle.
double str_find(const RtString& haystack, const RtString& needle);
// Copies with only the ASCII letters changed.
RtString str_upper(const RtString& s);
RtString str_lower(const RtString& s);
// One character with the byte code & 255; code 0 gives the empty string (text holds no NUL).
RtString str_chr(double code);
// First byte as a signed 8-bit value; 0 for the empty string.
double str_asc(const RtString& s);
// Two upper-case hexadecimal digits per byte, high nibble first.
RtString str_hex(const uint8_t* bytes, size_t n);
// The first n bytes of s (n cut to its length).
RtString str_hex(const RtString& s, double n);
// Splits text at every character of separators (runs count as one, no empty pieces at either
// end), dimensions `pieces` to the number of pieces, stores them and returns their number.
// No pieces: 0, and `pieces` is dimensioned to 0.
double split_string(const RtString& text, RtArray<RtString>& pieces, const RtString& separators);
// x printed with the format "%<width>.<decimals>f" (negative width: left-aligned). The result is
// cut to 511 characters; decimals below 0 count as 0.
RtString str_format(double width, double decimals, double x);
