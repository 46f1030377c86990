#include "music_instruments.h"

#include "music_timbres.h"

#include <algorithm>

namespace audiogen {

namespace {

ItInstrument one_shot(const std::string& name, int sample, int nna) {
    ItInstrument ins;
    ins.name = name;
    ins.sample = sample;
    ins.new_note_action = nna;
    return ins;
}

const char* wave_name(Wave w) {
    switch (w) {
    case Wave::Saw:
        return "saw";
    case Wave::Square:
        return "square";
    case Wave::Pulse25:
        return "pulse";
    case Wave::Triangle:
        return "triangle";
    case Wave::Sine:
        return "sine";
    case Wave::Organ:
        return "organ";
    case Wave::Hollow:
        return "reed";
    }
    return "wave";
}

// A melodic voice at note 72 in the chosen timbre; `wave` for the additive one.
SynthSample melodic(const std::string& name, Timbre timbre, Wave w, const SynthSample& wave,
                    uint32_t seed) {
    switch (timbre) {
    case Timbre::Pluck:
        return make_pluck(name + ": plucked", 72, 1.4, 0.7, seed);
    case Timbre::Mallet:
        return make_mallet(name + ": mallet", 72, 1.8, 0.5, seed);
    case Timbre::Brass:
        return make_brass(name + ": brass", 72, 0.09, 0.75, seed);
    case Timbre::Wave:
        break;
    }
    SynthSample out = wave;
    out.name = name + ": " + wave_name(w);
    return out;
}

} // namespace

void build_instruments(const Voices& v, ItModule* m) {
    m->samples.clear();
    m->instruments.clear();

    m->samples.push_back(make_kick(v.kick_punch));
    m->samples.push_back(make_snare(v.snare_tone));
    m->samples.push_back(make_hat(false));
    m->samples.push_back(make_hat(true));
    m->samples.push_back(make_crash());

    ToneSpec bass;
    bass.name = std::string("bass: ") + wave_name(v.bass);
    bass.wave = v.bass;
    bass.base_note = 36;
    bass.rate = 11025;
    bass.loop_len = 1024;
    bass.length = 6144;
    bass.max_freq = 4000;
    bass.decay_s = v.bass_decay_s;
    bass.decay_tilt = 0.5;
    bass.floor = 0.3;
    bass.seed = 61;
    m->samples.push_back(make_tone(bass));

    ToneSpec pad;
    pad.name = std::string("pad: ") + wave_name(v.pad);
    pad.wave = v.pad;
    pad.base_note = 60;
    pad.rate = 22050;
    pad.loop_len = 8192;
    pad.length = 8192;
    pad.max_freq = 7000;
    if (v.pad == Wave::Organ) {
        pad.oscillators = {{0, 1.0}, {1, 0.45}};
    } else {
        pad.oscillators = {{-1, 0.8}, {0, 1.0}, {1, 0.8}};
        pad.brightness = 0.6;
    }
    pad.seed = 71;
    m->samples.push_back(make_tone(pad));

    ToneSpec lead;
    lead.name = "lead";
    lead.wave = v.lead;
    lead.base_note = 72;
    lead.rate = 44100;
    lead.loop_len = 8192;
    lead.length = 8192;
    lead.max_freq = 12000;
    lead.brightness = v.lead_brightness;
    if (v.lead_chorus) lead.oscillators = {{0, 1.0}, {1, 0.35}};
    lead.seed = 81;
    SynthSample lead_sample = melodic("lead", v.lead_timbre, v.lead, make_tone(lead), 83);
    if (v.lead_timbre == Timbre::Wave || v.lead_timbre == Timbre::Brass) {
        lead_sample.vib_speed = 28;
        lead_sample.vib_depth = 10;
        lead_sample.vib_sweep = 24;
    }
    m->samples.push_back(lead_sample);

    ToneSpec arp;
    arp.name = std::string("arpeggio: ") + wave_name(v.arp);
    arp.wave = v.arp;
    arp.base_note = 72;
    arp.rate = 22050;
    arp.loop_len = 2048;
    arp.length = 6615;
    arp.max_freq = 6000;
    arp.decay_s = 0.05;
    arp.decay_tilt = 0.4;
    arp.floor = 0.0;
    arp.loop = false;
    arp.seed = 91;
    if (v.arp_timbre == Timbre::Pluck)
        m->samples.push_back(make_pluck("arpeggio: plucked", 72, 0.7, 0.55, 93));
    else if (v.arp_timbre == Timbre::Mallet)
        m->samples.push_back(make_mallet("arpeggio: mallet", 72, 0.9, 0.3, 93));
    else
        m->samples.push_back(make_tone(arp));

    ToneSpec soft = lead; // the counter's wave when it has no sampled timbre: a soft sine-ish
    soft.wave = Wave::Triangle;
    soft.oscillators = {{0, 1.0}, {1, 0.3}};
    soft.seed = 95;
    m->samples.push_back(melodic("counter", v.counter_timbre, soft.wave, make_tone(soft), 97));
    m->samples.push_back(make_tom(45));
    m->samples.push_back(make_clap());

    m->instruments.push_back(one_shot("kick", kKick, 0));
    m->instruments.push_back(one_shot("snare", kSnare, 0));
    m->instruments.push_back(one_shot("closed hat", kHat, 0));
    m->instruments.push_back(one_shot("open hat", kOpenHat, 0));
    m->instruments.push_back(one_shot("crash", kCrash, 0));

    ItInstrument b = one_shot("bass", kBass, 0);
    b.volume_envelope = {{0, 64}, {6, 58}, {10, 0}};
    b.sustain_point = 1;
    b.fadeout = 32;
    m->instruments.push_back(b);

    ItInstrument p = one_shot("pad", kPad, 2);
    const int a = std::max(1, v.pad_attack_ticks);
    // Quick pads (stabs, pulses) let go quickly too; slow swells fade out slowly.
    const int release = std::max(6, 2 * a + 4);
    p.volume_envelope = {{0, a > 1 ? 0 : 48}, {a, 64}, {a + 4, 54}, {a + 4 + release, 0}};
    p.sustain_point = 2;
    p.fadeout = 16;
    m->instruments.push_back(p);

    ItInstrument l = one_shot("lead", kLead, 0);
    const int la = std::max(1, v.lead_attack_ticks), lr = std::max(2, v.lead_release_ticks);
    l.volume_envelope = {{0, la > 1 ? 16 : 40}, {la, 64}, {la + 7, 54}, {la + 7 + lr, 0}};
    l.sustain_point = 2;
    l.fadeout = 16;
    m->instruments.push_back(l);

    m->instruments.push_back(one_shot("pluck", kArp, 1));

    ItInstrument c = one_shot("counter", kCounter, 2);
    c.volume_envelope = {{0, 48}, {2, 64}, {10, 50}, {22, 0}};
    c.sustain_point = 2;
    c.fadeout = 12;
    m->instruments.push_back(c);
    m->instruments.push_back(one_shot("tom", kTom, 1));
    m->instruments.push_back(one_shot("clap", kClap, 0));
}

} // namespace audiogen
