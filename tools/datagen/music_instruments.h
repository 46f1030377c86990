#pragma once
// The instrument set of a tune: drum kit, bass, chord pad, lead and arpeggio pluck.
#include "music_composer.h"

namespace audiogen {

enum Instrument {
    kKick = 1,
    kSnare,
    kHat,
    kOpenHat,
    kCrash,
    kBass,
    kPad,
    kLead,
    kArp,
    kCounter,
    kTom,
    kClap
};

// Fills module->samples and module->instruments (indices as in Instrument). The composer
// drops the ones a tune does not play.
void build_instruments(const Voices& voices, ItModule* module);

} // namespace audiogen
