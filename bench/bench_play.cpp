// Play-frame benchmark: one frame of a heavy level as the play loop draws it (DrawLevel, the two
// help texts, present) at 800 x 600, at both detail options, against a bare clear-and-present
// frame, in wall time and in CPU time of all threads (the renderer's included); and the CPU time
// the game's own draw submission (DrawLevel) takes per frame.
//
// The level is the level*.ini of the game folder with the most pad cells, or, when the folder
// has none, a built-in level of 20 pads and 80 cells with bolts and the remote in view.
// `bench_play --shots DIR` also writes a screenshot of each kind of frame into DIR;
// `bench_play --every-level` also plays every shipped level from its start in each view.
#include "game/game.h"
#include "game/state.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/headless.h"
#include "graphics/scene.h"
#include "graphics/scene_engine.h"
#include "graphics/screenshot.h"
#include "platform/window.h"
#include "runtime/ini.h"
#include "runtime/rt_string.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
// This thread's CPU time: the game's own draw submission.
double thread_cpu_ms() {
    return cpu_ms(CLOCK_THREAD_CPUTIME_ID);
}
// Every thread's CPU time, the renderer's included: the frame's work, which other programs
// sharing the cores do not change (the wall time they do).
double process_cpu_ms() {
    return cpu_ms(CLOCK_PROCESS_CPUTIME_ID);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// A stand-in for the level map (slot 100): a blue quad over the grid with a white frame.
void build_map_slot() {
    clear_screen();
    draw_rect(0, 0, 800, 600, 15728640);
    draw_rect(0, 0, 775, 4, 16777215);
    draw_rect(0, 271, 775, 275, 16777215);
    grab_sprite(100, 0, 0, 775, 275);
    begin_object(100);
    add_object_vertex(-1, 0, -1, 0, -275.0 / 512, 16777215);
    add_object_vertex(-1, 0, 21, 0, 0, 16777215);
    add_object_vertex(61, 0, -1, 775.0 / 1024, -275.0 / 512, 16777215);
    add_object_vertex(61, 0, 21, 775.0 / 1024, 0, 16777215);
    end_object();
    clear_screen();
}

double read_number(const char* section, const char* key) {
    return number_from_str(ini_get(section, key));
}

// Loads a level file into Pads as the game does; returns its number of pad cells.
double read_level(const std::string& file) {
    ini_open(file.c_str());
    const int count = std::max(0, int(read_number("global", "padcount")));
    Pads.dim(std::max(count, 1));
    ForceMap = read_number("global", "forcemap");
    double cells = 0;
    for (int i = 0; i < count; ++i) {
        const std::string section = "pads" + std::to_string(i);
        Pad& p = Pads.at(i);
        p.minx = read_number(section.c_str(), "minx");
        p.miny = read_number(section.c_str(), "miny");
        p.maxx = read_number(section.c_str(), "maxx");
        p.maxy = read_number(section.c_str(), "maxy");
        p.extx = read_number(section.c_str(), "extx");
        p.exty = read_number(section.c_str(), "exty");
        p.x = p.minx;
        p.y = p.miny;
        cells += std::max(0.0, p.extx) * std::max(0.0, p.exty);
    }
    return cells;
}

// Twenty pads, 80 cells: the lift beside the worker, floors, girders along both axes, some of
// them bolted.
void built_in_level() {
    struct P {
        double minx, miny, maxx, maxy, extx, exty, bolts;
    };
    const P pads[] = {
        {10, 6, 10, 6, 1, 1, 0}, {1, 4, 1, 4, 2, 2, 0},   {3, 5, 6, 5, 4, 1, 1},
        {7, 2, 7, 2, 3, 2, 0},   {10, 0, 10, 4, 1, 5, 2}, {11, 6, 11, 6, 2, 2, 0},
        {13, 3, 16, 3, 4, 1, 0}, {17, 1, 17, 1, 2, 3, 0}, {19, 4, 19, 7, 1, 4, 1},
        {20, 8, 20, 8, 2, 2, 0}, {23, 5, 23, 1, 1, 5, 3}, {24, 0, 24, 0, 3, 2, 0},
        {27, 2, 27, 6, 1, 4, 0}, {28, 8, 28, 8, 3, 1, 0}, {4, 8, 8, 8, 5, 1, 2},
        {1, 9, 1, 9, 2, 2, 0},   {14, 8, 14, 8, 1, 1, 0}, {15, 9, 18, 9, 4, 1, 0},
        {6, 0, 6, 0, 3, 1, 0},   {13, 0, 13, 0, 3, 1, 0},
    };
    Pads.dim(20);
    ForceMap = 1;
    for (int i = 0; i < 20; ++i) {
        Pad& p = Pads.at(i);
        const P& s = pads[i];
        p.minx = s.minx, p.miny = s.miny, p.maxx = s.maxx, p.maxy = s.maxy;
        p.extx = s.extx, p.exty = s.exty, p.bolts = s.bolts;
        // Bolted girders stand at an end; the others are on their way.
        const double f = s.bolts != 0 ? (i % 2 ? 1.0 : 0.0) : 0.4;
        p.x = s.minx + (s.maxx - s.minx) * f;
        p.y = s.miny + (s.maxy - s.miny) * f;
    }
}

std::string pick_level(double& cells) {
    std::string best;
    cells = -1;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(".", ec)) {
        const std::string name = e.path().filename().string();
        if (name.rfind("level", 0) != 0 || name.size() < 9 ||
            name.compare(name.size() - 4, 4, ".ini") != 0)
            continue;
        const double c = read_level(name);
        if (c > cells) {
            cells = c;
            best = name;
        }
    }
    return best;
}

