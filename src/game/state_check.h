#pragma once
// Bounds of a level in play, for the programs that throw hostile levels and random controls at
// the rules (fuzz target, mutated-level and soak drivers): every number is finite, every girder
// stays on the segment between its two ends, the worker stays within reach of the pads, and the
// clocks, fades, lives and score keep their ranges.
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
