#include "platform/window.h"

#include "platform/events.h"
#include "platform/gl.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

GlExtensions gl_ext;

namespace {

struct WindowState {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    int width = 800;
    int height = 600;
    bool fullscreen = false;
    GLuint fbo = 0;
    GLuint colour_rb = 0;
    GLuint depth_rb = 0;
    // The multisampled framebuffer the game draws into when multisampling is on; it is
    // resolved into `fbo` before the screen is read or shown.
    GLuint ms_fbo = 0;
    GLuint ms_colour_rb = 0;
    GLuint ms_depth_rb = 0;
    int samples = 0;
    std::string renderer;
    bool needs_repaint = false;
    // The window's own buffers have the game framebuffer's format (8-bit RGBA, 24-bit depth,
    // 8-bit stencil), so a frame can be drawn straight into them when the window is the game's
    // size: the same picture, without the copy into the window.
    bool window_matches = false;
    bool direct = false;  // the frame under way is drawn straight into the window
    bool keeping = false; // the last frame was kept in `fbo` to be shown again (present(true))
};

WindowState ws;

template <typename T> void load(T& fn, const char* name) {
    fn = reinterpret_cast<T>(SDL_GL_GetProcAddress(name));
}

bool has_extension(const char* name) {
    const char* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!all) return false;
    size_t len = std::strlen(name);
    for (const char* p = all; (p = std::strstr(p, name)) != nullptr; p += len) {
        bool starts = p == all || p[-1] == ' ';
        bool ends = p[len] == ' ' || p[len] == '\0';
        if (starts && ends) return true;
    }
    return false;
}

bool create_game_framebuffer() {
    if (!gl_ext.framebuffers) return false;
    gl_ext.GenFramebuffers(1, &ws.fbo);
    gl_ext.GenRenderbuffers(1, &ws.colour_rb);
    gl_ext.GenRenderbuffers(1, &ws.depth_rb);
    gl_ext.BindRenderbuffer(GL_RENDERBUFFER, ws.colour_rb);
    gl_ext.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, ws.width, ws.height);
    gl_ext.BindRenderbuffer(GL_RENDERBUFFER, ws.depth_rb);
    gl_ext.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, ws.width, ws.height);
    gl_ext.BindRenderbuffer(GL_RENDERBUFFER, 0);
    gl_ext.BindFramebuffer(GL_FRAMEBUFFER, ws.fbo);
    gl_ext.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                   ws.colour_rb);
    gl_ext.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                   ws.depth_rb);
    if (gl_ext.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        gl_ext.BindFramebuffer(GL_FRAMEBUFFER, 0);
        gl_ext.DeleteFramebuffers(1, &ws.fbo);
        gl_ext.DeleteRenderbuffers(1, &ws.colour_rb);
        gl_ext.DeleteRenderbuffers(1, &ws.depth_rb);
        ws.fbo = ws.colour_rb = ws.depth_rb = 0;
        return false;
    }
    glViewport(0, 0, ws.width, ws.height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return true;
}

void delete_multisampled_framebuffer() {
    if (!ws.ms_fbo) return;
    gl_ext.BindFramebuffer(GL_FRAMEBUFFER, ws.fbo);
    gl_ext.DeleteFramebuffers(1, &ws.ms_fbo);
    gl_ext.DeleteRenderbuffers(1, &ws.ms_colour_rb);
    gl_ext.DeleteRenderbuffers(1, &ws.ms_depth_rb);
    ws.ms_fbo = ws.ms_colour_rb = ws.ms_depth_rb = 0;
    ws.samples = 0;
}

// Whether the window's own buffers can take the game's frames as the game framebuffer would.
bool window_buffers_match() {
    gl_ext.BindFramebuffer(GL_FRAMEBUFFER, 0);
    GLint bits[6] = {};
    const GLenum names[6] = {GL_RED_BITS,   GL_GREEN_BITS, GL_BLUE_BITS,
                             GL_ALPHA_BITS, GL_DEPTH_BITS, GL_STENCIL_BITS};
    for (int i = 0; i < 6; ++i)
        glGetIntegerv(names[i], &bits[i]);
    GLint doubled = 0;
    glGetIntegerv(GL_DOUBLEBUFFER, &doubled);
    gl_ext.BindFramebuffer(GL_FRAMEBUFFER, ws.fbo);
    // A visible single-buffered window would show each frame as it is drawn; offscreen video
    // shows nothing.
    return bits[0] == 8 && bits[1] == 8 && bits[2] == 8 && bits[3] == 8 && bits[4] == 24 &&
           bits[5] == 8 && (doubled || platform::headless_video());
}

