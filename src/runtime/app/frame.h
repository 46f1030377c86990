#pragma once
// The runtime's frame operations: the one window, the clocks, presenting frames and the frame
// limit. Times are milliseconds as doubles.
#include "runtime/app/app.h"

#include <string>

// The whole start sequence: window and GL device, input and sound devices, current directory,
// random seed, "Loading...". Called once (runtime_main does).
int runtime_init(const StartSettings& settings);

// End of a frame: keyboard poll, the end keys (Esc while set_esc_ends is on, Alt+F4), flip,
// then the 2D drawing state is reset. While the window is inactive the game is held here; the
// hold is no game time (timer_ms and frame_time_ms leave it out).
void present_frame();
// Swap, clear, wait for the frame limit; returns the milliseconds waited + 1.
double flip();
// Frames per second for the frame limit; 0 or less gives a 2 ms frame interval, and the
// interval is never below 0.001 ms (at most a million frames per second).
void set_fps_limit(double fps);
// Milliseconds since the end of runtime_init, less the time the game was held by a pause.
double timer_ms();
// Milliseconds since the frame before the last one was shown: read during a frame, the
// length of the previous frame (a result of 0 or less reads as 1).
double frame_time_ms();
// The screen the game draws on (the start settings' size).
void screen_size(double& width, double& height);
// Whether holding Esc ends the program (on at start).
void set_esc_ends(double flag);
// 1 while holding Esc ends the program, else 0 (a modal screen that uses Esc itself turns it
// off and gives back what it found).
double esc_ends();
// The end guard (off at start). While it is on, the player's ways out of the program (Esc while
// set_esc_ends is on, Alt+F4, closing the window) do not end it: each one records an end
// request, and the program asks its own questions (unsaved work) and ends with runtime_end. A
// quit signal to a scripted run still ends it at once.
void set_end_guard(double flag);
// 1 while an end request recorded under the guard is pending, else 0.
double end_requested();
// Forgets a pending end request (the program decided to go on).
void clear_end_request();
// Waits briefly for input: returns as soon as a key, a mouse change, a joystick or a pending end
// request is seen, or after eight pauses of 30 ms.
void wait_for_input();
// The process's command line, kept for the game.
const char* runtime_command_line();
// The level of the --level option (start a game there at once), or -1 when not given.
double runtime_level_option();
// 1 in a --no-draw run (every game routine runs, the graphics device draws nothing), else 0.
double runtime_no_draw_option();

// The game's own hold (a pause screen, a question): while on, the game's clock (timer_ms,
// frame_time_ms) stands still as it does while the window is paused; frames are presented as
// usual. The hold is no game time.
void hold_game_clock(double flag);
// 1 while hold_game_clock is on.
double game_clock_held();
// The still screen (off at start). Turned on after a frame is drawn, it keeps that picture:
// the frames after it neither clear the screen nor draw background layer 0, and show the picture
// again only when the window has lost it (shown, exposed, resized), so input, sound,
// screenshots and the frame limit go on at next to no cost a frame. While the runtime's own
// note (volume, screenshot) shows, frames are ordinary ones (cleared, the layer drawn) and the
// picture is kept anew once the note is gone. Turning it off while the picture is kept starts
// the frame as a flip does (cleared, the layer drawn).
void hold_screen(double flag);
// 1 while the screen holds the kept picture (the game must draw nothing then: it would show only
// at the next repaint); 0 when the frame under way must be drawn, after a note, say. A picture
// kept as the background layer (use_screen_as_background) needs no drawing either way.
double screen_held();

// The state writer of scripted runs: the `dump` command writes what it returns (JSON).
void set_state_writer(std::string (*writer)());
