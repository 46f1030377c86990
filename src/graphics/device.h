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
    bool opaque = false;    // a loaded image whose every texel has alpha 255
};

// One tile of a background layer: a texture showing the image area (x, y, width, height),
// measured in screen pixels from the top-left of the image.
struct BackgroundTile {
    GLuint texture = 0;
    int x = 0, y = 0, width = 0, height = 0;
    int texture_width = 0, texture_height = 0;
};

struct BackgroundLayer {
    std::vector<BackgroundTile> tiles; // empty: no layer
};

struct OpenGLZivevidu {
    std::vector<SpriteSlot> slots; // kSpriteSlots entries once the device is initialised
    float alpha_value = 1.0f;
    int max_texture_size = 0;      // the implementation's; tests may lower it
    int screen_width = 800;
    int screen_height = 600;
    bool initialised = false;
    BackgroundLayer background;    // layer 0
    // The viewport rectangle of the last set_viewport, in screen pixels (top-left origin).
    int viewport_x = 0, viewport_y = 0, viewport_width = 800, viewport_height = 600;
    // Nothing is drawn (--no-draw): the drawing operations return at once, after the state the
    // game can see (slot sizes, viewport, camera); loads fill their slots as always.
    bool no_draw = false;
    // What the drawing functions set and later need back, kept here so that nothing per draw
    // reads GL state (a driver running GL on its own thread would stop the game's thread for
    // each read): whether blending is on, and the model-view matrix as last loaded
    // (set_viewport, begin_3d, set_camera), which a draw multiplies its placement onto; the fog.
    bool blending = false;
    // Linear fog is on (its end below; fog of another kind, or none: false).
    bool linear_fog = false;
    float fog_end = 0;
    float modelview[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    void load_identity_modelview() {
        for (int i = 0; i < 16; ++i)
            modelview[i] = i % 5 == 0 ? 1.0f : 0.0f;
    }
    // A buffer object refilled for drawing from memory the game keeps (0: none).
    GLuint stream_buffer = 0;
};

extern OpenGLZivevidu gfx;

// Blending on or off (through here only, so that `blending` stays true to GL).
void set_blending(bool on);

// Called by runtime_init once the window and its context exist.
void gfx_device_init(int screen_width, int screen_height);
// Releases every texture (runtime_end).
void gfx_device_shutdown();
// The 2D reset after every swap: blending off, colour opaque white (alpha value 1),
// background layer 0 drawn (unless `draw_layer` is false: the screen still holds it),
// set_viewport(0, 0, 0, 0).
void gfx_after_flip(bool draw_layer = true);

// Clears the colour buffer and drops background layer 0.
void clear_screen();
// The drawing rectangle ((0, 0, 0, 0) or any size <= 0: the whole screen) and the whole 2D
// state: orthographic pixels, y negated, texturing on, depth test off, back faces culled,
// alpha test > 0.15, colour (1, 1, 1, 1), flat shading.
void set_viewport(double x, double y, double width, double height);

// A slot number from a game number; -1 when outside 0..65535.
int sprite_slot_index(double slot);
// The slot's record, or null for a slot number outside the table or before the device exists.
SpriteSlot* sprite_slot(int slot);
// Deletes a slot's textures and forgets its sizes.
void clear_sprite_slot(int slot);

// Blending for everything drawn after it: 0 opaque, a < 0 translucent with alpha -a, a > 0
// additive with intensity a; the current colour becomes the alpha value (at most 1).
void set_alpha_mode(double a);

// --- Sprites (colour values: red + green * 256 + blue * 65536; 8388863 is transparent) ---
constexpr uint32_t kTransparentColour = 8388863;

// Loads a BMP into the slot with colour key 8388863 (edge-bled) and a mipmapped copy. A missing
// file leaves the slot as it was; a file that does not load leaves it empty.
void load_sprite(const char* file, double slot);
// As load_sprite, with the image turned into a normal map (blue channel as the height field).
void load_bump_sprite(const char* file, double slot);
void draw_sprite(double slot, double x, double y);
void stretch_sprite(double slot, double x, double y, double width, double height);
void zoom_sprite(double slot, double x, double y, double scale_x, double scale_y);
void rotozoom_sprite(double slot, double x, double y, double angle, double scale);
// Copies a screen rectangle into the slot (texture at least 32 x 32, no mip texture).
void grab_sprite(double slot, double x, double y, double width, double height);
void sprite_size(double slot, double& width, double& height);
// 1 when an opaque pixel of one sprite covers an opaque pixel of the other, else 0.
double sprites_collide(double slot_a, double xa, double ya, double slot_b, double xb, double yb);

// --- Primitives ---
void draw_rect(double x1, double y1, double x2, double y2, double colour);
void draw_line(double x1, double y1, double x2, double y2, double colour);
void draw_point(double x, double y, double colour);
// A polygon as one triangle fan with per-corner colours, textured with the slot (-1: none).
void start_poly(double slot);
void poly_vertex(double x, double y, double tx, double ty, double colour);
void end_poly();

// --- Background layer 0 ---
// Loads the file as background layer 0 (tiled by the maximum texture size) and draws it. A
// missing file does nothing; a file that exists but cannot be read ends the program (error 3).
void show_background(const char* file);
void use_screen_as_background();
// Draws layer 0 at the top-left of the screen (nothing when there is none).
void draw_background();

// Writes the slot's image area (its own width x height, read from the texture) as a 24-bit
// BMP; false when the slot is empty or the file cannot be written.
bool save_sprite(double slot, const char* file);
