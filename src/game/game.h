#pragma once
// The game's main routine: loops for ever; the program ends through runtime_end.
void GameMain();
