#pragma once
// A tiny Impulse Tracker module for the tests: one looped square-wave sample and one pattern
// of `rows` rows with a note on its first row (0.12 s per row at speed 6, tempo 125).
#include "audio/it_writer.h"

#include <string>

inline std::string tiny_module(int rows = 8, int note = 60, int16_t level = 12000) {
    ItSong song;
    song.name = "tiny";
    for (int i = 0; i < 64; ++i)
        song.sample.push_back(i < 32 ? level : int16_t(-level));
    song.loop = true;
    ItPattern p;
    p.rows = rows;
    p.notes.push_back(ItNote{0, 0, note, 1, 64});
    song.patterns.push_back(p);
    return write_it_module(song);
}
