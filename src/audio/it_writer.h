#pragma once
// Writes small Impulse Tracker modules: one 16-bit mono sample, one or more patterns played
// in order, notes without effects. Enough for generated music and for the music tests.
#include <cstdint>
#include <string>
#include <vector>

struct ItNote {
    int row = 0;
    int channel = 0; // 0..63
    int note = 60;   // 0..119 (60 = C-5), 254 note cut, 255 note off
    int sample = 1;  // 1-based, 0 = keep the channel's sample
    int volume = -1; // 0..64, -1 = the sample's default
};

struct ItPattern {
    int rows = 16; // 1..200
    std::vector<ItNote> notes;
};

struct ItSong {
    std::string name;
    int speed = 6;   // ticks per row
    int tempo = 125; // beats per minute
    int global_volume = 128;
    int mix_volume = 48;
    std::vector<int16_t> sample; // mono PCM of the one sample
    uint32_t sample_rate = 8363; // the sample's rate at C-5
    bool loop = false;           // loops over the whole sample
    std::vector<ItPattern> patterns;
    std::vector<int> orders; // pattern indices; empty = every pattern once, in turn
};

// The module's bytes.
std::string write_it_module(const ItSong& song);
