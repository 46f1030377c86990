#pragma once
// State shared by the parts of the application frame.
#include "platform/events.h"
#include "runtime/app/app.h"
#include "runtime/app/script.h"

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
    bool debug = false;

    // clocks (ms)
    double virtual_now = 0; // the virtual clock (scripted and recorded runs)
    double real_origin = 0; // the real clock at virtual 0 (recorded runs)
    double start_ms = 0;
    double last_present_ms = 0;
    double previous_present_ms = 0;
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

    bool enter_swallowed[256] = {};
    std::string (*state_writer)() = nullptr;
};

extern FrameState frame;

bool virtual_clock();
// The frame's clock (virtual or real), in ms from its origin.
double clock_now();
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
