#pragma once
// The INI store: one INI file at a time in memory, as an ordered list of sections of key/value
// pairs. Changes stay in memory until the next ini_open or the end of the program, when the whole
// file is written back (atomically: the old file or the new one, never a torn one).
//
// Reading: lines end in "\n" (a "\r" before it belongs to the line end); leading blanks are
// skipped; ";" starts a comment; "[name]" starts a section (the name ends at a blank, "=" or the
// line end; a "]" just before that is dropped; an empty name keeps the previous one); any other
// line is key, one separator (blank or "="), then the value after further blanks. Trailing bytes
// below 32 or above 127 leave the value; empty values and sections without pairs are dropped.
// Pairs before the first header belong to the section with the empty name. Lines longer than
// 1023 bytes are cut there (the rest of that line is skipped).
// Names may repeat; lookups take the first one and ignore ASCII letter case.
//
// Writing: "[name]" then "key=value" per pair, every line ending in "\r\n", nothing else.
#include "runtime/rt_string.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Selects the INI file `name`: writes back unsaved changes of the current one (also when it is
// the same file), then loads `name` (a missing or unreadable file gives an empty store).
void ini_open(const RtString& name);
// The value of key in section; "NO_DATA" when there is none.
RtString ini_get(const RtString& section, const RtString& key);
// Sets key in section (creating the section at the end); an empty value removes an existing key
// (the section's last pair takes its place). An empty key removes the whole section (the last
// section takes its place).
void ini_put(const RtString& section, const RtString& key, const RtString& value);
// Writes back unsaved changes now (the end of the program does this too).
void ini_flush();

// The pure parts, on bytes.
struct IniSection {
    std::string name;
    std::vector<std::pair<std::string, std::string>> pairs;
};
std::vector<IniSection> ini_parse(std::string_view bytes);
std::string ini_format(const std::vector<IniSection>& sections);
