#pragma once
// The game's routines. Every routine returns a number (0 unless stated), as the rest of the
// game's code expects; all arguments are doubles or runtime strings.
#include "runtime/rt_string.h"

#include <string>

// --- Start and intro ---
// The main routine: splash, loading, intro, then menu and game for ever. Never returns.
void GameMain();
// Fills every model and texture slot of the game, in the start's order, from the current
// directory (the start does the same in steps between the intro's cross-fades).
void LoadGameSlots();
// Cross-fades from one full-screen picture to another (a missing file fades as black).
double ShowPicture(const RtString& from_file, const RtString& to_file);
// The game's control reader: axis 0 x, 1 y, 2 action, 3 map (keyboard plus joystick 0).
double ReadControl(double ignored, double axis);

// --- Levels and the level map ---
// The file name of level n: "level" + n + ".ini".
RtString LevelFileName(double n);
// Where level n is read: the user folder's copy ("levels/") when there is one, else the
// shipped file.
RtString LevelReadPath(double n);
double LoadLevel(double n);
// Writes Pads and ForceMap as level n, at once and atomically (the old file or the new one is
// on disk at every moment). Returns 0, or -1 when the file could not be written (the old file
// is then unchanged).
double SaveLevel(double n);
// The text SaveLevel writes: "[global]", padcount, forcemap, then one section per pad, every
// line ending in CR LF.
std::string LevelFileText();
// Whether level n has a file.
bool LevelExists(double n);
double BuildLevelMap(double slot);
double SketchLine(double x, double y, double dx, double dy, double piece, double overshoot,
                  double wobble, double colour);

// --- Menu ---
double MainMenu();

// --- A game ---
double PlayGame();
double ChooseMusic();

// --- Rules of play ---
// One frame of the rules as the play loop runs it: MovePads, then UpdatePlay with the elapsed
// time capped at 100 ms (the frame time the rules read is capped the same way).
double PlayStep(double elapsed_ms);
double MovePads();
double UpdatePlay(double ms);
double MoveWorker(double i, double mx, double my);
double ToggleBolt(double i, double px, double py);
double LevelSolved();
double PadAt(double px, double py);

// --- Level scene ---
double DrawLevel(double n);
double DrawGirder(double x, double y, double extx, double exty, double ride_offset,
                  double is_static);
