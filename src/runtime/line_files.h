#pragma once
// Line files: a small text file read as numbered lines 0..255 (each up to 1023 characters),
// cached one file at a time. A changed file is written back whole (atomically, lines ending in
// "\r\n") when another file is selected and at the end of the program.
// Also the small file helpers: file_exists, delete_file, platform_info.
#include "runtime/rt_string.h"

#include <string>
#include <string_view>
#include <vector>

// Line n of the file: "NO_FILE" when the file cannot be opened (error code 3 recorded),
// "NO_DATA" for an empty or missing line, and for a line number outside 0..255 (error code 7).
// Trailing control characters (codes 0 to 31) are removed.
RtString line_read(const RtString& name, double n);
// number_from_str of line_read: "NO_FILE" and "NO_DATA" read as 0.
double line_read_number(const RtString& name, double n);
// Replaces line n (0..255, else error code 7 and no change) in the cache; text longer than 1023
// characters keeps its first 1023. A file that does not exist yet starts empty. Numbers given as
// text are formatted with str_from_number (through RtString's conversion).
void line_write(const RtString& name, double n, const RtString& text);
// Writes back the cached file now if it has changes (the end of the program does this too).
void line_flush();

// 1.0 when the file exists and can be opened for reading, else 0.0.
double file_exists(const RtString& name);
// Deletes the file; nothing happens when it does not exist.
void delete_file(const RtString& name);
// "" -> "WIN32", "DEVICE" -> "DESKTOP", "TIME" -> local "y-m-d h:m:s" without zero padding;
// any other key "NO_DATA". The key is compared in upper case.
RtString platform_info(const RtString& key);

// The pure part: the lines of a file's bytes as the cache holds them (at most 256, each cut to
// 1023 bytes, line ends removed).
std::vector<std::string> line_parse(std::string_view bytes);
