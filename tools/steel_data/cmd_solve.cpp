// steel_data solve FILE [-o OUT] [limits] [--first] [--verbose] [--title TEXT]: searches the
// game's rules for a solution of the level (see level_solver.h) and writes it as an input script
// for `steel_spree --level N --script OUT`. With -o the script goes to OUT and a summary (JSON)
// to stdout; without it the script goes to stdout. Exit status 0 when solved, 1 with
// {"error": ...} when no solution was found within the limits. The summary's "robust" says
// whether the solution also wins when every frame is 0.01 ms shorter or 0.02 ms longer. The limits
// (SolverLimits):
// --deadline S, --searches N, --branch N, --patience S, --slack S, --cell C.
#include "command.h"
#include "game/dump.h"
#include "level_solver.h"
#include "runtime/files.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool ParseNumber(const char* text, double lo, double hi, double& out) {
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(v) || v < lo || v > hi) return false;
    out = v;
    return true;
}

std::string Summary(const Solution& s, const FrameTiming& timing) {
    const double fps = 1000 / timing.interval;
    std::string json =
        "{\"solved\":true,\"ride_start_frame\":" + JsonNumber(double(s.ride_start)) +
        ",\"ride_start_s\":" + JsonNumber(std::round(double(s.ride_start) / fps * 100) / 100) +
        ",\"time_left\":" + JsonNumber(std::round(s.time_left_at_ride * 100) / 100) +
        ",\"ride_end_frame\":" + JsonNumber(double(s.ride_end)) + ",\"bolts\":[";
    for (size_t i = 0; i < s.bolts.size(); ++i) {
        const BoltStep& b = s.bolts[i];
        if (i) json += ',';
        json += "{\"pad\":" + JsonNumber(b.pad) + ",\"end\":\"" + (b.end == 1 ? "start" : "other") +
                "\",\"cell\":\"" + (b.cell == 0 ? "first" : "last") +
                "\",\"frame\":" + JsonNumber(double(b.frame)) + "}";
    }
    return json + "],\"searches\":" + JsonNumber(s.searches) + "}";
}

int cmd_solve(int argc, char** argv) {
    const char* usage = "usage: steel_data solve FILE [-o OUT] [--deadline S] [--searches N] "
                        "[--branch N] [--patience S] [--slack S] [--cell C] [--first] "
                        "[--verbose] [--title TEXT]";
    std::string file, out, title;
    SolverLimits limits;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool has_value = i + 1 < argc;
        double v = 0;
        if (a == "--first") {
            limits.first = true;
        } else if (a == "--verbose") {
            limits.verbose = true;
        } else if ((a == "-o" || a == "--title") && has_value) {
            (a == "-o" ? out : title) = argv[++i];
        } else if (a == "--deadline" && has_value && ParseNumber(argv[i + 1], 1, 1000, v)) {
            limits.deadline_s = v;
            ++i;
        } else if (a == "--searches" && has_value && ParseNumber(argv[i + 1], 1, 1e6, v)) {
            limits.max_searches = int(v);
            ++i;
        } else if (a == "--branch" && has_value && ParseNumber(argv[i + 1], 1, 1000, v)) {
            limits.branch = int(v);
            ++i;
        } else if (a == "--patience" && has_value && ParseNumber(argv[i + 1], 1, 1000, v)) {
            limits.patience_s = v;
            ++i;
        } else if (a == "--slack" && has_value && ParseNumber(argv[i + 1], 0, 1000, v)) {
            limits.slack_s = v;
            ++i;
        } else if (a == "--cell" && has_value && ParseNumber(argv[i + 1], 0.01, 1, v)) {
            limits.cell = v;
            ++i;
        } else if (a.rfind("-", 0) != 0 && file.empty()) {
            file = a;
        } else {
            return usage_error(usage);
        }
    }
    if (file.empty()) return usage_error(usage);
    if (title.empty()) title = "Solution of " + file;

    const FrameTiming timing = DefaultTiming();
    LevelSim sim(timing);
    std::string why;
    if (!sim.Load(file, 1, &why)) return json_error(why);
    Solution solution;
    if (!SolveLevel(sim, limits, solution, why)) return json_error(why);
    if (!sim.Load(file, 1, &why) || !CheckSolution(sim, solution, why))
        return json_error("the solution does not replay: " + why);
    // The same controls with frames a little shorter or longer than the game's: a solution that
    // still wins does not hang on the last hundredth of a millisecond.
    bool robust = true;
    for (double step : {0.0, 0.03}) {
        LevelSim other(DefaultTiming(step));
        std::string ignored;
        robust = robust && other.Load(file, 1, &ignored) &&
                 CheckSolution(other, solution, ignored, false);
    }
    const std::string script = SolutionScript(solution, timing, title);
    if (out.empty()) {
        std::fputs(script.c_str(), stdout);
        return 0;
    }
    if (!write_file_atomic(out, script)) return json_error("cannot write " + out);
    std::string summary = Summary(solution, timing);
    summary.insert(summary.size() - 1, std::string(",\"robust\":") + (robust ? "true" : "false"));
    std::printf("%s\n", summary.c_str());
    return 0;
}

const CommandRegistrar reg("solve",
                           "solve FILE [-o OUT] [--deadline S] [--searches N] [--branch N] "
                           "[--patience S] [--slack S] [--cell C] [--first] [--verbose] "
                           "[--title TEXT]",
                           cmd_solve);

} // namespace