// The next frame goes straight into the window when nothing stands between the two: the window's
// drawable is exactly the game's size, no multisampling, no frame kept to be shown again.
bool direct_fits() {
    if (!ws.window_matches || ws.ms_fbo || ws.keeping) return false;
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(ws.window, &dw, &dh);
    return dw == ws.width && dh == ws.height;
}

// Copies the multisampled picture into the plain framebuffer, which then is the read target
// (drawing still goes to the multisampled one).
void resolve_multisampled() {
    GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    gl_ext.BindFramebuffer(GL_READ_FRAMEBUFFER, ws.ms_fbo);
    gl_ext.BindFramebuffer(GL_DRAW_FRAMEBUFFER, ws.fbo);
    gl_ext.BlitFramebuffer(0, 0, ws.width, ws.height, 0, 0, ws.width, ws.height,
                           GL_COLOR_BUFFER_BIT, GL_NEAREST);
    gl_ext.BindFramebuffer(GL_DRAW_FRAMEBUFFER, ws.ms_fbo);
    gl_ext.BindFramebuffer(GL_READ_FRAMEBUFFER, ws.fbo);
    if (scissor) glEnable(GL_SCISSOR_TEST);
}

} // namespace

void load_gl_extensions() {
    gl_ext = GlExtensions{};
    if (has_extension("GL_ARB_multitexture")) {
        load(gl_ext.ActiveTexture, "glActiveTextureARB");
        load(gl_ext.MultiTexCoord2f, "glMultiTexCoord2fARB");
        load(gl_ext.ClientActiveTexture, "glClientActiveTextureARB");
        gl_ext.multitexture =
            gl_ext.ActiveTexture && gl_ext.MultiTexCoord2f && gl_ext.ClientActiveTexture;
        if (has_extension("GL_ARB_vertex_buffer_object")) {
            load(gl_ext.GenBuffers, "glGenBuffersARB");
            load(gl_ext.BindBuffer, "glBindBufferARB");
            load(gl_ext.BufferData, "glBufferDataARB");
            load(gl_ext.BufferSubData, "glBufferSubDataARB");
            load(gl_ext.DeleteBuffers, "glDeleteBuffersARB");
            load(gl_ext.MapBuffer, "glMapBufferARB");
            load(gl_ext.UnmapBuffer, "glUnmapBufferARB");
            gl_ext.buffers = gl_ext.GenBuffers && gl_ext.BindBuffer && gl_ext.BufferData &&
                             gl_ext.BufferSubData && gl_ext.DeleteBuffers;
        }
    }
    if (has_extension("GL_ARB_framebuffer_object")) {
        load(gl_ext.GenFramebuffers, "glGenFramebuffers");
        load(gl_ext.DeleteFramebuffers, "glDeleteFramebuffers");
        load(gl_ext.BindFramebuffer, "glBindFramebuffer");
        load(gl_ext.FramebufferTexture2D, "glFramebufferTexture2D");
        load(gl_ext.FramebufferRenderbuffer, "glFramebufferRenderbuffer");
        load(gl_ext.GenRenderbuffers, "glGenRenderbuffers");
        load(gl_ext.DeleteRenderbuffers, "glDeleteRenderbuffers");
        load(gl_ext.BindRenderbuffer, "glBindRenderbuffer");
        load(gl_ext.RenderbufferStorage, "glRenderbufferStorage");
        load(gl_ext.CheckFramebufferStatus, "glCheckFramebufferStatus");
        load(gl_ext.BlitFramebuffer, "glBlitFramebuffer");
        load(gl_ext.RenderbufferStorageMultisample, "glRenderbufferStorageMultisample");
        gl_ext.framebuffers = gl_ext.GenFramebuffers && gl_ext.DeleteFramebuffers &&
                              gl_ext.BindFramebuffer && gl_ext.FramebufferRenderbuffer &&
                              gl_ext.GenRenderbuffers && gl_ext.DeleteRenderbuffers &&
                              gl_ext.BindRenderbuffer && gl_ext.RenderbufferStorage &&
                              gl_ext.CheckFramebufferStatus && gl_ext.BlitFramebuffer;
    }
}

