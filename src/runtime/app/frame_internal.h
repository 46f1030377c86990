#pragma once
// State shared by the parts of the application frame.
#include "platform/events.h"
#include "runtime/app/app.h"
#include "runtime/app/script.h"

#include <cstdint>
#include <string>
#include <vector>

enum class RunMode {
    Live,      // real clock, the player's input
    Scripted,  // virtual clock, input from the script, no waiting
    Recording, // virtual clock paced to real time, the player's input written as a script
};

struct FrameState {
    StartSettings settings;
    std::string title;
    std::string command_line;
    RunMode mode = RunMode::Live;
    bool started = false; // runtime_init has finished: the game's clock runs
    bool paused = false;
    bool esc_ends = true;
    bool end_guard = false;     // set_end_guard: the end keys and closing only request the end
    bool end_requested = false; // an end request is pending
    bool debug = false;

    // clocks (ms): the run's clock (clock_now) runs on through pauses; the game's clock
    // (game_now) leaves out the time the game was held by a paused window.
    double virtual_now = 0;     // the virtual clock (scripted and recorded runs)
    double real_origin = 0;     // the real clock at virtual 0 (recorded runs)
    double held_ms = 0;         // the time the game was held so far
    double hold_since = -1;     // the run's clock when the current hold began (-1: none)
    double start_ms = 0;        // the game's clock at timer_ms 0 (equal to the run's clock then)
    double last_present_ms = 0; // on the game's clock
    double previous_present_ms = 0; // on the game's clock
    double next_frame_ms = 0;
    double frame_interval_ms = 1000.0 / 60;
    double max_ms = -1;

    // scripted runs
    std::vector<ScriptCommand> script;
    size_t script_next = 0;
    std::vector<std::string> pending_screenshots;

    // recorded runs
    std::string record_path;
    std::vector<ScriptCommand> recorded;

    // the game's own hold (hold_game_clock): the game's clock stands still, frames go on; the
    // present times from before it come back after it
    bool game_hold = false;
    double hold_previous_present_ms = 0;
    double hold_last_present_ms = 0;
    // hold_screen: the screen keeps its picture; `still_shown` once it has been presented,
    // `drawn_over` while the runtime's own note is drawn over it this frame
    bool still_screen = false;
    bool still_shown = false;
    bool drawn_over = false;

    // --audio-out: the captured mix, in step with the run's clock
    std::string audio_out_path;
    std::vector<int16_t> audio_out;
    // --dump-at-exit
    std::string dump_at_exit_path;

    bool enter_swallowed[256] = {};
    std::string (*state_writer)() = nullptr;
};

extern FrameState frame;

bool virtual_clock();
// The run's clock (virtual or real), in ms from its origin; script times are on it.
double clock_now();
// The game's clock: the run's clock less the time the game was held by a paused window (it
// stands still during a hold).
double game_now();
// Advances the virtual clock (checks the --max-ms guard).
void advance_clock(double ms);
// Dispatches pending events: the script's due commands or the platform's queue.
void pump_events();
// Handles one event the way the window procedure does (close, focus, Alt+Enter, input).
void dispatch_event(const platform::Event& e);
// Every read of the input devices: a tiny step of the virtual clock, then the pending events.
void frame_input_refresh();
// Records a command at the current time (recorded runs, once the game runs).
void record(ScriptCommand c);
// Writes the recorded script (at the end of a recorded run).
void write_recording();
// --audio-out: mixes the sound up to the run's clock now.
void capture_audio();
// At the program's end: the captured sound and the state dump (--audio-out, --dump-at-exit).
void write_exit_files();
