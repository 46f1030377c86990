// The eight tunes as a player hears them: each its own form, instruments and ending, all
// equally loud without clipping (measured by steel_data music), and sampled instruments that
// sound at the pitch the module plays them at.
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kGameDir = SS_GAME_DIR;

uint32_t u32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}
uint16_t u16(const std::string& b, size_t at) {
    return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}

// The value of "key" in the one-line JSON that steel_data prints (numbers and strings).
std::string json_value(const std::string& json, const std::string& key) {
    const std::string tag = "\"" + key + "\":";
    size_t at = json.find(tag);
    if (at == std::string::npos) return "";
    at += tag.size();
    if (json[at] == '"') {
        const size_t end = json.find('"', at + 1);
        return json.substr(at + 1, end - at - 1);
    }
    const size_t end = json.find_first_of(",}", at);
    return json.substr(at, end - at);
}

struct TuneInfo {
    std::string form, ending;
    double seconds = 0, lufs = 0, peak = 0;
    int channels = 0, tempo = 0;
    std::set<std::string> sample_names;
};

// What steel_data music says of every tune, plus the tempo and sample names from the file.
const std::vector<TuneInfo>& tunes() {
    static std::vector<TuneInfo> all = [] {
        std::vector<TuneInfo> out;
        for (int i = 1; i <= 8; ++i) {
            const std::string path = kGameDir + "/music/SS_" + std::to_string(i) + ".IT";
            std::string json;
            TuneInfo t;
            if (run_command(data_tool() + " music '" + path + "'", &json) == 0) {
                t.form = json_value(json, "form");
                t.ending = json_value(json, "ending");
                t.seconds = std::atof(json_value(json, "duration_s").c_str());
                t.lufs = std::atof(json_value(json, "loudness_lufs").c_str());
                t.peak = std::atof(json_value(json, "peak_dbfs").c_str());
                t.channels = std::atoi(json_value(json, "channels").c_str());
            }
            const std::string b = read_text(path);
            if (b.size() >= 192) {
                t.tempo = uint8_t(b[0x33]);
                const size_t orders = u16(b, 0x20), ins = u16(b, 0x22), smp = u16(b, 0x24);
                for (size_t k = 0; k < smp; ++k) {
                    const size_t at = u32(b, 192 + orders + 4 * (ins + k));
                    if (at + 0x2E <= b.size())
                        t.sample_names.insert(b.substr(at + 0x14, 26).c_str());
                }
            }
            out.push_back(t);
        }
        return out;
    }();
    return all;
}

