// Pacing and memory benchmark: a level played live (real clock, the runtime's 60 fps limiter,
// drawn on whatever OpenGL the environment gives) for a while, as the play loop runs it. Reports
// the frame intervals' median, 99th percentile and worst against 16.7 ms, and the peak resident
// memory of the whole process (every game slot loaded, the level, its music).
//
//   bench_pacing [SECONDS [LEVEL]]   (60 s of level 13 by default)
#include "game/game.h"
#include "game/play.h"
#include "game/state.h"
#include "graphics/font.h"
#include "graphics/scene.h"
#include "runtime/app/app.h"
#include "runtime/app/frame.h"
#include "runtime/errors.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

double g_seconds = 60;
double g_level = 13;

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5))];
}

double peak_rss_mb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024;
}

void bench() {
    if (chdir(SS_GAME_DIR) != 0) {
        std::fprintf(stderr, "bench_pacing: no game folder %s\n", SS_GAME_DIR);
        runtime_end();
    }
    screen_size(ScreenWidth, ScreenHeight);
    LoadGameSlots();
    load_font("bigfont.bmp", 0);
    set_fps_limit(60);
    TimerOption = 1;
    DetailOption = 1;
    Lives = 3;
    Level = g_level;
    LoadLevel(Level);
    MapFade = 0;
    Playing = 1;
    FrameClock = timer_ms();
    present_frame();
    std::vector<double> intervals;
    const double start = timer_ms();
    double last = start;
    while (last - start < g_seconds * 1000) {
        const double previous = FrameClock;
        FrameClock = timer_ms();
        PlayStep(FrameClock - previous);
        DrawLevel(0);
        end_3d();
        print_text("Crsr  to Move", 0, 0);
        print_text("LCtrl to Screw", 0, 20);
        present_frame();
        const double now = timer_ms();
        intervals.push_back(now - last);
        last = now;
    }
    std::printf("level %.0f drawn live for %.0f s: %zu frames (%.1f fps)\n", g_level, g_seconds,
                intervals.size(), double(intervals.size()) / ((last - start) / 1000));
    std::printf("frame interval: p50 %.2f ms, p99 %.2f ms, worst %.2f ms (target %.2f ms)\n",
                percentile(intervals, 0.5), percentile(intervals, 0.99), percentile(intervals, 1.0),
                1000.0 / 60);
    std::printf("peak resident memory: %.1f MB\n", peak_rss_mb());
    runtime_end();
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1) g_seconds = std::max(1.0, std::atof(argv[1]));
    if (argc > 2) g_level = std::atof(argv[2]);
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    StartSettings settings;
    settings.fullscreen = false;
    // Only the program's name reaches the runtime: the numbers above are this benchmark's.
    return runtime_main(1, argv, settings, bench);
}
