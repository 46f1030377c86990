#pragma once
// The shipped levels and their solutions, as the level tests find them.
#include "support/test_support.h"

#include <string>

// Levels shipped in data/levels (level1.ini .. level24.ini); levels 1 to 10 are won within a
// minute.
inline constexpr int kLevelCount = 24;
inline constexpr int kFirstMinuteLevels = 10;

inline std::string LevelSource(int n) {
    return std::string(SS_SOURCE_DIR) + "/data/levels/level" + std::to_string(n) + ".ini";
}
inline std::string SolutionScript(int n) {
    return read_text(std::string(SS_SOURCE_DIR) + "/data/levels/solutions/level" +
                     std::to_string(n) + ".txt");
}

// Runs steel_data with the arguments (already quoted where needed); output in `out`.
inline int RunDataTool(const std::string& args, std::string* out) {
    return run_command("'" + data_tool() + "' " + args, out);
}
