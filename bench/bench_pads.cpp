// Pad-count benchmark: what a frame of play costs as a level grows from 10 to 1,024 pads.
//
// Logic only (nothing drawn, as --no-draw runs): the play loop's frame (MovePads, UpdatePlay,
// DrawLevel, the help texts) over levels loaded through LoadLevel from files whose pads are
// small, of the largest size the loader keeps, or placed at +-1e9 (which it clamps). The cost
// per frame and per pad and the factor to real time (16.7 ms of play per frame) show whether
// it grows with the pads only, or with their sizes and positions too.
//
// Drawn (llvmpipe, 800 x 600): the frame time with N pads on screen against N pads beside the
// view, so the cells on screen grow in the first curve and stay the same in the second.
#include "game/game.h"
#include "game/play.h"
#include "game/scene.h"
#include "game/seam.h"
#include "game/state.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/headless.h"
#include "graphics/scene.h"
#include "platform/window.h"
#include "runtime/files.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

double now_ms() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double cpu_ms(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

constexpr double kFrameMs = 1000.0 / 60;
long g_frame = 0;

// The worker walks a square, a quarter of a second per side, and bolts now and then.
double walk_control(double, double axis) {
    const long phase = (g_frame / 15) % 4;
    if (axis == 0) return phase == 0 ? 1 : phase == 2 ? -1 : 0;
    if (axis == 1) return phase == 1 ? 1 : phase == 3 ? -1 : 0;
    if (axis == 2) return g_frame % 97 == 0 ? 1 : 0;
    return 0;
}

GameSeam bench_seam() {
    GameSeam s = DeviceSeam();
    s.read_control = walk_control;
    s.frame_time_ms = [] { return kFrameMs; };
    s.play_sound = [](double) {};
    s.load_music = [](const char*) { return 1.0; };
    s.start_music = [] {};
    s.music_finished = [] { return 0.0; };
    s.stop_music = [] {};
    return s;
}

enum class Shape { Small, Largest, Far, Beside };

const char* shape_name(Shape s) {
    switch (s) {
    case Shape::Small:
        return "small pads (1-4 cells) on screen";
    case Shape::Largest:
        return "largest pads, overlapping";
    case Shape::Far:
        return "pads at +-1e9";
    case Shape::Beside:
        return "small pads beside the view";
    }
    return "";
}

// Writes a level of n pads of the given shape as level 900 and loads it as the game does.
// Pad 0, the lift, is a floor of 4 x 4 cells under the worker.
void load_level(int n, Shape shape) {
    Pads.dim(n);
    ForceMap = 0;
    for (int i = 0; i < n; ++i) {
        Pad& p = Pads.at(i);
        const double gx = i % 31, gy = (i / 31) % 11;
        const bool moving = i % 3 != 0;
        switch (shape) {
        case Shape::Small:
        case Shape::Beside: {
            // Beside the view: the same pads, shifted behind the camera.
            const double ox = shape == Shape::Beside ? 60 : 0;
            p.minx = gx + ox;
            p.miny = gy + ox;
            p.maxx = p.minx + (moving ? 3 : 0);
            p.maxy = p.miny;
            p.extx = 1 + i % 4;
            p.exty = 1;
            break;
        }
        case Shape::Largest:
            p.minx = 0;
            p.miny = 0;
            p.maxx = moving ? 1e9 : 0;
            p.maxy = moving ? 1e9 : 0;
            p.extx = p.exty = 1e9;
            break;
        case Shape::Far:
            p.minx = i % 2 ? 1e9 : -1e9;
            p.miny = i % 4 < 2 ? 1e9 : -1e9;
            p.maxx = moving ? -p.minx : p.minx;
            p.maxy = moving ? -p.miny : p.miny;
            p.extx = 1 + i % 4;
            p.exty = 1;
            break;
        }
    }
    Pad& lift = Pads.at(0);
    lift.minx = lift.maxx = 10;
    lift.miny = lift.maxy = 4;
    lift.extx = lift.exty = 4;
    if (!write_file_atomic("level900.ini", LevelFileText())) {
        std::fprintf(stderr, "bench_pads: cannot write level900.ini\n");
        std::exit(1);
    }
    LoadLevel(900);
    Workers.at(0).x = 11.5;
    Workers.at(0).y = 5.5;
    MapFade = 0;
    Playing = 1;
}

double cells_of_level() {
    double cells = 0;
    for (int i = 0; i < PadCount(); ++i)
        cells += Pads.at(i).extx * Pads.at(i).exty;
    return cells;
}

// One frame as the play loop runs it.
void play_frame() {
    ++g_frame;
    FrameClock += kFrameMs;
    PlayStep(kFrameMs);
    DrawLevel(0);
    end_3d();
    print_text("Crsr  to Move", 0, 0);
    print_text("LCtrl to Screw", 0, 20);
}

void present() {
    glFinish();
    platform::present();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    gfx_after_flip();
}

const int kCounts[] = {10, 32, 100, 320, 1024};

// CPU per frame of the logic-only loop: up to 1,200 frames (20 s of play), fewer when they
// take more than two seconds.
double logic_frame_ms() {
    const double start = cpu_ms(CLOCK_PROCESS_CPUTIME_ID);
    int frames = 0;
    while (frames < 1200 && (frames < 10 || cpu_ms(CLOCK_PROCESS_CPUTIME_ID) - start < 2000)) {
        play_frame();
        ++frames;
    }
    return (cpu_ms(CLOCK_PROCESS_CPUTIME_ID) - start) / frames;
}

// Each count is measured with the scene's culling off (every cell goes to the engine) and on.
void logic_curve(Shape shape) {
    std::printf("logic only, %s (CPU a frame, culling off -> on):\n", shape_name(shape));
    double first = 0;
    for (int n : kCounts) {
        gfx.no_draw = true;
        const double load_start = cpu_ms(CLOCK_PROCESS_CPUTIME_ID);
        load_level(n, shape);
        const double load = cpu_ms(CLOCK_PROCESS_CPUTIME_ID) - load_start;
        SceneCulling = false;
        const double off = logic_frame_ms();
        SceneCulling = true;
        const double on = logic_frame_ms();
        if (first == 0) first = on / n;
        std::printf("  %5d pads %9.0f cells: %8.4f -> %7.4f ms (%.0fx less); %6.3f us a pad "
                    "(x%.2f of 10 pads); %7.0fx real time; load %.1f ms\n",
                    n, cells_of_level(), off, on, off / on, on / n * 1000, on / n / first,
                    kFrameMs / on, load);
    }
    gfx.no_draw = false;
}

struct Drawn {
    double wall, cpu;
};

Drawn drawn_frame() {
    for (int f = 0; f < 3; ++f) {
        play_frame();
        present();
    }
    std::vector<double> wall, work;
    for (int f = 0; f < 15; ++f) {
        const double w0 = now_ms(), c0 = cpu_ms(CLOCK_PROCESS_CPUTIME_ID);
        play_frame();
        present();
        wall.push_back(now_ms() - w0);
        work.push_back(cpu_ms(CLOCK_PROCESS_CPUTIME_ID) - c0);
    }
    return {median(wall), median(work)};
}

void drawn_curve(Shape shape) {
    std::printf("drawn at detail 1, %s (frame wall / CPU of all threads, culling off -> on):\n",
                shape_name(shape));
    double first = 0;
    for (int n : kCounts) {
        load_level(n, shape);
        clear_screen();
        DetailOption = 1;
        SceneCulling = false;
        const Drawn off = drawn_frame();
        SceneCulling = true;
        const Drawn on = drawn_frame();
        if (first == 0) first = on.cpu;
        std::printf("  %5d pads %6.0f cells: %7.2f / %7.2f ms -> %7.2f / %7.2f ms (CPU x%.2f of "
                    "10 pads)\n",
                    n, cells_of_level(), off.wall, off.cpu, on.wall, on.cpu, on.cpu / first);
    }
}

} // namespace

int main(int argc, char** argv) {
    const bool logic_only = argc > 1 && std::string(argv[1]) == "--logic";
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    if (!open_headless_graphics("bench_pads")) return 1;
    std::printf("renderer: %s\n", platform::renderer_name());
    if (chdir(SS_GAME_DIR) != 0) {
        std::fprintf(stderr, "bench_pads: no game folder %s\n", SS_GAME_DIR);
        return 1;
    }
    ScreenWidth = 800;
    ScreenHeight = 600;
    LoadGameSlots();
    load_font("bigfont.bmp", 0);
    // The levels are written into a folder of their own.
    char dir[] = "/tmp/bench_pads_XXXXXX";
    if (!mkdtemp(dir) || chdir(dir) != 0) return 1;
    Seam = bench_seam();
    TimerOption = 1;
    Lives = 3;
    Level = 900;

    for (Shape s : {Shape::Small, Shape::Largest, Shape::Far})
        logic_curve(s);
    if (!logic_only)
        for (Shape s : {Shape::Small, Shape::Beside})
            drawn_curve(s);

    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    gfx_device_shutdown();
    platform::close_window();
    return 0;
}
