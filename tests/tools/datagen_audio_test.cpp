// The generated sound effects and music modules: formats as the game's loaders and independent
// readers see them, audible music that ends, and byte-identical output on every run.
#include "audio/music.h"
#include "audio/wav.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kGameDir = SS_GAME_DIR;

struct SfxCase {
    const char* file;
    double min_seconds, max_seconds;
};
const SfxCase kSfx[] = {
    {"sfx/festmachen.wav", 0.2, 1.0},
    {"sfx/loesen.wav", 0.4, 2.0},
    {"sfx/elevator.wav", 1.0, 4.0},
    {"sfx/bell.wav", 0.01, 0.08},
};

std::vector<std::string> module_files() {
    std::vector<std::string> out;
    for (int i = 1; i <= 8; ++i)
        out.push_back("music/SS_" + std::to_string(i) + ".IT");
    return out;
}

uint32_t u32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}
uint16_t u16(const std::string& b, size_t at) {
    return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}

std::string soxi(const std::string& option, const std::string& path) {
    std::string out;
    EXPECT_EQ(run_command("soxi " + option + " '" + path + "'", &out), 0) << out;
    while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
        out.pop_back();
    return out;
}

// Duration as openmpt123 --info prints it ("Duration...: 01:24.330"); -1 when missing.
double info_duration(const std::string& info) {
    size_t at = info.find("Duration");
    if (at == std::string::npos) return -1;
    at = info.find(':', at);
    int minutes = 0;
    double seconds = 0;
    if (std::sscanf(info.c_str() + at + 1, " %d:%lf", &minutes, &seconds) != 2) return -1;
    return minutes * 60 + seconds;
}

// Samples of a 16-bit mono WAV made by the generator (data right after the 44-byte header).
std::vector<double> wav_samples(const std::string& b) {
    std::vector<double> out;
    for (size_t i = 44; i + 1 < b.size(); i += 2)
        out.push_back(int16_t(u16(b, i)) / 32768.0);
    return out;
}

// Number of separate bursts: 5 ms windows rising above `level` after at least 15 ms below it.
int count_bursts(const std::vector<double>& s, double level) {
    const size_t w = 110; // 5 ms at 22050 Hz
    int bursts = 0, quiet = 3;
    for (size_t at = 0; at + w <= s.size(); at += w) {
        double e = 0;
        for (size_t i = at; i < at + w; ++i)
            e += s[i] * s[i];
        const bool loud = std::sqrt(e / w) > level;
        if (loud && quiet >= 3) ++bursts;
        quiet = loud ? 0 : quiet + 1;
    }
    return bursts;
}

} // namespace

// The layout the game's loader reads: RIFF, a 16-byte format chunk, the data chunk right after;
// 22050 Hz 16-bit mono PCM, and soxi agrees.
TEST(DatagenAudio, SoundEffectsArePcmWavesOfTheRightLength) {
    for (const SfxCase& c : kSfx) {
        SCOPED_TRACE(c.file);
        const std::string path = kGameDir + "/" + c.file;
        const std::string b = read_text(path);
        ASSERT_GE(b.size(), 46u);
        EXPECT_EQ(b.substr(0, 4), "RIFF");
        EXPECT_EQ(u32(b, 4), b.size() - 8);
        EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(u32(b, 16), 16u);
        EXPECT_EQ(u16(b, 20), 1); // PCM
        EXPECT_EQ(u16(b, 22), 1); // mono
        EXPECT_EQ(u32(b, 24), 22050u);
        EXPECT_EQ(u32(b, 28), 44100u);
        EXPECT_EQ(u16(b, 32), 2);
        EXPECT_EQ(u16(b, 34), 16);
        EXPECT_EQ(b.substr(36, 4), "data");
        const uint32_t data = u32(b, 40);
        ASSERT_EQ(data + 44, b.size());

        // Heard, not clipped, and silent at the very end (no click when the voice stops).
        int peak = 0;
        for (size_t i = 44; i + 1 < b.size(); i += 2)
            peak = std::max(peak, std::abs(int(int16_t(u16(b, i)))));
        EXPECT_GT(peak, 16000);
        EXPECT_LT(peak, 32767);
        EXPECT_LT(std::abs(int(int16_t(u16(b, b.size() - 2)))), 200);

        EXPECT_EQ(soxi("-r", path), "22050");
        EXPECT_EQ(soxi("-c", path), "1");
        EXPECT_EQ(soxi("-b", path), "16");
        EXPECT_EQ(soxi("-e", path), "Signed Integer PCM");
        const double seconds = std::atof(soxi("-D", path).c_str());
        EXPECT_GE(seconds, c.min_seconds);
        EXPECT_LT(seconds, c.max_seconds);
        EXPECT_NEAR(seconds, data / 2 / 22050.0, 1e-3);

        // The game's own reader takes it as it is.
        const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(b.data()), b.size());
        WavInfo info;
        std::string error;
        ASSERT_TRUE(parse_wav(bytes, info, &error)) << error;
        EXPECT_EQ(info.channels, 1);
        EXPECT_EQ(info.rate, 22050);
        EXPECT_EQ(info.bits, 16);
        EXPECT_EQ(info.frames, data / 2);
        EXPECT_EQ(info.data_offset, 44u);
    }
}

