#pragma once
// The one audio output device: 44100 Hz, stereo, signed 16-bit samples, fed by a callback on
// SDL's audio thread. Without an audio driver, or when the device cannot be opened, every call
// here is a quiet no-op and the program runs silently.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

constexpr int kAudioRate = 44100;
constexpr int kAudioChannels = 2;

// Fills `frames` stereo frames (interleaved left, right) of output. Runs on the audio thread.
using AudioCallback = void (*)(void* user, int16_t* out, int frames);

// Opens the default output device and starts it. Returns false (and stays closed) when there
// is no audio driver or the device cannot be opened.
bool open_audio_device(AudioCallback callback, void* user);
// Stops the callback (waits for a running one to return) and closes the device.
void close_audio_device();
bool audio_device_open();
// Frames per callback as the device asked for them (0 when closed).
int audio_device_buffer_frames();
// A paused device outputs silence and stops calling back; resuming goes on where it stopped.
void pause_audio_device(bool paused);

// Source PCM: 8-bit unsigned or 16-bit signed little-endian, interleaved.
struct PcmFormat {
    int bits = 16;
    int channels = 2;
    int rate = kAudioRate;
};

// Converts PCM once into the device format (stereo, 16-bit, 44100 Hz) with SDL's own
// converter. Works whether or not the device is open. Fails (false, `out` empty) when the
// format is not supported or the result would exceed `max_frames` frames.
bool convert_to_device_format(const uint8_t* data, size_t bytes, const PcmFormat& format,
                              size_t max_frames, std::vector<int16_t>& out);

} // namespace platform
