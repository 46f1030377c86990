// The eight tunes. Melodies are written in scale degrees of each tune's key (see
// music_composer.h); every A section is a question phrase and its answer, the B sections
// climb away from the theme and lead back into it.
#include "music_composer.h"

#include <string>
#include <utility>

namespace audiogen {

namespace {

using G = Groove;
using B = BassStyle;
using P = PadStyle;

using C = Counter;

Section sec(std::string label, int bars, const char* chords, const char* melody, Groove g,
            BassStyle b, PadStyle p, bool arp = false, int shift = 0, bool harmony = false) {
    Section s;
    s.label = std::move(label);
    s.bars = bars;
    s.chords = chords;
    s.melody = melody;
    s.groove = g;
    s.bass = b;
    s.pad = p;
    s.arp = arp;
    s.lead_shift = shift;
    s.harmony = harmony;
    return s;
}

// The same section with a counter voice.
Section with(Section s, Counter c, const char* melody = "", int shift = 0) {
    s.counter = c;
    s.counter_melody = melody;
    s.counter_shift = shift;
    return s;
}

// The same section with hand claps on the backbeat.
Section clap(Section s) {
    s.perc = true;
    return s;
}

// SS_1: G major, 128 BPM. Bright and bouncy; a syncopated hook that leaps back to the tonic.
Tune tune1() {
    Tune t;
    t.file = "SS_1.IT";
    t.title = "Girder Hop";
    t.mix_volume = 43; // measured: integrated loudness near -16.5 LUFS
    t.key = 67;
    t.scale = Scale::Major;
    t.tempo = 128;
    t.voices.lead = Wave::Pulse25;
    t.voices.pad = Wave::Saw;
    t.voices.pad_attack_ticks = 2;
    t.voices.arp = Wave::Square;
    t.voices.lead_volume = 54;
    t.motifs = {
        {"a1", "1':3 7:1 1':2 5:2 r:2 5:2 6:2 7:2 | 2':4 1':2 7:2 6:4 5:4"},
        {"a2", "3':3 2':1 3':2 7:2 r:2 7:2 1':2 2':2 | 4':4 3':2 2':2 1':4 6:4"},
        {"a3", "4':2 3':2 2':2 1':2 7:2 5:2 6:2 7:2 | 1':12 r:4"},
        {"b1", "5:2 6:2 7:4 6:2 5:2 3:4 | 4:6 3:2 1:8"},
        {"b2", "5:2 6:2 7:4 1':4 5:4 | 7:8 6:4 5:4"},
        {"b3", "5:2 6:2 7:4 6:2 5:2 3:4 | 4:4 6:4 1':8"},
        {"b4", "2':4 1':4 6:4 1':4 | 2':4 7:4 5:4 7:4"},
        {"end", "1':16"},
    };
    const char* A = "1 5 6 4 1 5 4/5 1";
    const char* Bc = "6 4 1 5 6 4 2 5";
    t.loops = true;
    t.mood = "bright and bouncy";
    t.voices.lead_brightness = 0.75;
    t.voices.lead_chorus = true;
    t.voices.counter_timbre = Timbre::Mallet;
    t.voices.arp_timbre = Timbre::Pluck;
    t.sections = {
        sec("Intro", 2, "1 5", "", G::Intro, B::Hold, P::Hold, true),
        with(sec("A", 8, A, "a1 a2 a1 a3", G::Rock, B::Root8, P::Hold), C::Answer),
        sec("A", 8, A, "a1 a2 a1 a3", G::Beat16, B::Octave8, P::Hold, true),
        with(sec("B", 8, Bc, "b1 b2 b3 b4", G::Rock, B::Walk, P::Stabs), C::Sustain),
        sec("A", 8, A, "a1 a2 a1 a3", G::Rock, B::Octave8, P::Stabs, false, 0, true),
        sec("B", 8, Bc, "b1 b2 b3 b4", G::Half, B::Hold, P::Hold, true),
        sec("Tag", 4, "1 6 2 5", "a1 a3", G::Rock, B::Root8, P::Hold),
    };
    return t;
}

// SS_2: A minor, 138 BPM. Driving and determined: a disco beat under a staccato minor hook.
Tune tune2() {
    Tune t;
    t.file = "SS_2.IT";
    t.title = "Rivet Run";
    t.mix_volume = 35; // measured: integrated loudness near -16.5 LUFS
    t.key = 69;
    t.scale = Scale::Minor;
    t.tempo = 138;
    t.voices.lead = Wave::Saw;
    t.voices.lead_chorus = true;
    t.voices.lead_brightness = 0.8;
    t.voices.lead_volume = 60;
    t.voices.pad = Wave::Saw;
    t.voices.pad_attack_ticks = 1;
    t.voices.bass = Wave::Square;
    t.voices.kick_punch = 0.8;
    t.voices.bass_volume = 42;
    t.voices.pad_volume = 34;
    t.motifs = {
        {"a1", "1':2 r:2 1':2 5:2 1':2 2':2 3':4 | 3':2 2':2 1':4 6:2 1':2 6:4"},
        {"a2", "7:2 r:2 7:2 5:2 7:2 1':2 2':4 | 3':4 2':2 1':2 5:8"},
        {"a3", "4':4 3':2 2':2 6:4 4:4 | #7:4 2':4 3':2 2':2 #7:4"},
        {"b1", "1':8 3':8 | 2':8 7:4 5:4"},
        {"b2", "1':4 5:4 1':4 3':4 | 3':12 r:4"},
        {"b3", "1':8 3':8 | 4':8 3':4 2':4"},
        {"b4", "3':4 2':4 #7:4 2':4 | #7:12 r:4"},
        {"end", "1':16"},
    };
    const char* A = "1 6 7 1 1 6 4 5M";
    const char* Bc = "6 7 1 1 6 7 5M 5M";
    t.loops = true;
    t.mood = "driving and determined";
    t.voices.lead_brightness = 0.7;
    t.voices.counter_timbre = Timbre::Brass;
    t.voices.counter_volume = 40;
    t.voices.toms = true;
    t.sections = {
        sec("Intro", 4, "1 6 7 5M", "", G::Four, B::Octave8, P::None),
        clap(sec("A", 8, A, "a1 a2 a1 a3", G::Four, B::Octave8, P::Stabs)),
        with(sec("B", 8, Bc, "b1 b2 b3 b4", G::Four, B::Root8, P::Hold, true), C::Stabs),
        clap(with(sec("A", 8, A, "a1 a2 a1 a3", G::Drive, B::Octave8, P::Hold, true), C::Stabs)),
        with(sec("Break", 8, Bc, "b1 b2 b3 b4", G::Half, B::Hold, P::Hold, false, -12), C::Sustain),
        clap(with(sec("B", 8, Bc, "b1 b2 b3 b4", G::Four, B::Root8, P::Stabs), C::Stabs)),
        clap(sec("A", 8, A, "a1 a2 a1 a3", G::Drive, B::Octave8, P::Stabs, false, 0, true)),
    };
    return t;
}

// SS_3: F major, 108 BPM, shuffled. Relaxed and sunny: organ off-beats and a walking bass.
Tune tune3() {
    Tune t;
    t.file = "SS_3.IT";
    t.title = "Lunch Break";
    t.mix_volume = 53; // measured: integrated loudness near -16.5 LUFS
    t.key = 65;
    t.scale = Scale::Major;
    t.tempo = 108;
    t.voices.lead = Wave::Hollow;
    t.voices.lead_volume = 56;
    t.voices.pad = Wave::Organ;
    t.voices.pad_attack_ticks = 1;
    t.voices.pad_volume = 34;
    t.voices.bass = Wave::Triangle;
    t.voices.bass_decay_s = 0.2;
    t.voices.swing_ticks = 2;
    t.voices.echo_rows = 0;
    t.voices.kick_punch = 0.3;
    t.voices.snare_tone = 0.3;
    t.voices.bass_volume = 46;
    t.motifs = {
        {"a1", "3:3 5:1 1':4 6:2 5:2 3:4 | 1:2 3:2 4:2 3:2 1:4 6,:4"},
        {"a2", "4:3 6:1 2':4 1':2 7:2 6:4 | 5:4 7,:4 2:4 5,:4"},
        {"a3", "6:2 4:2 2:2 4:2 5:2 7:2 2':2 7:2 | 1':12 r:4"},
        {"b1", "4':6 3':2 2':4 1':4 | 1':4 6:4 5:8"},
        {"b2", "4:4 6:4 1':4 2':4 | 3':12 r:4"},
        {"b3", "4':6 3':2 2':4 1':4 | 7:4 1':4 3':8"},
        {"b4", "2':4 1':4 6:4 3:4 | 4:4 3:4 2:4 7,:4"},
        {"end", "1':16"},
    };
    const char* A = "1 6 2 5 1 6 2/5 1";
    const char* Bc = "4 1 4 1 4 3 6 57";
    t.loops = true;
    t.mood = "relaxed and sunny";
    t.voices.lead_timbre = Timbre::Mallet;
    t.voices.lead_release_ticks = 12;
    t.voices.counter_timbre = Timbre::Pluck;
    t.voices.counter_volume = 34;
    t.sections = {
        sec("Intro", 2, "2 5", "", G::Intro, B::Walk, P::Stabs),
        sec("A", 8, A, "a1 a2 a1 a3", G::Rock, B::Walk, P::Stabs),
        with(sec("A", 8, A, "a1 a2 a1 a3", G::Rock, B::Walk, P::Stabs), C::Answer),
        sec("B", 8, Bc, "b1 b2 b3 b4", G::Half, B::Hold, P::Hold),
        with(sec("A", 8, A, "a1 a2 a1 a3", G::Rock, B::Walk, P::Stabs, false, 0, true), C::Answer),
    };
    for (Section& sc : t.sections) // brushes, no cymbal crashes
        sc.crash = false;
    return t;
}

// SS_4: D dorian, 116 BPM. Cool and funky: a syncopated bass, chord stabs and a chatty lead.
Tune tune4() {
    Tune t;
    t.file = "SS_4.IT";
    t.title = "Steel Groove";
    t.mix_volume = 60; // measured: integrated loudness near -16.5 LUFS
    t.key = 62;
    t.scale = Scale::Dorian;
    t.tempo = 116;
    t.voices.lead = Wave::Pulse25;
    t.voices.lead_brightness = 0.85;
    t.voices.pad = Wave::Saw;
    t.voices.pad_attack_ticks = 1;
    t.voices.bass = Wave::Saw;
    t.voices.bass_decay_s = 0.08;
    t.voices.echo_rows = 2;
    t.voices.lead_volume = 52;
    t.motifs = {
        {"a1", "5:2 r:1 5:1 7:2 1':2 r:2 7:2 5:2 4:2 | 3:2 4:2 r:2 6:4 5:2 4:4"},
        {"a2", "5:2 r:1 5:1 7:2 1':2 r:2 3':2 2':2 1':2 | 6:6 5:2 4:8"},
        {"a3", "1':2 2':2 3':2 2':2 1':4 7:2 5:2 | 5:8 r:8"},
        {"b1", "5:4 7:2 1':2 3':8 | 2':4 1':2 7:2 6:8"},
        {"b2", "1':4 7:2 5:2 7:4 1':4 | 5:12 r:4"},
        {"b3", "5:4 7:2 1':2 3':8 | 4':4 3':2 2':2 6:8"},
        {"b4", "3':4 2':4 1':4 7:4 | 5:4 #7:4 2':4 #7:4"},
        {"end", "1':16"},
    };
    const char* A = "1 4 1 4 7 4 5 5";
    const char* Bc = "3 4 5 5 3 4 7 5M";
    t.loops = true;
    t.mood = "cool and funky";
    t.voices.lead_timbre = Timbre::Pluck;
    t.voices.counter_timbre = Timbre::Brass;
    t.voices.pad_voices = 2;
    t.voices.toms = true;
    t.sections = {
        sec("Intro", 4, "1 4 1 4", "", G::Intro, B::Syncop, P::None),
        sec("A", 8, A, "a1 a2 a1 a3", G::Beat16, B::Syncop, P::Rhythm),
        clap(with(sec("A", 8, A, "a1 a2 a1 a3", G::Beat16, B::Syncop, P::Rhythm), C::Stabs)),
        sec("B", 8, Bc, "b1 b2 b3 b4", G::Beat16, B::Syncop, P::Hold),
        sec("Break", 4, "1 4 1 4", "", G::Half, B::Syncop, P::None),
        with(sec("A", 8, A, "a1 a2 a1 a3", G::Beat16, B::Syncop, P::Rhythm, false, 0, true),
             C::Stabs),
    };
    return t;
}

// SS_5: B flat major, 146 BPM. Heroic: a fanfare theme over a borrowed A flat chord.
Tune tune5() {
    Tune t;
    t.file = "SS_5.IT";
    t.title = "Skyline Heroes";
    t.mix_volume = 38; // measured: integrated loudness near -16.5 LUFS
    t.key = 70;
    t.scale = Scale::Major;
    t.tempo = 146;
    t.voices.lead = Wave::Saw;
    t.voices.lead_chorus = true;
    t.voices.lead_volume = 64;
    t.voices.pad = Wave::Saw;
    t.voices.pad_attack_ticks = 3;
    t.voices.kick_punch = 0.7;
    t.voices.snare_tone = 0.7;
    t.voices.bass_volume = 48;
    t.voices.pad_volume = 26;
    t.motifs = {
        {"a1", "1:4 5:4 1':6 7:2 | b7:6 1':2 b7:4 4:4"},
        {"a2", "4:4 6:4 1':6 2':2 | 3':8 1':8"},
        {"a3", "4:4 6:4 5:4 7:4 | 1':12 r:4"},
        {"b1", "6:6 5:2 6:4 1':4 | 2':6 1':2 6:8"},
        {"b2", "5:6 4:2 3:4 1:4 | 2:8 5,:8"},
        {"b3", "6:6 5:2 6:4 1':4 | 2':4 4':8 2':4"},
        {"b4", "1':4 2':4 4':4 2':4 | 3':8 2':4 7:4"},
        {"end", "1':16"},
    };
    const char* A = "1 b7 4 1 1 b7 4/5 1";
    const char* Bc = "6 4 1 5 6 4 2 5";
    t.loops = true;
    t.mood = "heroic";
    t.voices.lead_timbre = Timbre::Brass;
    t.voices.lead_attack_ticks = 2;
    t.voices.counter_timbre = Timbre::Mallet;
    t.voices.toms = true;
    t.motifs["fan"] =
        "1:2 1:1 1:1 5:4 1':8 | b7:2 b7:1 b7:1 4:4 b7:8 | 4:2 4:1 4:1 6:4 1':8 | 7:8 5:8";
    t.sections = {
        sec("Fanfare", 4, "1 b7 4 5", "fan", G::Half, B::Hold, P::Hold),
        with(sec("A", 8, A, "a1 a2 a1 a3", G::Rock, B::Root8, P::Hold), C::Answer),
        sec("B", 8, Bc, "b1 b2 b3 b4", G::Four, B::Octave8, P::Hold, true),
        with(sec("A", 8, A, "a1 a2 a1 a3", G::Rock, B::Root8, P::Pulse8, true), C::Answer),
        with(sec("Break", 8, Bc, "b1 b2 b3 b4", G::Half, B::Hold, P::Hold), C::Sustain),
        sec("A", 8, A, "a1 a2 a1 a3", G::Four, B::Octave8, P::Hold, false, 0, true),
        sec("B", 8, Bc, "b1 b2 b3 b4", G::Four, B::Octave8, P::Stabs, true),
    };
    return t;
}

// SS_6: C major, 122 BPM. The main theme (also the menu): friendly and singable.
Tune tune6() {
    Tune t;
    t.file = "SS_6.IT";
    t.title = "Steel Spree";
    t.mix_volume = 42; // measured: integrated loudness near -16.5 LUFS
    t.key = 72;
    t.scale = Scale::Major;
    t.tempo = 122;
    t.voices.lead = Wave::Square;
    t.voices.lead_brightness = 0.9;
    t.voices.pad = Wave::Saw;
    t.voices.pad_attack_ticks = 2;
    t.voices.arp = Wave::Pulse25;
    t.motifs = {
        {"a1", "5:2 5:2 6:2 5:2 3:4 1:4 | 6,:4 1:4 3:4 2:2 1:2"},
        {"a2", "6:2 6:2 1':2 6:2 4:4 6:4 | 5:4 2:2 3:2 4:2 3:2 2:4"},
        {"a3", "6:2 1':2 6:2 4:2 2:4 7,:4 | 1:12 r:4"},
        {"b1", "1':6 7:2 6:4 5:4 | 5:6 4:2 3:4 2:4"},
        {"b2", "3:4 5:4 7:4 5:4 | 6:12 r:4"},
        {"b3", "1':6 7:2 6:4 5:4 | 5:4 6:4 7:4 2':4"},
        {"b4", "3':6 2':2 1':4 6:4 | 2':4 1':4 7:4 5:4"},
        {"end", "1:16"},
    };
    const char* A = "1 6 4 5 1 6 4/5 1";
    const char* Bc = "4 5 3 6 4 5 1/6 2/5";
    t.mood = "the main theme: friendly and inviting";
    t.voices.lead_brightness = 0.7;
    t.voices.lead_chorus = true;
    t.voices.pad_attack_ticks = 4;
    t.voices.counter_timbre = Timbre::Mallet;
    t.voices.arp_timbre = Timbre::Pluck;
    t.sections = {
        sec("Intro", 4, "1 6 4 5", "", G::Intro, B::Hold, P::Hold, true),
        with(sec("A", 8, A, "a1 a2 a1 a3", G::Rock, B::Root8, P::Hold), C::Answer),
        sec("B", 8, Bc, "b1 b2 b3 b4", G::Rock, B::Walk, P::Stabs),
        with(sec("A", 8, A, "a1 a2 a1 a3", G::Four, B::Octave8, P::Hold, true), C::Answer),
        with(sec("Break", 8, Bc, "b1 b2 b3 b4", G::Half, B::Hold, P::Hold, true), C::Sustain),
        sec("A", 8, A, "a1 a2 a1 a3", G::Four, B::Octave8, P::Stabs, true, 0, true),
        sec("End", 1, "1", "end", G::Hit, B::Hold, P::Hold),
    };
    return t;
}

// SS_7: E minor, 134 BPM. Mysterious and adventurous: rippling arpeggios, a wistful lead.
Tune tune7() {
    Tune t;
    t.file = "SS_7.IT";
    t.title = "Night Shift";
    t.mix_volume = 42; // measured: integrated loudness near -16.5 LUFS
    t.key = 64;
    t.scale = Scale::Minor;
    t.tempo = 134;
    t.voices.lead = Wave::Triangle;
    t.voices.lead_chorus = true;
    t.voices.lead_volume = 60;
    t.voices.pad = Wave::Saw;
    t.voices.pad_attack_ticks = 6;
    t.voices.arp = Wave::Saw;
    t.voices.arp_volume = 24;
    t.voices.echo_rows = 3;
    t.motifs = {
        {"a1", "5:6 1':2 7:4 5:4 | 6:6 5:2 3:8"},
        {"a2", "5:6 3':2 2':4 1':4 | 2':8 7:8"},
        {"a3", "1':4 7:2 6:2 4:8 | 5:4 #7:4 2':4 #7:4"},
        {"b1", "3':4 2':4 1':4 6:4 | 2':8 r:4 5:4"},
        {"b2", "1':4 3':4 5':4 3':4 | 3':12 r:4"},
        {"b4", "4':4 3':4 2':4 1':4 | #7:8 2':8"},
        {"end", "1':16"},
    };
    const char* A = "1 6 3 7 1 6 4 5M";
    const char* Bc = "4 5 1 6 4 5 6 5M";
    t.loops = true;
    t.mood = "mysterious and adventurous";
    t.voices.pad_voices = 2;
    t.voices.counter_timbre = Timbre::Mallet;
    t.voices.counter_volume = 30;
    t.sections = {
        sec("Intro", 8, A, "", G::None, B::Hold, P::Hold, true),
        sec("A", 8, A, "a1 a2 a1 a3", G::Beat16, B::Root8, P::Hold, true),
        with(sec("A", 8, A, "a1 a2 a1 a3", G::Four, B::Octave8, P::Stabs, true), C::Sustain),
        sec("B", 8, Bc, "b1 b2 b1 b4", G::Break, B::Walk, P::Hold, true),
        with(sec("A", 8, A, "a1 a2 a1 a3", G::Half, B::Hold, P::Hold, true), C::Sustain),
        sec("B", 8, Bc, "b1 b2 b1 b4", G::Four, B::Octave8, P::Stabs, true),
        sec("A", 8, A, "a1 a2 a1 a3", G::Beat16, B::Root8, P::Hold, false, 12, true),
    };
    return t;
}

// SS_8: B harmonic minor, 176 BPM. The hurry-up: breathless eighths, sixteenth bass, tension.
Tune tune8() {
    Tune t;
    t.file = "SS_8.IT";
    t.title = "Hurry Up";
    t.mix_volume = 30; // measured: integrated loudness near -16.5 LUFS
    t.key = 71;
    t.scale = Scale::HarmonicMinor;
    t.tempo = 176;
    t.voices.lead = Wave::Square;
    t.voices.lead_brightness = 0.8; // urgent, not shrill
    t.voices.lead_volume = 42;
    t.voices.pad = Wave::Saw;
    t.voices.pad_attack_ticks = 1;
    t.voices.pad_volume = 30;
    t.voices.bass = Wave::Saw;
    t.voices.bass_decay_s = 0.06;
    t.voices.bass_volume = 50;
    t.voices.echo_rows = 2;
    t.voices.kick_punch = 0.9;
    t.voices.snare_tone = 0.8;
    t.motifs = {
        {"a1", "5:2 4:2 5:2 3:2 1:2 3:2 5:2 3:2 | 6:2 5:2 6:2 4:2 2:2 4:2 6:2 4:2"},
        {"a2", "6:4 5:4 4:4 3:4 | 2:4 7,:4 2:4 5:4"},
        {"a3", "4:4 6:4 1':4 6:4 | 7:4 2':4 7:4 5:4"},
        {"b1", "6:8 5:4 4:4 | 4:8 3:4 2:4"},
        {"b2", "3:8 4:4 5:4 | 7:8 5:8"},
        {"b3", "6:8 5:4 4:4 | 6:8 1':8"},
        {"b4", "2':4 1':4 7:4 6:4 | 5:8 7,:8"},
        {"end", "1:16"},
    };
    const char* A = "1 6 4 5 1 6 4 5";
    const char* Bc = "6 4 1 5 6 4 2 5";
    t.mood = "the hurry-up: urgent";
    t.voices.counter_timbre = Timbre::Brass;
    t.voices.counter_volume = 38;
    t.voices.pad_voices = 2;
    t.voices.toms = true;
    t.sections = {
        sec("Intro", 2, "5M 5M", "", G::Drive, B::Drive16, P::Pulse8),
        clap(with(sec("A", 8, A, "a1 a2 a1 a3", G::Drive, B::Drive16, P::Pulse8), C::Stabs)),
        sec("A", 8, A, "a1 a2 a1 a3", G::Drive, B::Drive16, P::Pulse8, true),
        with(sec("B", 8, Bc, "b1 b2 b3 b4", G::Drive, B::Root8, P::Hold, true), C::Stabs),
        clap(sec("A", 8, A, "a1 a2 a1 a3", G::Drive, B::Drive16, P::Hold, true)),
        sec("B", 8, Bc, "b1 b2 b3 b4", G::Break, B::Octave8, P::Pulse8, true),
        clap(sec("A", 8, A, "a1 a2 a1 a3", G::Drive, B::Drive16, P::Pulse8, false, 0, true)),
        clap(with(sec("A", 8, A, "a1 a2 a1 a3", G::Drive, B::Drive16, P::Hold, true, 0, true),
                  C::Stabs)),
        sec("End", 1, "1", "end", G::Hit, B::Hold, P::Hold),
    };
    return t;
}

} // namespace

std::vector<Tune> game_tunes() {
    return {tune1(), tune2(), tune3(), tune4(), tune5(), tune6(), tune7(), tune8()};
}

} // namespace audiogen