TEST(DatagenMusic, EveryTuneHasItsOwnShape) {
    const auto& all = tunes();
    ASSERT_EQ(all.size(), 8u);
    std::set<std::string> forms, instrument_sets;
    std::set<int> channel_counts, tempos;
    std::map<std::string, int> timbres; // how many tunes use each sampled-style timbre
    for (size_t i = 0; i < all.size(); ++i) {
        const TuneInfo& t = all[i];
        SCOPED_TRACE("SS_" + std::to_string(i + 1));
        ASSERT_FALSE(t.form.empty()) << "no form in the song message";
        EXPECT_GE(t.seconds, 60.0);
        EXPECT_LE(t.seconds, 120.0);
        forms.insert(t.form);
        channel_counts.insert(t.channels);
        tempos.insert(t.tempo);
        std::string set;
        for (const std::string& n : t.sample_names)
            set += n + "|";
        instrument_sets.insert(set);
        for (const char* kind : {": plucked", ": mallet", ": brass"})
            for (const std::string& n : t.sample_names)
                if (n.find(kind) != std::string::npos) {
                    ++timbres[kind];
                    break;
                }
    }
    EXPECT_EQ(forms.size(), 8u) << "two tunes share a form";
    EXPECT_EQ(tempos.size(), 8u);
    EXPECT_EQ(instrument_sets.size(), 8u) << "two tunes share their instruments";
    EXPECT_GE(channel_counts.size(), 3u);
    for (const char* kind : {": plucked", ": mallet", ": brass"})
        EXPECT_GE(timbres[kind], 2) << kind;

    // The menu tune plays once while the menu waits, the hurry-up tune once to the end of the
    // clock: both have a real ending; the level tunes, played twice in a row, run on into
    // their own start. The hurry-up is the fastest and lasts the whole last minute.
    for (size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(all[i].ending, i == 5 || i == 7 ? "final chord" : "seamless loop") << i + 1;
    for (size_t i = 0; i + 1 < all.size(); ++i)
        EXPECT_LT(all[i].tempo, all[7].tempo);
    EXPECT_GE(all[7].seconds, 60.0);
}

TEST(DatagenMusic, TunesAreEquallyLoudAndNeverClip) {
    double lo = 1e9, hi = -1e9;
    for (size_t i = 0; i < tunes().size(); ++i) {
        const TuneInfo& t = tunes()[i];
        SCOPED_TRACE("SS_" + std::to_string(i + 1));
        EXPECT_GT(t.lufs, -24.0);
        EXPECT_LT(t.lufs, -10.0);
        EXPECT_LT(t.peak, -0.5) << "peaks reach full scale";
        lo = std::min(lo, t.lufs);
        hi = std::max(hi, t.lufs);
    }
    EXPECT_LE(hi - lo, 2.0) << "integrated loudness spread in LU";
}

// Period (in samples) with the strongest normalised autocorrelation between lo and hi.
double best_period(const std::vector<double>& s, int lo, int hi) {
    double best = -2;
    int at = 0;
    for (int lag = lo; lag <= hi; ++lag) {
        double num = 0, a = 0, b = 0;
        for (size_t i = 0; i + size_t(lag) < s.size(); ++i) {
            num += s[i] * s[i + size_t(lag)];
            a += s[i] * s[i];
            b += s[i + size_t(lag)] * s[i + size_t(lag)];
        }
        const double r = a > 0 && b > 0 ? num / std::sqrt(a * b) : 0;
        if (r > best) {
            best = r;
            at = lag;
        }
    }
    return at;
}

// Every pitched sample, played at its C5 speed, sounds middle C (within a sixth of a
// semitone): plucked strings, bars and brass as well as the additive waves.
TEST(DatagenMusic, PitchedSamplesSoundMiddleC) {
    int checked = 0;
    for (int tune = 1; tune <= 8; ++tune) {
        const std::string b = read_text(kGameDir + "/music/SS_" + std::to_string(tune) + ".IT");
        ASSERT_GE(b.size(), 192u);
        const size_t orders = u16(b, 0x20), ins = u16(b, 0x22), smp = u16(b, 0x24);
        for (size_t k = 0; k < smp; ++k) {
            const size_t at = u32(b, 192 + orders + 4 * (ins + k));
            ASSERT_LE(at + 80, b.size());
            const std::string name = b.substr(at + 0x14, 26).c_str();
            const bool pitched = name.find(": ") != std::string::npos;
            if (!pitched) continue;
            SCOPED_TRACE("SS_" + std::to_string(tune) + " " + name);
            const bool wide = uint8_t(b[at + 0x12]) & 2;
            const size_t length = u32(b, at + 0x30), data = u32(b, at + 0x48);
            const double c5 = u32(b, at + 0x3C);
            ASSERT_LE(data + length * (wide ? 2 : 1), b.size());
            // A stretch past the attack.
            const size_t from = length / 8, n = std::min<size_t>(length - from, 4096);
            std::vector<double> s;
            for (size_t i = from; i < from + n; ++i)
                s.push_back(wide ? int16_t(u16(b, data + 2 * i)) / 32768.0
                                 : int8_t(b[data + i]) / 128.0);
            const double expected = c5 / 261.6256;
            const double period =
                best_period(s, int(expected * 0.8), int(std::ceil(expected * 1.25)));
            EXPECT_NEAR(12 * std::log2(expected / period), 0.0, 1.0 / 6) << period;
            ++checked;
        }
    }
    EXPECT_GE(checked, 8 * 4 + 6); // bass, pad, lead and counter in all, the arpeggio in most
}

} // namespace
