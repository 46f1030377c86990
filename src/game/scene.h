#pragma once
// Helpers of the level scene (DrawLevel and DrawGirder are declared in game/game.h).
#include "runtime/rt_string.h"

// The alarm clock's text for a time in seconds: whole minutes and the seconds left over, each
// right-aligned in two characters (125.7 gives " 2: 5", 1000 gives "16:40").
RtString StatusTimeText(double seconds);

// DrawGirder leaves out pads and rows of cells the camera cannot see (on at start). Off, every
// cell goes to the engine, which culls each draw on its own: the same pixels at a higher cost,
// so the two can be compared.
extern bool SceneCulling;