namespace platform {

bool open_window(const WindowConfig& cfg, const char** why) {
    if (ws.window) return true;
    static std::string last_error; // SDL's own message may change once video is shut down
    // After a failed window or context: video is shut down again and the reason kept.
    auto fail = [why](const char* reason) {
        last_error = reason ? reason : "";
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        if (why) *why = last_error.c_str();
        return false;
    };
#ifndef _WIN32
    // Mesa's drivers can run GL on a thread of their own, so that the game's thread only queues
    // its calls. The engine reads no GL state back while it draws (each read would make it wait
    // for that thread). Set before the driver is loaded; the environment can still say no.
    // The driver announces on the console every option it finds in the environment; when the
    // option is the game's own choice, not the player's, that notice is kept quiet.
    if (!getenv("mesa_glthread")) {
        setenv("mesa_glthread", "true", 1);
        setenv("MESA_DEBUG", "silent", 0);
    }
#endif
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        last_error = SDL_GetError();
        if (why) *why = last_error.c_str();
        return false;
    }
    ws.width = cfg.width > 0 ? cfg.width : 800;
    ws.height = cfg.height > 0 ? cfg.height : 600;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (cfg.hidden) flags |= SDL_WINDOW_HIDDEN;
    if (cfg.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    ws.window = SDL_CreateWindow(cfg.title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                 ws.width, ws.height, flags);
    if (!ws.window) {
        // Some drivers refuse an alpha channel or a deep depth buffer: retry with less.
        SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        ws.window = SDL_CreateWindow(cfg.title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                     ws.width, ws.height, flags);
    }
    if (!ws.window) return fail(SDL_GetError());
    ws.context = SDL_GL_CreateContext(ws.window);
    if (!ws.context) {
        const char* reason = SDL_GetError();
        SDL_DestroyWindow(ws.window);
        ws.window = nullptr;
        return fail(reason);
    }
    SDL_GL_MakeCurrent(ws.window, ws.context);
    SDL_GL_SetSwapInterval(0); // the frame limiter paces frames
    ws.fullscreen = cfg.fullscreen;
    const char* r = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    ws.renderer = r ? r : "";
    load_gl_extensions();
    if (create_game_framebuffer()) ws.window_matches = window_buffers_match();
    return true;
}

void close_window() {
    if (!ws.window) return;
    delete_multisampled_framebuffer();
    if (ws.fbo) {
        gl_ext.BindFramebuffer(GL_FRAMEBUFFER, 0);
        gl_ext.DeleteFramebuffers(1, &ws.fbo);
        gl_ext.DeleteRenderbuffers(1, &ws.colour_rb);
        gl_ext.DeleteRenderbuffers(1, &ws.depth_rb);
        ws.fbo = ws.colour_rb = ws.depth_rb = 0;
    }
    ws.window_matches = ws.direct = ws.keeping = false;
    SDL_GL_DeleteContext(ws.context);
    SDL_DestroyWindow(ws.window);
    ws.context = nullptr;
    ws.window = nullptr;
    gl_ext = GlExtensions{};
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool window_is_open() {
    return ws.window != nullptr;
}

bool software_renderer() {
    const std::string& r = ws.renderer;
    return r.find("llvmpipe") != std::string::npos || r.find("softpipe") != std::string::npos ||
           r.find("Software Rasterizer") != std::string::npos ||
           r.find("swrast") != std::string::npos;
}

const char* renderer_name() {
    return ws.renderer.c_str();
}

void bind_game_framebuffer() {
    if (ws.ms_fbo)
        gl_ext.BindFramebuffer(GL_FRAMEBUFFER, ws.ms_fbo);
    else if (ws.direct)
        gl_ext.BindFramebuffer(GL_FRAMEBUFFER, 0);
    else if (ws.fbo)
        gl_ext.BindFramebuffer(GL_FRAMEBUFFER, ws.fbo);
}

void bind_game_read_framebuffer() {
    if (ws.ms_fbo)
        resolve_multisampled();
    else
        bind_game_framebuffer();
}

int set_game_samples(int samples, const char** why) {
    static std::string reason;
    auto refuse = [&](std::string text) {
        reason = std::move(text);
        if (why) *why = reason.c_str();
        return 0;
    };
    if (why) *why = nullptr;
    if (samples == ws.samples) return ws.samples;
    delete_multisampled_framebuffer();
    bind_game_framebuffer();
    if (samples <= 0) return 0;
    if (!ws.fbo || !gl_ext.RenderbufferStorageMultisample)
        return refuse("the OpenGL driver offers no multisampled framebuffers");
    GLint max_samples = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &max_samples);
    if (max_samples < 2) return refuse("the OpenGL driver offers no multisampling");
    const int use = std::min(samples, int(max_samples));
    gl_ext.GenFramebuffers(1, &ws.ms_fbo);
    gl_ext.GenRenderbuffers(1, &ws.ms_colour_rb);
    gl_ext.GenRenderbuffers(1, &ws.ms_depth_rb);
    gl_ext.BindRenderbuffer(GL_RENDERBUFFER, ws.ms_colour_rb);
    gl_ext.RenderbufferStorageMultisample(GL_RENDERBUFFER, use, GL_RGBA8, ws.width, ws.height);
    gl_ext.BindRenderbuffer(GL_RENDERBUFFER, ws.ms_depth_rb);
    gl_ext.RenderbufferStorageMultisample(GL_RENDERBUFFER, use, GL_DEPTH24_STENCIL8, ws.width,
                                          ws.height);
    gl_ext.BindRenderbuffer(GL_RENDERBUFFER, 0);
    gl_ext.BindFramebuffer(GL_FRAMEBUFFER, ws.ms_fbo);
    gl_ext.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                   ws.ms_colour_rb);
    gl_ext.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                   ws.ms_depth_rb);
    const bool complete = gl_ext.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    while (glGetError() != GL_NO_ERROR) {
    }
    if (!complete) {
        delete_multisampled_framebuffer();
        return refuse("the OpenGL driver cannot draw " + std::to_string(use) + "x multisampled");
    }
    ws.samples = use;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    if (use < samples)
        refuse("the OpenGL driver offers at most " + std::to_string(use) + "x multisampling");
    return use;
}

