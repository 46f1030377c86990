// Frame limiter benchmark, reported as ratios: the CPU time a 60 fps frame costs with the
// runtime's limiter (sleeps until about 1 ms before the deadline, then spins pumping events)
// vs. a busy wait on the clock for the same schedule, and how close both keep to the schedule.
// Runs headless on whatever OpenGL the environment gives (Mesa's software renderer in CI).
#include "platform/events.h"
#include "runtime/app/app.h"
#include "runtime/app/frame.h"
#include "runtime/errors.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace {

constexpr int kFrames = 120;

double cpu_ms() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

struct Result {
    double cpu_per_frame = 0;
    double mean_interval = 0;
    double worst_error = 0;
};

// kFrames frames, each paced by `wait` (which returns when the frame may be presented).
template <typename Wait> Result measure(Wait&& wait) {
    double cpu0 = cpu_ms();
    double t0 = timer_ms(), last = t0, worst = 0;
    for (int i = 0; i < kFrames; ++i) {
        wait();
        double now = timer_ms();
        worst = std::max(worst, std::fabs(now - last - 1000.0 / 60));
        last = now;
    }
    Result r;
    r.cpu_per_frame = (cpu_ms() - cpu0) / kFrames;
    r.mean_interval = (last - t0) / kFrames;
    r.worst_error = worst;
    return r;
}

void bench() {
    set_fps_limit(60);
    present_frame();
    Result limiter = measure([] { present_frame(); });
    // The busy wait: present without a limit, then spin on the clock until the frame boundary.
    set_fps_limit(1000);
    double next = timer_ms();
    Result spin = measure([&next] {
        present_frame();
        next += 1000.0 / 60;
        while (timer_ms() < next) {
        }
    });
    std::printf(
        "limiter:   %.3f ms CPU per frame, mean interval %.3f ms, worst deviation %.3f ms\n",
        limiter.cpu_per_frame, limiter.mean_interval, limiter.worst_error);
    std::printf(
        "busy wait: %.3f ms CPU per frame, mean interval %.3f ms, worst deviation %.3f ms\n",
        spin.cpu_per_frame, spin.mean_interval, spin.worst_error);
    std::printf("CPU ratio (limiter / busy wait): %.3f\n",
                spin.cpu_per_frame > 0 ? limiter.cpu_per_frame / spin.cpu_per_frame : 0.0);
    runtime_end();
}

} // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    StartSettings settings;
    settings.fullscreen = false;
    return runtime_main(argc, argv, settings, bench);
}
