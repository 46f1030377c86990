// Timedemo: every shipped level's solution replayed logic-only by the real program, back to
// back, each from its own `--level N`. Reports the frames per second of the replays, the same
// with the program's start and end taken out (a run of 100 ms of play measured alone), the game's
// own CPU per frame, and the peak resident memory of the runs; then one solution drawn, for the
// peak memory of a whole game that draws.
//
//   bench_timedemo [--drawn N]   (N: a level whose solution is also replayed drawn)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

double now_ms() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

struct Run {
    int status = -1;
    double wall_ms = 0, cpu_ms = 0, peak_rss_mb = 0;
};

// Runs the game with the arguments, its output thrown away; times it and reads its usage.
Run run_game(const std::vector<std::string>& args) {
    const std::string program = std::string(SS_GAME_DIR) + "/steel_spree";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    Run r;
    std::fflush(stdout);
    const double start = now_ms();
    const pid_t pid = fork();
    if (pid == 0) {
        if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr))
            _exit(127);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    if (pid < 0) return r;
    int status = 0;
    rusage u{};
    if (wait4(pid, &status, 0, &u) != pid) return r;
    r.wall_ms = now_ms() - start;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.cpu_ms = (double(u.ru_utime.tv_sec) + double(u.ru_stime.tv_sec)) * 1e3 +
               (double(u.ru_utime.tv_usec) + double(u.ru_stime.tv_usec)) / 1e3;
    r.peak_rss_mb = double(u.ru_maxrss) / 1024;
    return r;
}

// The solution's script with its dumps written into `dir`; returns the time of its last
// command (the close), or -1 when the file cannot be read.
double copy_script(const fs::path& from, const fs::path& to, const fs::path& dir) {
    std::ifstream in(from);
    if (!in) return -1;
    std::ostringstream out;
    std::string line;
    double last = 0;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string time, command, file;
        words >> time >> command;
        if (!time.empty() && time[0] != '#') last = std::max(last, std::atof(time.c_str()));
        if (command == "dump" && (words >> file)) {
            out << time << " dump " << (dir / file).string() << "\n";
            continue;
        }
        out << line << "\n";
    }
    std::ofstream(to) << out.str();
    return last;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    int drawn_level = 0;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--drawn") == 0) drawn_level = std::atoi(argv[i + 1]);
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    char dir_name[] = "/tmp/bench_timedemo_XXXXXX";
    if (!mkdtemp(dir_name)) return 1;
    const fs::path dir = dir_name;
    setenv("TMPDIR", dir_name, 1); // the game's log goes there too

    // The program's start (every file loaded, the level's first frames) and end: a run that
    // closes after 100 ms of play.
    constexpr double kEmptyMs = 100;
    std::ofstream(dir / "empty.txt") << kEmptyMs << " close\n";
    std::vector<double> empty_wall, empty_cpu;
    for (int i = 0; i < 5; ++i) {
        const Run e =
            run_game({"--level", "1", "--script", (dir / "empty.txt").string(), "--no-draw"});
        if (e.status != 0) {
            std::fprintf(stderr, "bench_timedemo: the empty run failed (%d)\n", e.status);
            return 1;
        }
        empty_wall.push_back(e.wall_ms);
        empty_cpu.push_back(e.cpu_ms);
    }
    const double start_wall = median(empty_wall), start_cpu = median(empty_cpu);

    const fs::path solutions = fs::path(SS_SOURCE_DIR) / "data/levels/solutions";
    double frames = 0, wall = 0, cpu = 0, peak = 0;
    int runs = 0;
    for (int n = 1; n <= 24; ++n) {
        const std::string name = "level" + std::to_string(n) + ".txt";
        const double last = copy_script(solutions / name, dir / name, dir);
        if (last < 0) continue;
        const Run r = run_game({"--level", std::to_string(n), "--script", (dir / name).string(),
                                "--no-draw", "--max-ms", "3600000"});
        if (r.status != 0) {
            std::fprintf(stderr, "bench_timedemo: level %d ended with status %d\n", n, r.status);
            return 1;
        }
        // The virtual clock presents a frame every 1000 / 60 ms.
        const double f = last / (1000.0 / 60);
        frames += f;
        wall += r.wall_ms;
        cpu += r.cpu_ms;
        peak = std::max(peak, r.peak_rss_mb);
        ++runs;
    }
    if (runs == 0) {
        std::fprintf(stderr, "bench_timedemo: no solutions in %s\n", solutions.c_str());
        return 1;
    }
    std::printf("%d solutions, %.0f frames (%.1f min of play) logic-only in %.0f ms: %.0f fps\n",
                runs, frames, frames / 60 / 60, wall, frames / (wall / 1000));
    std::printf("a run of %.0f ms (start, loads, first frames, end): %.1f ms wall, %.1f ms CPU\n",
                kEmptyMs, start_wall, start_cpu);
    const double play_wall = wall - runs * start_wall, play_cpu = cpu - runs * start_cpu;
    const double play_frames = frames - runs * kEmptyMs / (1000.0 / 60);
    // Under a heavy load the starts' wall time varies more than the play takes; CPU does not.
    if (play_wall > 0)
        std::printf("play alone: %.0f ms wall, %.0f fps\n", play_wall,
                    play_frames / (play_wall / 1000));
    else
        std::printf("play alone: lost in the noise of the starts' wall time (machine loaded)\n");
    std::printf("the game's CPU in play: %.2f us a frame (%.0f frames a second of CPU)\n",
                play_cpu / play_frames * 1000, play_frames / (play_cpu / 1000));
    std::printf("peak resident memory of a logic-only run: %.1f MB\n", peak);

    const std::string name = "level" + std::to_string(drawn_level) + ".txt";
    if (drawn_level > 0 && copy_script(solutions / name, dir / name, dir) >= 0) {
        const Run d = run_game({"--level", std::to_string(drawn_level), "--script",
                                (dir / name).string(), "--max-ms", "3600000"});
        std::printf("level %d drawn (status %d): %.0f ms wall, %.0f ms CPU, peak resident memory "
                    "%.1f MB\n",
                    drawn_level, d.status, d.wall_ms, d.cpu_ms, d.peak_rss_mb);
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    return 0;
}
