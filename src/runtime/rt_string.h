#pragma once
// RtString: the runtime's text value. An owned, NUL-terminated buffer of 8-bit characters with
// its capacity and length. Strings are values: copies get their own buffer.
//
// Growth: when an operation needs room for n characters and capacity <= n, the capacity becomes
// (n rounded down to a multiple of 512) + 512; the capacity never shrinks. A new empty string
// owns a 4-byte buffer. Text never contains a NUL character.
//
// Numbers mix freely with text: construction, assignment, concatenation and comparison accept
// any arithmetic value (formatted with str_from_number; integers exactly). A comparison of a
// string with a number converts the string with number_from_str and compares numerically.
// Characters (char) and bools are refused at compile time: use str_chr for a character code.
#include <charconv>
#include <compare>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "runtime/numbers.h"

template <class T>
concept RtNumber =
    std::is_arithmetic_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char> &&
    !std::is_same_v<T, signed char> && !std::is_same_v<T, unsigned char>;

class RtString {
  public:
    RtString();
    RtString(const char* text); // nullptr counts as the empty text
    RtString(const char* text, size_t n);
    explicit RtString(std::string_view text);
    RtString(const std::string& text) : RtString(std::string_view(text)) {}
    template <RtNumber T> RtString(T value);
    RtString(char) = delete;
    RtString(bool) = delete;

    RtString(const RtString& other);
    RtString& operator=(const RtString& other);
    RtString& operator=(const char* text);
    ~RtString();

    const char* c_str() const { return data_; }
    const char* data() const { return data_; }
    uint32_t length() const { return length_; }
    uint32_t capacity() const { return capacity_; }
    bool empty() const { return length_ == 0; }
    std::string_view view() const { return {data_, length_}; }
    std::string str() const { return std::string(view()); }

    // One byte by 0-based position. Positions at or past the end read as 0, and writes there
    // are dropped, so the terminator and the length stay intact.
    template <RtNumber T> char& operator[](T i) { return char_at(position(i)); }
    template <RtNumber T> char operator[](T i) const {
        int64_t p = position(i);
        return p >= 0 && p < int64_t(length_) ? data_[p] : '\0';
    }

    RtString& operator+=(const RtString& other);
    RtString& operator+=(const char* text);
    template <RtNumber T> RtString& operator+=(T value);
    RtString& operator+=(char) = delete;

    // Appends raw bytes (a NUL in them ends the text).
    RtString& append(const char* text, size_t n);
    // Replaces the text.
    RtString& assign(const char* text, size_t n);
    // Makes room for n characters by the growth rule (keeps the text).
    void reserve(size_t n);

  private:
    template <class T> static int64_t position(T i) {
        if constexpr (std::is_floating_point_v<T>) {
            return to_int64(static_cast<double>(i));
        } else if constexpr (std::is_signed_v<T>) {
            return static_cast<int64_t>(i);
        } else {
            return i > static_cast<T>(INT64_MAX) ? -1 : static_cast<int64_t>(i);
        }
    }
    char& char_at(int64_t i);
    void set_number(double v);

    char* data_;
    uint32_t capacity_;
    uint32_t length_;
};

// Number <-> text.
// 10 significant digits, fixed notation where it fits, otherwise exponent notation; no trailing
// zeros or decimal point ('1', '0.5', '-0.25', '0.3333333333', '1e+15'). Negative zero gives '0'.
RtString str_from_number(double x);
// Decimal digits of the 32-bit whole number (x truncated; saturates).
RtString str_from_int(double x);
// Leading white space skipped, the longest decimal prefix converted ('12abc' gives 12), 0 when
// there is none. Never fails; no hexadecimal, "inf" or "nan".
double number_from_str(std::string_view text);
double number_from_str(const char* text);
double number_from_str(const RtString& text);

// Concatenation: a new string.
RtString operator+(const RtString& a, const RtString& b);
RtString operator+(const RtString& a, const char* b);
RtString operator+(const char* a, const RtString& b);
template <RtNumber T> RtString operator+(const RtString& a, T b) {
    RtString r(a);
    r += b;
    return r;
}
template <RtNumber T> RtString operator+(T a, const RtString& b) {
    RtString r(a);
    r += b;
    return r;
}
RtString operator+(const RtString&, char) = delete;

// Comparisons in byte order (bools, which convert to the runtime's 1.0 / 0.0).
bool operator==(const RtString& a, const RtString& b); // lengths first
std::strong_ordering operator<=>(const RtString& a, const RtString& b);
bool operator==(const RtString& a, const char* b);
std::strong_ordering operator<=>(const RtString& a, const char* b);
template <RtNumber T> bool operator==(const RtString& a, T b) {
    return number_from_str(a) == static_cast<double>(b);
}
template <RtNumber T> std::partial_ordering operator<=>(const RtString& a, T b) {
    return number_from_str(a) <=> static_cast<double>(b);
}

// ---- template members ----
template <RtNumber T> RtString::RtString(T value) : RtString() {
    if constexpr (std::is_integral_v<T>) {
        char buf[24];
        auto res = std::to_chars(buf, buf + sizeof buf, value);
        assign(buf, size_t(res.ptr - buf));
    } else {
        set_number(static_cast<double>(value));
    }
}

template <RtNumber T> RtString& RtString::operator+=(T value) {
    return *this += RtString(value);
}
