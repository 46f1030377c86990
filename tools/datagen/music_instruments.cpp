#include "music_instruments.h"

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
    bass.name = "bass";
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
    pad.name = "pad";
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
    SynthSample lead_sample = make_tone(lead);
    lead_sample.vib_speed = 28;
    lead_sample.vib_depth = 10;
    lead_sample.vib_sweep = 24;
    m->samples.push_back(lead_sample);

    ToneSpec arp;
    arp.name = "pluck";
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
    m->samples.push_back(make_tone(arp));

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
    l.volume_envelope = {{0, 40}, {1, 64}, {8, 54}, {14, 0}};
    l.sustain_point = 2;
    l.fadeout = 16;
    m->instruments.push_back(l);

    m->instruments.push_back(one_shot("pluck", kArp, 1));
}

} // namespace audiogen
