#pragma once
// Drawing without a visible window, for the tools and benchmarks: a hidden window whose game
// screen is bound, with the graphics device ready. Without a display it runs on SDL's offscreen
// driver. Returns false after printing the reason on stderr (prefixed by `program`).
bool open_headless_graphics(const char* program);
