#include "game/seam.h"

#include "audio/sound.h"
#include "game/feedback.h"
#include "game/game.h"
#include "graphics/device.h"
#include "runtime/app/frame.h"

namespace {

double real_frame_time() { return frame_time_ms(); }
void real_play_sound(double slot) {
    NoteSoundStarted(slot);
    play_sound(slot, 0, 1);
}
double real_load_music(const char* file) { return load_music(file); }
void real_start_music() { start_music(); }
double real_music_finished() { return music_finished(); }
void real_stop_music() { stop_music(); }
void real_build_map(double slot) {
    BuildLevelMap(slot);
    clear_screen();
}

} // namespace

GameSeam DeviceSeam() {
    return GameSeam{ReadControl,     real_frame_time,     real_play_sound, real_load_music,
                    real_start_music, real_music_finished, real_stop_music, real_build_map};
}

GameSeam Seam = DeviceSeam();
