// steel_data level FILE: a level file as the game reads it, as JSON, with the designer's
// warnings (see level_check.h). Exit status 0 when it loads, 1 when it is no level file.
#include "command.h"
#include "level_check.h"

#include <cstdio>

namespace {

int cmd_level(int argc, char** argv) {
    if (argc != 2) return usage_error("usage: steel_data level FILE");
    const LevelCheck check = CheckLevelFile(argv[1]);
    if (!check.loaded) return json_error(check.error);
    std::printf("%s\n", check.json.c_str());
    return 0;
}

const CommandRegistrar reg("level", "level FILE", cmd_level);

} // namespace
