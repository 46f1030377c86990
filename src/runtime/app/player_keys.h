#pragma once
// The player's keys that belong to the program rather than to a game screen: F7 mutes and
// unmutes, F8 and F9 lower and raise the volume in ten steps, F12 writes a screenshot. Each
// shows a short note on screen. present_frame calls player_keys_frame once per frame.
#include <string>

// Decides whether the volume keys act now (the game turns them off where they would be typed
// into a text field); without a filter they always act. F12 always acts.
void set_volume_keys_filter(bool (*active)());

// Reads the keys (without moving the clock), writes a pending screenshot of the frame as drawn,
// then draws the notes over it: the picture never shows them.
void player_keys_frame();

// The gains of the current settings applied to the sound device.
void apply_volume_settings();

// Where F12 writes screenshots: the XDG pictures folder of a live run, else the user folder's
// "screenshots" ("" when there is neither).
std::string screenshot_folder();
// The note shown now ("" when none), for tests and the state dump.
const std::string& player_note();
