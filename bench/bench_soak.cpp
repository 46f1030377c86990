// Soak: long play with random controls over every level of the game folder, on the game's own
// code (LoadGameSlots, LoadLevel with its map, the rules, DrawLevel), first logic-only, then
// drawn on the software renderer.
//
//   bench_soak [--logic-seconds S] [--drawn-seconds D] [--seed X]
//
// S seconds of game time logic-only (default 3600) run as four rounds over the levels 1..24, so
// a round's end can be compared with the first round's end (after warm-up): resident memory,
// the sprite and object slots in use, the level arrays against the level files, the lines of
// the error log. Then D seconds drawn (default 600) as two rounds, compared the same way. Prints every figure; status 1 when
// anything grew or a frame's state left its bounds.
#include "game/game.h"
#include "game/play.h"
#include "game/seam.h"
#include "game/state.h"
#include "game/state_check.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/headless.h"
#include "graphics/scene.h"
#include "graphics/scene_engine.h"
#include "platform/gl.h"
#include "platform/window.h"
#include "runtime/errors.h"
#include "runtime/ini.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace {

std::mt19937_64 rng;

long rss_kb() {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

int sprites_in_use() {
    int n = 0;
    for (const SpriteSlot& s : gfx.slots)
        n += s.width > 0 || s.texture != 0;
    return n;
}
int objects_in_use() {
    int n = 0;
    for (const ObjectSlot& o : scene.objects)
        n += o.loaded != 0 || !o.meshes.empty();
    return n;
}
long log_lines() {
    std::ifstream f(error_log_path(), std::ios::binary);
    long n = 0;
    std::string line;
    while (std::getline(f, line))
        ++n;
    return n;
}

// The padcount a level file gives (at least one pad, as LoadLevel makes it).
int file_pads(int level) {
    ini_open(LevelFileName(level));
    const double count = number_from_str(ini_get("global", "padcount"));
    return std::max(1, std::isfinite(count) ? int(std::min(count, 1024.0)) : 0);
}

struct Snapshot {
    long rss = 0;
    int sprites = 0, objects = 0;
    long log = 0;
};
Snapshot snapshot() { return {rss_kb(), sprites_in_use(), objects_in_use(), log_lines()}; }

void present() {
    platform::present();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    gfx_after_flip();
}

long faults = 0;

// Plays `frames` frames of level `level` with random controls (drawn or not); a game that ends
// (lives gone, last level ridden) starts again at the same level.
void play_level(int level, long frames, bool drawn) {
    auto start = [&] {
        Score = 0;
        Lives = 3;
        Level = level;
        GameComplete = 0;
        TestPlay = 0;
        LoadLevel(Level);
        Playing = 1;
        CurrentScreen = "play";
    };
    start();
    if (PadCount() != file_pads(level)) {
        std::printf("FAULT level %d: %d pads in play, the file has %d\n", level, PadCount(),
                    file_pads(level));
        ++faults;
    }
    PlayBounds bounds = PlayBoundsOfLevel();
    double shown_level = Level;
    long next_change = 0;
    for (long f = 0; f < frames; ++f) {
        if (f >= next_change) {
            HeldControls = uint8_t(rng() & 63);
            next_change = f + 1 + long(rng() % 40);
        }
        FrameClock += kQuietFrameMs;
        PlayStep(kQuietFrameMs);
        if (Playing == 0) {
            start();
            bounds = PlayBoundsOfLevel();
            shown_level = Level;
            continue;
        }
        if (Level != shown_level) { // the ride loaded the next level
            bounds = PlayBoundsOfLevel();
            shown_level = Level;
        }
        const std::string fault = PlayStateFault(bounds);
        if (!fault.empty() && faults++ < 20)
            std::printf("FAULT level %.0f frame %ld: %s\n", Level, f, fault.c_str());
        if (drawn) {
            DrawLevel(0);
            end_3d();
            print_text("Crsr  to Move", 0, 0);
            print_text("LCtrl to Screw", 0, 20);
            present();
        }
    }
}

bool compare(const char* what, const Snapshot& a, const Snapshot& b) {
    std::printf("%s: RSS %ld kB -> %ld kB (%+ld kB), sprite slots %d -> %d, object slots %d -> "
                "%d, log lines %ld -> %ld\n",
                what, a.rss, b.rss, b.rss - a.rss, a.sprites, b.sprites, a.objects, b.objects,
                a.log, b.log);
    // Flat: the slots and the log exactly, memory within 2 MB of allocator noise.
    return b.sprites == a.sprites && b.objects == a.objects && b.log == a.log &&
           b.rss - a.rss < 2048;
}

} // namespace