// What each effect is: the ratchets click, the bell is a bright short tick, the lift hums on.
TEST(DatagenAudio, SoundEffectsSoundLikeWhatTheyAre) {
    const auto fasten = wav_samples(read_text(kGameDir + "/sfx/festmachen.wav"));
    const auto loosen = wav_samples(read_text(kGameDir + "/sfx/loesen.wav"));
    const auto lift = wav_samples(read_text(kGameDir + "/sfx/elevator.wav"));
    const auto bell = wav_samples(read_text(kGameDir + "/sfx/bell.wav"));
    EXPECT_GE(count_bursts(fasten, 0.05), 4);
    EXPECT_GE(count_bursts(loosen, 0.05), 4);
    EXPECT_EQ(count_bursts(lift, 0.02), 1) << "the motor runs without a break";

    // Bright: the tick crosses zero more than 2000 times a second; it decays at once.
    int crossings = 0;
    for (size_t i = 1; i < bell.size(); ++i)
        crossings += (bell[i - 1] < 0) != (bell[i] < 0);
    EXPECT_GT(crossings / 2 / (bell.size() / 22050.0), 2000.0);
    double head = 0, tail = 0;
    for (size_t i = 0; i < bell.size(); ++i)
        (i < bell.size() / 4 ? head : tail) += bell[i] * bell[i];
    EXPECT_GT(head, 3 * tail);
}

// The module's own structure, checked independently of the player: every offset inside the
// file, every sample's data and loop inside its bounds, every pattern decodes to its rows.
TEST(DatagenAudio, ModuleStructureIsConsistent) {
    for (const std::string& f : module_files()) {
        SCOPED_TRACE(f);
        const std::string b = read_text(kGameDir + "/" + f);
        ASSERT_GE(b.size(), 192u);
        const size_t orders = u16(b, 0x20), ins = u16(b, 0x22), smp = u16(b, 0x24),
                     pats = u16(b, 0x26);
        EXPECT_EQ(u16(b, 0x2C) & 4, 4) << "instrument mode";
        const size_t table = 192 + orders;
        ASSERT_LE(table + 4 * (ins + smp + pats), b.size());
        for (size_t o = 0; o < orders; ++o) {
            const uint8_t pat = uint8_t(b[192 + o]);
            EXPECT_TRUE(pat == 255 || pat < pats) << "order " << o;
        }
        for (size_t i = 0; i < ins; ++i) {
            const size_t at = u32(b, table + 4 * i);
            ASSERT_LE(at + 554, b.size());
            EXPECT_EQ(b.substr(at, 4), "IMPI");
            for (size_t k = 0; k < 120; ++k) {
                EXPECT_EQ(uint8_t(b[at + 0x40 + 2 * k]), k);
                EXPECT_LE(uint8_t(b[at + 0x41 + 2 * k]), smp);
            }
        }
        for (size_t i = 0; i < smp; ++i) {
            const size_t at = u32(b, table + 4 * (ins + i));
            ASSERT_LE(at + 80, b.size());
            EXPECT_EQ(b.substr(at, 4), "IMPS");
            const uint8_t flags = uint8_t(b[at + 0x12]);
            const size_t width = flags & 2 ? 2 : 1, length = u32(b, at + 0x30);
            EXPECT_GT(length, 0u);
            EXPECT_LE(u32(b, at + 0x3C), 200000u) << "C5 speed";
            EXPECT_GE(u32(b, at + 0x3C), 4000u) << "C5 speed";
            if (flags & 16) {
                EXPECT_LT(u32(b, at + 0x34), u32(b, at + 0x38));
                EXPECT_LE(u32(b, at + 0x38), length);
            }
            EXPECT_LE(u32(b, at + 0x48) + length * width, b.size());
        }
        for (size_t i = 0; i < pats; ++i) {
            const size_t at = u32(b, table + 4 * (ins + smp + i));
            ASSERT_LE(at + 8, b.size());
            const size_t len = u16(b, at), rows = u16(b, at + 2);
            ASSERT_LE(at + 8 + len, b.size());
            size_t pos = at + 8, end = pos + len, seen = 0;
            while (pos < end) {
                const uint8_t var = uint8_t(b[pos++]);
                if (var == 0) {
                    ++seen;
                    continue;
                }
                ASSERT_TRUE(var & 128) << "every cell carries its mask";
                ASSERT_LT(pos, end);
                const uint8_t mask = uint8_t(b[pos++]);
                if (mask & 1) {
                    const uint8_t note = uint8_t(b[pos++]);
                    EXPECT_TRUE(note < 120 || note == 254 || note == 255);
                }
                if (mask & 2) {
                    EXPECT_LE(uint8_t(b[pos++]), ins);
                }
                if (mask & 4) {
                    EXPECT_LE(uint8_t(b[pos++]), 64);
                }
                if (mask & 8) pos += 2;
                ASSERT_LE(pos, end);
            }
            EXPECT_EQ(seen, rows) << "pattern " << i;
        }
    }
}

