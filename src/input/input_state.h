#pragma once
// The one input device (shared by the keyboard, mouse and joystick parts of ss_input).
#include "input/input_device.h"

struct InputDevice {
    InputSource source = InputSource::Live;
    bool started = false;
    bool use_layout = true;
    void (*refresh)() = nullptr;

    // keyboard: bit 7 = down
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
    bool system_cursor = false;
    bool new_frame = true;
    int dx = 0, dy = 0, wheel = 0; // this frame's motion

    // joysticks
    int joystick_count = 0;
    platform::JoyState joy[platform::kMaxJoysticks];
    void (*joy_observer)(int, JoyPart, int, int64_t) = nullptr;
};

extern InputDevice input;

// Brings the joystick table up to date with the devices (live source only).
void input_sync_joysticks();
// The frame's mouse read: computes the motion once per frame.
void input_read_mouse_frame();
