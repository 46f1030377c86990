// Still-screen benchmark: the CPU a frame of a screen that shows a still picture costs (the
// main menu, the ending, paused play), against a bare loop that only clears and presents the
// same window. Each screen's cost is the difference of two scripted runs of the real program
// that stay on it for a short and a long time (the virtual clock does not wait, so the
// difference is the frames' work alone), divided by the frames between them. CPU of all
// threads, Mesa's included.
#include "platform/gl.h"
#include "platform/window.h"

#include <algorithm>
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

constexpr double kFrameMs = 1000.0 / 60;

// The bare loop: the window, then `frames` frames of clear and present.
int bare(int frames) {
    platform::WindowConfig cfg;
    cfg.title = "bench_still";
    if (!platform::open_window(cfg)) return 1;
    platform::bind_game_framebuffer();
    glClearColor(0, 0, 0, 1);
    for (int i = 0; i < frames; ++i) {
        platform::present();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    }
    glFinish();
    platform::close_window();
    return 0;
}

// CPU ms of a whole run of the program (-1 when it fails).
double run_cpu_ms(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr))
            _exit(127);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (pid < 0) return -1;
    int status = 0;
    rusage u{};
    if (wait4(pid, &status, 0, &u) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return (double(u.ru_utime.tv_sec) + double(u.ru_stime.tv_sec)) * 1e3 +
           (double(u.ru_utime.tv_usec) + double(u.ru_stime.tv_usec)) / 1e3;
}

// The script `head` (commands up to time `from`), then a close after `ms` more.
std::string with_close(const std::string& head, double from, double ms) {
    std::ostringstream s;
    s << head << from + ms << " close\n";
    return s.str();
}

// CPU per frame of the screen the script reaches by `from`: a long and a short stay.
double screen_frame_cpu(const std::string& game, const std::vector<std::string>& options,
                        const std::string& head, double from, const fs::path& dir, int frames,
                        int tries) {
    double best_long = 1e300, best_short = 1e300;
    for (int i = 0; i < tries; ++i)
        for (int longer = 0; longer < 2; ++longer) {
            const fs::path script = dir / "still.txt";
            std::ofstream(script) << with_close(head, from, longer ? frames * kFrameMs : 100);
            std::vector<std::string> args = {game, "--script", script.string()};
            args.insert(args.end(), options.begin(), options.end());
            const double cpu = run_cpu_ms(args);
            if (cpu < 0) return -1;
            double& best = longer ? best_long : best_short;
            best = std::min(best, cpu);
        }
    return (best_long - best_short) / (frames - 100 / kFrameMs);
}

// A shipped solution without its close, its dumps dropped; `end` gets its last time.
std::string solution_head(const fs::path& file, double& end) {
    std::ifstream in(file);
    std::ostringstream out;
    std::string line;
    end = 0;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string time, command;
        words >> time >> command;
        if (time.empty() || time[0] == '#') continue;
        end = std::max(end, std::atof(time.c_str()));
        if (command == "close" || command == "dump") continue;
        out << line << "\n";
    }
    return out.str();
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--bare") == 0) return bare(std::atoi(argv[2]));
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    char dir_name[] = "/tmp/bench_still_XXXXXX";
    if (!mkdtemp(dir_name)) return 1;
    const fs::path dir = dir_name;
    setenv("TMPDIR", dir_name, 1);
    const int frames = 6000;

    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return 1;
    double bare_long = 1e300, bare_short = 1e300;
    for (int i = 0; i < 3; ++i) {
        bare_long = std::min(bare_long, run_cpu_ms({self, "--bare", std::to_string(frames)}));
        bare_short = std::min(bare_short, run_cpu_ms({self, "--bare", "6"}));
    }
    const double bare_frame = (bare_long - bare_short) / (frames - 6);
    std::printf("CPU a frame (all threads), best of 3 pairs of runs, %d frames:\n", frames);
    std::printf("  bare clear-and-present loop: %.3f ms\n", bare_frame);

    // The menu: the splash wait and the intro skipped from the start, the logo's flight (2 s)
    // and the box's slide (about 4 s) over. The held screens cost so little a frame that
    // only long stays outweigh the runs' own variation (tens of milliseconds).
    const double menu = screen_frame_cpu(std::string(SS_GAME_DIR) + "/steel_spree", {},
                                         "0 key 57 down\n0 key 29 down\n", 7000, dir, frames, 3);
    std::printf("  main menu:                   %.3f ms (x%.2f of the bare loop)\n", menu,
                menu / bare_frame);
    // Paused play: level 1, P pressed once the opening map view is over.
    const double paused =
        screen_frame_cpu(std::string(SS_GAME_DIR) + "/steel_spree", {"--level", "1"},
                         "2000 key 25 down\n2050 key 25 up\n", 2100, dir, frames, 3);
    std::printf("  paused play:                 %.3f ms (x%.2f of the bare loop)\n", paused,
                paused / bare_frame);
    // The ending: a game folder whose only level is level 1, so its solution's ride ends the
    // game; the program is copied there, the data linked.
    const fs::path game_dir = dir / "game";
    std::error_code ec;
    fs::create_directory(game_dir, ec);
    for (const auto& e : fs::directory_iterator(SS_GAME_DIR, ec)) {
        const std::string name = e.path().filename().string();
        if (name == "steel_spree")
            fs::copy_file(e.path(), game_dir / name, ec);
        else if (name.rfind("level", 0) != 0 || name == "level1.ini")
            fs::create_symlink(e.path(), game_dir / name, ec);
    }
    double end = 0;
    const std::string head =
        solution_head(fs::path(SS_SOURCE_DIR) / "data/levels/solutions/level1.txt", end);
    if (!head.empty() && fs::exists(game_dir / "steel_spree")) {
        const double ending = screen_frame_cpu((game_dir / "steel_spree").string(),
                                               {"--level", "1"}, head, end, dir, frames, 3);
        std::printf("  ending:                      %.3f ms (x%.2f of the bare loop)\n", ending,
                    ending / bare_frame);
    }
    fs::remove_all(dir, ec);
    return 0;
}
