// Placeholder until the sound device is written.
#include "audio/sound.h"

void sound_init() {}
void sound_shutdown() {}
void sound_set_paused(bool) {}
