// level_torture: hostile level files through play.
//
//   level_torture [--levels N] [--seconds S] [--program K] [--drawn M] [--drawn-seconds D]
//                 [--seed X] [--game DIR] [--findings DIR]
//
// Writes N mutated level files (default 10000; every kind of damage in turn, made from the
// shipped levels of the game folder) and plays each for S seconds of game time (default 20)
// with random controls, logic-only, in this process: the real LoadLevel (its map built with
// drawing off), then the rules frame by frame, every frame's state checked against its bounds.
// K of them (default 100, spread over the run) also go through the real program logic-only
// (`--level 1 --no-draw`, a script of random controls and a dump every second), and M (default
// 50) through the real program drawn for D seconds (default 10): each must end with status 0 and
// dumps inside their bounds. A level that faults is kept in the findings folder; a level that
// takes more than two minutes is a hang. Prints the counts; status 0 when nothing failed.
#include "game/game.h"
#include "game/play.h"
#include "game/seam.h"
#include "game/state.h"
#include "game/state_check.h"
#include "graphics/device.h"
#include "mutate.h"
#include "runtime/files.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Options {
    long levels = 10000;
    double seconds = 20;
    long program = 100;
    long drawn = 50;
    double drawn_seconds = 10;
    uint64_t seed = 1;
    std::string game = SS_GAME_DIR;
    std::string findings = "level_torture_findings";
};

bool parse_options(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc) {
            std::fprintf(stderr, "level_torture: %s needs a value\n", a.c_str());
            return false;
        }
        const char* v = argv[++i];
        char* end = nullptr;
        const double d = std::strtod(v, &end);
        const bool number = end && *end == '\0' && std::isfinite(d) && d >= 0;
        if (a == "--game") {
            o.game = v;
        } else if (a == "--findings") {
            o.findings = v;
        } else if (!number) {
            std::fprintf(stderr, "level_torture: bad value '%s' for %s\n", v, a.c_str());
            return false;
        } else if (a == "--levels") {
            o.levels = long(d);
        } else if (a == "--seconds") {
            o.seconds = d;
        } else if (a == "--program") {
            o.program = long(d);
        } else if (a == "--drawn") {
            o.drawn = long(d);
        } else if (a == "--drawn-seconds") {
            o.drawn_seconds = d;
        } else if (a == "--seed") {
            o.seed = uint64_t(d);
        } else {
            std::fprintf(stderr, "level_torture: unknown option %s\n", a.c_str());
            return false;
        }
    }
    return true;
}

// --- The in-process run: the rules through the seam, controls from a generator ---

// Plays level1.ini of the current folder; empty when every frame was in bounds.
std::string play_in_process(double seconds, std::mt19937_64& rng) {
    const PlayBounds bounds = StartLevelOne(double(rng() % 3));
    const long frames = long(seconds * 60);
    long next_change = 0;
    for (long f = 0; f < frames && Playing != 0; ++f) {
        if (f >= next_change) {
            HeldControls = uint8_t(rng() & 63);
            next_change = f + 1 + long(rng() % 40);
        }
        FrameClock += kQuietFrameMs;
        PlayStep(kQuietFrameMs);
        if (Playing == 0) break;
        std::string fault = PlayStateFault(bounds);
        if (!fault.empty()) return "frame " + std::to_string(f) + ": " + fault;
    }
    return {};
}

bool write_plain(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(f);
}

// --- Runs of the real program ---

// A folder beside which the program finds its data: the data of the game folder linked, the
// program itself copied (it makes its own folder the current one), no level files.
bool make_program_folder(const std::string& game, const std::string& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    for (const auto& e : fs::directory_iterator(game, ec)) {
        const std::string name = e.path().filename().string();
        if (name.rfind("level", 0) == 0 || name == "limitfps.txt") continue;
        if (name == "steel_spree") {
            fs::copy_file(e.path(), dir + "/steel_spree", fs::copy_options::overwrite_existing, ec);
            if (ec) return false;
        } else {
            fs::create_symlink(e.path(), dir + "/" + name, ec);
        }
    }
    return fs::exists(dir + "/steel_spree");
}

