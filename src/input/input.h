#pragma once
// The input device as the game, the editor and the toolkit see it: keys by DirectInput scan
// code (0..255), the mouse in screen pixels with a per-frame motion, up to 10 joysticks.
// Every key and joystick read looks at the devices afresh; the mouse motion is computed once per
// frame (present_frame starts a new frame).
#include "runtime/rt_string.h"

// 1 while the key with scan code `code` (low 8 bits of the whole number) is down, else 0.
double key_state(double code);
// 0: dx, 1: dy, 2: wheel (1 up, -1 down), 3/4/5: button 1/2/3 (left/right/middle) as 1 or 0.
double mouse_state(double i);
// The kept mouse position clamped into the screen (and stored back), buttons 1 and 2.
void read_mouse(double& x, double& y, double& b1, double& b2);
// 0: hidden pointer, the game follows relative motion; non-zero: the system cursor is shown.
void show_system_pointer(double flag);
// The character typed since the last call ("" when none): a held key gives it once.
RtString inkey();

// Joystick j's axes divided by 32767 and clamped to -1..1 (30 % dead zone on x and y).
double joy_x(double j);
double joy_y(double j);
double joy_z(double j);
double joy_rx(double j);
double joy_ry(double j);
double joy_rz(double j);
// The first hat: x -1 left, 1 right; y -1 up, 1 down; 0 otherwise.
double joy_hat_x(double j);
double joy_hat_y(double j);
// Button b (0..31) of joystick j: 128 while down, else 0.
double joy_button(double j, double b);
double joystick_count();
