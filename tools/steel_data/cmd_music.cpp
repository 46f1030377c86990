// steel_data music FILE: what libopenmpt makes of a music module.
#include "audio/music.h"
#include "command.h"
#include "runtime/files.h"

#include <cstdio>
#include <string>

namespace {

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
        return json_error(error);
    }
    std::printf("{\"duration_s\":%.3f, \"channels\":%d, \"patterns\":%d, \"orders\":%d, "
                "\"samples\":%d}\n",
                module->duration_s(), module->channels(), module->patterns(), module->orders(),
                module->samples());
    return 0;
}

const CommandRegistrar reg("music", "music FILE", cmd_music);

} // namespace
