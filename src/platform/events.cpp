#include "platform/events.h"

#include "platform/keymap.h"
#include "platform/window.h"

#include <SDL.h>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <initializer_list>

namespace platform::detail {
void joystick_device_added(int device_index);
void joystick_device_removed(int instance_id);
void joystick_button_pressed(int instance_id, int button, bool controller);
} // namespace platform::detail

namespace {

struct PointerState {
    double x = 400; // game space, with its fraction (relative motion is scaled)
    double y = 300;
    int sent_x = 400; // the last position delivered
    int sent_y = 300;
    bool shown = true;
};

PointerState pointer;

// Moves the tracked pointer; true (and the event filled) when its whole-pixel position changed.
bool pointer_moved(double gx, double gy, platform::Event& e) {
    pointer.x = gx;
    pointer.y = gy;
    int ix = int(std::floor(gx)), iy = int(std::floor(gy));
    if (ix == pointer.sent_x && iy == pointer.sent_y) return false;
    pointer.sent_x = ix;
    pointer.sent_y = iy;
    e.kind = platform::EventKind::MouseMove;
    e.x = ix;
    e.y = iy;
    return true;
}

int button_number(Uint8 sdl_button) {
    switch (sdl_button) {
    case SDL_BUTTON_LEFT:
        return 1;
    case SDL_BUTTON_RIGHT:
        return 2;
    case SDL_BUTTON_MIDDLE:
        return 3;
    default:
        return 0;
    }
}

// Translates one SDL event; false when the runtime has no use for it.
bool translate(const SDL_Event& s, platform::Event& e) {
    using platform::EventKind;
    e = platform::Event{};
    switch (s.type) {
    case SDL_QUIT:
        e.kind = EventKind::Close;
        return true;
    case SDL_WINDOWEVENT:
        switch (s.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            e.kind = EventKind::Close;
            return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            e.kind = EventKind::FocusLost;
            return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            e.kind = EventKind::FocusGained;
            return true;
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
            platform::window_needs_repaint();
            return false;
        default:
            return false;
        }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (s.key.repeat) return false;
        e.code = platform::scan_code_from_sdl(s.key.keysym.scancode);
        if (e.code == 0) return false;
        e.kind = s.type == SDL_KEYDOWN ? EventKind::KeyDown : EventKind::KeyUp;
        return true;
    case SDL_MOUSEMOTION:
        if (s.motion.which == SDL_TOUCH_MOUSEID) return false;
        if (SDL_GetRelativeMouseMode()) {
            double scale = platform::window_scale();
            return pointer_moved(pointer.x + s.motion.xrel / scale,
                                 pointer.y + s.motion.yrel / scale, e);
        } else {
            double gx, gy;
            platform::window_to_game(s.motion.x, s.motion.y, gx, gy);
            return pointer_moved(gx, gy, e);
        }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (s.button.which == SDL_TOUCH_MOUSEID) return false;
        e.code = button_number(s.button.button);
        if (e.code == 0) return false;
        e.kind = s.type == SDL_MOUSEBUTTONDOWN ? EventKind::ButtonDown : EventKind::ButtonUp;
        return true;
    case SDL_MOUSEWHEEL: {
        int y = s.wheel.y;
        if (s.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) y = -y;
        if (y == 0) return false;
        e.kind = EventKind::Wheel;
        e.code = y > 0 ? 1 : -1;
        return true;
    }
    case SDL_JOYDEVICEADDED:
        platform::detail::joystick_device_added(s.jdevice.which);
        return false;
    case SDL_JOYDEVICEREMOVED:
        platform::detail::joystick_device_removed(s.jdevice.which);
        return false;
    case SDL_JOYBUTTONDOWN:
        platform::detail::joystick_button_pressed(s.jbutton.which, s.jbutton.button, false);
        return false;
    case SDL_CONTROLLERBUTTONDOWN:
        platform::detail::joystick_button_pressed(s.cbutton.which, s.cbutton.button, true);
        return false;
    default:
        return false;
    }
}

} // namespace

