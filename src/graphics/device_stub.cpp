// Placeholder until the graphics device is written: the frame can start and present.
#include "graphics/device.h"
#include "graphics/font.h"

OpenGLZivevidu gfx;

void gfx_device_init(int w, int h) {
    gfx.screen_width = w;
    gfx.screen_height = h;
    gfx.initialised = true;
}
void gfx_device_shutdown() { gfx.initialised = false; }
void gfx_after_flip() {}
void clear_screen() { glClear(GL_COLOR_BUFFER_BIT); }
void set_viewport(double, double, double, double) {}

void load_font(const char*, double) {}
void set_font(double) {}
void font_size(double& w, double& h) { w = h = 8; }
void print_text(const char*, double, double) {}
void print_number(double, double, double) {}
