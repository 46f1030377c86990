#pragma once
// The WAV reader's pure part: the bytes of a file in, the PCM format and the place of the
// samples out. Nothing is copied; every size is checked against the bytes given.
//
// Layout read: a 12-byte RIFF header, the format chunk's 8-byte header at 12 and its first 16
// bytes at 20 (tag, channels, rate, byte rate, block align, bits). A format chunk larger than
// 16 bytes is skipped by its own size (padded to an even size as RIFF chunks are). Then one
// optional "fact" chunk of at most 1024 bytes, then the "data" chunk; any other chunk there
// fails. The RIFF, WAVE and format ids and the format tag are not checked. Samples must be
// 8-bit unsigned or 16-bit signed PCM, mono or stereo, with block align = channels * bits / 8.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

struct WavInfo {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    int block_align = 0;
    size_t frames = 0;
    size_t data_offset = 0; // first sample byte in the file
    size_t data_bytes = 0;  // frames * block_align
};

// Lowest and highest sample rates accepted.
constexpr int kWavMinRate = 100;
constexpr int kWavMaxRate = 200000;
// Largest "fact" chunk body accepted.
constexpr uint32_t kWavMaxFact = 1024;

// Parses the header. On failure returns false and puts the reason in *error.
bool parse_wav(std::span<const uint8_t> bytes, WavInfo& info, std::string* error = nullptr);
