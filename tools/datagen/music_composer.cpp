#include "music_composer.h"

#include "music_instruments.h"
#include "music_tidy.h"

#include <algorithm>
#include <array>

namespace audiogen {

namespace {

constexpr int kStepsPerBar = 16;
enum Channel {
    chLead,
    chEcho,
    chBass,
    chPad0,
    chPad1,
    chPad2,
    chArp,
    chKick,
    chSnare,
    chHat,
    chCrash,
    chCounter,
    chPerc,
    kChannels
};

const std::array<int, 7>& scale_steps(Scale s) {
    static const std::array<int, 7> major{0, 2, 4, 5, 7, 9, 11}, minor{0, 2, 3, 5, 7, 8, 10},
        dorian{0, 2, 3, 5, 7, 9, 10}, mixo{0, 2, 4, 5, 7, 9, 10}, harmonic{0, 2, 3, 5, 7, 8, 11};
    switch (s) {
    case Scale::Major:
        return major;
    case Scale::Minor:
        return minor;
    case Scale::Dorian:
        return dorian;
    case Scale::Mixolydian:
        return mixo;
    case Scale::HarmonicMinor:
        return harmonic;
    }
    return major;
}

// Semitones above the tonic of degree d (0-based, any integer: wraps into octaves).
int degree_semis(Scale s, int d) {
    int oct = d >= 0 ? d / 7 : -((-d + 6) / 7);
    return scale_steps(s)[size_t(d - oct * 7)] + 12 * oct;
}

struct Note {
    int step;  // sixteenth from the start of the section
    int pitch; // -1 rest
    int len;
    int harmony; // a diatonic third below the pitch
};

std::vector<std::string> split(const std::string& text, char sep = ' ') {
    std::vector<std::string> out;
    std::string cur;
    for (char c : text) {
        if (c == sep || c == '\n' || c == '\t') {
            if (!cur.empty()) out.push_back(cur);
            cur.clear();
        } else {
            cur.push_back(c);
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

bool parse_melody(const Tune& tune, const std::string& text, std::vector<Note>* notes, int* steps,
                  std::string* error) {
    int len = 4;
    for (const std::string& tok : split(text)) {
        if (tok == "|") continue;
        size_t i = 0;
        int accidental = 0;
        while (i < tok.size() && (tok[i] == '#' || tok[i] == 'b'))
            accidental += tok[i++] == '#' ? 1 : -1;
        if (i >= tok.size()) {
            *error = "bad note '" + tok + "'";
            return false;
        }
        int pitch = -1, harmony = -1;
        if (tok[i] == 'r') {
            ++i;
        } else if (tok[i] >= '1' && tok[i] <= '7') {
            pitch = tune.key + degree_semis(tune.scale, tok[i] - '1') + accidental;
            harmony = tune.key + degree_semis(tune.scale, tok[i] - '1' - 2);
            ++i;
        } else {
            *error = "bad note '" + tok + "'";
            return false;
        }
        for (; i < tok.size() && (tok[i] == '\'' || tok[i] == ','); ++i) {
            const int octave = tok[i] == '\'' ? 12 : -12;
            pitch += octave;
            harmony += octave;
        }
        if (i < tok.size()) {
            if (tok[i] != ':' || i + 1 >= tok.size()) {
                *error = "bad note '" + tok + "'";
                return false;
            }
            len = std::atoi(tok.c_str() + i + 1);
            if (len <= 0 || len > 64) {
                *error = "bad length in '" + tok + "'";
                return false;
            }
        }
        notes->push_back({*steps, pitch, len, pitch < 0 ? -1 : harmony});
        *steps += len;
    }
    return true;
}

struct Chord {
    int root = 0;           // semitones above the tonic, 0..11
    std::vector<int> tones; // semitones above the tonic (root first)
};

bool parse_chord(const Tune& tune, const std::string& tok, Chord* chord, std::string* error) {
    size_t i = 0;
    int accidental = 0;
    while (i < tok.size() && (tok[i] == '#' || tok[i] == 'b'))
        accidental += tok[i++] == '#' ? 1 : -1;
    if (i >= tok.size() || tok[i] < '1' || tok[i] > '7') {
        *error = "bad chord '" + tok + "'";
        return false;
    }
    const int d = tok[i++] - '1';
    const int root = degree_semis(tune.scale, d) + accidental;
    std::string quality = tok.substr(i);
    int third, fifth;
    if (accidental != 0 && quality.find_first_of("Mms") == std::string::npos) quality += "M";
    if (quality.find('M') != std::string::npos) {
        third = root + 4;
        fifth = root + 7;
    } else if (quality.find('m') != std::string::npos) {
        third = root + 3;
        fifth = root + 7;
    } else if (quality.find('s') != std::string::npos) {
        third = root + 5;
        fifth = root + 7;
    } else {
        third = degree_semis(tune.scale, d + 2);
        fifth = degree_semis(tune.scale, d + 4);
    }
    for (char c : quality)
        if (c != 'M' && c != 'm' && c != 's' && c != '7') {
            *error = "bad chord '" + tok + "'";
            return false;
        }
    chord->root = ((root % 12) + 12) % 12;
    chord->tones = {root, third, fifth};
    if (quality.find('7') != std::string::npos) {
        int seventh =
            quality.find('M') != std::string::npos ? root + 10 : degree_semis(tune.scale, d + 6);
        chord->tones.push_back(seventh);
    }
    return true;
}

// Chord tones placed closest to `centre` (close position, smooth from chord to chord).
std::vector<int> voicing(const Tune& tune, const Chord& c, int centre, size_t voices) {
    std::vector<int> out;
    // With three voices a seventh chord drops its fifth.
    std::vector<int> tones = c.tones;
    if (tones.size() > voices && tones.size() == 4) tones.erase(tones.begin() + 2);
    for (int t : tones) {
        int pc = ((tune.key + t) % 12 + 12) % 12;
        int n = centre - 6 + ((pc - (centre - 6)) % 12 + 12) % 12;
        out.push_back(n);
    }
    std::sort(out.begin(), out.end());
    return out;
}

int bass_note(const Tune& tune, const Chord& c) {
    // Bass lives between B1 and A#2 (note 35..46).
    int pc = ((tune.key + c.root) % 12 + 12) % 12;
    return 35 + ((pc - 35) % 12 + 12) % 12;
}

void put(ItPattern& p, int row, int ch, int note, int ins, int vol) {
    if (row < 0 || row >= p.rows) return;
    ItCell& c = p.at(row, ch);
    c.note = note;
    c.instrument = note >= 0 && note < 120 ? ins : 0;
    c.volume = note >= 0 && note < 120 ? std::clamp(vol, 0, 64) : -1;
}

struct Groovebar {
    const char* kick;
    const char* snare;
    const char* hat; // x closed, o soft closed, O open
};

Groovebar groove_bar(Groove g) {
    switch (g) {
    case Groove::Intro:
        return {"x.......x.......", "................", "..x...x...x...x."};
    case Groove::Rock:
        return {"x.....x.x.......", "....x.......x...", "x.x.x.x.x.x.x.x."};
    case Groove::Four:
        return {"x...x...x...x...", "....x.......x...", "x.O.x.O.x.O.x.O."};
    case Groove::Beat16:
        return {"x......x..x.....", "....x.......x..o", "xoxoxoxoxoxoxoxo"};
    case Groove::Half:
        return {"x.........x.....", "........x.......", "x.x.x.x.x.x.x.x."};
    case Groove::Drive:
        return {"x...x...x...x...", "....x..o....x.o.", "xoxoxoxoxoxoxoxo"};
    case Groove::Break:
        return {"x.........x.....", "....x..o.o..x...", "x.x.x.x.x.x.x.xO"};
    case Groove::Hit:
        return {"x...............", "................", "................"};
    case Groove::None:
        break;
    }
    return {"................", "................", "................"};
}

struct Builder {
    const Tune& tune;
    std::string* error;

    bool section(const Section& s, bool first, ItPattern* out) {
        ItPattern& p = *out;
        const Voices& v = tune.voices;
        const int steps = s.bars * kStepsPerBar;

        // Chords: two per bar (the same twice for a whole-bar chord).
        std::vector<std::string> bars = split(s.chords);
        if (int(bars.size()) != s.bars) {
            *error = "section of " + std::to_string(s.bars) + " bars has " +
                     std::to_string(bars.size()) + " chords";
            return false;
        }
        std::vector<Chord> halves;
        for (const std::string& b : bars) {
            std::vector<std::string> parts = split(b, '/');
            if (parts.empty() || parts.size() > 2) {
                *error = "bad chord bar '" + b + "'";
                return false;
            }
            Chord a, c;
            if (!parse_chord(tune, parts[0], &a, error)) return false;
            c = a;
            if (parts.size() == 2 && !parse_chord(tune, parts[1], &c, error)) return false;
            halves.push_back(a);
            halves.push_back(c);
        }
        auto chord_at = [&](int step) -> const Chord& {
            return halves[size_t(std::min(step, steps - 1) / 8)];
        };

        // Melody.
        std::vector<Note> melody;
        int mel_steps = 0;
        for (const std::string& name : split(s.melody)) {
            auto it = tune.motifs.find(name);
            if (it == tune.motifs.end()) {
                *error = "no motif '" + name + "'";
                return false;
            }
            if (!parse_melody(tune, it->second, &melody, &mel_steps, error)) return false;
        }
        if (mel_steps > steps) {
            *error = "melody '" + s.melody + "' is " + std::to_string(mel_steps) +
                     " steps, section " + std::to_string(steps);
            return false;
        }
        if (melody.empty() || melody.front().step > 0) put(p, 0, chLead, kItNoteOff, 0, 0);
        for (size_t i = 0; i < melody.size(); ++i) {
            const Note& n = melody[i];
            if (n.pitch < 0) {
                put(p, n.step, chLead, kItNoteOff, 0, 0);
                continue;
            }
            int vol = v.lead_volume + (n.step % 4 == 0 ? 4 : 0);
            put(p, n.step, chLead, n.pitch + s.lead_shift, kLead, vol);
            if (s.harmony) put(p, n.step, chEcho, n.harmony + s.lead_shift, kLead, vol * 3 / 5);
        }
        if (!melody.empty() && mel_steps < steps) put(p, mel_steps, chLead, kItNoteOff, 0, 0);
        if (s.harmony) {
            // The second voice follows the lead's rests and note-offs.
            for (int r = 0; r < p.rows; ++r)
                if (p.at(r, chLead).note == kItNoteOff) put(p, r, chEcho, kItNoteOff, 0, 0);
        } else if (v.echo_rows > 0) {
            for (int r = 0; r + v.echo_rows < p.rows; ++r) {
                const ItCell& c = p.at(r, chLead);
                if (c.note < 0) continue;
                put(p, r + v.echo_rows, chEcho, c.note, kLead, c.volume * 2 / 5);
            }
        }

        // Bass.
        for (int bar = 0; bar < s.bars; ++bar) {
            const int b0 = bar * kStepsPerBar;
            auto note = [&](int at, int interval, int accent = 0) {
                put(p, b0 + at, chBass, bass_note(tune, chord_at(b0 + at)) + interval, kBass,
                    v.bass_volume + accent);
            };
            auto off = [&](int at) { put(p, b0 + at, chBass, kItNoteOff, 0, 0); };
            const Chord& next = chord_at(b0 + kStepsPerBar);
            switch (s.bass) {
            case BassStyle::None:
                if (bar == 0) off(0);
                break;
            case BassStyle::Hold:
                note(0, 0);
                if (chord_at(b0 + 8).root != chord_at(b0).root) note(8, 0);
                break;
            case BassStyle::Root8:
                for (int st = 0; st < 16; st += 2)
                    note(st, st == 14 ? 7 : 0, st % 4 ? -8 : 0);
                break;
            case BassStyle::Octave8:
                for (int st = 0; st < 16; st += 2)
                    note(st, (st / 2) % 2 ? 12 : 0, st % 4 ? -6 : 0);
                break;
            case BassStyle::Walk: {
                note(0, 0);
                note(4, 7);
                note(8, chord_at(b0 + 8).root == chord_at(b0).root ? 12 : 0);
                int target = bass_note(tune, next);
                int here = bass_note(tune, chord_at(b0 + 12));
                if (target == here)
                    note(12, 7);
                else
                    put(p, b0 + 12, chBass, target + (target > here ? -1 : 1), kBass,
                        v.bass_volume);
                break;
            }
            case BassStyle::Syncop:
                note(0, 0);
                off(2);
                note(3, 0);
                note(6, 12);
                off(7);
                note(8, 0);
                note(10, 7);
                off(12);
                note(14, 12);
                break;
            case BassStyle::Drive16:
                for (int st = 0; st < 16; ++st) {
                    put(p, b0 + st, chBass,
                        bass_note(tune, chord_at(b0 + st)) + (st == 14   ? 7
                                                              : st == 15 ? 12
                                                                         : 0),
                        kBass, st % 4 == 0 ? v.bass_volume : v.bass_volume * 3 / 4);
                }
                break;
            }
        }

        // Chord pad and arpeggio.
        const int centre = 64 + ((tune.key % 12) > 6 ? -2 : 2);
        const int pad_voices = std::clamp(v.pad_voices, 2, 3);
        auto pad_chord = [&](int step, bool on) {
            std::vector<int> notes = voicing(tune, chord_at(step), centre, 3);
            // Two voices: the third and the fifth (the bass has the root).
            if (pad_voices == 2 && notes.size() == 3) {
                const int root_pc = ((tune.key + chord_at(step).root) % 12 + 12) % 12;
                auto root = std::find_if(notes.begin(), notes.end(),
                                         [&](int n) { return n % 12 == root_pc; });
                notes.erase(root == notes.end() ? notes.begin() : root);
            }
            for (int i = 0; i < pad_voices; ++i) {
                if (on)
                    put(p, step, chPad0 + i, notes[size_t(i)], kPad, v.pad_volume);
                else
                    put(p, step, chPad0 + i, kItNoteOff, 0, 0);
            }
        };
        for (int bar = 0; bar < s.bars; ++bar) {
            const int b0 = bar * kStepsPerBar;
            switch (s.pad) {
            case PadStyle::None:
                if (bar == 0) pad_chord(0, false);
                break;
            case PadStyle::Hold:
                // A chord that goes on is held, not struck again.
                if (bar == 0 || chord_at(b0 - 1).tones != chord_at(b0).tones) pad_chord(b0, true);
                if (chord_at(b0 + 8).tones != chord_at(b0).tones) pad_chord(b0 + 8, true);
                break;
            case PadStyle::Stabs:
                for (int st = 2; st < 16; st += 4) {
                    pad_chord(b0 + st, true);
                    pad_chord(b0 + st + 1, false);
                }
                break;
            case PadStyle::Pulse8:
                for (int st = 0; st < 16; st += 2) {
                    pad_chord(b0 + st, true);
                    pad_chord(b0 + st + 1, false);
                }
                break;
            case PadStyle::Rhythm:
                for (int st : {0, 3, 6, 10, 12})
                    pad_chord(b0 + st, true);
                pad_chord(b0 + 15, false);
                break;
            }
            if (s.arp) {
                static const int order[8] = {0, 1, 2, 3, 2, 1, 0, 1};
                for (int st = 0; st < 16; ++st) {
                    std::vector<int> notes = voicing(tune, chord_at(b0 + st), centre, 3);
                    notes.push_back(notes[0] + 12);
                    int n = notes[size_t(order[(st + bar * 16) % 8])] + 12;
                    put(p, b0 + st, chArp, n, kArp, v.arp_volume + (st % 4 == 0 ? 6 : 0));
                }
            }
        }

        // The counter voice.
        std::vector<bool> lead_sounding(size_t(steps), false);
        for (const Note& n : melody)
            if (n.pitch >= 0)
                for (int st = n.step; st < std::min(steps, n.step + n.len); ++st)
                    lead_sounding[size_t(st)] = true;
        const int counter_centre = centre + 10 + s.counter_shift;
        switch (s.counter) {
        case Counter::None:
            break;
        case Counter::Sustain:
            for (int st = 0; st < steps; st += 8)
                if (st == 0 || chord_at(st - 1).tones != chord_at(st).tones) {
                    std::vector<int> notes = voicing(tune, chord_at(st), counter_centre, 3);
                    put(p, st, chCounter, notes[1], kCounter, v.counter_volume);
                }
            break;
        case Counter::Answer: {
            // Rising chord tones on the eighths while the lead holds back.
            int k = 0;
            for (int st = 0; st < steps; st += 2) {
                const bool gap = !lead_sounding[size_t(st)] &&
                                 (st + 1 >= steps || !lead_sounding[size_t(st + 1)]);
                if (!gap) {
                    if (k > 0) put(p, st, chCounter, kItNoteOff, 0, 0);
                    k = 0;
                    continue;
                }
                std::vector<int> notes = voicing(tune, chord_at(st), counter_centre, 3);
                notes.push_back(notes[0] + 12);
                put(p, st, chCounter, notes[size_t(k % 4)], kCounter,
                    v.counter_volume - (k % 2) * 6);
                ++k;
            }
            break;
        }
        case Counter::Stabs:
            for (int bar = 0; bar < s.bars; ++bar)
                for (int st : {6, 14}) {
                    const int at = bar * kStepsPerBar + st;
                    std::vector<int> notes = voicing(tune, chord_at(at), counter_centre, 3);
                    put(p, at, chCounter, notes[2], kCounter, v.counter_volume);
                    put(p, at + 1, chCounter, kItNoteOff, 0, 0);
                }
            break;
        case Counter::Melody: {
            std::vector<Note> line;
            int line_steps = 0;
            for (const std::string& name : split(s.counter_melody)) {
                auto it = tune.motifs.find(name);
                if (it == tune.motifs.end()) {
                    *error = "no motif '" + name + "'";
                    return false;
                }
                if (!parse_melody(tune, it->second, &line, &line_steps, error)) return false;
            }
            if (line_steps > steps) {
                *error = "counter melody '" + s.counter_melody + "' is longer than its section";
                return false;
            }
            for (const Note& n : line)
                put(p, n.step, chCounter, n.pitch < 0 ? kItNoteOff : n.pitch + s.counter_shift,
                    kCounter, v.counter_volume);
            if (line_steps < steps) put(p, line_steps, chCounter, kItNoteOff, 0, 0);
            break;
        }
        }

        // Drums.
        const Groovebar g = groove_bar(s.groove);
        for (int bar = 0; bar < s.bars; ++bar) {
            const int b0 = bar * kStepsPerBar;
            const bool fill_bar = s.fill && bar == s.bars - 1 && s.bars >= 4 &&
                                  s.groove != Groove::None && s.groove != Groove::Hit;
            // Halfway through an eight-bar phrase the groove takes a breath: an open hat and a
            // ghost note lead into the second half.
            const bool turn_bar = s.bars == 8 && bar == 3 && s.groove != Groove::None &&
                                  s.groove != Groove::Hit && s.groove != Groove::Intro;
            for (int st = 0; st < 16; ++st) {
                if (turn_bar && st == 14) {
                    put(p, b0 + st, chHat, 60, kOpenHat, v.hat_volume + 2);
                    put(p, b0 + 15, chSnare, 60, kSnare, 26);
                    if (g.kick[st] == 'x') put(p, b0 + st, chKick, 60, kKick, 64);
                    ++st;
                    continue;
                }
                if (g.kick[st] == 'x') put(p, b0 + st, chKick, 60, kKick, 64);
                if (fill_bar && st >= 8 && v.toms) {
                    // Down the toms: two high, two middle, then the floor tom.
                    static const int tom_notes[8] = {67, -1, 67, 62, 62, -1, 55, 55};
                    if (tom_notes[st - 8] >= 0)
                        put(p, b0 + st, chPerc, tom_notes[st - 8], kTom, 44 + (st - 8) * 2);
                    if (st == 15) put(p, b0 + st, chSnare, 60, kSnare, 52);
                } else if (fill_bar && st >= 8) {
                    static const char* fill = "x.xxx.xx";
                    if (fill[st - 8] == 'x')
                        put(p, b0 + st, chSnare, 60, kSnare, 34 + (st - 8) * 4);
                } else if (g.snare[st] != '.') {
                    put(p, b0 + st, chSnare, 60, kSnare, g.snare[st] == 'x' ? 60 : 22);
                }
                if (s.perc && g.snare[st] == 'x' && !(fill_bar && st >= 8))
                    put(p, b0 + st, chPerc, 60, kClap, 40);
                char h = g.hat[st];
                if (h == 'x')
                    put(p, b0 + st, chHat, 60, kHat, v.hat_volume + 6);
                else if (h == 'o')
                    put(p, b0 + st, chHat, 60, kHat, v.hat_volume - 6);
                else if (h == 'O')
                    put(p, b0 + st, chHat, 60, kOpenHat, v.hat_volume);
            }
        }
        if (s.crash && s.groove != Groove::None && !first) put(p, 0, chCrash, 60, kCrash, 40);
        if (s.groove == Groove::Hit) {
            // The final chord: a crash, and the tempo eases off for the last bar.
            put(p, 0, chCrash, 60, kCrash, 44);
            p.at(0, chKick).command = 20; // T
            p.at(0, chKick).param = std::clamp(tune.tempo * 3 / 4, 32, 255);
        }

        // Swing: every second sixteenth comes late.
        if (v.swing_ticks > 0) {
            for (int r = 1; r < p.rows; r += 2)
                for (int ch = 0; ch < kChannels; ++ch) {
                    ItCell& c = p.at(r, ch);
                    if (c.note >= 0 && c.command == 0) {
                        c.command = 19; // S
                        c.param = 0xD0 | std::min(v.swing_ticks, 5);
                    }
                }
        }
        return true;
    }
};

} // namespace

std::string tune_form(const Tune& tune) {
    std::string form;
    for (const Section& s : tune.sections) {
        if (!form.empty()) form += " ";
        form += (s.label.empty() ? std::string("?") : s.label) + "(" + std::to_string(s.bars) + ")";
    }
    return form;
}

bool compose(const Tune& tune, ItModule* m, std::string* error) {
    *m = ItModule{};
    m->name = tune.title;
    m->speed = 6;
    m->tempo = tune.tempo;
    m->mix_volume = std::clamp(tune.mix_volume, 1, 128);
    m->channel_pan = {32, 46, 32, 18, 32, 46, 44, 32, 28, 40, 22, 20, 36};
    m->message = song_message(tune);
    build_instruments(tune.voices, m);
    Builder b{tune, error};
    std::vector<std::string> packed;
    bool first = true;
    for (const Section& s : tune.sections) {
        if (s.bars < 1 || s.bars > 12) {
            *error = "section length out of range";
            return false;
        }
        ItPattern p(s.bars * kStepsPerBar, kChannels);
        if (!b.section(s, first, &p)) return false;
        first = false;
        // Identical sections share one pattern.
        std::string key;
        for (const ItCell& c : p.cells)
            key += std::to_string(c.note) + "," + std::to_string(c.instrument) + "," +
                   std::to_string(c.volume) + "," + std::to_string(c.command) + "," +
                   std::to_string(c.param) + ";";
        auto it = std::find(packed.begin(), packed.end(), key);
        if (it != packed.end()) {
            m->orders.push_back(int(it - packed.begin()));
        } else {
            m->orders.push_back(int(m->patterns.size()));
            m->patterns.push_back(p);
            packed.push_back(key);
        }
    }
    drop_silent_channels(m, chKick);
    drop_unused_instruments(m);
    return true;
}

} // namespace audiogen
