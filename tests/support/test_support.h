#pragma once
// Helpers shared by the tests.
#include <cstdint>
#include <string>
#include <vector>

// SDL's offscreen driver, the dummy audio driver, background joystick events, Mesa's software
// renderer; LeakSanitizer off for Mesa's own allocations. Existing values are kept, except the
// XDG data and configuration homes, which always point into a temporary folder.
void set_headless_environment();

// Opens the hidden 800 x 600 game window and its context once per test process.
// Returns false when no context can be had (the reason is printed).
bool open_test_window();

// RGBA of game-screen pixel (x, y), origin at the top-left, read from the game framebuffer.
struct Rgba {
    uint8_t r, g, b, a;
    bool operator==(const Rgba&) const = default;
};
Rgba read_pixel(int x, int y);
// The whole game screen, rows from the top, RGBA.
std::vector<uint8_t> read_screen();

// A fresh empty folder under the test's temporary directory; removed when the
// process that made it exits.
std::string make_temp_dir();

// Writes bytes to a file (creating it); returns false on failure.
bool write_bytes(const std::string& path, const std::string& bytes);
std::string read_text(const std::string& path);

// Runs a shell command; returns its exit status (or -1) and collects stdout+stderr.
int run_command(const std::string& command, std::string* output = nullptr);

// Paths of the built programs.
std::string game_executable(); // build/.../game/steel_spree
std::string data_tool();       // build/.../bin/steel_data
