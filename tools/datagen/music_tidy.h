#pragma once
// Finishing a composed module.
#include "music_composer.h"

namespace audiogen {

// Keeps only the channels on which some note sounds, in their order (pans kept with them); a
// command on `kick_channel` moves to the first kept channel when that one goes.
void drop_silent_channels(ItModule* m, int kick_channel);
// Removes the instruments that no note plays, and their samples, and numbers the rest anew.
void drop_unused_instruments(ItModule* m);
// "Title: ...", "Form: ...", "Ending: ...", "Key: ..." (and "Mood: ...") lines.
std::string song_message(const Tune& tune);

} // namespace audiogen
