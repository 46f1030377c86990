// Finishing a composed module: silent channels and unused instruments removed, the song
// message written.
#include "music_tidy.h"

#include <algorithm>

namespace audiogen {

// Keeps only the channels where some note sounds, in their order.
void drop_silent_channels(ItModule* m, int kick_channel) {
    std::vector<int> keep;
    const int channels = m->patterns.empty() ? 0 : m->patterns[0].channels;
    for (int ch = 0; ch < channels; ++ch) {
        bool used = false;
        for (const ItPattern& p : m->patterns)
            for (int r = 0; r < p.rows && !used; ++r)
                used = p.at(r, ch).note >= 0 && p.at(r, ch).note < 120;
        if (used) keep.push_back(ch);
    }
    for (ItPattern& p : m->patterns) {
        ItPattern q(p.rows, int(keep.size()));
        for (int r = 0; r < p.rows; ++r)
            for (size_t i = 0; i < keep.size(); ++i)
                q.at(r, int(i)) = p.at(r, keep[i]);
        // A tempo change lives on the kick channel; keep it if that channel went.
        for (int r = 0; r < p.rows; ++r)
            if (p.at(r, kick_channel).command != 0 &&
                std::find(keep.begin(), keep.end(), kick_channel) == keep.end() && !keep.empty()) {
                q.at(r, 0).command = p.at(r, kick_channel).command;
                q.at(r, 0).param = p.at(r, kick_channel).param;
            }
        p = q;
    }
    std::vector<int> pan;
    for (int ch : keep)
        pan.push_back(m->channel_pan[size_t(ch)]);
    m->channel_pan = pan;
}

// Removes the instruments (and their samples) no note plays, numbering the rest anew.
void drop_unused_instruments(ItModule* m) {
    std::vector<bool> used(m->instruments.size() + 1, false);
    for (const ItPattern& p : m->patterns)
        for (const ItCell& c : p.cells)
            if (c.instrument > 0 && size_t(c.instrument) < used.size())
                used[size_t(c.instrument)] = true;
    std::vector<int> renumber(used.size(), 0);
    std::vector<ItInstrument> instruments;
    std::vector<SynthSample> samples;
    for (size_t i = 1; i < used.size(); ++i) {
        if (!used[i]) continue;
        ItInstrument ins = m->instruments[i - 1];
        samples.push_back(m->samples[size_t(ins.sample - 1)]);
        ins.sample = int(samples.size());
        instruments.push_back(ins);
        renumber[i] = int(instruments.size());
    }
    for (ItPattern& p : m->patterns)
        for (ItCell& c : p.cells)
            if (c.instrument > 0) c.instrument = renumber[size_t(c.instrument)];
    m->instruments = instruments;
    m->samples = samples;
}

namespace {

const char* key_name(int key) {
    static const char* names[12] = {"C",  "C#", "D",  "Eb", "E",  "F",
                                    "F#", "G",  "Ab", "A",  "Bb", "B"};
    return names[((key % 12) + 12) % 12];
}

const char* scale_name(Scale s) {
    switch (s) {
    case Scale::Major:
        return "major";
    case Scale::Minor:
        return "minor";
    case Scale::Dorian:
        return "dorian";
    case Scale::Mixolydian:
        return "mixolydian";
    case Scale::HarmonicMinor:
        return "harmonic minor";
    }
    return "";
}

} // namespace

std::string song_message(const Tune& tune) {
    std::string out = "Title: " + tune.title + "\nForm: " + tune_form(tune) +
                      "\nEnding: " + (tune.loops ? "seamless loop" : "final chord") +
                      "\nKey: " + key_name(tune.key) + " " + scale_name(tune.scale) + ", " +
                      std::to_string(tune.tempo) + " BPM";
    if (!tune.mood.empty()) out += "\nMood: " + tune.mood;
    return out;
}

} // namespace audiogen
