#include "runtime/ini.h"

#include "runtime/errors.h"
#include "runtime/files.h"

#include <cstddef>

namespace {

constexpr size_t kMaxLine = 1023;
constexpr size_t kMaxFileBytes = size_t(64) << 20;

struct IniStore {
    std::string file_name;
    std::vector<IniSection> sections;
    bool modified = false;
    bool flush_registered = false;
};

IniStore& store() {
    static IniStore s;
    return s;
}

void flush_at_end() {
    ini_flush();
}

void register_flush() {
    IniStore& s = store();
    if (s.flush_registered) return;
    s.flush_registered = true;
    at_runtime_end(flush_at_end);
}

char ascii_lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
    return true;
}

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

IniSection* find_section(std::string_view name) {
    for (IniSection& s : store().sections)
        if (same_name(s.name, name)) return &s;
    return nullptr;
}

} // namespace

std::vector<IniSection> ini_parse(std::string_view bytes) {
    std::vector<IniSection> sections;
    IniSection current; // pairs before the first header: the empty name
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t nl = bytes.find('\n', pos);
        size_t end = nl == std::string_view::npos ? bytes.size() : nl;
        std::string_view line = bytes.substr(pos, end - pos);
        pos = nl == std::string_view::npos ? bytes.size() : nl + 1;
        if (nl != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.size() > kMaxLine) line = line.substr(0, kMaxLine);
        if (size_t nul = line.find('\0'); nul != std::string_view::npos) line = line.substr(0, nul);

        size_t i = 0;
        while (i < line.size() && is_blank(line[i]))
            ++i;
        if (i == line.size() || line[i] == ';') continue;
        if (line[i] == '[') {
            ++i;
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
                ++i;
            size_t start = i;
            while (i < line.size() && !is_blank(line[i]) && line[i] != '=')
                ++i;
            std::string_view name = line.substr(start, i - start);
            if (!name.empty() && name.back() == ']') name.remove_suffix(1);
            if (!current.pairs.empty()) sections.push_back(current);
            current.pairs.clear();
            if (!name.empty()) current.name = std::string(name);
            continue;
        }
        size_t start = i;
        while (i < line.size() && !is_blank(line[i]) && line[i] != '=')
            ++i;
        if (i == line.size()) continue; // a key without a separator
        std::string_view key = line.substr(start, i - start);
        ++i;
        while (i < line.size() && is_blank(line[i]))
            ++i;
        std::string_view value = line.substr(i);
        while (!value.empty() && static_cast<signed char>(value.back()) < 32)
            value.remove_suffix(1);
        if (value.empty()) continue;
        current.pairs.emplace_back(std::string(key), std::string(value));
    }
    if (!current.pairs.empty()) sections.push_back(current);
    return sections;
}

std::string ini_format(const std::vector<IniSection>& sections) {
    std::string out;
    for (const IniSection& s : sections) {
        out += '[';
        out += s.name;
        out += "]\r\n";
        for (const auto& [key, value] : s.pairs) {
            out += key;
            out += '=';
            out += value;
            out += "\r\n";
        }
    }
    return out;
}

void ini_flush() {
    IniStore& s = store();
    if (!s.modified || s.file_name.empty()) return;
    // A file that cannot be written loses the changes silently; the old file stays intact.
    write_file_atomic(s.file_name, ini_format(s.sections));
}

void ini_open(const RtString& name) {
    register_flush();
    ini_flush();
    IniStore& s = store();
    s.sections.clear();
    s.modified = false;
    s.file_name = name.str();
    if (auto bytes = read_file(s.file_name, kMaxFileBytes))
        s.sections = ini_parse(
            std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

RtString ini_get(const RtString& section, const RtString& key) {
    if (IniSection* s = find_section(section.view()))
        for (const auto& [k, v] : s->pairs)
            if (same_name(k, key.view())) return RtString(std::string_view(v));
    return RtString("NO_DATA");
}

void ini_put(const RtString& section, const RtString& key, const RtString& value) {
    register_flush();
    IniStore& st = store();
    if (key.empty()) {
        for (size_t i = 0; i < st.sections.size(); ++i) {
            if (!same_name(st.sections[i].name, section.view())) continue;
            if (i + 1 != st.sections.size()) st.sections[i] = std::move(st.sections.back());
            st.sections.pop_back();
            st.modified = true; // the removal reaches the disk like any other change
            break;
        }
        return;
    }
    IniSection* s = find_section(section.view());
    if (!s) {
        st.sections.push_back(IniSection{section.str(), {}});
        s = &st.sections.back();
    }
    st.modified = true;
    auto& pairs = s->pairs;
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (!same_name(pairs[i].first, key.view())) continue;
        if (value.empty()) {
            if (i + 1 != pairs.size()) pairs[i] = std::move(pairs.back());
            pairs.pop_back();
        } else {
            pairs[i].second = value.str();
        }
        return;
    }
    pairs.emplace_back(key.str(), value.str());
}
