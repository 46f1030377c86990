#include "editor/editor.h"
#include "game/dump.h"
#include "game/game.h"
#include "game/menu.h"
#include "game/state.h"
#include "runtime/app/app.h"
#include "runtime/app/frame.h"
#include "runtime/app/player_keys.h"

#include <cstring>

namespace {

// The volume keys act in every screen but the editor, whose text fields take the keys.
bool VolumeKeysActive() { return std::strcmp(CurrentScreen, "editor") != 0; }

} // namespace

int main(int argc, char** argv) {
    StartSettings settings; // 800 x 600, fullscreen, 60 fps, "Steel_Spree"
    set_state_writer(DumpState);
    SetLevelEditor(EditorMain);
    set_volume_keys_filter(VolumeKeysActive);
    return runtime_main(argc, argv, settings, GameMain);
}