namespace platform {

bool next_event(Event& e) {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return false;
    SDL_PumpEvents();
    SDL_Event s;
    while (SDL_PeepEvents(&s, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
        if (translate(s, e)) return true;
    }
    return false;
}

bool discard_events() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return false;
    SDL_PumpEvents();
    SDL_Event s;
    bool quit = false;
    while (SDL_PeepEvents(&s, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
        // Plugging still has to reach the joystick slots.
        if (s.type == SDL_JOYDEVICEADDED) detail::joystick_device_added(s.jdevice.which);
        if (s.type == SDL_JOYDEVICEREMOVED) detail::joystick_device_removed(s.jdevice.which);
        if (s.type == SDL_QUIT) quit = true;
    }
    return quit;
}

bool set_pointer_shown(bool shown, int gx, int gy) {
    pointer.shown = shown;
    if (!window_is_open()) return false;
    if (shown) {
        SDL_SetRelativeMouseMode(SDL_FALSE);
        SDL_ShowCursor(SDL_ENABLE);
        warp_pointer(gx + 0.5, gy + 0.5);
        pointer.x = gx;
        pointer.y = gy;
        pointer.sent_x = gx;
        pointer.sent_y = gy;
    } else if (SDL_SetRelativeMouseMode(SDL_TRUE) != 0) {
        SDL_ShowCursor(SDL_DISABLE); // no relative mode here: hide the cursor at least
        return false;
    }
    return true;
}

void pointer_position(int& gx, int& gy) {
    if (window_is_open() && !SDL_GetRelativeMouseMode()) {
        int wx = 0, wy = 0;
        SDL_GetMouseState(&wx, &wy);
        double x, y;
        window_to_game(wx, wy, x, y);
        gx = int(std::floor(x));
        gy = int(std::floor(y));
        return;
    }
    gx = pointer.sent_x;
    gy = pointer.sent_y;
}

void set_pointer_position(int gx, int gy) {
    pointer.x = gx;
    pointer.y = gy;
    pointer.sent_x = gx;
    pointer.sent_y = gy;
}

double clock_ms() {
    static const double freq = double(SDL_GetPerformanceFrequency());
    return double(SDL_GetPerformanceCounter()) * 1000.0 / freq;
}

void sleep_ms(double ms) {
    if (!(ms > 0)) return;
    if (ms > 60000) ms = 60000;
    timespec ts;
    ts.tv_sec = time_t(ms / 1000);
    ts.tv_nsec = long((ms - double(ts.tv_sec) * 1000) * 1e6);
    while (nanosleep(&ts, &ts) != 0) {
    }
}

bool display_available() {
    for (const char* name : {"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

void use_offscreen_video_without_display() {
    if (!display_available()) SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
}

bool headless_video() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return true;
    return std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

void show_warning(const char* title, const char* text) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, title, text, nullptr);
}

void push_key(int scan_code, bool down) {
    int sdl = sdl_from_scan_code(scan_code);
    if (!sdl) return;
    SDL_Event s{};
    s.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    s.key.windowID = window_id();
    s.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    s.key.keysym.scancode = SDL_Scancode(sdl);
    s.key.keysym.sym = SDL_GetKeyFromScancode(SDL_Scancode(sdl));
    SDL_PushEvent(&s);
}

void push_mouse_motion(int window_x, int window_y) {
    SDL_Event s{};
    s.type = SDL_MOUSEMOTION;
    s.motion.windowID = window_id();
    s.motion.x = window_x;
    s.motion.y = window_y;
    SDL_PushEvent(&s);
}

void push_mouse_button(int button, bool down) {
    static const Uint8 sdl_buttons[] = {0, SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE};
    if (button < 1 || button > 3) return;
    SDL_Event s{};
    s.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    s.button.windowID = window_id();
    s.button.button = sdl_buttons[button];
    s.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    s.button.clicks = 1;
    SDL_PushEvent(&s);
}

void push_window_event(EventKind kind) {
    SDL_Event s{};
    s.type = SDL_WINDOWEVENT;
    s.window.windowID = window_id();
    switch (kind) {
    case EventKind::Close:
        s.window.event = SDL_WINDOWEVENT_CLOSE;
        break;
    case EventKind::FocusLost:
        s.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
        break;
    case EventKind::FocusGained:
        s.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
        break;
    default:
        return;
    }
    SDL_PushEvent(&s);
}

} // namespace platform
