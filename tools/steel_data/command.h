#pragma once
// Subcommands of steel_data register themselves: one cmd_*.cpp per subcommand, e.g.
//   static const CommandRegistrar reg("ini", "ini FILE SECTION KEY", cmd_ini);
// A command gets argv[0] = its own name and returns the exit status (2 for bad arguments).

using CommandFn = int (*)(int argc, char** argv);

struct CommandRegistrar {
    CommandRegistrar(const char* name, const char* usage, CommandFn fn);
};

#include <string_view>

// Prints "steel_data: <message>" on stderr and returns 2.
int usage_error(const char* message);

// Prints {"error":"<message>"} on stdout (the answer for a file that does not load); returns 1.
int json_error(std::string_view message);
