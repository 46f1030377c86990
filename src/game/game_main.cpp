#include "game/game.h"
#include "graphics/device.h"
#include "runtime/app/frame.h"

// Until the game's screens exist: a cleared screen, presented until the program ends (Esc,
// Alt+F4 or closing the window).
void GameMain() {
    for (;;) {
        clear_screen();
        present_frame();
    }
}
