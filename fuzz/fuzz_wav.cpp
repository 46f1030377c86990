// Fuzz target: the WAV reader and the conversion of what it accepts.
#include "audio/decode.h"
#include "audio/wav.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> bytes(data, size);
    WavInfo info;
    if (!parse_wav(bytes, info)) return 0;
    if (info.data_offset > size || info.data_bytes > size - info.data_offset) std::abort();
    if (info.frames == 0 || info.data_bytes != info.frames * size_t(info.block_align)) std::abort();
    // Convert short sounds only: long ones just take time.
    if (double(info.frames) / info.rate < 2.0) {
        auto sound = decode_wav_sound(bytes);
        if (!sound) std::abort();
    }
    return 0;
}
