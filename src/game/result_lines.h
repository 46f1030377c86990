#pragma once
// Where the best results meet the screens: keeping a level's time when its ride begins and the
// game's score when it ends, and the line that shows the game's result (on the ending and in
// the menu after a game; a level's best is the second line of its title card).

// After a play step: a ride that just began keeps the level's time left.
void NoteRideStart(double exit_timer_before);
// At the end of a game (not a test run): keeps the score and remembers the line to show.
void NoteGameEnd();
// The ending and the menu after a game: the game's score and whether it is a new best (only
// when results are kept, i.e. with a user folder).
void DrawGameResultLine(double y);
// The line DrawGameResultLine shows ("" when none).
const char* GameResultLine();
