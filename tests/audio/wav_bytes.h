#pragma once
// WAV files built byte by byte for the audio tests.
#include <cstdint>
#include <string>
#include <vector>

inline void append16(std::string& b, unsigned v) {
    b += char(v & 0xFF);
    b += char((v >> 8) & 0xFF);
}

inline void append32(std::string& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b += char((v >> (8 * i)) & 0xFF);
}

inline std::string chunk(const char* id, const std::string& body) {
    std::string b(id, 4);
    append32(b, uint32_t(body.size()));
    return b + body;
}

struct WavSpec {
    int channels = 1;
    uint32_t rate = 22050;
    int bits = 16;
    int block_align = -1;     // -1: channels * bits / 8
    std::string format_extra; // bytes after the first 16 of the format chunk
    std::string before_data;  // whole chunks between the format and data chunks
    int64_t data_size = -1;   // -1: the real size
};

inline std::string wav_bytes(const WavSpec& s, const std::string& pcm) {
    std::string fmt;
    append16(fmt, 1);
    append16(fmt, unsigned(s.channels));
    append32(fmt, s.rate);
    int align = s.block_align >= 0 ? s.block_align : s.channels * s.bits / 8;
    append32(fmt, s.rate * uint32_t(align));
    append16(fmt, unsigned(align));
    append16(fmt, unsigned(s.bits));
    fmt += s.format_extra;
    std::string body = "WAVE" + chunk("fmt ", fmt) + s.before_data;
    body += "data";
    append32(body, s.data_size >= 0 ? uint32_t(s.data_size) : uint32_t(pcm.size()));
    body += pcm;
    std::string out = "RIFF";
    append32(out, uint32_t(body.size()));
    return out + body;
}

inline std::vector<uint8_t> as_bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

// `frames` frames of 16-bit PCM, every sample `value`.
inline std::string pcm16(size_t frames, int channels, int16_t value) {
    std::string b;
    for (size_t i = 0; i < frames * size_t(channels); ++i)
        append16(b, uint16_t(value));
    return b;
}
