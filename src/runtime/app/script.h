#pragma once
// Input scripts: one timed command per line, the input of a deterministic run and the output of
// a recorded one. Times are milliseconds on the run's clock (timer_ms).
//
//   <ms> key <scan code> down|up          <ms> joy <j> axis <x|y|z|rx|ry|rz> <-1..1>
//   <ms> mouse <x> <y>                    <ms> joy <j> button <b> down|up
//   <ms> button <1|2|3> down|up           <ms> joy <j> hat centre|up|down|left|right
//   <ms> wheel up|down                    <ms> screenshot <file>
//   <ms> focus lost|gained                <ms> dump <file>
//   <ms> close                            <ms> clock <ms>
//
// `clock` is written by recorded runs: a frame ran late there and the run's clock moved on to
// the given time (a frame boundary); a replay moves its clock on the same way.
// '#' starts a comment; blank lines are ignored. Commands with the same time run in file order.
#include <string>
#include <string_view>
#include <vector>

enum class ScriptOp {
    Key,
    Mouse,
    Button,
    Wheel,
    JoyAxis,
    JoyButton,
    JoyHat,
    Screenshot,
    Dump,
    Focus,
    Close,
    Clock
};

struct ScriptCommand {
    double time = 0;
    ScriptOp op = ScriptOp::Close;
    int a = 0;         // key code, mouse x, button, joystick, wheel direction
    int b = 0;         // mouse y, joystick axis / button, hat value (hundredths of a degree)
    double value = 0;  // joystick axis value -1..1; clock: the time the clock moves on to
    bool down = false; // key/button down, focus gained
    std::string file;  // screenshot, dump
    int line = 0;      // line number in the script
};

struct ScriptError {
    int line = 0;
    std::string reason;
};

// Parses a whole script; false with the first bad line's number and reason.
bool parse_script(std::string_view text, std::vector<ScriptCommand>& out, ScriptError& error);

// One command as a script line (without the line end); times and values round-trip exactly.
std::string format_script_line(const ScriptCommand& c);

// The hat value of a direction name and back (kHatCentre for "centre").
const char* hat_name(unsigned hat);
// The name of joystick axis 0..5.
const char* axis_name(int axis);
