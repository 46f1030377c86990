#pragma once
// The player's holds during play: the pause (P or the pad's Start button) and the question
// whether to leave the game (Backspace or the pad's Back button). Both hold the game's clock:
// neither costs game time, and neither changes any rule.
#include <string>

// 1 while the game is paused.
extern double Paused;
// The text of the open leave question, "" when none is open.
extern std::string Question;

// The question's text.
inline constexpr const char* kLeaveQuestion = "Leave this game?";

// Checks the hold controls once per frame of play; runs the pause or the question when one was
// pressed. Returns 1 when the player chose to leave the game, else 0. `draw` draws one frame
// of the scene as it stands (without presenting it).
double CheckHolds(void (*draw)());
// Forgets which hold controls were down (a new game starts).
void ResetHolds();
