// 2D graphics benchmark, reported as ratios:
//  1. loading a 1024 x 1024 24-bit BMP into a sprite slot (read, convert, colour key, edge
//     bleeding, both textures with the mip chain) vs. reading the file's bytes alone;
//  2. a frame of 2,000 sprites and 200 lines of text vs. a bare clear-and-present frame.
// Runs headless on whatever OpenGL the environment gives (Mesa's software renderer in CI).
#include "graphics/bmp.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/headless.h"
#include "graphics/screenshot.h"
#include "platform/window.h"
#include "runtime/files.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

template <typename F> double seconds_per_run(int runs, F&& f) {
    f(); // warm-up
    auto start = Clock::now();
    for (int i = 0; i < runs; ++i)
        f();
    return std::chrono::duration<double>(Clock::now() - start).count() / runs;
}

std::string test_image(int size) {
    std::vector<uint8_t> rgba(size_t(size) * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            uint8_t* p = &rgba[(size_t(y) * size + x) * 4];
            bool key = ((x / 16) + (y / 16)) % 7 == 0; // scattered transparent blocks
            p[0] = key ? 255 : uint8_t(x);
            p[1] = key ? 0 : uint8_t(y);
            p[2] = key ? 128 : uint8_t(x ^ y);
            p[3] = 255;
        }
    return encode_bmp24(rgba.data(), size, size);
}

} // namespace

int main() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    if (!open_headless_graphics("bench_graphics2d")) return 1;
    std::printf("renderer: %s\n", platform::renderer_name());

    // 1. Loading.
    const char* tmp = std::getenv("TMPDIR");
    const std::string file = std::string(tmp && *tmp ? tmp : "/tmp") + "/bench_graphics2d_" +
                             std::to_string(getpid()) + ".bmp";
    if (!write_file_atomic(file, test_image(1024))) return 1;
    const int load_runs = 10;
    double read_s = seconds_per_run(load_runs, [&] { (void)read_file(file); });
    double load_s = seconds_per_run(load_runs, [&] {
        load_sprite(file.c_str(), 1);
        glFinish();
    });
    auto bytes = read_file(file);
    double convert_s = seconds_per_run(load_runs, [&] {
        BmpConvertOptions o;
        o.keyed = true;
        o.key = kSpriteColourKey;
        o.bleed = true;
        TexelImage img;
        decode_bmp(bytes->data(), bytes->size(), o, img, nullptr);
        build_mip_chain(img.texels.data(), img.texture_width, img.texture_height);
    });
    remove_file(file);
    std::printf("load 1024x1024 24-bit BMP with mips: %.2f ms, read bytes alone: %.3f ms, "
                "ratio %.1f\n",
                load_s * 1e3, read_s * 1e3, load_s / read_s);
    std::printf("  of which conversion and mip chain without OpenGL: %.2f ms (ratio %.1f)\n",
                convert_s * 1e3, convert_s / read_s);

    // 2. Frames.
    const int frame_runs = 30;
    std::vector<uint8_t> small(32 * 32 * 4, 200);
    const std::string sprite_file = file + ".sprite.bmp";
    write_file_atomic(sprite_file, encode_bmp24(small.data(), 32, 32));
    load_sprite(sprite_file.c_str(), 2);
    remove_file(sprite_file);
    load_font("", 0);
    auto present = [] {
        glFinish();
        platform::present();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        gfx_after_flip();
    };
    double bare_s = seconds_per_run(frame_runs, present);
    const char* line = "The quick brown fox jumps over the lazy dog 0123456789";
    double full_s = seconds_per_run(frame_runs, [&] {
        for (int i = 0; i < 2000; ++i)
            draw_sprite(2, (i * 37) % 768, (i * 53) % 568);
        for (int i = 0; i < 200; ++i)
            print_text(line, (i * 13) % 300, (i * 3) % 592);
        present();
    });
    std::printf("frame of 2000 sprites + 200 text lines: %.2f ms, bare clear-and-present frame: "
                "%.2f ms, ratio %.1f\n",
                full_s * 1e3, bare_s * 1e3, full_s / bare_s);
    gfx_device_shutdown();
    platform::close_window();
    return 0;
}
