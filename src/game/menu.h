#pragma once
// The main menu's state, shown in the state dump while the menu runs.

// The highlighted line, 0 to 4.
extern double MenuCursor;
// The box's vertical offset in pixels (-600 above the screen, resting near -180).
extern double MenuBoxY;

// The level editor the menu's fifth line opens (none: the line does nothing).
void SetLevelEditor(void (*editor)());
