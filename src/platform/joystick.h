#pragma once
// Joysticks and game pads (up to 10), read in the terms of the runtime: six axes in
// -32768..32767, the first hat in hundredths of a degree clockwise from north (kHatCentre when
// centred), 32 buttons (128 when down). A recognised game pad reads as such a pad does through
// the old joystick interface: button 0 A (south), 1 B (east), 2 X (west), 3 Y (north), 4 and 5
// the shoulders, 6 back, 7 start, 8 and 9 the stick buttons, 10 guide; x/y the left stick, z the
// triggers (left positive), rx/ry the right stick; the d-pad is the first hat.
#include <cstdint>

namespace platform {

constexpr int kMaxJoysticks = 10;
constexpr uint32_t kHatCentre = 0xFFFFFFFFu;

struct JoyState {
    int32_t axis[6] = {0, 0, 0, 0, 0, 0}; // x, y, z, rx, ry, rz
    uint32_t hat = kHatCentre;
    uint8_t button[32] = {};
};

// Starts the joystick and game-pad subsystems and opens every device present. Devices plugged
// in later take the first free slot when their event arrives (next_event).
bool joysticks_start();
void joysticks_stop();
// Number of the highest occupied slot + 1.
int joystick_slots_used();
// Polls every open device (call before a round of joystick_read).
void joysticks_update();
// Reads slot j as of the last update; false (and a centred state) when the slot is empty.
bool joystick_read(int j, JoyState& out);
const char* joystick_name(int j);

// Virtual devices (tests and demos). Returns an id >= 0, or -1 with SDL's reason on stderr.
int attach_virtual_joystick(bool game_pad);
void detach_virtual_joystick(int id);
// Raw values in the platform's numbering: a game pad's axes and buttons in the platform's
// pad order (left x, left y, right x, right y, left trigger, right trigger; a, b, x, y, back,
// guide, start, left stick, right stick, left shoulder, right shoulder, d-pad up, down, left,
// right), a plain joystick's axes 0..5, buttons 0..31 and hat bits 1 up, 2 right, 4 down, 8 left.
void set_virtual_axis(int id, int axis, int value);
void set_virtual_button(int id, int button, bool down);
void set_virtual_hat(int id, int bits);

} // namespace platform
