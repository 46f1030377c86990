#pragma once
// Keys by DirectInput scan code (0..255): the codes the whole runtime uses. The table below is
// the one place where the platform's own key numbering meets them.
namespace platform {

// The scan code of an SDL scancode, or 0 for a key that has none.
int scan_code_from_sdl(int sdl_scancode);
// The SDL scancode of a scan code, or 0 (SDL_SCANCODE_UNKNOWN) when none.
int sdl_from_scan_code(int scan_code);

// The character a key gives without Shift: 10 for Return, 8 for Backspace, printable
// characters 32..126, 0 for none. With `use_layout` the desktop's key layout decides letters
// and punctuation; without it a fixed US layout does (deterministic runs).
int key_character(int scan_code, bool use_layout);

} // namespace platform
