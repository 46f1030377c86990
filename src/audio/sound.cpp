#include "audio/sound.h"

#include "audio/decode.h"
#include "audio/limiter.h"
#include "audio/mixer.h"
#include "audio/music.h"
#include "platform/audio_device.h"
#include "runtime/errors.h"
#include "runtime/files.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>

namespace {

// Frames mixed per step of the callback; the callback's buffers have this fixed size so it
// never allocates.
constexpr size_t kChunk = 1024;
// Largest WAV file read.
constexpr size_t kMaxWavBytes = size_t(64) << 20;

// The effects lock is held only while slots and voices change or the voices are mixed, never
// while files are read or decoded; the music player keeps its own lock the same way.
struct SoundDevice {
    std::mutex effects_lock;
    Mixer mixer;
    MusicPlayer music;
    Limiter limiter;
    bool capture = false; // the mix is pulled by sound_capture instead of a device
    bool capture_paused = false;
    std::array<float, 2 * kChunk> mix{};
    std::array<float, 2 * kChunk> scratch{};
    std::array<float, 2 * kChunk> music_mix{};
    // The player's volume (set by the game thread, read by the callback).
    std::atomic<float> effects_gain{1.0f};
    std::atomic<float> music_gain{1.0f};
};

// Created once and never destroyed, so an audio thread still running at exit never sees it gone.
SoundDevice& device() {
    static SoundDevice* d = new SoundDevice;
    return *d;
}

// Effects, then music, then the master limiter: the output never reaches full scale.
void mix_output(SoundDevice& d, int16_t* out, size_t frames) {
    while (frames > 0) {
        size_t n = std::min(frames, kChunk);
        std::fill_n(d.mix.data(), 2 * n, 0.0f);
        {
            std::lock_guard<std::mutex> g(d.effects_lock);
            d.mixer.mix(d.mix.data(), n);
        }
        std::fill_n(d.music_mix.data(), 2 * n, 0.0f);
        d.music.mix(d.music_mix.data(), n, d.scratch.data());
        // The player's volume, then the master limiter and the output stage.
        apply_output_gains(d.mix.data(), d.music_mix.data(), 2 * n,
                           d.effects_gain.load(std::memory_order_relaxed),
                           d.music_gain.load(std::memory_order_relaxed));
        d.limiter.process(d.mix.data(), n);
        float_to_s16(d.mix.data(), out, 2 * n);
        out += 2 * n;
        frames -= n;
    }
}

void audio_callback(void* user, int16_t* out, int frames) {
    mix_output(*static_cast<SoundDevice*>(user), out, size_t(std::max(frames, 0)));
}

// Sound can be heard, or captured.
bool output_open() {
    return platform::audio_device_open() || device().capture;
}

void release_all() {
    SoundDevice& d = device();
    std::vector<std::unique_ptr<SoundData>> sounds;
    std::unique_ptr<Module> module;
    {
        std::lock_guard<std::mutex> g(d.effects_lock);
        d.mixer.clear(sounds);
    }
    module = d.music.replace(nullptr);
}

} // namespace

void sound_init(bool capture) {
    if (output_open()) return;
    if (capture) {
        device().capture = true;
        device().limiter.reset();
        return;
    }
    platform::open_audio_device(audio_callback, &device());
}

void sound_shutdown() {
    platform::close_audio_device();
    release_all();
    device().capture = false;
    device().capture_paused = false;
}

void sound_set_paused(bool paused) {
    device().capture_paused = paused;
    platform::pause_audio_device(paused);
}

void sound_set_output_gains(float effects, float music) {
    device().effects_gain.store(std::clamp(effects, 0.0f, 1.0f), std::memory_order_relaxed);
    device().music_gain.store(std::clamp(music, 0.0f, 1.0f), std::memory_order_relaxed);
}

bool sound_available() {
    return output_open();
}

bool sound_capturing() {
    return device().capture;
}

void sound_capture(size_t frames, std::vector<int16_t>& out) {
    SoundDevice& d = device();
    if (!d.capture) return;
    const size_t at = out.size();
    out.resize(at + 2 * frames, 0);
    // A paused output is silent and goes on where it was, as the device does.
    if (!d.capture_paused) mix_output(d, out.data() + at, frames);
}

double load_sound(std::string_view file, double slot, double voices) {
    int index = sound_slot_index(slot);
    if (index < 0 || !output_open()) return 0;
    if (!file_readable(file)) { // a missing file leaves the slot as it was
        log_missing_file(file);
        return 0;
    }
    std::unique_ptr<SoundData> sound;
    if (auto bytes = read_file(file, kMaxWavBytes)) sound = decode_wav_sound(*bytes);
    bool ok = sound != nullptr;
    std::unique_ptr<SoundData> old;
    {
        SoundDevice& d = device();
        std::lock_guard<std::mutex> g(d.effects_lock);
        old = d.mixer.replace(index, std::move(sound), sound_voice_count(voices));
    }
    return ok ? 1 : 0;
}

double play_sound(double slot, double pan, double volume) {
    int index = sound_slot_index(slot);
    if (index < 0 || !output_open()) return 0;
    SoundDevice& d = device();
    std::lock_guard<std::mutex> g(d.effects_lock);
    d.mixer.play(index, pan, volume);
    return 0;
}

bool sound_loaded(double slot) {
    int index = sound_slot_index(slot);
    if (index < 0) return false;
    SoundDevice& d = device();
    std::lock_guard<std::mutex> g(d.effects_lock);
    return d.mixer.loaded(index);
}

double load_music(std::string_view file) {
    if (!output_open()) return 0;
    std::unique_ptr<Module> module;
    if (auto bytes = read_file(file, kMaxModuleBytes))
        module = Module::load(*bytes);
    else if (!file_readable(file))
        log_missing_file(file);
    bool ok = module != nullptr;
    std::unique_ptr<Module> old = device().music.replace(std::move(module));
    return ok ? 1 : 0;
}

double start_music() {
    device().music.start();
    return 0;
}

double music_finished() {
    return device().music.finished() ? 1 : 0;
}

double stop_music() {
    std::unique_ptr<Module> old = device().music.replace(nullptr);
    return 0;
}
