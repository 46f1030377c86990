// Start-up benchmark: wall time from exec to the first menu frame (the splash wait skipped with
// Space and the intro with left Ctrl, both held from the start) and to the first play frame
// (`--level 1`), against a program that only opens the window the same way and presents one frame.
// Each frame is caught by a `screenshot` of the scripted run, which writes the frame as it is
// presented; the bare program writes its marker file after its frame. The game's own part is the
// difference.
//
// Scripted runs keep the game's virtual clock, so waits cost nothing: the times are work.
#include "platform/gl.h"
#include "platform/window.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

double now_ms() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The bare program: the window, one cleared frame presented, the marker written.
int bare(const char* marker) {
    platform::WindowConfig cfg;
    cfg.title = "bench_start";
    if (!platform::open_window(cfg)) return 1;
    platform::bind_game_framebuffer();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    platform::present();
    glFinish();
    std::ofstream(marker) << "1";
    platform::close_window();
    return 0;
}

// CPU time of a running process (all its threads) in ms, as /proc gives it (in clock ticks).
double process_cpu_ms(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string f;
    double utime = 0, stime = 0;
    // Fields from the state (3rd): utime is the 14th, stime the 15th.
    for (int i = 3; i <= 15 && (fields >> f); ++i) {
        if (i == 14) utime = std::atof(f.c_str());
        if (i == 15) stime = std::atof(f.c_str());
    }
    return (utime + stime) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

struct Timing {
    double wall = -1, cpu = -1;
};

// Runs the program and times it from exec until `marker` exists (-1: never, within 60 s), in
// wall time and in the program's CPU time; the program is then waited for.
Timing time_to_marker(const std::vector<std::string>& args, const fs::path& marker) {
    fs::remove(marker);
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::fflush(stdout);
    const double start = now_ms();
    const pid_t pid = fork();
    if (pid == 0) {
        if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr))
            _exit(127);
        execv(argv[0], argv.data());
        _exit(127);
    }
    Timing at;
    if (pid < 0) return at;
    struct stat st {};
    while (now_ms() - start < 60000) {
        if (stat(marker.c_str(), &st) == 0) {
            at.wall = now_ms() - start;
            at.cpu = process_cpu_ms(pid);
            break;
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            if (stat(marker.c_str(), &st) == 0) at.wall = now_ms() - start;
            return at;
        }
        usleep(100);
    }
    if (at.wall < 0) kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    return at;
}

std::string dump_file(const fs::path& dir, int n) {
    char name[32];
    std::snprintf(name, sizeof name, "d%d.json", n);
    return (dir / name).string();
}

std::string game() {
    return std::string(SS_GAME_DIR) + "/steel_spree";
}

// The first script time (in steps of `step` ms from `from`) at which the game's dump shows
// `screen`, or -1.
double first_time_on(const std::string& screen, const std::vector<std::string>& options,
                     const fs::path& dir, double from, double to, double step) {
    std::ostringstream script;
    script << "0 key 57 down\n0 key 29 down\n";
    int n = 0;
    for (double t = from; t <= to; t += step, ++n)
        script << t << " dump " << dump_file(dir, n) << "\n";
    script << to + step << " close\n";
    std::ofstream(dir / "find.txt") << script.str();
    std::vector<std::string> args = {game(), "--script", (dir / "find.txt").string(), "--no-draw"};
    args.insert(args.end(), options.begin(), options.end());
    time_to_marker(args, dir / "never"); // runs the game to its close
    std::string tag = "\"Screen\":\"";
    tag.append(screen).push_back('"');
    n = 0;
    for (double t = from; t <= to; t += step, ++n) {
        std::ifstream in(dump_file(dir, n));
        std::stringstream text;
        text << in.rdbuf();
        if (text.str().find(tag) != std::string::npos) return t;
    }
    return -1;
}

struct Medians {
    double wall, cpu;
};

Medians medians(const std::vector<Timing>& t) {
    std::vector<double> wall, cpu;
    for (const Timing& x : t) {
        wall.push_back(x.wall);
        cpu.push_back(x.cpu);
    }
    return {median(wall), median(cpu)};
}

// Exec to the first frame of `screen`: found on the virtual clock first, then timed live.
Medians time_to_screen(const std::string& screen, const std::vector<std::string>& options,
                       const fs::path& dir, int runs) {
    double t = first_time_on(screen, options, dir, 0, 30000, 50);
    if (t < 0) return {-1, -1};
    t = first_time_on(screen, options, dir, std::max(0.0, t - 50), t, 1);
    if (t < 0) return {-1, -1};
    std::ofstream(dir / "shot.txt") << "0 key 57 down\n0 key 29 down\n"
                                    << t << " screenshot " << (dir / "shot.bmp").string() << "\n"
                                    << t + 100 << " close\n";
    std::vector<std::string> args = {game(), "--script", (dir / "shot.txt").string()};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<Timing> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(time_to_marker(args, dir / "shot.bmp"));
    std::printf("  %-28s first frame at %.0f ms of the run's clock\n", screen.c_str(), t);
    return medians(times);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--bare") == 0) return bare(argv[2]);
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    char dir_name[] = "/tmp/bench_start_XXXXXX";
    if (!mkdtemp(dir_name)) return 1;
    const fs::path dir = dir_name;
    setenv("TMPDIR", dir_name, 1);
    const int runs = 7;

    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return 1;
    std::vector<Timing> bare_times;
    for (int i = 0; i < runs; ++i)
        bare_times.push_back(
            time_to_marker({self, "--bare", (dir / "bare").string()}, dir / "bare"));
    const Medians bare = medians(bare_times);
    const Medians menu = time_to_screen("menu", {}, dir, runs);
    const Medians play = time_to_screen("play", {"--level", "1"}, dir, runs);
    std::printf("medians of %d runs, exec to the frame shown (wall / CPU of all threads):\n", runs);
    std::printf("  window and one frame only:    %7.1f / %6.1f ms\n", bare.wall, bare.cpu);
    const struct {
        const char* name;
        Medians m;
    } rows[] = {{"first menu frame:", menu}, {"first play frame (--level 1):", play}};
    for (const auto& r : rows)
        std::printf("  %-29s %7.1f / %6.1f ms; the game's part %.1f / %.1f ms (x%.2f / x%.2f of "
                    "the bare program)\n",
                    r.name, r.m.wall, r.m.cpu, r.m.wall - bare.wall, r.m.cpu - bare.cpu,
                    r.m.wall / bare.wall, r.m.cpu / bare.cpu);
    std::error_code ec;
    fs::remove_all(dir, ec);
    return 0;
}
