// A level file through play: the bytes up to the first NUL are the level file, the bytes after
// it the controls, one byte a frame (bits: right, left, down, up, action, map), used in turn.
// The level is loaded, its map built (drawing switched off, the map's geometry still made), and
// 600 frames of the rules run with those controls. No crash, no sanitizer report, and every
// frame's state inside its bounds.
#include "game/game.h"
#include "game/play.h"
#include "game/seam.h"
#include "game/state.h"
#include "game/state_check.h"
#include "graphics/device.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

std::string_view controls;
size_t frame = 0;


// The level files live in a folder of their own, the current directory while an input plays;
// the fuzzer's own paths are relative to the folder it was started in, so every input goes back.
std::string folder, start_folder;
void EnterFolder() {
    if (folder.empty()) {
        const char* base = std::getenv("TMPDIR");
        std::string templ = std::string(base && *base ? base : "/tmp") + "/ss_fuzz_level_XXXXXX";
        char here[4096];
        if (!mkdtemp(templ.data()) || !getcwd(here, sizeof here)) {
            std::perror("fuzz_level: no folder for the level");
            std::abort();
        }
        folder = templ;
        start_folder = here;
        gfx.no_draw = true;
        Seam = QuietSeam(false);
    }
    if (chdir(folder.c_str()) != 0) std::abort();
}
void LeaveFolder() {
    if (chdir(start_folder.c_str()) != 0) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnterFolder();
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const size_t nul = bytes.find('\0');
    std::string_view level = bytes.substr(0, nul);
    controls = nul == std::string_view::npos ? std::string_view() : bytes.substr(nul + 1);
    // A scratch file in the run's own folder, rewritten for every input: written plainly, as
    // syncing it to the disk each time would cost more than the 600 frames.
    {
        std::ofstream f("level1.ini", std::ios::binary | std::ios::trunc);
        f.write(level.data(), std::streamsize(level.size()));
        if (!f) std::abort();
    }

    const PlayBounds bounds = StartLevelOne(controls.empty() ? 1 : uint8_t(controls[0]) % 3);
    for (frame = 0; frame < 600 && Playing != 0; ++frame) {
        HeldControls = controls.empty() ? 0 : uint8_t(controls[frame % controls.size()]);
        FrameClock += kQuietFrameMs;
        PlayStep(kQuietFrameMs);
        if (Playing == 0) break; // the game is over: the state is the next screen's
        std::string fault = PlayStateFault(bounds);
        if (!fault.empty()) {
            std::fprintf(stderr, "fuzz_level: frame %zu: %s\n", frame, fault.c_str());
            std::abort();
        }
    }
    LeaveFolder();
    return 0;
}
