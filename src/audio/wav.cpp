#include "audio/wav.h"

namespace {

uint32_t u32(std::span<const uint8_t> b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

uint16_t u16(std::span<const uint8_t> b, size_t at) {
    return uint16_t(b[at] | b[at + 1] << 8);
}

bool fail(std::string* error, const char* why) {
    if (error) *error = why;
    return false;
}

bool id_is(std::span<const uint8_t> b, size_t at, const char* id) {
    return b[at] == uint8_t(id[0]) && b[at + 1] == uint8_t(id[1]) && b[at + 2] == uint8_t(id[2]) &&
           b[at + 3] == uint8_t(id[3]);
}

// A chunk body's size with RIFF's pad byte; 64-bit so no size wraps.
uint64_t padded(uint32_t size) {
    return uint64_t(size) + (size & 1u);
}

} // namespace

bool parse_wav(std::span<const uint8_t> bytes, WavInfo& info, std::string* error) {
    info = WavInfo{};
    if (bytes.size() < 36) return fail(error, "file shorter than a WAV header");

    uint32_t format_size = u32(bytes, 16);
    if (format_size < 16) return fail(error, "format chunk shorter than 16 bytes");
    int channels = u16(bytes, 22);
    uint32_t rate = u32(bytes, 24);
    int block_align = u16(bytes, 32);
    int bits = u16(bytes, 34);

    if (channels != 1 && channels != 2) return fail(error, "channels must be 1 or 2");
    if (bits != 8 && bits != 16) return fail(error, "bits per sample must be 8 or 16");
    if (block_align != channels * bits / 8) return fail(error, "block align does not match");
    if (rate < uint32_t(kWavMinRate) || rate > uint32_t(kWavMaxRate))
        return fail(error, "sample rate out of range");

    uint64_t at = 20 + padded(format_size);
    auto header_at = [&](uint64_t pos) { return pos <= bytes.size() && bytes.size() - pos >= 8; };
    if (!header_at(at)) return fail(error, "no chunk after the format chunk");
    if (id_is(bytes, size_t(at), "fact")) {
        uint32_t fact_size = u32(bytes, size_t(at) + 4);
        if (fact_size > kWavMaxFact) return fail(error, "fact chunk larger than 1024 bytes");
        at += 8 + padded(fact_size);
        if (!header_at(at)) return fail(error, "no chunk after the fact chunk");
    }
    if (!id_is(bytes, size_t(at), "data")) return fail(error, "expected a data chunk");
    uint32_t data_size = u32(bytes, size_t(at) + 4);
    at += 8;
    if (uint64_t(data_size) > bytes.size() - at)
        return fail(error, "data chunk runs past the file");
    size_t frames = data_size / uint32_t(block_align);
    if (frames == 0) return fail(error, "no samples");

    info.channels = channels;
    info.rate = int(rate);
    info.bits = bits;
    info.block_align = block_align;
    info.frames = frames;
    info.data_offset = size_t(at);
    info.data_bytes = frames * size_t(block_align);
    return true;
}
