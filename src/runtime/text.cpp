#include "runtime/text.h"

#include "runtime/numbers.h"

#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

double str_len(const RtString& s) {
    return s.length();
}

RtString str_mid(const RtString& s, double start, double count) {
    const int64_t len = s.length();
    const int64_t from = to_int32(start);
    int64_t n = to_int32(count);
    if (n <= 0 || from < 0 || from > len) return RtString();
    if (from + n > len) n = len - from;
    return RtString(s.c_str() + from, size_t(n));
}

double str_find(const RtString& haystack, const RtString& needle) {
    size_t pos = haystack.view().find(needle.view());
    return pos == std::string_view::npos ? -1.0 : double(pos);
}

RtString str_upper(const RtString& s) {
    RtString r(s);
    for (uint32_t i = 0; i < r.length(); ++i)
        if (r[i] >= 'a' && r[i] <= 'z') r[i] = char(r[i] - 'a' + 'A');
    return r;
}

RtString str_lower(const RtString& s) {
    RtString r(s);
    for (uint32_t i = 0; i < r.length(); ++i)
        if (r[i] >= 'A' && r[i] <= 'Z') r[i] = char(r[i] - 'A' + 'a');
    return r;
}

RtString str_chr(double code) {
    char c = char(uint8_t(uint32_t(to_int32(code)) & 0xFF));
    return RtString(&c, 1); // a NUL byte gives the empty string
}

double str_asc(const RtString& s) {
    return s.empty() ? 0.0 : double(int8_t(s[0]));
}

RtString str_hex(const uint8_t* bytes, size_t n) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(n * 2);
    for (size_t i = 0; i < n; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return RtString(std::string_view(out));
}

RtString str_hex(const RtString& s, double n) {
    int64_t count = to_int32(n);
    if (count <= 0) return RtString();
    if (count > int64_t(s.length())) count = s.length();
    return str_hex(reinterpret_cast<const uint8_t*>(s.c_str()), size_t(count));
}

double split_string(const RtString& text, RtArray<RtString>& pieces, const RtString& separators) {
    std::string_view t = text.view();
    std::string_view seps = separators.view();
    std::vector<std::string_view> found;
    size_t i = 0;
    while (i < t.size()) {
        while (i < t.size() && seps.find(t[i]) != std::string_view::npos)
            ++i;
        size_t start = i;
        while (i < t.size() && seps.find(t[i]) == std::string_view::npos)
            ++i;
        if (i > start) found.push_back(t.substr(start, i - start));
    }
    pieces.dim(double(found.size()));
    for (size_t k = 0; k < found.size(); ++k)
        pieces.at(double(k)) = RtString(found[k]);
    return double(found.size());
}

RtString str_format(double width, double decimals, double x) {
    // Widths and precisions beyond these limits cannot change the first 511 characters.
    int32_t w = to_int32(width);
    int32_t d = to_int32(decimals);
    if (w > 2048) w = 2048;
    if (w < -2048) w = -2048;
    if (d < 0) d = 0;
    if (d > 600) d = 600;
    char format[32];
    std::snprintf(format, sizeof format, "%%%d.%df", int(w), int(d));
    std::vector<char> buf(4096);
    int n = std::snprintf(buf.data(), buf.size(), format, x);
    if (n < 0) return RtString();
    size_t len = std::min<size_t>(size_t(n), buf.size() - 1);
    if (len > 511) len = 511;
    return RtString(buf.data(), len);
}
