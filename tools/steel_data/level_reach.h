#pragma once
// Which pads of the loaded level (Pads) a worker can reach, where a moving girder counts as
// touching another pad when some position along its path touches some position of the other.
#include "game/state.h"

#include <vector>

// Whether some position of pad a along its path and some position of pad b along its path make
// the two closed rectangles touch. With `fixed`, bolted pads count as standing where they are.
bool PadsCanTouch(const Pad& a, const Pad& b, bool fixed = false);

// For every pad, whether it can be reached from pad `from` (over pads that can touch).
std::vector<bool> ReachableFrom(int from, bool fixed = false);
