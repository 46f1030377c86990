#include "graphics/headless.h"

#include "graphics/device.h"
#include "platform/events.h"
#include "platform/window.h"

#include <cstdio>

bool open_headless_graphics(const char* program) {
    platform::use_offscreen_video_without_display();
    platform::WindowConfig cfg;
    cfg.title = program;
    cfg.hidden = true;
    const char* why = nullptr;
    if (!platform::open_window(cfg, &why)) {
        std::fprintf(stderr, "%s: no OpenGL context: %s\n", program, why ? why : "?");
        return false;
    }
    platform::bind_game_framebuffer();
    gfx_device_init(platform::game_width(), platform::game_height());
    return true;
}
