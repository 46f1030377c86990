// steel_data: inspects the game's data files and prints what the runtime makes of them.
#include "command.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

struct Entry {
    const char* usage;
    CommandFn fn;
};

std::map<std::string, Entry>& registry() {
    static std::map<std::string, Entry> commands;
    return commands;
}

void print_usage() {
    std::fprintf(stderr, "usage: steel_data COMMAND ARGS...\n");
    for (const auto& [name, entry] : registry())
        std::fprintf(stderr, "  steel_data %s\n", entry.usage);
}

} // namespace

CommandRegistrar::CommandRegistrar(const char* name, const char* usage, CommandFn fn) {
    registry()[name] = Entry{usage, fn};
}

int usage_error(const char* message) {
    std::fprintf(stderr, "steel_data: %s\n", message);
    return 2;
}

int json_error(std::string_view message) {
    std::string text;
    for (char c : message) {
        if (c == '"' || c == '\\') text += '\\';
        if (static_cast<unsigned char>(c) < 0x20) continue;
        text += c;
    }
    std::printf("{\"error\":\"%s\"}\n", text.c_str());
    return 1;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        print_usage();
        return 2;
    }
    auto it = registry().find(argv[1]);
    if (it == registry().end()) {
        std::string msg = std::string("unknown command '") + argv[1] + "'";
        return usage_error(msg.c_str());
    }
    return it->second.fn(argc - 1, argv + 1);
}
