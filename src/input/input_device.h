#pragma once
// The input device as the application frame drives it: start and shutdown, the frame mark, the
// events that change its state, and the joystick table. Everything the game reads comes from
// this state, whether the events are the player's or a script's.
#include "platform/events.h"
#include "platform/joystick.h"

#include <cstdint>

enum class InputSource {
    Live,     // the player's devices
    Scripted, // a script: nothing is read from the devices, joysticks come from the table
};

// Starts the device: the pointer at (start_x, start_y) in game space, hidden (relative motion)
// when `use_mouse`; joysticks opened for a live source. `use_layout`: characters follow the
// desktop's key layout (off in deterministic runs). Returns 1, or the code of the last device
// that failed (0x8000000A no joystick subsystem, 0x8000000C no relative mouse), each also
// logged ("No DX_Input", "No DX_Mouse"); the runtime goes on with what there is.
double input_start(InputSource source, bool use_mouse, int screen_w, int screen_h, int start_x,
                   int start_y, bool use_layout);
void input_shutdown();
// Back to the state before input_start (tests).
void input_reset();

// Called before every read of the devices (the frame pumps its events and advances its clock).
void input_set_refresh(void (*refresh)());
void input_refresh();

// Marks the start of a new frame: the next mouse read computes the frame's motion.
void input_new_frame();
// Applies one key, mouse or wheel event (other kinds are ignored).
void input_handle_event(const platform::Event& e);

// The key table without a refresh.
bool input_key_down(int code);
// Refreshes once and tells whether any key with a code 0..254 is down.
bool input_any_key_down();
// True when any joystick has a button down, x, y or z off centre, or its hat pushed.
bool input_any_joystick_active();

// The joystick table (raw axis values -32768..32767, the hat in hundredths of a degree).
enum class JoyPart { Axis, Button, Hat };
void input_set_joystick_count(int count);
const platform::JoyState& input_joystick_state(int j);
void input_set_joystick(int j, JoyPart part, int index, int64_t value);
// Observes every change the devices make to the table (the recorder).
void input_set_joystick_observer(void (*observer)(int j, JoyPart part, int index, int64_t value));
