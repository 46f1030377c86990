#pragma once
// The graphics device: numbered sprite slots holding OpenGL textures, and the 2D drawing state.
// Slots 0..65535; slots 65520..65535 hold fonts 0..15. The same slots are the textures of the
// 3D scene.
#include "platform/gl.h"

#include <cstdint>
#include <vector>

constexpr int kSpriteSlots = 65536;
constexpr int kFontSlotBase = 65520;

struct SpriteSlot {
    GLuint texture = 0;     // the image, RGBA8
    GLuint mip_texture = 0; // mipmapped copy for 3D drawing (sprite slots only)
    int texture_width = 0;  // power-of-two texture size
    int texture_height = 0;
    int width = 0;          // the image's own size
    int height = 0;
};

struct OpenGLZivevidu {
    std::vector<SpriteSlot> slots; // kSpriteSlots entries once the device is initialised
    float alpha_value = 1.0f;
    int max_texture_size = 0;
    int screen_width = 800;
    int screen_height = 600;
    bool initialised = false;
};

extern OpenGLZivevidu gfx;

// Called by runtime_init once the window and its context exist.
void gfx_device_init(int screen_width, int screen_height);
// Releases every texture (runtime_end).
void gfx_device_shutdown();
// The 2D reset after every swap: blending off, colour opaque white (alpha value 1),
// background layer 0 drawn, set_viewport(0, 0, 0, 0).
void gfx_after_flip();

void clear_screen();
void set_viewport(double x, double y, double width, double height);