std::string random_script(double seconds, std::mt19937_64& rng, int dumps) {
    std::ostringstream s;
    const int keys[] = {200, 203, 205, 208, 29, 50};
    bool down[6] = {};
    const double end_ms = 1000 * seconds;
    for (double t = 50; t < end_ms; t += double(20 + rng() % 600)) {
        const int k = int(rng() % 6);
        down[k] = !down[k];
        s << long(t) << " key " << keys[k] << (down[k] ? " down\n" : " up\n");
    }
    for (int d = 1; d <= dumps; ++d)
        s << long(end_ms * d / dumps) << " dump dump" << d << ".json\n";
    s << long(end_ms) + 1 << " close\n";
    return s.str();
}

// A dump's number after "key": (NaN when absent or not a number).
double dump_number(const std::string& json, const std::string& key) {
    const std::string tag = "\"" + key + "\":";
    const size_t at = json.find(tag);
    if (at == std::string::npos) return std::nan("");
    return std::strtod(json.c_str() + at + tag.size(), nullptr);
}

std::string check_dump(const std::string& json) {
    if (json.empty()) return "no dump written";
    if (json.find("nan") != std::string::npos || json.find("inf") != std::string::npos)
        return "a number that is not finite in the dump";
    const double time_left = dump_number(json, "TimeLeft"), lives = dump_number(json, "Lives");
    const double map_fade = dump_number(json, "MapFade"), score = dump_number(json, "Score");
    if (!(time_left >= 0 && time_left <= 1000)) return "TimeLeft out of bounds";
    if (!(lives >= -1 && lives <= 3)) return "Lives out of bounds";
    if (!(map_fade >= 0 && map_fade <= 1)) return "MapFade out of bounds";
    if (!(score >= 0)) return "Score out of bounds";
    return {};
}

