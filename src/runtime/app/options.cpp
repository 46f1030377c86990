#include "runtime/app/options.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <unistd.h>

namespace {

bool parse_double(const std::string& s, double& v) {
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return !s.empty() && ec == std::errc() && p == s.data() + s.size() && std::isfinite(v);
}

} // namespace

bool parse_runtime_options(int argc, char** argv, RuntimeOptions& out, std::string& error) {
    out = RuntimeOptions{};
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0) continue;
        std::string name = arg, value;
        bool has_value = false;
        if (auto eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            has_value = true;
        }
        auto take_value = [&]() {
            if (has_value) return true;
            if (i + 1 >= argc) {
                error = "option " + name + " needs a value";
                return false;
            }
            value = argv[++i];
            return true;
        };
        if (name == "--windowed" || name == "--fullscreen" || name == "--no-draw") {
            if (has_value) {
                error = "option " + name + " takes no value";
                return false;
            }
            if (name == "--no-draw")
                out.no_draw = true;
            else
                out.display = name == "--windowed" ? -1 : 1;
        } else if (name == "--script" || name == "--record" || name == "--audio-out" ||
                   name == "--dump-at-exit") {
            if (!take_value()) return false;
            if (value.empty()) {
                error = "option " + name + " needs a file name";
                return false;
            }
            std::string& target = name == "--script"      ? out.script
                                  : name == "--record"    ? out.record
                                  : name == "--audio-out" ? out.audio_out
                                                          : out.dump_at_exit;
            target = value;
        } else if (name == "--seed") {
            if (!take_value()) return false;
            double v;
            if (!parse_double(value, v) || v < 0 || v > 4294967295.0 || v != std::floor(v)) {
                error = "--seed needs a whole number 0..4294967295, not '" + value + "'";
                return false;
            }
            out.seed = uint32_t(v);
            out.seed_given = true;
        } else if (name == "--max-ms") {
            if (!take_value()) return false;
            double v;
            if (!parse_double(value, v) || v < 0) {
                error = "--max-ms needs a number of milliseconds, not '" + value + "'";
                return false;
            }
            out.max_ms = v;
        } else if (name == "--level") {
            if (!take_value()) return false;
            double v;
            if (!parse_double(value, v) || v < 0 || v > 2147483647.0 || v != std::floor(v)) {
                error = "--level needs a whole number 0..2147483647, not '" + value + "'";
                return false;
            }
            out.level = v;
        } else if (name == "--user-dir" || name == "--fresh" || name == "--msaa") {
            // The player's folder, the settings file and multisampling.
            if (name == "--fresh") {
                if (has_value) {
                    error = "option --fresh takes no value";
                    return false;
                }
                out.fresh = true;
                continue;
            }
            if (!take_value()) return false;
            if (name == "--user-dir") {
                if (value.empty()) {
                    error = "option --user-dir needs a folder name";
                    return false;
                }
                out.user_dir = value;
                continue;
            }
            if (value != "0" && value != "2" && value != "4" && value != "8") {
                error = "--msaa needs 0, 2, 4 or 8, not '" + value + "'";
                return false;
            }
            out.msaa = value[0] - '0';
        } else {
            error = "unknown option " + name +
                    " (runtime options: --windowed, --fullscreen, --script FILE, --record FILE, "
                    "--seed N, --max-ms MS, --level N, --no-draw, --audio-out FILE, --dump-at-exit "
                    "FILE, --user-dir DIR, --fresh, --msaa 0|2|4|8)";
            return false;
        }
    }
    if (!out.script.empty() && !out.record.empty()) {
        error = "--script and --record cannot be used together";
        return false;
    }
    if (out.no_draw && out.script.empty()) {
        error = "--no-draw needs --script (a run that draws nothing has no player)";
        return false;
    }
    if (!out.audio_out.empty() && out.script.empty()) {
        error = "--audio-out needs --script (the sound is written in step with the script's clock)";
        return false;
    }
    return true;
}

std::string absolute_path(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    char buf[4096];
    if (!getcwd(buf, sizeof buf)) return path;
    return std::string(buf) + "/" + path;
}
