#pragma once
// Where the best results meet the screens: keeping a level's time when its ride begins and the
// game's score when it ends, and the extra lines that show them (beneath the screen's centre
// at a level's opening, on the ending and in the menu after a game).

// After a play step: a ride that just began keeps the level's time left.
void NoteRideStart(double exit_timer_before);
// At the end of a game (not a test run): keeps the score and remembers the line to show.
void NoteGameEnd();
// A level's opening: the level's best for about 2.5 s after it starts.
void DrawLevelOpeningLine();
// The ending and the menu after a game: the game's score and whether it is a new best (only
// when results are kept, i.e. with a user folder).
void DrawGameResultLine(double y);
// The line DrawGameResultLine shows ("" when none).
const char* GameResultLine();
