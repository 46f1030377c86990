#pragma once
// The game-wide state shared by the game's screens, the rules of play, the level scene and the
// level editor: plain numbers (doubles), the level's records and the screen being shown.
#include "runtime/rt_array.h"

// A platform of the level: a fixed floor, the lift (pad 0) or a girder that slides between its
// start (minx, miny) and its other end (maxx, maxy). Positions and sizes are grid cells.
struct Pad {
    double x = 0, y = 0;           // current position of the first (top-left) cell
    double step_x = 0, step_y = 0; // displacement in the last MovePads
    double spare = 0;
    double dir = 0;   // >= 0 toward the high end, < 0 toward the low end
    double bolts = 0; // 1: bolt at the first cell, 2: bolt at the last cell
    double minx = 0, miny = 0;
    double maxx = 0, maxy = 0;
    double extx = 0, exty = 0;
};

// The player's figure; its position is a point in grid cells (a cell's centre is index + 0.5).
struct Worker {
    double x = 0, y = 0;
    double heading = 0;    // facing angle in degrees
    double idle_since = 0; // FrameClock of the last frame without movement
    double target_x = 0, target_y = 0; // where the worker glides while a bolt turns
    double spare = 0;
    double frozen = 0;
    double pad = 0;        // the pad the worker stands on
    double bolt_timer = 0; // +1000 counting down after a fastening, -1000 up after a loosening
    double turn = 0;
};

extern double ScreenWidth, ScreenHeight;
extern double IntroSkipped;
extern double FrameClock;
extern double Playing;
extern RtArray<Pad> Pads;
extern RtArray<Worker> Workers;
extern double Level;
extern double MapFade;
extern double LevelDone;
extern double DoneFade;
extern double ForceMap;
extern double ExitTimer;
extern double TimeLeft;
extern double HurryMusic;
extern double MusicTrack;
extern double MusicWait;
extern double StartLevelOption;
extern double TimerOption;
extern double Lives;
extern double Score;
extern double DetailOption;
// 1 from the frame in which the action control fired until the frame in which it reads 0.
extern double ActionLatch;

// The screen being shown, for the state dump: "splash", "intro", "menu", "play", "editor",
// "ending".
extern const char* CurrentScreen;

// Puts every game-wide variable back to its start value (the program's start; tests).
void ResetGameState();

// Number of pads and workers (the arrays' first dimension).
inline int PadCount() { return int(Pads.bounds(0)); }
inline int WorkerCount() { return int(Workers.bounds(0)); }
