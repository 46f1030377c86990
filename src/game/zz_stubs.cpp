// TEMPORARY: removed when the scene and the --level option land.
#include "game/game.h"
#include "graphics/device.h"
double runtime_level_option() { return -1; }
double DrawLevel(double) { clear_screen(); return 0; }