int game_samples() {
    return ws.samples;
}

void game_viewport(int& x, int& y, int& w, int& h) {
    int dw = ws.width, dh = ws.height;
    if (ws.window) SDL_GL_GetDrawableSize(ws.window, &dw, &dh);
    double scale = std::min(double(dw) / ws.width, double(dh) / ws.height);
    w = std::max(1, int(ws.width * scale + 0.5));
    h = std::max(1, int(ws.height * scale + 0.5));
    x = (dw - w) / 2;
    y = (dh - h) / 2;
}

void present(bool keep) {
    if (!ws.window) return;
    ws.needs_repaint = false;
    glFlush();
    if (ws.direct) {
        if (keep) {
            // Kept for present_again: the window's buffers are undefined after the swap.
            GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
            glDisable(GL_SCISSOR_TEST);
            gl_ext.BindFramebuffer(GL_READ_FRAMEBUFFER, 0);
            gl_ext.BindFramebuffer(GL_DRAW_FRAMEBUFFER, ws.fbo);
            gl_ext.BlitFramebuffer(0, 0, ws.width, ws.height, 0, 0, ws.width, ws.height,
                                   GL_COLOR_BUFFER_BIT, GL_NEAREST);
            if (scissor) glEnable(GL_SCISSOR_TEST);
        }
        SDL_GL_SwapWindow(ws.window);
    } else if (ws.fbo) {
        int dw = ws.width, dh = ws.height;
        SDL_GL_GetDrawableSize(ws.window, &dw, &dh);
        int x, y, w, h;
        game_viewport(x, y, w, h);
        GLint viewport[4];
        GLfloat clear[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
        if (ws.ms_fbo) resolve_multisampled();
        GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
        glDisable(GL_SCISSOR_TEST);
        gl_ext.BindFramebuffer(GL_READ_FRAMEBUFFER, ws.fbo);
        gl_ext.BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glViewport(0, 0, dw, dh);
        if (x > 0 || y > 0 || w != dw || h != dh) {
            glClearColor(0, 0, 0, 1);
            glClear(GL_COLOR_BUFFER_BIT);
        }
        bool exact = w % ws.width == 0 && h % ws.height == 0;
        gl_ext.BlitFramebuffer(0, 0, ws.width, ws.height, x, y, x + w, y + h, GL_COLOR_BUFFER_BIT,
                               exact ? GL_NEAREST : GL_LINEAR);
        SDL_GL_SwapWindow(ws.window);
        glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
        glClearColor(clear[0], clear[1], clear[2], clear[3]);
        if (scissor) glEnable(GL_SCISSOR_TEST);
    } else {
        SDL_GL_SwapWindow(ws.window);
    }
    ws.keeping = keep && ws.fbo;
    ws.direct = direct_fits();
    if (ws.fbo) bind_game_framebuffer();
}

void present_again() {
    if (ws.needs_repaint) present(true);
}

void window_needs_repaint() {
    ws.needs_repaint = true;
}

bool draws_into_window() {
    return ws.direct && !ws.ms_fbo;
}

void set_caption(const char* text) {
    if (ws.window) SDL_SetWindowTitle(ws.window, text);
}

const char* caption() {
    return ws.window ? SDL_GetWindowTitle(ws.window) : "";
}

bool fullscreen() {
    return ws.fullscreen;
}

bool window_size(int& width, int& height) {
    if (!ws.window) return false;
    SDL_GetWindowSize(ws.window, &width, &height);
    return width > 0 && height > 0;
}

void set_window_size(int width, int height) {
    if (ws.window && width > 0 && height > 0) SDL_SetWindowSize(ws.window, width, height);
}

bool set_fullscreen(bool on) {
    if (!ws.window) return false;
    if (on == ws.fullscreen) return true;
    if (SDL_SetWindowFullscreen(ws.window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
        return false;
    ws.fullscreen = on;
    if (!on) SDL_SetWindowSize(ws.window, ws.width, ws.height);
    return true;
}

int game_width() {
    return ws.width;
}
int game_height() {
    return ws.height;
}

namespace {
// Scale and offset of the game screen inside the window, in window coordinates.
void window_mapping(double& scale, double& ox, double& oy) {
    int ww = ws.width, wh = ws.height;
    if (ws.window) SDL_GetWindowSize(ws.window, &ww, &wh);
    scale = std::min(double(ww) / ws.width, double(wh) / ws.height);
    if (scale <= 0) scale = 1;
    ox = (ww - ws.width * scale) / 2;
    oy = (wh - ws.height * scale) / 2;
}
} // namespace

void window_to_game(double wx, double wy, double& gx, double& gy) {
    double scale, ox, oy;
    window_mapping(scale, ox, oy);
    gx = (wx - ox) / scale;
    gy = (wy - oy) / scale;
}

void game_to_window(double gx, double gy, double& wx, double& wy) {
    double scale, ox, oy;
    window_mapping(scale, ox, oy);
    wx = gx * scale + ox;
    wy = gy * scale + oy;
}

double window_scale() {
    double scale, ox, oy;
    window_mapping(scale, ox, oy);
    return scale;
}

unsigned window_id() {
    return ws.window ? SDL_GetWindowID(ws.window) : 0;
}

void warp_pointer(double gx, double gy) {
    if (!ws.window) return;
    double wx, wy;
    game_to_window(gx, gy, wx, wy);
    SDL_WarpMouseInWindow(ws.window, int(std::lround(wx)), int(std::lround(wy)));
}

} // namespace platform
