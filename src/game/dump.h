#pragma once
// The game's state as one JSON object, written by the script command `dump FILE`.
#include <string>

// The whole object: every game-wide variable, Pads, Workers, the screen, and the menu's or an
// extension's fields.
std::string DumpState();

// A JSON number that reads back to the same double (non-finite values, which JSON cannot hold,
// are written as strings: "nan", "inf", "-inf").
std::string JsonNumber(double v);
// A JSON string literal.
std::string JsonString(const std::string& s);

// Extra members for the dump while a screen runs (the level editor): text starting with ","
// that is put before the closing brace. Null: none.
void SetDumpExtension(std::string (*extension)());
