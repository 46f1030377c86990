#pragma once
// The window and its OpenGL context. The game draws into a framebuffer of the game's size
// (800 x 600): the screen the game sees. While the window's drawable is exactly that size (and
// its buffers have the same format, and nothing is multisampled), that is the window's own back
// buffer; otherwise an offscreen framebuffer, which present() shows scaled to the window with
// its aspect kept (bars where needed). Either way present() swaps.
namespace platform {

struct WindowConfig {
    int width = 800;
    int height = 600;
    bool fullscreen = false; // desktop fullscreen at any monitor size
    const char* title = "";
    bool hidden = false; // no visible window (tests, tools)
};

// Initialises SDL video, creates the window and a compatibility-profile context (RGBA, double
// buffered where offered, depth 24 where offered and else >= 16, stencil 8), loads the GL
// extensions and creates the game framebuffer. Returns false (with SDL's reason in *why) when no
// window or context can be had.
bool open_window(const WindowConfig& cfg, const char** why = nullptr);
void close_window();
bool window_is_open();

// True when the context renders in software (Mesa llvmpipe, softpipe, swrast).
bool software_renderer();
const char* renderer_name();

// Makes the game framebuffer the draw and read target (present() leaves it bound).
void bind_game_framebuffer();
// Makes the game screen as drawn so far the read target (glReadPixels, glCopyTexSubImage2D);
// drawing goes on into the game framebuffer. With multisampling this resolves the samples.
void bind_game_read_framebuffer();
// Multisampled drawing of the game screen with `samples` samples per pixel (0: off). Returns
// the count now in use: fewer (or 0) when the driver offers less, with the reason in *why.
int set_game_samples(int samples, const char** why = nullptr);
int game_samples();
// Shows the game screen scaled into the window and swaps the buffers; the game framebuffer is
// bound again afterwards. With `keep` the picture stays in the game framebuffer afterwards, for
// present_again and for reading; otherwise the next frame starts undefined (the game clears
// it).
void present(bool keep = false);
// Shows the kept picture (present(true)) again only when the window has lost what it showed
// since the last present (shown, exposed, resized, restored); otherwise does nothing.
void present_again();
// Notes that the window's contents are lost (the window events above call it).
void window_needs_repaint();
// True while the frame under way is drawn straight into the window's own buffers.
bool draws_into_window();

void set_caption(const char* text);
bool fullscreen();
// The window's client area (window coordinates); false without a window.
bool window_size(int& width, int& height);
// Resizes the window's client area (window coordinates).
void set_window_size(int width, int height);
// Switches between desktop fullscreen and the windowed client area; false when the switch fails.
bool set_fullscreen(bool on);
const char* caption();

int game_width();
int game_height();
// Maps a window position (in window coordinates, as SDL reports them) into game space.
void window_to_game(double wx, double wy, double& gx, double& gy);
// The inverse: a game-space position in window coordinates.
void game_to_window(double gx, double gy, double& wx, double& wy);
// Window pixels per game pixel (in window coordinates; 1 without a window).
double window_scale();
// SDL's id of the window (0 without one), for events that name their window.
unsigned window_id();
// Moves the system cursor to a game-space position.
void warp_pointer(double gx, double gy);
// The rectangle of the window's drawable that shows the game (after letterboxing).
void game_viewport(int& x, int& y, int& w, int& h);

} // namespace platform