void present() {
    glFinish();
    platform::present();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    gfx_after_flip();
}

// The worker walks around its cell, so the walk animation blends frames as in play.
double g_clock = 100000;

void play_frame(double* submit_cpu_ms) {
    g_clock += 16.7;
    FrameClock = g_clock;
    Worker& w = Workers.at(0);
    w.idle_since = 100000;
    double cpu = thread_cpu_ms();
    DrawLevel(0);
    if (submit_cpu_ms) *submit_cpu_ms = thread_cpu_ms() - cpu;
    end_3d();
    print_text("Crsr  to Move", 0, 0);
    print_text("LCtrl to Screw", 0, 20);
    present();
}

struct Result {
    double frame_ms, work_cpu_ms, submit_cpu_ms;
};

template <class F> Result measure(int frames, F&& frame) {
    std::vector<double> wall, work, submit;
    for (int i = 0; i < 3; ++i)
        frame(nullptr); // warm-up: ramps, buffers
    for (int i = 0; i < frames; ++i) {
        double c = 0, start = now_ms(), start_cpu = process_cpu_ms();
        frame(&c);
        wall.push_back(now_ms() - start);
        work.push_back(process_cpu_ms() - start_cpu);
        submit.push_back(c);
    }
    return {median(wall), median(work), median(submit)};
}

void shot(const std::string& dir, const char* name) {
    play_frame(nullptr);
    // present() cleared the screen: draw once more and keep it.
    FrameClock = g_clock;
    DrawLevel(0);
    end_3d();
    print_text("Crsr  to Move", 0, 0);
    print_text("LCtrl to Screw", 0, 20);
    glFinish();
    const std::string file = dir + "/" + name;
    if (save_screenshot(file.c_str())) std::printf("wrote %s\n", file.c_str());
    present();
}

} // namespace

