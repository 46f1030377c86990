#pragma once
// The effects mixer: 128 sound slots of 1..4 voices each, mixed into float buffers. A pure
// object without a device or a lock: the sound device owns one and guards it; tests drive
// their own.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// One sound in the device format: interleaved stereo 16-bit frames at 44100 Hz.
struct SoundData {
    std::vector<int16_t> samples;
    size_t frames() const { return samples.size() / 2; }
};

// Linear gains of the two sides.
struct StereoGain {
    float left = 1.0f;
    float right = 1.0f;
};

// Hundredths of a decibel (0 = full level, -10000 = -100 dB) as a linear gain.
float attenuation_gain(int hundredths_db);
// Volume and pan as the game passes them: volume 0..1 becomes trunc(v*100)*100 - 10000
// hundredths of a dB on both sides; pan -1..1 attenuates the far side by trunc(|pan|*10000)
// hundredths of a dB (a balance control). Both are clamped; NaN counts as 0.
StereoGain voice_gain(double pan, double volume);

// Slot number as the game passes it: above 127 uses 127, negative gives -1 (no slot).
int sound_slot_index(double slot);
// Voice count clamped to 1..4.
int sound_voice_count(double voices);

class Mixer {
  public:
    static constexpr int kSlots = 128;
    static constexpr int kMaxVoices = 4;

    // Puts `sound` (null: nothing) into the slot with `voices` voices; all voices stopped, the
    // next voice 0. Returns what the slot held so the caller can free it outside any lock.
    std::unique_ptr<SoundData> replace(int slot, std::unique_ptr<SoundData> sound, int voices);
    // Empties every slot into `released`.
    void clear(std::vector<std::unique_ptr<SoundData>>& released);

    // Plays the slot's sound once from its start. The voice used last is tried first; when it
    // is still playing a single voice drops the request, several voices move on to the next
    // one (round robin), stopping and restarting it if it plays. Returns the voice started or
    // -1 when nothing was started.
    int play(int slot, double pan, double volume);

    // Adds every playing voice into `out` (frames interleaved stereo frames, 16-bit scale)
    // and moves the voices on; a voice stops at the end of its sound.
    void mix(float* out, size_t frames);

    bool loaded(int slot) const;
    int voices(int slot) const;
    int next_voice(int slot) const;
    bool playing(int slot, int voice) const;
    size_t position(int slot, int voice) const; // in frames
    StereoGain gain(int slot, int voice) const;

  private:
    struct Voice {
        bool playing = false;
        size_t pos = 0;
        StereoGain gain;
    };
    struct Slot {
        std::unique_ptr<SoundData> sound;
        int voices = 0; // 0: empty
        int next = 0;
        std::array<Voice, kMaxVoices> voice{};
    };
    const Voice* voice_at(int slot, int voice) const;

    std::array<Slot, kSlots> slots_{};
};

// The player's volume step before the output stage: effects and music, each mixed on its own,
// are scaled by their gains and added into `effects` (samples interleaved, 16-bit scale).
void apply_output_gains(float* effects, const float* music, size_t samples, float effects_gain,
                        float music_gain);

// Float samples in 16-bit scale to 16-bit samples, rounded and clamped.
void float_to_s16(const float* in, int16_t* out, size_t samples);
