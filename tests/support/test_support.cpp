#include "support/test_support.h"

#include "platform/gl.h"
#include "platform/window.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

void set_headless_environment() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    setenv("ASAN_OPTIONS", "detect_leaks=0", 0);
    // Live and recorded runs of the tests keep their user folder (and look for the pictures
    // folder) in a folder of their own, never in the real user's.
    const std::string home = make_temp_dir();
    setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
}

bool open_test_window() {
    static int state = 0; // 0 untried, 1 open, 2 failed
    if (state == 0) {
        platform::WindowConfig cfg;
        cfg.title = "test";
        cfg.hidden = true;
        const char* why = nullptr;
        state = platform::open_window(cfg, &why) ? 1 : 2;
        if (state == 2) std::fprintf(stderr, "no GL context: %s\n", why ? why : "?");
    }
    if (state == 1) platform::bind_game_framebuffer();
    return state == 1;
}

Rgba read_pixel(int x, int y) {
    uint8_t px[4] = {0, 0, 0, 0};
    platform::bind_game_read_framebuffer();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, platform::game_height() - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
    return {px[0], px[1], px[2], px[3]};
}

std::vector<uint8_t> read_screen() {
    int w = platform::game_width(), h = platform::game_height();
    std::vector<uint8_t> bottom_up(size_t(w) * h * 4), rows(bottom_up.size());
    platform::bind_game_read_framebuffer();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, bottom_up.data());
    for (int y = 0; y < h; ++y)
        std::copy_n(&bottom_up[size_t(h - 1 - y) * w * 4], size_t(w) * 4, &rows[size_t(y) * w * 4]);
    return rows;
}

namespace {
// Folders with the process that made them: a forked child (death tests) leaves its parent's alone.
std::vector<std::pair<std::string, pid_t>>& temp_dirs() {
    static std::vector<std::pair<std::string, pid_t>> dirs;
    return dirs;
}
void remove_temp_dirs() {
    std::error_code ec;
    for (const auto& [dir, owner] : temp_dirs())
        if (owner == getpid()) std::filesystem::remove_all(dir, ec);
}
} // namespace

std::string make_temp_dir() {
    const char* base = std::getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/ss_test_XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) return {};
    if (temp_dirs().empty()) std::atexit(remove_temp_dirs);
    temp_dirs().emplace_back(buf.data(), getpid());
    return buf.data();
}

bool write_bytes(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(f);
}

std::string read_text(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

int run_command(const std::string& command, std::string* output) {
    std::string cmd = command + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return -1;
    std::array<char, 4096> buf;
    std::string out;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
    int status = pclose(p);
    if (output) *output = out;
    if (status == -1) return -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + WTERMSIG(status);
}

std::string game_executable() { return std::string(SS_GAME_DIR) + "/steel_spree"; }
std::string data_tool() { return std::string(SS_BIN_DIR) + "/steel_data"; }
