#include "wav_writer.h"

#include "audio_files.h"

#include <algorithm>
#include <cmath>

namespace audiogen {

std::string wav_bytes(const std::vector<float>& samples, int sample_rate) {
    const unsigned long data_size = samples.size() * 2;
    std::string out;
    out.reserve(44 + data_size);
    out += "RIFF";
    put_u32(out, 36 + data_size);
    out += "WAVE";
    out += "fmt ";
    put_u32(out, 16);
    put_u16(out, 1); // PCM
    put_u16(out, 1); // mono
    put_u32(out, unsigned(sample_rate));
    put_u32(out, unsigned(sample_rate) * 2); // bytes per second
    put_u16(out, 2);                         // block align
    put_u16(out, 16);                        // bits per sample
    out += "data";
    put_u32(out, data_size);
    for (float s : samples) {
        float c = std::clamp(s, -1.0f, 1.0f);
        long v = std::lround(double(c) * 32767.0);
        put_u16(out, unsigned(v) & 0xFFFF);
    }
    return out;
}

} // namespace audiogen
