#pragma once
// Impulse Tracker modules (format 2.14, instrument mode, uncompressed samples).
#include "audio_synth.h"

#include <cstdint>
#include <string>
#include <vector>

namespace audiogen {

constexpr int kItNoteOff = 255;
constexpr int kItNoteCut = 254;

struct ItCell {
    int note = -1;      // 0..119 (60 = middle C), kItNoteOff, kItNoteCut; -1 none
    int instrument = 0; // 1-based; 0 none
    int volume = -1;    // 0..64; -1 none
    int command = 0;    // effect letter as 1..26 (A = 1); 0 none
    int param = 0;
    bool empty() const { return note < 0 && instrument == 0 && volume < 0 && command == 0; }
};

struct ItPattern {
    int rows = 64;
    int channels = 0;
    std::vector<ItCell> cells; // rows * channels, row-major
    ItPattern(int rows_, int channels_)
        : rows(rows_), channels(channels_), cells(size_t(rows_) * size_t(channels_)) {}
    ItCell& at(int row, int ch) { return cells[size_t(row) * size_t(channels) + size_t(ch)]; }
    const ItCell& at(int row, int ch) const {
        return cells[size_t(row) * size_t(channels) + size_t(ch)];
    }
};

struct ItEnvelopePoint {
    int tick;
    int value; // 0..64
};

struct ItInstrument {
    std::string name;
    int sample = 1;                               // 1-based sample played for every note
    int new_note_action = 0;                      // 0 cut, 1 continue, 2 note off, 3 note fade
    int fadeout = 0;                              // 0..256 per tick after the release
    int global_volume = 128;                      // 0..128
    std::vector<ItEnvelopePoint> volume_envelope; // empty: none
    int sustain_point = -1;                       // index of the node held until note-off, -1 none
};

struct ItModule {
    std::string name;
    int speed = 6;           // ticks per row
    int tempo = 125;         // beats per minute at 4 rows per beat and speed 6
    int global_volume = 128; // 0..128
    int mix_volume = 48;     // 0..128
    int row_highlight_minor = 4, row_highlight_major = 16;
    std::vector<int> channel_pan; // 0..64 per used channel; the rest are switched off
    std::vector<int> orders;      // pattern numbers; the song ends after the last
    std::string message;          // song message, lines joined by '\n'; "" for none
    std::vector<ItPattern> patterns;
    std::vector<ItInstrument> instruments;
    std::vector<SynthSample> samples;
};

// The complete file image. The module must be consistent (orders name existing patterns,
// instruments name existing samples); the composer guarantees that.
std::string it_bytes(const ItModule& module);

} // namespace audiogen
