#pragma once
// PCM WAV files: RIFF header, a 16-byte format chunk, then the data chunk; 16-bit mono.
#include <string>
#include <vector>

namespace audiogen {

// Converts samples in -1..1 (clipped) to a complete WAV file image.
std::string wav_bytes(const std::vector<float>& samples, int sample_rate);

} // namespace audiogen
