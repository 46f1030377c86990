#include "platform/audio_device.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <limits>

namespace platform {
namespace {

struct DeviceState {
    SDL_AudioDeviceID id = 0;
    bool subsystem = false;
    int buffer_frames = 0;
    AudioCallback callback = nullptr;
    void* user = nullptr;
};

DeviceState dev;

void sdl_callback(void*, Uint8* stream, int len) {
    int frames = len / int(sizeof(int16_t) * kAudioChannels);
    dev.callback(dev.user, reinterpret_cast<int16_t*>(stream), frames);
}

} // namespace

bool open_audio_device(AudioCallback callback, void* user) {
    if (dev.id != 0 || !callback) return dev.id != 0;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    dev.subsystem = true;
    dev.callback = callback;
    dev.user = user;
    SDL_AudioSpec want{};
    want.freq = kAudioRate;
    want.format = AUDIO_S16SYS;
    want.channels = Uint8(kAudioChannels);
    want.samples = 1024;
    want.callback = sdl_callback;
    SDL_AudioSpec have{};
    // No allowed changes: SDL converts to whatever the hardware takes, the callback always
    // sees the format asked for.
    dev.id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (dev.id == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        dev = DeviceState{};
        return false;
    }
    dev.buffer_frames = have.samples;
    SDL_PauseAudioDevice(dev.id, 0);
    return true;
}

void close_audio_device() {
    if (dev.id != 0) SDL_CloseAudioDevice(dev.id);
    if (dev.subsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    dev = DeviceState{};
}

bool audio_device_open() {
    return dev.id != 0;
}

int audio_device_buffer_frames() {
    return dev.buffer_frames;
}

void pause_audio_device(bool paused) {
    if (dev.id != 0) SDL_PauseAudioDevice(dev.id, paused ? 1 : 0);
}

bool convert_to_device_format(const uint8_t* data, size_t bytes, const PcmFormat& format,
                              size_t max_frames, std::vector<int16_t>& out) {
    out.clear();
    SDL_AudioFormat src_format;
    if (format.bits == 8)
        src_format = AUDIO_U8;
    else if (format.bits == 16)
        src_format = AUDIO_S16LSB;
    else
        return false;
    if (format.channels < 1 || format.channels > 2 || format.rate <= 0) return false;
    size_t frame_bytes = size_t(format.bits / 8) * size_t(format.channels);
    size_t in_frames = bytes / frame_bytes;
    // The converted length; the resampler keeps some frames back until more input comes, so
    // silence follows the sound and the result is cut to this length.
    double exact = double(in_frames) * kAudioRate / format.rate;
    if (exact > double(max_frames)) return false;
    size_t frames = size_t(std::llround(exact));
    size_t pad_frames = 4096 + size_t(format.rate) / 4;
    size_t pad_bytes = pad_frames * frame_bytes;
    if (in_frames * frame_bytes > size_t(std::numeric_limits<int>::max()) - pad_bytes) return false;

    SDL_AudioStream* stream = SDL_NewAudioStream(src_format, Uint8(format.channels), format.rate,
                                                 AUDIO_S16SYS, Uint8(kAudioChannels), kAudioRate);
    if (!stream) return false;
    std::vector<uint8_t> silence(pad_bytes, format.bits == 8 ? 0x80 : 0x00);
    bool ok = in_frames == 0 || SDL_AudioStreamPut(stream, data, int(in_frames * frame_bytes)) == 0;
    ok = ok && SDL_AudioStreamPut(stream, silence.data(), int(silence.size())) == 0;
    ok = ok && SDL_AudioStreamFlush(stream) == 0;
    if (ok) {
        out.resize(frames * kAudioChannels);
        int want = int(out.size() * sizeof(int16_t));
        int got = want == 0 ? 0 : SDL_AudioStreamGet(stream, out.data(), want);
        ok = got == want;
    }
    SDL_FreeAudioStream(stream);
    if (!ok) out.clear();
    return ok;
}

} // namespace platform
