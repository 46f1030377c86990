// steel_data line FILE N: line N (0..255) of a line file as the game reads it ("NO_FILE",
// "NO_DATA").
#include "command.h"

#include "runtime/line_files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int cmd_line(int argc, char** argv) {
    if (argc != 3) return usage_error("usage: steel_data line FILE N");
    errno = 0;
    char* end = nullptr;
    long n = std::strtol(argv[2], &end, 10);
    if (end == argv[2] || *end != '\0' || errno == ERANGE) {
        std::string msg = std::string("line number '") + argv[2] + "' is not a whole number";
        return usage_error(msg.c_str());
    }
    RtString text = line_read(argv[1], double(n));
    std::printf("%s\n", text.c_str());
    return 0;
}

const CommandRegistrar reg("line", "line FILE N", cmd_line);

} // namespace
