#include "editor/editor.h"
#include "game/dump.h"
#include "game/game.h"
#include "game/menu.h"
#include "runtime/app/app.h"
#include "runtime/app/frame.h"

int main(int argc, char** argv) {
    StartSettings settings; // 800 x 600, fullscreen, 60 fps, "Steel_Spree"
    set_state_writer(DumpState);
    SetLevelEditor(EditorMain);
    return runtime_main(argc, argv, settings, GameMain);
}
