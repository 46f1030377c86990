#pragma once
// Turns a tune written as sections (chords, melody motifs, grooves) into a tracker module.
//
// Melody notation, one token per note: an optional accidental (# or b), a scale degree 1-7 of
// the tune's key (or r for a rest), octave marks (' up, , down), and ":N" for the length in
// sixteenth notes (the previous length when left out). "|" marks bar lines and is ignored.
//
// Chord notation, one token per bar, or two joined by "/" for half bars: an optional b or #,
// the scale degree of the root, then an optional quality: M major, m minor, s suspended
// fourth, 7 adds the seventh (with M: dominant seventh). Without a quality the chord is the
// key's own triad on that degree; a root off the scale gives a major triad.
#include "it_writer.h"

#include <map>
#include <string>
#include <vector>

namespace audiogen {

enum class Scale { Major, Minor, Dorian, Mixolydian, HarmonicMinor };
enum class Groove { None, Hit, Intro, Rock, Four, Beat16, Half, Drive, Break };
enum class BassStyle { None, Hold, Root8, Octave8, Walk, Syncop, Drive16 };
enum class PadStyle { None, Hold, Stabs, Pulse8, Rhythm };
// What a second melodic voice plays beside the lead: nothing, the chord's third held, chord
// tones rising in the gaps the lead leaves, short stabs on the off-beats, or its own line.
enum class Counter { None, Sustain, Answer, Stabs, Melody };
// How a melodic voice is made: an additive wave, a plucked string, a struck bar, brass.
enum class Timbre { Wave, Pluck, Mallet, Brass };

struct Section {
    int bars = 8;
    std::string chords; // one token per bar
    std::string melody; // motif names separated by spaces; "" for none
    Groove groove = Groove::Rock;
    BassStyle bass = BassStyle::Root8;
    PadStyle pad = PadStyle::Hold;
    bool arp = false;
    int lead_shift = 0;   // semitones added to the melody
    bool crash = true;    // crash cymbal on the first beat
    bool fill = true;     // snare fill in the last bar
    bool harmony = false; // a second lead voice a third below instead of the echo
    std::string label;    // the section's name in the tune's form ("Intro", "A", "B", ...)
    Counter counter = Counter::None;
    std::string counter_melody; // motif names for Counter::Melody
    int counter_shift = 0;      // semitones added to the counter voice
    bool perc = false;          // hand claps with the backbeat
};

struct Voices {
    Wave lead = Wave::Square;
    double lead_brightness = 1.0;
    bool lead_chorus = false;
    Wave pad = Wave::Saw;
    int pad_attack_ticks = 4;
    Wave bass = Wave::Saw;
    double bass_decay_s = 0.12; // how quickly the bass's upper partials die away
    Wave arp = Wave::Square;
    double kick_punch = 0.5;
    double snare_tone = 0.5;
    int swing_ticks = 0; // delay of every second sixteenth, in ticks
    int echo_rows = 3;   // lead echo delay; 0 for none
    int lead_volume = 44, pad_volume = 30, bass_volume = 56, arp_volume = 28, hat_volume = 30;
    Timbre lead_timbre = Timbre::Wave;
    int lead_attack_ticks = 1; // the lead's volume envelope: attack and release
    int lead_release_ticks = 6;
    Timbre counter_timbre = Timbre::Mallet;
    int counter_volume = 36;
    Timbre arp_timbre = Timbre::Wave;
    int pad_voices = 3; // 2 or 3 chord tones
    bool toms = false;  // the fill bars on toms instead of the snare
};

struct Tune {
    std::string file; // e.g. "SS_1.IT"
    std::string title;
    int key = 60; // tonic of the melody's octave, e.g. 67 for the G above middle C
    Scale scale = Scale::Major;
    int tempo = 125; // beats per minute
    Voices voices;
    std::map<std::string, std::string> motifs;
    std::vector<Section> sections;
    bool loops = false;  // ends on a turnaround into its own start instead of a final chord
    int mix_volume = 42; // 0..128, the module's mixing level: evens out the tunes' loudness
    std::string mood;    // one line for the song message
};

// Builds the module; on a mistake in the tune (a bad token, a melody longer than its section)
// returns false and says why in *error.
bool compose(const Tune& tune, ItModule* module, std::string* error);

// The tune's sections as "Intro(4) A(8) B(8) ...".
std::string tune_form(const Tune& tune);

// The eight tunes of the game: SS_1 .. SS_7 for the levels (SS_6 also the menu), SS_8 the
// hurry-up tune.
std::vector<Tune> game_tunes();

} // namespace audiogen
