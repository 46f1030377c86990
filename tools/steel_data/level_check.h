#pragma once
// The level designer's checks: a level file read as the game reads it, with warnings about
// what would make it broken or unfair in play.
#include <string>
#include <vector>

struct LevelCheck {
    bool loaded = false;
    std::string error; // why the file is no level (when not loaded)
    std::string json;  // the level and its warnings as one JSON object
    std::vector<std::string> warnings;
};

// Reads the file (a missing file, one that is not text or has no "[global]" padcount is an
// error; everything else loads as the game loads it) and checks:
// - the grid: every pad, at every point of its path, lies on the 31 x 11 grid, on whole cells,
//   with a size of at least one cell;
// - the lift: pad 0 is a 1 x 1 pad that does not move;
// - the plan: at least one movable pad, no path whose axes run against each other;
// - reachability: every pad can be reached from the lift, where a moving pad counts as
//   touching another when some position along each path makes them touch;
// - the file: padcount is a whole number, every pad has its section and six numbers, no
//   section lies beyond padcount.
LevelCheck CheckLevelFile(const std::string& path);
