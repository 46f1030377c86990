// steel_data ini FILE SECTION KEY: the value as the game's INI store reads it ("NO_DATA" when
// there is none).
#include "command.h"

#include "runtime/ini.h"

#include <cstdio>

namespace {

int cmd_ini(int argc, char** argv) {
    if (argc != 4) return usage_error("usage: steel_data ini FILE SECTION KEY");
    ini_open(argv[1]);
    RtString value = ini_get(argv[2], argv[3]);
    std::printf("%s\n", value.c_str());
    return 0;
}

const CommandRegistrar reg("ini", "ini FILE SECTION KEY", cmd_ini);

} // namespace