std::string read_all(const std::string& path) {
    auto bytes = read_file(path, size_t(64) << 20);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

// Plays level1.ini of `dir` in the real program; empty when it ended well.
std::string play_program(const std::string& dir, double seconds, bool drawn,
                         std::mt19937_64& rng) {
    const int dumps = std::max(1, int(seconds));
    for (int d = 1; d <= dumps; ++d)
        fs::remove(dir + "/dump" + std::to_string(d) + ".json");
    if (!write_plain(dir + "/script.txt", random_script(seconds, rng, dumps)))
        return "cannot write the script";
    // The run's own clock guards against a hang in game time, the wall clock against one
    // outside it.
    const long guard_ms = long(seconds * 1000) + 60000;
    const std::string cmd = "cd '" + dir + "' && TMPDIR='" + dir + "' timeout 600 ./steel_spree " +
                            "--script script.txt --level 1 --max-ms " + std::to_string(guard_ms) +
                            (drawn ? "" : " --no-draw") + " >output.txt 2>&1";
    const int status = std::system(cmd.c_str());
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (code != 0)
        return "exit status " + std::to_string(code) + ": " + read_all(dir + "/output.txt");
    for (int d = 1; d <= dumps; ++d) {
        std::string fault = check_dump(read_all(dir + "/dump" + std::to_string(d) + ".json"));
        if (!fault.empty()) return "dump " + std::to_string(d) + ": " + fault;
    }
    return {};
}

// --- The hang guard ---

std::atomic<long> g_level{-1};
std::atomic<long> g_started_ms{0};

long now_ms() {
    using namespace std::chrono;
    return long(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void watch_for_hangs(std::atomic<bool>* done) {
    while (!*done) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const long level = g_level;
        if (level >= 0 && now_ms() - g_started_ms > 120000) {
            std::fprintf(stderr, "level_torture: level %ld hangs (over two minutes)\n", level);
            std::fflush(stderr);
            std::_Exit(3);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse_options(argc, argv, o)) return 2;
    const fs::path here = fs::current_path();
    const fs::path findings = fs::absolute(o.findings);
    std::vector<std::string> shipped;
    for (int n = 1; n <= 24; ++n) {
        const std::string text = read_all(o.game + "/level" + std::to_string(n) + ".ini");
        if (!text.empty()) shipped.push_back(text);
    }
    if (shipped.empty()) {
        std::fprintf(stderr, "level_torture: no level files in %s\n", o.game.c_str());
        return 2;
    }
    const char* tmp = std::getenv("TMPDIR");
    std::string templ = std::string(tmp && *tmp ? tmp : "/tmp") + "/ss_torture_XXXXXX";
    if (!mkdtemp(templ.data())) {
        std::perror("level_torture: no temporary folder");
        return 2;
    }
    const std::string work = templ, logic_dir = work + "/logic", program_dir = work + "/program";
    fs::create_directories(logic_dir);
    if ((o.program > 0 || o.drawn > 0) && !make_program_folder(o.game, program_dir)) {
        std::fprintf(stderr, "level_torture: no program in %s\n", o.game.c_str());
        return 2;
    }
    if (chdir(logic_dir.c_str()) != 0) return 2;
    gfx.no_draw = true;
    Seam = QuietSeam(false);

    std::atomic<bool> done{false};
    std::thread guard(watch_for_hangs, &done);
    std::mt19937_64 rng(o.seed);
    long per_kind[kDamageKinds] = {}, faults = 0, program_runs = 0, program_faults = 0;
    long drawn_runs = 0, drawn_faults = 0;
    const long program_every = o.program > 0 ? std::max(1L, o.levels / o.program) : 0;
    const long drawn_every = o.drawn > 0 ? std::max(1L, o.levels / o.drawn) : 0;
    auto keep = [&](long i, const std::string& text, const std::string& why, const char* where) {
        std::error_code ec;
        fs::create_directories(findings, ec);
        const std::string name = (findings / ("level" + std::to_string(i) + ".ini")).string();
        write_file_atomic(name, text);
        std::printf("FAULT %s, level %ld (%s): %s [kept as %s]\n", where, i,
                    damage_name(Damage(i % kDamageKinds)), why.c_str(), name.c_str());
    };
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < o.levels; ++i) {
        const Damage kind = Damage(i % kDamageKinds);
        const std::string text = mutated_level(kind, shipped[rng() % shipped.size()], rng);
        g_started_ms = now_ms();
        g_level = i;
        if (!write_plain("level1.ini", text)) {
            std::fprintf(stderr, "level_torture: cannot write level1.ini\n");
            return 2;
        }
        ++per_kind[int(kind)];
        std::string fault = play_in_process(o.seconds, rng);
        if (!fault.empty()) {
            ++faults;
            keep(i, text, fault, "logic-only, in process");
        }
        const bool to_program = program_every > 0 && i % program_every == 0 &&
                                program_runs < o.program;
        const bool to_drawn = drawn_every > 0 && i % drawn_every == drawn_every / 2 &&
                              drawn_runs < o.drawn;
        if (to_program || to_drawn) {
            g_level = -1; // the program's runs have their own guards
            if (!write_plain(program_dir + "/level1.ini", text)) return 2;
            if (to_program) {
                ++program_runs;
                fault = play_program(program_dir, o.seconds, false, rng);
                if (!fault.empty()) {
                    ++program_faults;
                    keep(i, text, fault, "logic-only, the program");
                }
            }
            if (to_drawn) {
                ++drawn_runs;
                fault = play_program(program_dir, o.drawn_seconds, true, rng);
                if (!fault.empty()) {
                    ++drawn_faults;
                    keep(i, text, fault, "drawn, the program");
                }
            }
        }
        g_level = -1;
        if ((i + 1) % 1000 == 0) {
            std::fprintf(stderr, "level_torture: %ld levels, %ld faults\n", i + 1,
                         faults + program_faults + drawn_faults);
        }
    }
    done = true;
    guard.join();
    const double secs =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (chdir(here.c_str()) != 0) return 2;
    std::error_code ec;
    fs::remove_all(work, ec);

    std::printf("levels: %ld, each %.0f s of game time with random controls, logic-only, in "
                "process: %ld faults (%.1f levels a second, %.0fx real time)\n",
                o.levels, o.seconds, faults, double(o.levels) / secs,
                double(o.levels) * o.seconds / secs);
    for (int k = 0; k < kDamageKinds; ++k)
        std::printf("  %-18s %ld\n", damage_name(Damage(k)), per_kind[k]);
    std::printf("through the program logic-only (%.0f s): %ld runs, %ld faults\n", o.seconds,
                program_runs, program_faults);
    std::printf("through the program drawn (%.0f s): %ld runs, %ld faults\n", o.drawn_seconds,
                drawn_runs, drawn_faults);
    return faults + program_faults + drawn_faults == 0 ? 0 : 1;
}