TEST(DatagenAudio, ModulesAreImpulseTrackerFilesOfAtLeastAMinute) {
    std::set<int> tempos;
    for (const std::string& f : module_files()) {
        SCOPED_TRACE(f);
        const std::string path = kGameDir + "/" + f;
        const std::string b = read_text(path);
        ASSERT_GE(b.size(), 192u);
        EXPECT_EQ(b.substr(0, 4), "IMPM");
        tempos.insert(uint8_t(b[0x33]));
        // The order list ends the song: it closes with the end marker, never loops back.
        const uint16_t orders = u16(b, 0x20);
        ASSERT_GE(b.size(), 192u + orders);
        EXPECT_EQ(uint8_t(b[192 + orders - 1]), 255);
        std::string info;
        ASSERT_EQ(run_command("openmpt123 --info '" + path + "'", &info), 0) << info;
        EXPECT_NE(info.find("Impulse Tracker"), std::string::npos) << info;
        const double seconds = info_duration(info);
        EXPECT_GE(seconds, 60.0) << info;
        EXPECT_LT(seconds, 240.0) << info;
        // Small: short synthesised loops, not recordings.
        EXPECT_LT(b.size(), 400u * 1024u);

        // The game's own music loader plays it once, for as long as openmpt123 says.
        std::string error;
        auto module = Module::load(
            std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(b.data()), b.size()), &error);
        ASSERT_TRUE(module) << error;
        EXPECT_NEAR(module->duration_s(), seconds, 0.01);
        // Channels as many as the tune plays on, and the header enables exactly those.
        int enabled = 0;
        for (size_t ch = 0; ch < 64; ++ch)
            enabled += (uint8_t(b[0x40 + ch]) & 128) == 0;
        EXPECT_EQ(module->channels(), enabled);
        EXPECT_GE(enabled, 8);
        EXPECT_LE(enabled, 16);
    }
    EXPECT_EQ(tempos.size(), 8u) << "every tune has its own tempo";
}

// Every instrument of a tune plays, and each tune is in its own key: a tune with a final chord
// ends on it (the bass on the tonic, the lead on the same pitch class); a tune that runs on
// into its own start has its theme (the order after the intro) begin on the tonic in the bass.
TEST(DatagenAudio, TunesUseTheWholeBandAndEndInTheirOwnKeys) {
    std::set<int> tonics;
    for (const std::string& f : module_files()) {
        SCOPED_TRACE(f);
        std::istringstream in(read_text(kGameDir + "/" + f));
        openmpt::module mod(in);
        const int instruments = int(mod.get_instrument_names().size());
        EXPECT_GE(instruments, 8);
        std::set<int> played;
        for (int p = 0; p < mod.get_num_patterns(); ++p)
            for (int r = 0; r < mod.get_pattern_num_rows(p); ++r)
                for (int ch = 0; ch < mod.get_num_channels(); ++ch)
                    played.insert(mod.get_pattern_row_channel_command(
                        p, r, ch, openmpt::module::command_instrument));
        for (int i = 1; i <= instruments; ++i)
            EXPECT_TRUE(played.count(i)) << "instrument " << i;

        const bool final_chord =
            mod.get_metadata("message").find("Ending: final chord") != std::string::npos;
        const int last = mod.get_order_pattern(final_chord ? mod.get_num_orders() - 1 : 1);
        int low = 200, high = -1;
        for (int ch = 0; ch < mod.get_num_channels(); ++ch) {
            const int note =
                mod.get_pattern_row_channel_command(last, 0, ch, openmpt::module::command_note);
            const int ins = mod.get_pattern_row_channel_command(
                last, 0, ch, openmpt::module::command_instrument);
            // Pitched instruments only: drums sit on one fixed note.
            const std::string name = ins > 0 && ins <= instruments
                                         ? mod.get_instrument_names()[size_t(ins - 1)]
                                         : std::string();
            if (note < 1 || note > 120 || name.empty() || name.find("hat") != std::string::npos ||
                name == "kick" || name == "snare" || name == "crash" || name == "tom" ||
                name == "clap")
                continue;
            low = std::min(low, note);
            high = std::max(high, note);
        }
        ASSERT_LE(low, high);
        if (final_chord) {
            EXPECT_EQ(low % 12, high % 12) << "the lead ends on the bass's note";
        }
        // The key the song message names ("Key: Bb major, 146 BPM").
        const std::string message = mod.get_metadata("message");
        const size_t key_at = message.find("Key: ");
        ASSERT_NE(key_at, std::string::npos) << message;
        const std::string key = message.substr(key_at + 5, message.find(' ', key_at + 5) - key_at - 5);
        static const char* names[12] = {"C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"};
        const int tonic = int(std::find(names, names + 12, key) - names);
        EXPECT_EQ((low - 1) % 12, tonic) << "the bass is on the tonic of " << key; // 1 = C-0
        tonics.insert(low % 12);
    }
    EXPECT_EQ(tonics.size(), 8u);
}

