#include "runtime/rt_string.h"

#include "runtime/errors.h"
#include "runtime/numbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr uint32_t kInitialCapacity = 4;
// Largest length a string may reach (the capacity must still fit 32 bits after growth).
constexpr size_t kMaxLength = 0xFFFFFFFFu - 1024;

char* allocate(size_t bytes) {
    char* p = static_cast<char*>(std::malloc(bytes));
    if (!p) runtime_error(7);
    return p;
}

uint32_t grown_capacity(size_t n) {
    if (n > kMaxLength) runtime_error(7);
    return uint32_t((n / 512) * 512 + 512);
}

char g_scratch = 0; // target of out-of-range character access

} // namespace

RtString::RtString() : data_(allocate(kInitialCapacity)), capacity_(kInitialCapacity), length_(0) {
    data_[0] = '\0';
}

RtString::RtString(const char* text) : RtString() {
    if (text) assign(text, std::strlen(text));
}

RtString::RtString(const char* text, size_t n) : RtString() {
    assign(text, n);
}

RtString::RtString(std::string_view text) : RtString() {
    assign(text.data(), text.size());
}

RtString::RtString(const RtString& other) : RtString() {
    assign(other.data_, other.length_);
}

RtString& RtString::operator=(const RtString& other) {
    if (this != &other) assign(other.data_, other.length_);
    return *this;
}

RtString& RtString::operator=(const char* text) {
    return text ? assign(text, std::strlen(text)) : assign("", 0);
}

RtString::~RtString() {
    std::free(data_);
    data_ = nullptr;
    capacity_ = 0;
    length_ = 0;
}

void RtString::reserve(size_t n) {
    if (capacity_ > n) return;
    uint32_t cap = grown_capacity(n);
    char* p = allocate(cap);
    std::memcpy(p, data_, size_t(length_) + 1);
    std::free(data_);
    data_ = p;
    capacity_ = cap;
}

RtString& RtString::assign(const char* text, size_t n) {
    if (!text) n = 0;
    if (n) {
        const void* nul = std::memchr(text, '\0', n);
        if (nul) n = size_t(static_cast<const char*>(nul) - text);
    }
    if (capacity_ <= n) {
        // The source may lie in our own buffer: copy before freeing it.
        uint32_t cap = grown_capacity(n);
        char* p = allocate(cap);
        std::memcpy(p, text, n);
        std::free(data_);
        data_ = p;
        capacity_ = cap;
    } else if (n) {
        std::memmove(data_, text, n);
    }
    data_[n] = '\0';
    length_ = uint32_t(n);
    return *this;
}

RtString& RtString::append(const char* text, size_t n) {
    if (!text || !n) return *this;
    if (const void* nul = std::memchr(text, '\0', n))
        n = size_t(static_cast<const char*>(nul) - text);
    size_t total = size_t(length_) + n;
    if (capacity_ <= total) {
        // Appending a piece of ourselves: find it again after the buffer moved.
        bool inside = text >= data_ && text < data_ + capacity_;
        size_t offset = inside ? size_t(text - data_) : 0;
        reserve(total);
        if (inside) text = data_ + offset;
    }
    std::memmove(data_ + length_, text, n);
    length_ = uint32_t(total);
    data_[length_] = '\0';
    return *this;
}

RtString& RtString::operator+=(const RtString& other) {
    return append(other.data_, other.length_);
}

RtString& RtString::operator+=(const char* text) {
    return text ? append(text, std::strlen(text)) : *this;
}

char& RtString::char_at(int64_t i) {
    if (i >= 0 && i < int64_t(length_)) return data_[i];
    g_scratch = 0;
    return g_scratch;
}

void RtString::set_number(double v) {
    *this = str_from_number(v);
}

RtString str_from_number(double x) {
    if (std::isnan(x)) return RtString("nan");
    if (x == 0) return RtString("0"); // also negative zero
    char buf[40];
    int n = std::snprintf(buf, sizeof buf, "%.10g", x);
    if (n < 0) return RtString("0");
    size_t len = size_t(n) < sizeof buf ? size_t(n) : sizeof buf - 1;
    if (len && buf[len - 1] == '.') --len;
    return RtString(buf, len);
}

RtString str_from_int(double x) {
    char buf[16];
    int n = std::snprintf(buf, sizeof buf, "%d", int(to_int32(x)));
    return RtString(buf, n > 0 ? size_t(n) : 0);
}

double number_from_str(std::string_view s) {
    size_t i = 0;
    auto digit = [&](size_t k) { return k < s.size() && s[k] >= '0' && s[k] <= '9'; };
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r')))
        ++i;
    size_t start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t mantissa = i;
    while (digit(i))
        ++i;
    size_t int_digits = i - mantissa;
    size_t frac_digits = 0;
    if (i < s.size() && s[i] == '.') {
        size_t k = i + 1;
        while (digit(k))
            ++k;
        frac_digits = k - i - 1;
        if (int_digits || frac_digits) i = k;
    }
    if (!int_digits && !frac_digits) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t k = i + 1;
        if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
        if (digit(k)) {
            while (digit(k))
                ++k;
            i = k;
        }
    }
    std::string prefix(s.substr(start, i - start));
    return std::strtod(prefix.c_str(), nullptr);
}

double number_from_str(const char* text) {
    return text ? number_from_str(std::string_view(text)) : 0;
}

double number_from_str(const RtString& text) {
    return number_from_str(text.view());
}

RtString operator+(const RtString& a, const RtString& b) {
    RtString r;
    r.reserve(size_t(a.length()) + b.length());
    r += a;
    r += b;
    return r;
}

RtString operator+(const RtString& a, const char* b) {
    RtString r(a);
    r += b;
    return r;
}

RtString operator+(const char* a, const RtString& b) {
    RtString r(a);
    r += b;
    return r;
}

bool operator==(const RtString& a, const RtString& b) {
    return a.length() == b.length() && std::memcmp(a.c_str(), b.c_str(), a.length()) == 0;
}

std::strong_ordering operator<=>(const RtString& a, const RtString& b) {
    return std::strcmp(a.c_str(), b.c_str()) <=> 0;
}

bool operator==(const RtString& a, const char* b) {
    return std::strcmp(a.c_str(), b ? b : "") == 0;
}

std::strong_ordering operator<=>(const RtString& a, const char* b) {
    return std::strcmp(a.c_str(), b ? b : "") <=> 0;
}
