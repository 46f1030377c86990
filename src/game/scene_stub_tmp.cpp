// TEMPORARY: replaced when the level scene lands.
#include "game/game.h"
#include "graphics/device.h"
double DrawLevel(double) { clear_screen(); return 0; }