// Each tune rendered to its end: sound all the way (no gap of more than 2 s), no clipping, no
// jump commands, and it stops where its reported duration says.
TEST(DatagenAudio, ModulesPlayAudiblyToTheirEnd) {
    constexpr int kRate = 48000;
    for (const std::string& f : module_files()) {
        SCOPED_TRACE(f);
        const std::string bytes = read_text(kGameDir + "/" + f);
        ASSERT_FALSE(bytes.empty());
        std::istringstream in(bytes);
        openmpt::module mod(in);
        mod.set_repeat_count(0);
        mod.ctl_set_integer("dither", 0);
        const double reported = mod.get_duration_seconds();
        EXPECT_GE(reported, 60.0);

        // No position jumps: nothing can send the song back to an earlier order.
        for (int p = 0; p < mod.get_num_patterns(); ++p)
            for (int r = 0; r < mod.get_pattern_num_rows(p); ++r)
                for (int ch = 0; ch < mod.get_num_channels(); ++ch)
                    ASSERT_NE(mod.format_pattern_row_channel_command(
                                  p, r, ch, openmpt::module::command_effect),
                              "B")
                        << "pattern " << p << " row " << r;

        std::vector<int16_t> buf(2 * 1024);
        const size_t window = kRate / 20; // 50 ms
        size_t frames = 0, in_window = 0, quiet_run = 0, longest_quiet = 0;
        double energy = 0;
        int peak = 0;
        for (;;) {
            const size_t n = mod.read_interleaved_stereo(kRate, 1024, buf.data());
            if (n == 0) break;
            for (size_t i = 0; i < n; ++i) {
                for (int c = 0; c < 2; ++c) {
                    const int v = buf[2 * i + size_t(c)];
                    peak = std::max(peak, std::abs(v));
                    energy += double(v) * v;
                }
                if (++in_window == window) {
                    const double rms = std::sqrt(energy / (2.0 * window)) / 32768.0;
                    // Quieter than -50 dBFS counts as silence.
                    quiet_run = rms < 0.00316 ? quiet_run + 1 : 0;
                    longest_quiet = std::max(longest_quiet, quiet_run);
                    in_window = 0;
                    energy = 0;
                }
            }
            frames += n;
            ASSERT_LT(frames, size_t(kRate) * 600) << "does not end";
        }
        const double seconds = double(frames) / kRate;
        EXPECT_GE(seconds, 60.0);
        EXPECT_NEAR(seconds, reported, 0.5);
        EXPECT_LE(longest_quiet * 0.05, 2.0);
        EXPECT_LT(peak, 32767) << "clipped";
        EXPECT_GT(peak, 8000) << "too quiet";
    }
}

// Two runs of the generator give the same bytes, and the same bytes as the build's game folder.
TEST(DatagenAudio, GeneratorIsDeterministic) {
    const std::string a = make_temp_dir(), b = make_temp_dir();
    ASSERT_FALSE(a.empty());
    ASSERT_FALSE(b.empty());
    const std::string tool = std::string(SS_BIN_DIR) + "/datagen";
    std::string out;
    ASSERT_EQ(run_command("'" + tool + "' '" + a + "'", &out), 0) << out;
    ASSERT_EQ(run_command("'" + tool + "' '" + b + "'", &out), 0) << out;
    std::vector<std::string> files = module_files();
    for (const SfxCase& c : kSfx)
        files.push_back(c.file);
    for (const std::string& f : files) {
        SCOPED_TRACE(f);
        const std::string first = read_text(a + "/" + f);
        ASSERT_FALSE(first.empty());
        EXPECT_TRUE(first == read_text(b + "/" + f));
        EXPECT_TRUE(first == read_text(kGameDir + "/" + f));
    }
    run_command("rm -rf '" + a + "' '" + b + "'");
}
