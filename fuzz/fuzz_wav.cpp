// Fuzz target: the WAV reader and the conversion of what it accepts.
#include "audio/decode.h"
#include "audio/wav.h"
#include "platform/audio_device.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> bytes(data, size);
    WavInfo info;
    if (!parse_wav(bytes, info)) return 0;
    if (info.data_offset > size || info.data_bytes > size - info.data_offset) std::abort();
    if (info.frames == 0 || info.data_bytes != info.frames * size_t(info.block_align)) std::abort();
    // Convert short sounds only: long ones just take time. What the header accepts converts,
    // unless it is too short to last one frame at the device rate.
    if (double(info.frames) / info.rate < 2.0) {
        auto sound = decode_wav_sound(bytes);
        const double device_frames = double(info.frames) * platform::kAudioRate / info.rate;
        if (!sound && std::llround(device_frames) > 0) std::abort();
    }
    return 0;
}
