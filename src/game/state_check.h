#pragma once
// Bounds of a level in play, for the programs that throw hostile levels and random controls at
// the rules (fuzz target, mutated-level and soak drivers): every number is finite, every girder
// stays on the segment between its two ends, the worker stays within reach of the pads, and the
// clocks, fades, lives and score keep their ranges.
#include "game/seam.h"

#include <cstdint>
#include <string>

// The reach of the level as loaded: the box around every pad's whole travel (its cells at both
// ends) and the worker's start. Call right after LoadLevel.
struct PlayBounds {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    int pads = 0;
};
PlayBounds PlayBoundsOfLevel();

// Empty when the game state is inside the bounds, else what is out of them (the first fault).
std::string PlayStateFault(const PlayBounds& bounds);

// The seam those programs play through: the controls held in HeldControls (bits 0 and 1 push
// axis 0 to +1 and -1, bits 2 and 3 axis 1, bits 4 and 5 are the two buttons), frames of
// kQuietFrameMs, no sound or music; LoadLevel builds the level map and, when drawn, clears the screen as the game does.
inline constexpr double kQuietFrameMs = 1000.0 / 60;
extern uint8_t HeldControls;
GameSeam QuietSeam(bool drawn);
// A fresh game on level1.ini of the current folder with the given timer option, as the menu
// starts one (three lives, no score); returns the level's bounds.
PlayBounds StartLevelOne(double timer_option);