int main(int argc, char** argv) {
    double logic_seconds = 3600, drawn_seconds = 600;
    uint64_t seed = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        const double v = std::strtod(argv[i + 1], nullptr);
        if (std::strcmp(argv[i], "--logic-seconds") == 0) logic_seconds = v;
        else if (std::strcmp(argv[i], "--drawn-seconds") == 0) drawn_seconds = v;
        else if (std::strcmp(argv[i], "--seed") == 0) seed = uint64_t(v);
        else {
            std::fprintf(stderr, "bench_soak: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    rng.seed(seed);
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    char tmp[] = "/tmp/ss_soak_XXXXXX";
    if (!mkdtemp(tmp)) return 2;
    setenv("TMPDIR", tmp, 1); // a log of its own
    if (!open_headless_graphics("bench_soak")) return 1;
    if (chdir(SS_GAME_DIR) != 0) {
        std::fprintf(stderr, "bench_soak: no game folder %s\n", SS_GAME_DIR);
        return 1;
    }
    ScreenWidth = 800;
    ScreenHeight = 600;
    LoadGameSlots();
    Seam = QuietSeam(true);
    int levels = 0;
    while (levels < 1024 && LevelExists(levels + 1))
        ++levels;
    if (levels == 0) {
        std::fprintf(stderr, "bench_soak: no levels in %s\n", SS_GAME_DIR);
        return 1;
    }
    const auto t0 = std::chrono::steady_clock::now();
    auto wall = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    };

    // Logic-only: four rounds over every level.
    gfx.no_draw = true;
    const int rounds = 4;
    const long frames = long(logic_seconds * 60 / (rounds * levels));
    Snapshot first{}, last{};
    for (int r = 0; r < rounds; ++r) {
        for (int n = 1; n <= levels; ++n)
            play_level(n, frames, false);
        (r == 0 ? first : last) = snapshot();
        std::printf("round %d: %d levels x %.1f s of game time, RSS %ld kB (%.0f s wall)\n", r + 1,
                    levels, double(frames) / 60, rss_kb(), wall());
        std::fflush(stdout);
    }
    bool flat = compare("logic-only, after round 1 -> after round 4", first, last);

    // Drawn: two rounds over every level; the first warms up (each level's map, the renderer's
    // caches), the second must end where the first ended.
    gfx.no_draw = false;
    const int drawn_rounds = 2;
    const long drawn_frames = long(drawn_seconds * 60 / (drawn_rounds * levels));
    Snapshot drawn_first{}, drawn_last{};
    const double drawn_start = wall();
    for (int r = 0; r < drawn_rounds; ++r) {
        for (int n = 1; n <= levels; ++n)
            play_level(n, drawn_frames, true);
        (r == 0 ? drawn_first : drawn_last) = snapshot();
        std::printf("drawn round %d: %d levels x %.2f s of game time, RSS %ld kB (%.0f s wall)\n",
                    r + 1, levels, double(drawn_frames) / 60, rss_kb(), wall() - drawn_start);
        std::fflush(stdout);
    }
    flat = compare("drawn, after round 1 -> after round 2", drawn_first, drawn_last) && flat;
    std::printf("frames out of bounds: %ld\n", faults);
    std::printf("%s\n", flat && faults == 0 ? "soak: flat" : "soak: GREW OR FAULTED");
    return flat && faults == 0 ? 0 : 1;
}
