#include "audio/decode.h"

#include "audio/wav.h"
#include "platform/audio_device.h"

std::unique_ptr<SoundData> decode_wav_sound(std::span<const uint8_t> bytes, std::string* error) {
    WavInfo info;
    if (!parse_wav(bytes, info, error)) return nullptr;
    auto sound = std::make_unique<SoundData>();
    platform::PcmFormat format{info.bits, info.channels, info.rate};
    if (!platform::convert_to_device_format(bytes.data() + info.data_offset, info.data_bytes,
                                            format, kMaxSoundFrames, sound->samples)) {
        if (error) *error = "cannot convert the samples";
        return nullptr;
    }
    if (sound->frames() == 0) {
        if (error) *error = "no samples";
        return nullptr;
    }
    return sound;
}
