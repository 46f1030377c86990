#pragma once
// The runtime options, read before the game starts (the game itself reads none).
#include <cstdint>
#include <string>

struct RuntimeOptions {
    int display = 0;         // 1 --fullscreen, -1 --windowed, 0 the start setting
    std::string script;      // --script FILE
    std::string record;      // --record FILE
    bool seed_given = false; // --seed N
    uint32_t seed = 1;
    double max_ms = -1;       // --max-ms MS (-1: no limit)
    double level = -1;        // --level N (-1: not given)
    bool no_draw = false;     // --no-draw (scripted runs only)
    std::string audio_out;    // --audio-out FILE (scripted runs only)
    std::string dump_at_exit; // --dump-at-exit FILE

    // The player's folder and settings.
    std::string user_dir; // --user-dir DIR ("" : the system's per-user folder; none when scripted)
    bool fresh = false;   // --fresh: the settings file is neither read nor written this run
    int msaa = -1;        // --msaa 0|2|4|8 (-1: not given)
};

// Parses argv; false with a one-line reason. Arguments that are not options are left to the
// game's command line.
bool parse_runtime_options(int argc, char** argv, RuntimeOptions& out, std::string& error);

// A path made absolute against the current directory (the runtime changes directory later).
std::string absolute_path(const std::string& path);
