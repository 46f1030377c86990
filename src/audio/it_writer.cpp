#include "audio/it_writer.h"

#include <algorithm>
#include <cstring>

namespace {

void put16(std::string& b, size_t at, unsigned v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}

void put32(std::string& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
}

void put_text(std::string& b, size_t at, const std::string& s, size_t max) {
    std::memcpy(&b[at], s.data(), std::min(s.size(), max - 1));
}

std::string pack_pattern(const ItPattern& p) {
    std::vector<ItNote> notes = p.notes;
    std::stable_sort(notes.begin(), notes.end(), [](const ItNote& a, const ItNote& b) {
        return a.row != b.row ? a.row < b.row : a.channel < b.channel;
    });
    int rows = std::clamp(p.rows, 1, 200);
    std::string data;
    size_t k = 0;
    for (int row = 0; row < rows; ++row) {
        for (; k < notes.size() && notes[k].row == row; ++k) {
            const ItNote& n = notes[k];
            uint8_t mask = 1;
            if (n.sample > 0) mask |= 2;
            if (n.volume >= 0) mask |= 4;
            data += char(((std::clamp(n.channel, 0, 63) + 1) & 0x7F) | 0x80);
            data += char(mask);
            data += char(std::clamp(n.note, 0, 255));
            if (mask & 2) data += char(std::clamp(n.sample, 1, 99));
            if (mask & 4) data += char(std::clamp(n.volume, 0, 64));
        }
        data += '\0';
    }
    std::string out(8, '\0');
    put16(out, 0, unsigned(data.size()));
    put16(out, 2, unsigned(rows));
    return out + data;
}

} // namespace

std::string write_it_module(const ItSong& song) {
    std::vector<int> orders = song.orders;
    if (orders.empty())
        for (size_t i = 0; i < song.patterns.size(); ++i)
            orders.push_back(int(i));
    size_t ord_num = orders.size() + 1; // with the end marker
    size_t pat_num = song.patterns.size();
    size_t header = 0xC0 + ord_num + 4 + 4 * pat_num;

    std::string b(header, '\0');
    std::memcpy(&b[0], "IMPM", 4);
    put_text(b, 4, song.name, 26);
    b[0x1E] = 4;
    b[0x1F] = 16;
    put16(b, 0x20, unsigned(ord_num));
    put16(b, 0x22, 0); // instruments
    put16(b, 0x24, 1); // samples
    put16(b, 0x26, unsigned(pat_num));
    put16(b, 0x28, 0x0214);      // made with
    put16(b, 0x2A, 0x0214);      // compatible with
    put16(b, 0x2C, 0x01 | 0x08); // stereo, linear slides, samples (no instruments)
    b[0x30] = char(std::clamp(song.global_volume, 0, 128));
    b[0x31] = char(std::clamp(song.mix_volume, 0, 128));
    b[0x32] = char(std::clamp(song.speed, 1, 255));
    b[0x33] = char(std::clamp(song.tempo, 32, 255));
    b[0x34] = char(128); // panning separation
    for (size_t c = 0; c < 64; ++c) {
        b[0x40 + c] = char(32); // centre
        b[0x80 + c] = char(64); // full channel volume
    }
    for (size_t i = 0; i < orders.size(); ++i)
        b[0xC0 + i] = char(std::clamp(orders[i], 0, 199));
    b[0xC0 + orders.size()] = char(255);

    size_t sample_offsets = 0xC0 + ord_num;
    size_t pattern_offsets = sample_offsets + 4;

    // Sample header.
    size_t sample_header = b.size();
    put32(b, sample_offsets, uint32_t(sample_header));
    b.append(0x50, '\0');
    std::memcpy(&b[sample_header], "IMPS", 4);
    b[sample_header + 0x11] = 64; // global volume
    uint8_t flags = 0x01 | 0x02;  // has data, 16-bit
    if (song.loop && !song.sample.empty()) flags |= 0x10;
    b[sample_header + 0x12] = char(flags);
    b[sample_header + 0x13] = 64; // default volume
    put_text(b, sample_header + 0x14, song.name, 26);
    b[sample_header + 0x2E] = 0x01; // signed samples
    b[sample_header + 0x2F] = 32;
    uint32_t length = uint32_t(song.sample.size());
    put32(b, sample_header + 0x30, length);
    put32(b, sample_header + 0x34, 0);
    put32(b, sample_header + 0x38, length);
    put32(b, sample_header + 0x3C, song.sample_rate);

    for (size_t i = 0; i < pat_num; ++i) {
        put32(b, pattern_offsets + 4 * i, uint32_t(b.size()));
        b += pack_pattern(song.patterns[i]);
    }

    put32(b, sample_header + 0x48, uint32_t(b.size()));
    for (int16_t s : song.sample) {
        b += char(uint16_t(s) & 0xFF);
        b += char(uint16_t(s) >> 8);
    }
    return b;
}
