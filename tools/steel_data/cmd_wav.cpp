// steel_data wav FILE: what the WAV reader makes of a sound file.
#include "audio/wav.h"
#include "command.h"
#include "runtime/files.h"

#include <cstdio>
#include <string>

namespace {

std::string json_text(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) continue;
        out += c;
    }
    return out;
}

int cmd_wav(int argc, char** argv) {
    if (argc != 2) return usage_error("usage: steel_data wav FILE");
    std::string error;
    WavInfo info;
    auto bytes = read_file(argv[1], size_t(64) << 20);
    if (!bytes)
        error = "cannot read the file";
    else
        parse_wav(*bytes, info, &error);
    if (!error.empty()) {
        std::printf("{\"error\":\"%s\"}\n", json_text(error).c_str());
        return 1;
    }
    std::printf("{\"channels\":%d, \"rate\":%d, \"bits\":%d, \"frames\":%zu}\n", info.channels,
                info.rate, info.bits, info.frames);
    return 0;
}

const CommandRegistrar reg("wav", "wav FILE", cmd_wav);

} // namespace
