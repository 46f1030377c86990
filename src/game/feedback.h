#pragma once
// What the game tells the player on top of the scene: a banner (a level's title card, "Level
// solved"), the names of the levels, and the list of sounds started in the current frame. The
// banner runs on FrameClock, the game's clock, so a pause holds it too.
#include "runtime/rt_string.h"

#include <string>
#include <vector>

// Sound slots of the game's cues (loaded by the start with the other sounds).
inline constexpr double kSoundNothing = 4; // the bolt action found nothing to bolt or loosen
inline constexpr double kSoundSolved = 5;  // the level became solved
inline constexpr double kSoundTick = 6;    // a second of the last ten on the clock

// The banner: a line of text and an optional second line, shown from FrameClock `since` for
// `duration` ms, fading out over its last `fade` ms.
struct GameBanner {
    std::string text;
    std::string subtitle;
    double since = 0;
    double duration = 0;
    double fade = 0;
};
extern GameBanner Banner;

// Shows a banner from now (FrameClock) on; it replaces the one shown.
void ShowBanner(const std::string& text, const std::string& subtitle, double duration, double fade);
void ClearBanner();
// The banner's text while it is shown, else "".
std::string BannerText();
// Draws the banner in 2D (nothing when none is shown). `extra_top` moves it up by that many
// pixels (room for lines below it).
void DrawBanner();

// The line the title card shows for level n: "Level N - Name", or "Level N" when the level has
// no name (the fonts have no longer dash than the hyphen).
std::string LevelTitle(double n);
// The name of level n: line n - 1 of "levelnames.txt" beside the levels, "" when there is none.
std::string LevelName(double n);
// Starts the title card of the current level (2.5 s, fading over its last second). `subtitle`
// is an optional second line.
void ShowTitleCard(const std::string& subtitle = "");
// "Level solved" with the hint that the lift is open, for three seconds.
void ShowSolvedBanner();

// The sound slots started in the last frame shown (the state dump's "SoundsStarted"): the
// sounds of a frame are noted while it runs and published just before it is presented, so a
// dump anywhere between two presented frames sees the same list.
extern std::vector<double> SoundsStarted;
void NoteSoundStarted(double slot);
// Publishes the sounds noted since the last call (before present_frame), and starts a new list.
void PublishSounds();
// Forgets every noted and published sound (a game starts or ends).
void ClearSounds();

// Draws a text box: the lines centred on the screen's middle column, the box's top at `top`;
// `alpha` 0..1 fades the whole box. Returns the box's height.
double DrawTextBox(const std::vector<std::string>& lines, double top, double alpha);
