#pragma once
// Window and input events in the runtime's own terms: keys by scan code (see keymap.h), mouse
// positions in game space (the 800 x 600 screen the game sees), whole pixels.
namespace platform {

enum class EventKind {
    KeyDown, // code: scan code
    KeyUp,
    MouseMove,  // x, y: the pointer's new position in game space
    ButtonDown, // code: 1 left, 2 right, 3 middle
    ButtonUp,
    Wheel, // code: 1 up, -1 down
    Close, // the window's close request (or the process is asked to quit)
    FocusLost,
    FocusGained,
};

struct Event {
    EventKind kind = EventKind::KeyDown;
    int code = 0;
    int x = 0;
    int y = 0;
};

// Takes the next pending event, pumping the platform's queue when it is empty. False when there
// is none. Events the runtime has no use for are dropped; joystick plugging is handled here.
bool next_event(Event& e);
// Drops every pending event (a scripted run takes its input from the script only). True when
// one of them asked the program to quit (SIGINT, SIGTERM, the session ending): that is no input,
// and a scripted run must still be stoppable.
bool discard_events();

// The pointer: hidden (relative motion, the game keeps its own position) or shown (the system
// cursor, followed in absolute positions). Switching to shown puts the cursor at (gx, gy).
// False when the hidden pointer cannot follow relative motion (the cursor is then only hidden).
bool set_pointer_shown(bool shown, int gx, int gy);
// The pointer's position in game space as the platform sees it now.
void pointer_position(int& gx, int& gy);
// Starts the pointer tracking at a given game-space position (scripted and recorded runs).
void set_pointer_position(int gx, int gy);

// Milliseconds from a fixed origin, sub-millisecond resolution.
double clock_ms();
// Sleeps about `ms` milliseconds (nothing for ms <= 0).
void sleep_ms(double ms);

// True when the environment names a display (DISPLAY, WAYLAND_DISPLAY) or asks for a video
// driver itself (SDL_VIDEODRIVER): a live run can show its window.
bool display_available();
// Chooses the offscreen video driver when there is no display and no driver was asked for.
void use_offscreen_video_without_display();
// True when the video driver shows nothing on a screen (offscreen, dummy).
bool headless_video();

// A warning dialog with one OK button; returns when it is dismissed.
void show_warning(const char* title, const char* text);

// Puts events into the platform's queue as if the user made them (tests and demos).
void push_key(int scan_code, bool down);
void push_mouse_motion(int window_x, int window_y);
void push_mouse_button(int button, bool down);
void push_window_event(EventKind kind); // Close, FocusLost or FocusGained

} // namespace platform
