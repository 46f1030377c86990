#include "audio/mixer.h"

#include "runtime/numbers.h"

#include <algorithm>
#include <cmath>

float attenuation_gain(int hundredths_db) {
    hundredths_db = std::clamp(hundredths_db, -10000, 0);
    return float(std::pow(10.0, double(hundredths_db) / 2000.0));
}

StereoGain voice_gain(double pan, double volume) {
    double p = std::isnan(pan) ? 0.0 : std::clamp(pan, -1.0, 1.0);
    double v = std::isnan(volume) ? 0.0 : std::clamp(volume * 100.0, 0.0, 100.0);
    float level = attenuation_gain(to_int32(v) * 100 - 10000);
    int pan_db = to_int32(p * 10000.0);
    float far = attenuation_gain(-std::abs(pan_db));
    StereoGain g{level, level};
    if (pan_db > 0) g.left *= far;
    if (pan_db < 0) g.right *= far;
    return g;
}

int sound_slot_index(double slot) {
    int s = to_int32(slot);
    if (s < 0) return -1;
    return std::min(s, Mixer::kSlots - 1);
}

int sound_voice_count(double voices) {
    return std::clamp(to_int32(voices), 1, Mixer::kMaxVoices);
}

std::unique_ptr<SoundData> Mixer::replace(int slot, std::unique_ptr<SoundData> sound, int voices) {
    if (slot < 0 || slot >= kSlots) return sound;
    Slot& s = slots_[size_t(slot)];
    std::unique_ptr<SoundData> old = std::move(s.sound);
    s.sound = std::move(sound);
    s.voices = s.sound ? std::clamp(voices, 1, kMaxVoices) : 0;
    s.next = 0;
    s.voice = {};
    return old;
}

void Mixer::clear(std::vector<std::unique_ptr<SoundData>>& released) {
    for (int i = 0; i < kSlots; ++i)
        if (auto old = replace(i, nullptr, 0)) released.push_back(std::move(old));
}

int Mixer::play(int slot, double pan, double volume) {
    if (slot < 0 || slot >= kSlots) return -1;
    Slot& s = slots_[size_t(slot)];
    if (s.voices == 0 || !s.sound) return -1;
    if (s.voice[size_t(s.next)].playing) {
        if (s.voices == 1) return -1;
        s.next = (s.next + 1) % s.voices;
        // A voice still playing is cut off and starts again below.
    }
    Voice& v = s.voice[size_t(s.next)];
    v.playing = s.sound->frames() > 0;
    v.pos = 0;
    v.gain = voice_gain(pan, volume);
    return s.next;
}

void Mixer::mix(float* out, size_t frames) {
    for (Slot& s : slots_) {
        if (s.voices == 0) continue;
        const int16_t* src = s.sound->samples.data();
        size_t total = s.sound->frames();
        for (int vi = 0; vi < s.voices; ++vi) {
            Voice& v = s.voice[size_t(vi)];
            if (!v.playing) continue;
            size_t n = std::min(frames, total - v.pos);
            const int16_t* in = src + v.pos * 2;
            float gl = v.gain.left, gr = v.gain.right;
            for (size_t i = 0; i < n; ++i) {
                out[2 * i] += float(in[2 * i]) * gl;
                out[2 * i + 1] += float(in[2 * i + 1]) * gr;
            }
            v.pos += n;
            if (v.pos >= total) v.playing = false;
        }
    }
}

const Mixer::Voice* Mixer::voice_at(int slot, int voice) const {
    if (slot < 0 || slot >= kSlots || voice < 0 || voice >= kMaxVoices) return nullptr;
    return &slots_[size_t(slot)].voice[size_t(voice)];
}

bool Mixer::loaded(int slot) const {
    return voices(slot) > 0;
}

int Mixer::voices(int slot) const {
    return slot < 0 || slot >= kSlots ? 0 : slots_[size_t(slot)].voices;
}

int Mixer::next_voice(int slot) const {
    return slot < 0 || slot >= kSlots ? 0 : slots_[size_t(slot)].next;
}

bool Mixer::playing(int slot, int voice) const {
    const Voice* v = voice_at(slot, voice);
    return v && v->playing;
}

size_t Mixer::position(int slot, int voice) const {
    const Voice* v = voice_at(slot, voice);
    return v ? v->pos : 0;
}

StereoGain Mixer::gain(int slot, int voice) const {
    const Voice* v = voice_at(slot, voice);
    return v ? v->gain : StereoGain{};
}

void apply_output_gains(float* effects, const float* music, size_t samples, float effects_gain,
                        float music_gain) {
    for (size_t i = 0; i < samples; ++i)
        effects[i] = effects[i] * effects_gain + music[i] * music_gain;
}

void float_to_s16(const float* in, int16_t* out, size_t samples) {
    for (size_t i = 0; i < samples; ++i) {
        float x = std::nearbyint(in[i]);
        out[i] = int16_t(std::clamp(x, -32768.0f, 32767.0f));
    }
}
