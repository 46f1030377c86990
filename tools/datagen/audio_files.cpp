#include "audio_files.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace audiogen {

bool audio_make_dirs(const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return std::filesystem::is_directory(dir, ec);
}

bool audio_write_file(const std::string& path, std::string_view bytes) {
    std::string tmp = path + ".tmp";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "datagen: cannot write %s\n", tmp.c_str());
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fflush(f) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (ok) ok = std::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) {
        std::remove(tmp.c_str());
        std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
    }
    return ok;
}

void put_u8(std::string& out, unsigned v) {
    out.push_back(char(v & 0xFF));
}

void put_u16(std::string& out, unsigned v) {
    put_u8(out, v);
    put_u8(out, v >> 8);
}

void put_u32(std::string& out, unsigned long v) {
    put_u16(out, unsigned(v & 0xFFFF));
    put_u16(out, unsigned((v >> 16) & 0xFFFF));
}

void put_text(std::string& out, std::string_view text, size_t n) {
    for (size_t i = 0; i < n; ++i)
        out.push_back(i < text.size() ? text[i] : '\0');
}

void patch_u32(std::string& out, size_t pos, unsigned long v) {
    for (int i = 0; i < 4; ++i)
        out[pos + i] = char((v >> (8 * i)) & 0xFF);
}

} // namespace audiogen
