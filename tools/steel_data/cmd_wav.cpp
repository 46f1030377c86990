// steel_data wav FILE: what the WAV reader makes of a sound file.
#include "audio/wav.h"
#include "command.h"
#include "runtime/files.h"

#include <cstdio>
#include <string>

namespace {

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
        return json_error(error);
    }
    std::printf("{\"channels\":%d, \"rate\":%d, \"bits\":%d, \"frames\":%zu}\n", info.channels,
                info.rate, info.bits, info.frames);
    return 0;
}

const CommandRegistrar reg("wav", "wav FILE", cmd_wav);

} // namespace
