#pragma once
// Runs the game or the frame probe in a fresh folder with a script, for end-to-end tests.
#include "support/test_support.h"

#include <string>

struct ScriptedRun {
    int status = -1;
    std::string output; // stdout and stderr
    std::string dir;    // the run's folder (script, screenshots, ErrorLog.txt)
};

// Writes `script` to <dir>/script.txt and runs `program --script script.txt <args>` in a new
// folder with TMPDIR pointing there. `env` is prepended to the command (e.g. "SS_PROBE=pace").
// With an empty dir a new folder is made.
inline ScriptedRun run_scripted(const std::string& program, const std::string& env,
                                const std::string& script,
                                const std::string& args = "--max-ms 5000", std::string dir = {}) {
    ScriptedRun r;
    r.dir = dir.empty() ? make_temp_dir() : dir;
    write_bytes(r.dir + "/script.txt", script);
    std::string command = "cd '" + r.dir + "' && env TMPDIR='" + r.dir + "' " + env + " '" +
                          program + "' --script script.txt " + args;
    r.status = run_command(command, &r.output);
    return r;
}

// Runs a program in a new folder with arbitrary arguments (no script written).
inline ScriptedRun run_plain(const std::string& program, const std::string& env,
                             const std::string& args) {
    ScriptedRun r;
    r.dir = make_temp_dir();
    std::string command =
        "cd '" + r.dir + "' && env TMPDIR='" + r.dir + "' " + env + " '" + program + "' " + args;
    r.status = run_command(command, &r.output);
    return r;
}

inline std::string probe_program() {
    return SS_FRAME_PROBE;
}
