#include "game/game.h"

void GameMain() {}
