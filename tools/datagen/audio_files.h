#pragma once
// File output of the audio half of the generator: folders and atomic writes.
#include <string>
#include <string_view>

namespace audiogen {

// Creates dir and every missing parent; true when it exists afterwards.
bool audio_make_dirs(const std::string& dir);

// Writes bytes to path through a temporary file in the same folder, flushed and renamed over
// the old file, so a reader never sees half a file. False on any failure (the old file stays).
bool audio_write_file(const std::string& path, std::string_view bytes);

// Little-endian byte appenders used by the file writers.
void put_u8(std::string& out, unsigned v);
void put_u16(std::string& out, unsigned v);
void put_u32(std::string& out, unsigned long v);
// Exactly n bytes: text cut or padded with NUL.
void put_text(std::string& out, std::string_view text, size_t n);
// Overwrites 4 bytes at pos.
void patch_u32(std::string& out, size_t pos, unsigned long v);

} // namespace audiogen
