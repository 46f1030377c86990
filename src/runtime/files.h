#pragma once
// The runtime's file layer. Every file the runtime opens goes through data_path(): the game
// names files with backslashes (music\SS_6.IT); here "/" is the separator, so "\" maps to "/".
// A file that exists is used under its own name; a missing file makes the operation do nothing.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The name as the operating system sees it.
std::string data_path(std::string_view name);

// True when the (mapped) file exists and can be opened for reading.
bool file_readable(std::string_view name);

// Reads a whole file; nullopt when it is missing, unreadable or larger than max_bytes.
std::optional<std::vector<uint8_t>> read_file(std::string_view name,
                                              size_t max_bytes = size_t(1) << 30);

// Replaces the file atomically: writes a temporary file in the same folder, flushes it to disk
// and renames it over the old one. A crash at any moment leaves the old file or the new one.
// Returns false (and leaves the old file alone) when any step fails.
bool write_file_atomic(std::string_view name, std::string_view bytes);

// Deletes the file; no error when it does not exist.
void remove_file(std::string_view name);

// Directory of the running executable (without a trailing slash), or "" when unknown.
std::string executable_dir();
