#include "game/state.h"

double ScreenWidth = 0, ScreenHeight = 0;
double IntroSkipped = 0;
double FrameClock = 0;
double Playing = 0;
RtArray<Pad> Pads;
RtArray<Worker> Workers;
double Level = 0;
double MapFade = 0;
double LevelDone = 0;
double DoneFade = 0;
double ForceMap = 0;
double ExitTimer = 0;
double TimeLeft = 0;
double HurryMusic = 0;
double MusicTrack = 0;
double MusicWait = 0;
double StartLevelOption = 0;
double TimerOption = 1;
double Lives = 0;
double Score = 0;
double DetailOption = 1;
double ActionLatch = 0;
const char* CurrentScreen = "splash";

void ResetGameState() {
    ScreenWidth = ScreenHeight = 0;
    IntroSkipped = 0;
    FrameClock = 0;
    Playing = 0;
    Pads = RtArray<Pad>();
    Workers = RtArray<Worker>();
    Level = MapFade = LevelDone = DoneFade = ForceMap = ExitTimer = TimeLeft = 0;
    HurryMusic = MusicTrack = MusicWait = 0;
    StartLevelOption = 0;
    TimerOption = 1;
    Lives = Score = 0;
    DetailOption = 1;
    ActionLatch = 0;
    CurrentScreen = "splash";
}