int main(int argc, char** argv) {
    std::string shots;
    bool every_level = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--shots") == 0 && i + 1 < argc) shots = argv[i + 1];
        if (std::strcmp(argv[i], "--every-level") == 0) every_level = true;
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    if (!open_headless_graphics("bench_play")) return 1;
    std::printf("renderer: %s\n", platform::renderer_name());
    if (chdir(SS_GAME_DIR) != 0) {
        std::fprintf(stderr, "bench_play: no game folder %s\n", SS_GAME_DIR);
        return 1;
    }
    ScreenWidth = 800;
    ScreenHeight = 600;
    LoadGameSlots();
    load_font("bigfont.bmp", 0);
    build_map_slot();

    double cells = 0;
    std::string level = pick_level(cells);
    if (!level.empty()) {
        read_level(level);
        std::printf("level: %s (%d pads, %.0f cells)\n", level.c_str(), PadCount(), cells);
    } else {
        built_in_level();
        cells = 0;
        int bolts = 0;
        for (int i = 0; i < PadCount(); ++i) {
            const Pad& p = Pads.at(i);
            cells += p.extx * p.exty;
            bolts += (int(p.bolts) & 1) + (int(p.bolts) >> 1 & 1);
        }
        std::printf("level: built in (%d pads, %.0f cells, %d bolts, remote in view)\n", PadCount(),
                    cells, bolts);
    }
    Workers.dim(1);
    Worker& w = Workers.at(0);
    w.x = 12.5; // on the floor of pad 5 when the level is the built-in one
    w.y = 6.5;
    w.heading = 45;
    Level = 7;
    Lives = 3;
    Score = 1234.5;
    TimeLeft = 125.7;
    TimerOption = 1;
    MapFade = 0;
    DoneFade = 0.2; // the remote on its way down, 1.6 above the lift
    ExitTimer = 0;

    const int frames = 40;
    const Result bare = measure(frames, [](double*) { present(); });
    std::printf("bare clear-and-present frame: %.2f ms, CPU (all threads) %.2f ms\n", bare.frame_ms,
                bare.work_cpu_ms);
    struct View {
        const char* name;
        double map_fade, exit_timer;
    };
    // The play view; then the map view (map sky and overlay) and the lift ride (ride sky, the
    // world sunk by 14 units), which draw extra layers.
    const View views[] = {{"play", 0, 0}, {"map view", 1, 0}, {"lift ride", 0, 0.4}};
    for (const View& v : views)
        for (int detail : {1, 0}) {
            DetailOption = detail;
            MapFade = v.map_fade;
            ExitTimer = v.exit_timer;
            const Result r = measure(frames, play_frame);
            std::printf("%-9s detail %d: frame %.2f ms (%.0f fps), ratio to bare %.1f; CPU (all "
                        "threads) %.2f ms, ratio %.1f; DrawLevel submission CPU %.2f ms\n",
                        v.name, detail, r.frame_ms, 1000 / r.frame_ms, r.frame_ms / bare.frame_ms,
                        r.work_cpu_ms, r.work_cpu_ms / bare.work_cpu_ms, r.submit_cpu_ms);
        }
    MapFade = ExitTimer = 0;
    // What the engine's view-volume test, the outline batching and the untextured drawing of
    // triangles beyond the fog each save: the same views with one of them on and off in turn,
    // several times over, so that the machine's drift between runs falls on both sides alike.
    struct Saving {
        const char* without;
        uint8_t* flag;
    };
    const Saving savings[] = {{"no view-volume test", &scene.frustum_culling},
                              {"no outline batching", &scene.outline_batching},
                              {"no untextured fog", &scene.fog_shortcut}};
    const int turns = 6, turn_frames = 15;
    for (const Saving& saving : savings)
        for (const View& v : views) {
            DetailOption = 1;
            MapFade = v.map_fade;
            ExitTimer = v.exit_timer;
            Result sum[2] = {{0, 0, 0}, {0, 0, 0}}; // [0] without, [1] with
            for (int turn = 0; turn < turns; ++turn)
                for (int on : {1, 0}) {
                    *saving.flag = uint8_t(on);
                    const Result r = measure(turn_frames, play_frame);
                    sum[on].frame_ms += r.frame_ms / turns;
                    sum[on].submit_cpu_ms += r.submit_cpu_ms / turns;
                }
            *saving.flag = 1;
            std::printf("%-9s detail 1, %s: frame %.2f ms (with it %.2f); DrawLevel submission "
                        "CPU %.2f ms (with it %.2f)\n",
                        v.name, saving.without, sum[0].frame_ms, sum[1].frame_ms,
                        sum[0].submit_cpu_ms, sum[1].submit_cpu_ms);
        }
    MapFade = ExitTimer = 0;

    if (every_level) {
        // Every shipped level from its start (the worker on the lift, the real level map), each
        // view and detail option: the slowest frame and the most submission CPU of each view.
        const int short_frames = 12;
        for (const View& v : views)
            for (int detail : {1, 0}) {
                Result worst{0, 0, 0};
                int worst_level = 0, levels = 0;
                double most_submit = 0;
                for (int n = 1; n <= 99; ++n) {
                    if (!std::filesystem::exists("level" + std::to_string(n) + ".ini")) continue;
                    LoadLevel(n);
                    ++levels;
                    DetailOption = detail;
                    MapFade = v.map_fade;
                    ExitTimer = v.exit_timer;
                    DoneFade = 0.2;
                    const Result r = measure(short_frames, play_frame);
                    if (r.frame_ms > worst.frame_ms) {
                        worst = r;
                        worst_level = n;
                    }
                    most_submit = std::max(most_submit, r.submit_cpu_ms);
                }
                std::printf("%d levels, %-9s detail %d: slowest frame %.2f ms (level %d, %.0f fps, "
                            "CPU %.2f ms); most DrawLevel submission CPU %.2f ms\n",
                            levels, v.name, detail, worst.frame_ms, worst_level,
                            1000 / std::max(worst.frame_ms, 1e-9), worst.work_cpu_ms, most_submit);
            }
        MapFade = ExitTimer = 0;
    }

    if (!shots.empty()) {
        DetailOption = 1;
        shot(shots, "play_detail1.bmp");
        DetailOption = 0;
        shot(shots, "play_detail0.bmp");
        DetailOption = 1;
        MapFade = 1;
        shot(shots, "play_map.bmp");
        MapFade = 0;
        ExitTimer = 0.4;
        shot(shots, "play_ride.bmp");
        ExitTimer = 0;
    }
    gfx_device_shutdown();
    platform::close_window();
    return 0;
}
