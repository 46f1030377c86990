#pragma once
// Sampled-style instruments built by the synthesiser: a plucked string, a struck mallet bar,
// a brass-like tone whose upper harmonics come in after the attack, and drums with a pitched
// body under their noise (toms, hand clap).
#include "audio_synth.h"

namespace audiogen {

// A plucked string (a delay line with a damped averaging loop): bright at the pluck, mellowing
// as it rings. `brightness` 0..1 sets how long the upper partials last. One-shot.
SynthSample make_pluck(const std::string& name, double base_note, double seconds, double brightness,
                       uint32_t seed);

// A struck bar: a few inharmonic modes, the higher ones dying first, and a short felt knock.
// `hardness` 0..1 brings up the upper modes. One-shot.
SynthSample make_mallet(const std::string& name, double base_note, double seconds, double hardness,
                        uint32_t seed);

// A brass-like tone: saw partials that swell in one after another over `swell_s` (the upper
// ones last), with a breathy onset, then a seamless steady loop.
SynthSample make_brass(const std::string& name, double base_note, double swell_s, double brightness,
                       uint32_t seed);

// A tom: a drum head falling in pitch from `note` with a noise skin. One-shot.
SynthSample make_tom(double note);
// A hand clap: three quick noise bursts and a short tail through a band-pass.
SynthSample make_clap();

} // namespace audiogen
