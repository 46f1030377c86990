// steel_data music FILE: what libopenmpt makes of a music module.
#include "audio/music.h"
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

int cmd_music(int argc, char** argv) {
    if (argc != 2) return usage_error("usage: steel_data music FILE");
    std::string error;
    std::unique_ptr<Module> module;
    auto bytes = read_file(argv[1], kMaxModuleBytes);
    if (!bytes)
        error = "cannot read the file";
    else
        module = Module::load(*bytes, &error);
    if (!module) {
        std::printf("{\"error\":\"%s\"}\n", json_text(error).c_str());
        return 1;
    }
    std::printf("{\"duration_s\":%.3f, \"channels\":%d, \"patterns\":%d, \"orders\":%d, "
                "\"samples\":%d}\n",
                module->duration_s(), module->channels(), module->patterns(), module->orders(),
                module->samples());
    return 0;
}

const CommandRegistrar reg("music", "music FILE", cmd_music);

} // namespace
