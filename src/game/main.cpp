#include "game/game.h"
#include "runtime/app/app.h"

int main(int argc, char** argv) {
    StartSettings settings; // 800 x 600, fullscreen, 60 fps, "Steel_Spree"
    return runtime_main(argc, argv, settings, GameMain);
}
