#include "input/input.h"
#include "input/input_state.h"
#include "platform/window.h"
#include "runtime/errors.h"
#include "runtime/numbers.h"

#include <algorithm>

void input_new_frame() {
    input.new_frame = true;
    for (unsigned char& k : input.keys) {
        unsigned char latch = k & kPressed;
        age_press(latch);
        k = (k & 0x80) | latch;
    }
    for (unsigned char& b : input.button_pressed)
        age_press(b);
    for (auto& joy : input.joy_pressed)
        for (unsigned char& b : joy)
            age_press(b);
}

void input_handle_event(const platform::Event& e) {
    using platform::EventKind;
    switch (e.kind) {
    case EventKind::KeyDown:
    case EventKind::KeyUp:
        // A release keeps the press latch: a tap between two reads is still seen once.
        if (e.code >= 0 && e.code < 256)
            input.keys[e.code] = e.kind == EventKind::KeyDown ? (0x80 | kPressedNow)
                                                              : (input.keys[e.code] & kPressed);
        break;
    case EventKind::MouseMove:
        input.moved_x += e.x - input.pointer_x;
        input.moved_y += e.y - input.pointer_y;
        input.pointer_x = e.x;
        input.pointer_y = e.y;
        break;
    case EventKind::ButtonDown:
    case EventKind::ButtonUp:
        if (e.code >= 1 && e.code <= 3) {
            const bool down = e.kind == EventKind::ButtonDown;
            input.buttons[e.code - 1] = down;
            if (down) input.button_pressed[e.code - 1] = kPressedNow;
        }
        break;
    case EventKind::Wheel:
        input.wheel_sum += e.code;
        break;
    default:
        break;
    }
}

void input_read_mouse_frame() {
    input_refresh();
    if (!input.new_frame) return;
    input.new_frame = false;
    if (input.system_cursor) {
        // The shown cursor: the motion is where it is now against the kept position.
        input.dx = input.pointer_x - input.kept_x;
        input.dy = input.pointer_y - input.kept_y;
        input.kept_x = input.pointer_x;
        input.kept_y = input.pointer_y;
    } else {
        // The hidden pointer: relative motion moves the kept position (unclamped here).
        input.dx = input.moved_x;
        input.dy = input.moved_y;
        input.kept_x += input.dx;
        input.kept_y += input.dy;
    }
    input.wheel = input.wheel_sum > 0 ? 1 : input.wheel_sum < 0 ? -1 : 0;
    input.moved_x = input.moved_y = 0;
    input.wheel_sum = 0;
}

double mouse_state(double i) {
    input_read_mouse_frame();
    switch (to_int32(i)) {
    case 0:
        return input.dx;
    case 1:
        return input.dy;
    case 2:
        return input.wheel;
    case 3:
        return truth(take_press(input.button_pressed[0], input.buttons[0]));
    case 4:
        return truth(take_press(input.button_pressed[1], input.buttons[1]));
    case 5:
        return truth(take_press(input.button_pressed[2], input.buttons[2]));
    default:
        return 0;
    }
}

void read_mouse(double& x, double& y, double& b1, double& b2) {
    input_read_mouse_frame();
    input.kept_x = std::clamp(input.kept_x, 0, std::max(0, input.screen_w - 1));
    input.kept_y = std::clamp(input.kept_y, 0, std::max(0, input.screen_h - 1));
    x = input.kept_x;
    y = input.kept_y;
    b1 = truth(take_press(input.button_pressed[0], input.buttons[0]));
    b2 = truth(take_press(input.button_pressed[1], input.buttons[1]));
}

void show_system_pointer(double flag) {
    bool shown = flag != 0;
    if (shown == input.system_cursor) return;
    input.system_cursor = shown;
    if (shown) {
        // The cursor appears where the game's pointer was.
        input.pointer_x = input.kept_x;
        input.pointer_y = input.kept_y;
        input.moved_x = input.moved_y = 0;
    }
    if (input.source == InputSource::Live && input.started)
        platform::set_pointer_shown(shown, input.kept_x, input.kept_y);
}

double input_start(InputSource source, bool use_mouse, int screen_w, int screen_h, int start_x,
                   int start_y, bool use_layout) {
    input_reset();
    input.source = source;
    input.use_layout = use_layout;
    input.screen_w = screen_w;
    input.screen_h = screen_h;
    input.kept_x = input.pointer_x = start_x;
    input.kept_y = input.pointer_y = start_y;
    input.started = true;
    double result = 1;
    if (source == InputSource::Live) {
        if (!platform::joysticks_start()) {
            error_log("No DX_Input");
            result = 0x8000000A;
        }
        if (use_mouse && platform::window_is_open() &&
            !platform::set_pointer_shown(false, start_x, start_y)) {
            error_log("No DX_Mouse");
            result = 0x8000000C;
        }
        input_sync_joysticks();
    }
    return result;
}

void input_shutdown() {
    if (!input.started) return;
    if (!input.system_cursor) show_system_pointer(1);
    if (input.source == InputSource::Live) platform::joysticks_stop();
    input.started = false;
}

void input_reset() {
    void (*refresh)() = input.refresh;
    input = InputDevice{};
    input.refresh = refresh;
}
