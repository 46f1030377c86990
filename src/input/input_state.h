#pragma once
// The one input device (shared by the keyboard, mouse and joystick parts of ss_input).
#include "input/input_device.h"

struct InputDevice {
    InputSource source = InputSource::Live;
    bool started = false;
    bool use_layout = true;
    void (*refresh)() = nullptr;

    // keyboard: bit 7 = down; bit 0 = pressed since the last read of the key, in this frame;
    // bit 1 = the same from the frame before (a press nobody read is forgotten after that)
    unsigned char keys[256] = {};
    int last_char = 0;

    // mouse
    int screen_w = 800;
    int screen_h = 600;
    int kept_x = 100, kept_y = 100;       // the position the game sees
    int pointer_x = 100, pointer_y = 100; // the pointer as the events move it
    int moved_x = 0, moved_y = 0;         // motion since the last frame's read
    int wheel_sum = 0;
    bool buttons[3] = {false, false, false};
    unsigned char button_pressed[3] = {0, 0, 0}; // bits 0 and 1 as for keys
    bool system_cursor = false;
    bool new_frame = true;
    int dx = 0, dy = 0, wheel = 0; // this frame's motion

    // joysticks
    int joystick_count = 0;
    platform::JoyState joy[platform::kMaxJoysticks];
    // Buttons pressed since their last read, bits 0 and 1 as for keys (per joystick, per button)
    unsigned char joy_pressed[platform::kMaxJoysticks][32] = {};
    void (*joy_observer)(int, JoyPart, int, int64_t) = nullptr;
};

extern InputDevice input;

// Press latches (keys, mouse and joystick buttons): a press is seen by the next read even when
// the key was released before it, and forgotten by the frame after the one it happened in.
constexpr unsigned char kPressedNow = 0x01, kPressedBefore = 0x02;
constexpr unsigned char kPressed = kPressedNow | kPressedBefore;
// Whether a latch or the state shows the press; the latch is used up.
inline bool take_press(unsigned char& latch, bool down) {
    const bool seen = down || (latch & kPressed) != 0;
    latch = 0;
    return seen;
}
// The frame mark: this frame's presses become the previous frame's, older ones are forgotten.
inline void age_press(unsigned char& latch) {
    latch = (latch & kPressedNow) ? kPressedBefore : 0;
}

// Brings the joystick table up to date with the devices (live source only).
void input_sync_joysticks();
// The frame's mouse read: computes the motion once per frame.
void input_read_mouse_frame();
