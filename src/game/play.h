#pragma once
// State of a game in progress beyond the game-wide variables: how it ended, and the level
// editor's test runs.

// 1 while the level editor's test run plays (a ride or the last life ends it; so does Esc).
extern double TestPlay;
// 1 once a game has ended with the ride of its last level (the ending is shown) or a test run
// ended with its ride.
extern double GameComplete;

// Plays level n once for the level editor: returns 1 when its ride ended, 0 when the lives ran
// out, Esc was pressed or (under the end guard) the program was asked to end. EditLevel-
// independent: the caller saves and reloads the level.
double PlayTestLevel(double n);

// The ending after the last level: the credits picture, a congratulation and the final score,
// until space, left Ctrl, joystick button 2 or the left mouse button.
double ShowEnding();

// The level the next PlayGame starts at instead of the start option's (-1: none); PlayGame uses
// it once.
extern double StartLevelOverride;
