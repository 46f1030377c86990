#include "it_writer.h"

#include "audio_files.h"

#include <algorithm>
#include <cmath>

namespace audiogen {

namespace {

constexpr unsigned kVersion = 0x0214;

void put_envelope(std::string& out, const std::vector<ItEnvelopePoint>& pts, int sustain) {
    const size_t n = std::min<size_t>(pts.size(), 25);
    unsigned flags = n >= 2 ? 1u : 0u;
    if (flags && sustain >= 0 && size_t(sustain) < n) flags |= 4u;
    put_u8(out, flags);
    put_u8(out, n >= 2 ? unsigned(n) : 2u);
    put_u8(out, 0); // loop begin
    put_u8(out, 0); // loop end
    put_u8(out, sustain >= 0 ? unsigned(sustain) : 0u);
    put_u8(out, sustain >= 0 ? unsigned(sustain) : 0u);
    for (size_t i = 0; i < 25; ++i) {
        if (n >= 2 && i < n) {
            put_u8(out, unsigned(std::clamp(pts[i].value, 0, 64)));
            put_u16(out, unsigned(std::clamp(pts[i].tick, 0, 9999)));
        } else if (n < 2 && i < 2) { // an unused two-node envelope
            put_u8(out, 0);
            put_u16(out, i == 0 ? 0u : 10u);
        } else {
            put_u8(out, 0);
            put_u16(out, 0);
        }
    }
    put_u8(out, 0);
}

void put_instrument(std::string& out, const ItInstrument& ins) {
    out += "IMPI";
    put_text(out, "", 12);
    put_u8(out, 0);
    put_u8(out, unsigned(ins.new_note_action));
    put_u8(out, 0); // duplicate check type
    put_u8(out, 0); // duplicate check action
    put_u16(out, unsigned(std::clamp(ins.fadeout, 0, 256)));
    put_u8(out, 0);  // pitch-pan separation
    put_u8(out, 60); // pitch-pan centre
    put_u8(out, unsigned(std::clamp(ins.global_volume, 0, 128)));
    put_u8(out, 32 | 128); // default pan not used: the channel's pan holds
    put_u8(out, 0);        // random volume
    put_u8(out, 0);        // random pan
    put_u16(out, kVersion);
    put_u8(out, 1); // samples used
    put_u8(out, 0);
    put_text(out, ins.name, 26);
    put_u8(out, 0);   // filter cutoff (off)
    put_u8(out, 0);   // filter resonance (off)
    put_u8(out, 0);   // MIDI channel
    put_u8(out, 255); // MIDI program
    put_u16(out, 0xFFFF);
    for (int note = 0; note < 120; ++note) {
        put_u8(out, unsigned(note));
        put_u8(out, unsigned(ins.sample));
    }
    put_envelope(out, ins.volume_envelope, ins.sustain_point);
    put_envelope(out, {}, -1); // panning
    put_envelope(out, {}, -1); // pitch
    put_text(out, "", 4);
}

void put_sample_header(std::string& out, const SynthSample& s, unsigned long data_offset) {
    out += "IMPS";
    put_text(out, "", 12);
    put_u8(out, 0);
    put_u8(out, 64); // global volume
    unsigned flags = 1;
    if (s.sixteen_bit) flags |= 2;
    if (s.loop_end > s.loop_start) flags |= 16;
    put_u8(out, flags);
    put_u8(out, 64); // default volume
    put_text(out, s.name, 26);
    put_u8(out, 1);  // signed samples
    put_u8(out, 32); // default pan, not used
    put_u32(out, s.data.size());
    put_u32(out, s.loop_start);
    put_u32(out, s.loop_end);
    put_u32(out, unsigned(s.c5speed));
    put_u32(out, 0); // sustain loop
    put_u32(out, 0);
    put_u32(out, data_offset);
    put_u8(out, unsigned(std::clamp(s.vib_speed, 0, 64)));
    put_u8(out, unsigned(std::clamp(s.vib_depth, 0, 64)));
    put_u8(out, unsigned(std::clamp(s.vib_sweep, 0, 64)));
    put_u8(out, 0); // sine
}

void put_sample_data(std::string& out, const SynthSample& s) {
    for (float v : s.data) {
        double c = std::clamp(double(v), -1.0, 1.0);
        if (s.sixteen_bit)
            put_u16(out, unsigned(std::lround(c * 32767.0)) & 0xFFFF);
        else
            put_u8(out, unsigned(std::lround(c * 127.0)) & 0xFF);
    }
}

std::string pack_pattern(const ItPattern& p) {
    std::string data;
    for (int r = 0; r < p.rows; ++r) {
        for (int ch = 0; ch < p.channels && ch < 64; ++ch) {
            const ItCell& c = p.at(r, ch);
            if (c.empty()) continue;
            unsigned mask = 0;
            if (c.note >= 0) mask |= 1;
            if (c.instrument > 0) mask |= 2;
            if (c.volume >= 0) mask |= 4;
            if (c.command > 0) mask |= 8;
            put_u8(data, unsigned(ch + 1) | 128u);
            put_u8(data, mask);
            if (mask & 1) put_u8(data, unsigned(c.note));
            if (mask & 2) put_u8(data, unsigned(c.instrument));
            if (mask & 4) put_u8(data, unsigned(std::clamp(c.volume, 0, 64)));
            if (mask & 8) {
                put_u8(data, unsigned(c.command));
                put_u8(data, unsigned(c.param) & 0xFF);
            }
        }
        put_u8(data, 0); // end of row
    }
    std::string out;
    put_u16(out, unsigned(data.size()));
    put_u16(out, unsigned(p.rows));
    put_u32(out, 0);
    return out + data;
}

} // namespace

std::string it_bytes(const ItModule& m) {
    std::vector<unsigned> orders;
    for (int o : m.orders)
        orders.push_back(unsigned(o));
    orders.push_back(255); // end of song
    if (orders.size() % 2) orders.push_back(255);

    const size_t n_ins = m.instruments.size(), n_smp = m.samples.size(), n_pat = m.patterns.size();
    std::string out;
    out += "IMPM";
    put_text(out, m.name, 26);
    put_u8(out, unsigned(m.row_highlight_minor));
    put_u8(out, unsigned(m.row_highlight_major));
    put_u16(out, unsigned(orders.size()));
    put_u16(out, unsigned(n_ins));
    put_u16(out, unsigned(n_smp));
    put_u16(out, unsigned(n_pat));
    put_u16(out, kVersion);
    put_u16(out, kVersion);
    put_u16(out, 1 | 4 | 8); // stereo, instruments, linear slides
    put_u16(out, m.message.empty() ? 0u : 1u); // a song message follows
    put_u8(out, unsigned(m.global_volume));
    put_u8(out, unsigned(m.mix_volume));
    put_u8(out, unsigned(m.speed));
    put_u8(out, unsigned(m.tempo));
    put_u8(out, 128); // stereo separation
    put_u8(out, 0);   // pitch wheel depth
    // The message: carriage returns between lines, a closing zero, at the end of the file.
    std::string text;
    for (char c : m.message)
        text.push_back(c == '\n' ? '\r' : c);
    if (!text.empty()) text.push_back('\0');
    text.resize(std::min<size_t>(text.size(), 8000));
    if (!text.empty()) text.back() = '\0';
    const size_t message_length_at = out.size();
    put_u16(out, unsigned(text.size()));
    put_u32(out, 0); // message offset, filled in below
    put_u32(out, 0);  // reserved
    for (size_t ch = 0; ch < 64; ++ch)
        put_u8(out, ch < m.channel_pan.size() ? unsigned(std::clamp(m.channel_pan[ch], 0, 64))
                                              : 32u | 128u);
    for (size_t ch = 0; ch < 64; ++ch)
        put_u8(out, 64);
    for (unsigned o : orders)
        put_u8(out, o);

    const size_t table = out.size();
    out.append(4 * (n_ins + n_smp + n_pat), '\0');
    for (size_t i = 0; i < n_ins; ++i) {
        patch_u32(out, table + 4 * i, out.size());
        put_instrument(out, m.instruments[i]);
    }
    std::vector<size_t> sample_headers;
    for (size_t i = 0; i < n_smp; ++i) {
        patch_u32(out, table + 4 * (n_ins + i), out.size());
        sample_headers.push_back(out.size());
        put_sample_header(out, m.samples[i], 0);
    }
    for (size_t i = 0; i < n_pat; ++i) {
        patch_u32(out, table + 4 * (n_ins + n_smp + i), out.size());
        out += pack_pattern(m.patterns[i]);
    }
    for (size_t i = 0; i < n_smp; ++i) {
        patch_u32(out, sample_headers[i] + 72, out.size());
        put_sample_data(out, m.samples[i]);
    }
    if (!text.empty()) {
        patch_u32(out, message_length_at + 2, out.size());
        out += text;
    }
    return out;
}

} // namespace audiogen
