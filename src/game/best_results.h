#pragma once
// The player's best results, kept in the user folder ("best.ini"): per level and timer option
// the most time left on the clock when the lift ride began, and per timer option the best score
// of a whole game. Without a user folder nothing is kept. A damaged file is ignored (one log
// line) and replaced by the next result.
#include <map>
#include <string>
#include <string_view>

// Reads the file of the user folder (at start).
void LoadBestResults();

// A level's ride began with `time_left` seconds on the clock; true when that is a new best
// for the level under this timer option. Nothing is kept without a running clock.
bool RecordLevelTime(double level, double timer_option, double time_left);
// A game ended with `score`; true when that is a new best for the timer option.
bool RecordGameScore(double timer_option, double score);

// The line a level's opening shows: "Best time left: 87 s" ("" when there is none yet).
std::string LevelBestLine(double level, double timer_option);
// The line the end of a game shows: "Score 1234 - New best!" or "Score 1234 - Best 2000".
std::string GameScoreLine(double timer_option, double score, bool new_best);

// The pure part: the file's results by key ("level3.timer1", "game.timer1"); false (and an
// empty table) for a file that is not a results file.
using BestTable = std::map<std::string, double>;
bool ParseBestResults(std::string_view bytes, BestTable& table);
std::string FormatBestResults(const BestTable& table);
