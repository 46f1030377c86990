#include "runtime/line_files.h"

#include "runtime/errors.h"
#include "runtime/files.h"
#include "runtime/numbers.h"
#include "runtime/text.h"

#include <array>
#include <ctime>

namespace {

constexpr int kLines = 256;
constexpr size_t kLineChars = 1023;
constexpr size_t kMaxFileBytes = size_t(16) << 20;

struct LineCache {
    std::string file_name;
    std::array<std::string, kLines> lines;
    int32_t last_line = 0;
    bool dirty = false;
    bool missing = false; // the cached name could not be opened (and nothing was written since)
    bool flush_registered = false;
};

LineCache& cache() {
    static LineCache c;
    return c;
}

void flush_at_end() {
    line_flush();
}

void register_flush() {
    LineCache& c = cache();
    if (c.flush_registered) return;
    c.flush_registered = true;
    at_runtime_end(flush_at_end);
}

// Makes `name` the cached file: 0, or 3 when it cannot be opened.
int select_file(const std::string& name) {
    register_flush();
    LineCache& c = cache();
    // The cached file is reused, unless it was missing and untouched: then it is looked for
    // again, so a missing file reads as missing every time.
    if (name == c.file_name && !(c.missing && !c.dirty)) return 0;
    line_flush();
    for (std::string& line : c.lines)
        line.clear();
    c.dirty = false;
    c.missing = false;
    c.last_line = 0;
    c.file_name = name;
    auto bytes = read_file(name, kMaxFileBytes);
    if (!bytes) {
        c.missing = true;
        set_error_code(3);
        return 3;
    }
    std::vector<std::string> lines =
        line_parse(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    for (size_t i = 0; i < lines.size(); ++i)
        c.lines[i] = std::move(lines[i]);
    c.last_line = lines.empty() ? 0 : int32_t(lines.size() - 1);
    return 0;
}

bool valid_line(double n, int32_t* index) {
    // Negative line numbers are refused like numbers above 255.
    *index = to_int32(n);
    return *index >= 0 && *index < kLines;
}

} // namespace

std::vector<std::string> line_parse(std::string_view bytes) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < bytes.size() && lines.size() < size_t(kLines)) {
        size_t nl = bytes.find('\n', pos);
        size_t end = nl == std::string_view::npos ? bytes.size() : nl;
        std::string_view line = bytes.substr(pos, end - pos);
        pos = nl == std::string_view::npos ? bytes.size() : nl + 1;
        if (nl != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.size() > kLineChars) line = line.substr(0, kLineChars);
        if (size_t nul = line.find('\0'); nul != std::string_view::npos) line = line.substr(0, nul);
        lines.emplace_back(line);
    }
    return lines;
}

void line_flush() {
    LineCache& c = cache();
    if (!c.dirty || c.file_name.empty()) return;
    std::string out;
    for (int32_t i = 0; i <= c.last_line; ++i) {
        out += c.lines[size_t(i)];
        out += "\r\n";
    }
    write_file_atomic(c.file_name, out); // a failure loses the changes silently
    c.dirty = false;
}

RtString line_read(const RtString& name, double n) {
    int32_t index = 0;
    if (!valid_line(n, &index)) {
        set_error_code(7);
        return RtString("NO_DATA");
    }
    if (select_file(name.str()) != 0) return RtString("NO_FILE");
    std::string_view text = cache().lines[size_t(index)];
    while (!text.empty() && static_cast<unsigned char>(text.back()) < 32)
        text.remove_suffix(1);
    if (text.empty()) return RtString("NO_DATA");
    return RtString(text);
}

double line_read_number(const RtString& name, double n) {
    return number_from_str(line_read(name, n));
}

void line_write(const RtString& name, double n, const RtString& text) {
    int32_t index = 0;
    if (!valid_line(n, &index)) {
        set_error_code(7);
        return;
    }
    select_file(name.str()); // a missing file starts an empty cache under that name
    LineCache& c = cache();
    std::string_view t = text.view();
    c.lines[size_t(index)] = std::string(t.substr(0, kLineChars));
    if (index > c.last_line) c.last_line = index;
    c.dirty = true;
}

double file_exists(const RtString& name) {
    return truth(file_readable(name.view()));
}

void delete_file(const RtString& name) {
    remove_file(name.view());
}

RtString platform_info(const RtString& key) {
    RtString k = str_upper(key);
    if (k.empty()) return RtString("WIN32");
    if (k == "DEVICE") return RtString("DESKTOP");
    if (k == "TIME") {
        std::time_t now = std::time(nullptr);
        std::tm t{};
        localtime_r(&now, &t);
        return str_from_int(t.tm_year + 1900) + "-" + str_from_int(t.tm_mon + 1) + "-" +
               str_from_int(t.tm_mday) + " " + str_from_int(t.tm_hour) + ":" +
               str_from_int(t.tm_min) + ":" + str_from_int(t.tm_sec);
    }
    return RtString("NO_DATA");
}
