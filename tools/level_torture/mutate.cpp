#include "mutate.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>

namespace {

using Rng = std::mt19937_64;

size_t below(Rng& rng, size_t n) { return n == 0 ? 0 : size_t(rng() % n); }
bool chance(Rng& rng, int percent) { return int(rng() % 100) < percent; }

const char* const kKeys[] = {"minx", "miny", "maxx", "maxy", "extx", "exty"};

const char* const kAbsurd[] = {"1e308",  "-1e308", "1e9",     "-1e9",    "9007199254740993",
                               "-0",     "1e-300", "2147483648", "-2147483649", "4294967296",
                               "0.999999999", "1024.5", "65536", "-65536", "123456789012345678901234567890"};
const char* const kNonFinite[] = {"nan", "NaN", "-nan", "inf", "-inf", "Infinity", "1e999",
                                  "-1e999", "0x7ff8000000000000", "nan(123)"};

std::string number(double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

struct PadText {
    std::string v[6];
};

// A level file from pads given as text values, in the game's layout, with some line-end and
// spacing variety.
std::string level_text(const std::string& padcount, const std::string& forcemap,
                       const std::vector<PadText>& pads, Rng& rng) {
    const char* eol = chance(rng, 50) ? "\r\n" : "\n";
    std::string s = std::string("[global]") + eol + "padcount=" + padcount + eol + "forcemap=" +
                    forcemap + eol;
    for (size_t i = 0; i < pads.size(); ++i) {
        s += "[pads" + std::to_string(i) + "]" + eol;
        for (int k = 0; k < 6; ++k)
            s += std::string(kKeys[k]) + "=" + pads[i].v[k] + eol;
    }
    return s;
}

PadText plain_pad(Rng& rng) {
    PadText p;
    const double x = double(below(rng, 31)), y = double(below(rng, 11));
    const bool moving = chance(rng, 50);
    p.v[0] = number(x);
    p.v[1] = number(y);
    p.v[2] = number(moving ? double(below(rng, 31)) : x);
    p.v[3] = number(moving ? double(below(rng, 11)) : y);
    p.v[4] = number(double(1 + below(rng, 6)));
    p.v[5] = number(double(1 + below(rng, 4)));
    return p;
}

std::vector<PadText> plain_pads(Rng& rng, size_t n) {
    std::vector<PadText> pads;
    for (size_t i = 0; i < n; ++i)
        pads.push_back(plain_pad(rng));
    return pads;
}

std::string values_replaced(Rng& rng, const char* const* table, size_t table_size, int percent) {
    std::vector<PadText> pads = plain_pads(rng, 1 + below(rng, 12));
    for (PadText& p : pads)
        for (std::string& v : p.v)
            if (chance(rng, percent)) v = table[below(rng, table_size)];
    std::string count = std::to_string(pads.size());
    if (chance(rng, 20)) count = table[below(rng, table_size)];
    std::string force = chance(rng, 20) ? table[below(rng, table_size)] : "0";
    return level_text(count, force, pads, rng);
}

std::string junk(Rng& rng, size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s += char(rng() & 0xFF);
    return s;
}

std::string damaged(Damage d, const std::string& base, Rng& rng) {
    switch (d) {
    case Damage::AbsurdNumbers:
        return values_replaced(rng, kAbsurd, std::size(kAbsurd), 40);
    case Damage::NanAndInf:
        return values_replaced(rng, kNonFinite, std::size(kNonFinite), 40);
    case Damage::NegativeSizes: {
        std::vector<PadText> pads = plain_pads(rng, 1 + below(rng, 12));
        for (PadText& p : pads) {
            if (chance(rng, 60)) p.v[4] = number(-double(below(rng, 40)) - 0.5 * double(below(rng, 2)));
            if (chance(rng, 60)) p.v[5] = number(-double(below(rng, 40)));
        }
        return level_text(std::to_string(pads.size()), "0", pads, rng);
    }
    case Damage::ManyPads: {
        std::vector<PadText> pads = plain_pads(rng, 1024);
        const char* counts[] = {"1024", "1025", "2000", "1e9", "1024.9", "100000"};
        return level_text(counts[below(rng, std::size(counts))], chance(rng, 50) ? "1" : "0", pads,
                          rng);
    }
    case Damage::OverlappingPads: {
        // Big pads over one another, girders sliding through them, all of the grid covered.
        const size_t n = chance(rng, 20) ? 1024 : 2 + below(rng, 60);
        std::vector<PadText> pads;
        for (size_t i = 0; i < n; ++i) {
            PadText p;
            p.v[0] = number(double(below(rng, 3)));
            p.v[1] = number(double(below(rng, 2)));
            p.v[2] = number(double(below(rng, 31)));
            p.v[3] = number(double(below(rng, 11)));
            p.v[4] = number(double(1 + below(rng, 31)));
            p.v[5] = number(double(1 + below(rng, 11)));
            pads.push_back(p);
        }
        return level_text(std::to_string(n), chance(rng, 50) ? "1" : "0", pads, rng);
    }
    case Damage::OffGrid: {
        std::vector<PadText> pads = plain_pads(rng, 1 + below(rng, 12));
        for (PadText& p : pads)
            for (int k = 0; k < 4; ++k)
                if (chance(rng, 50)) {
                    const double far[] = {-1000, -64.5, -31, -1, 31, 40.25, 128, 129, 5000};
                    p.v[k] = number(chance(rng, 50) ? far[below(rng, std::size(far))]
                                                    : double(below(rng, 3100)) / 100 - 0.005);
                }
        return level_text(std::to_string(pads.size()), "0", pads, rng);
    }
    case Damage::Truncated:
        return base.substr(0, below(rng, base.size() + 1));
    case Damage::DuplicateKeys: {
        std::vector<PadText> pads = plain_pads(rng, 1 + below(rng, 8));
        std::string s = level_text(std::to_string(pads.size()), "0", pads, rng);
        for (int k = int(1 + below(rng, 6)); k > 0; --k) {
            const size_t i = below(rng, pads.size());
            std::string extra = "[pads" + std::to_string(i) + "]\n" + kKeys[below(rng, 6)] + "=" +
                                kAbsurd[below(rng, std::size(kAbsurd))] + "\n";
            if (chance(rng, 30)) extra += "[GLOBAL]\nPadCount=" + std::to_string(below(rng, 2000)) + "\n";
            const size_t at = chance(rng, 50) ? s.size() : below(rng, s.size());
            s.insert(std::min(at, s.size()), extra);
        }
        return s;
    }
    case Damage::BinaryJunk: {
        if (chance(rng, 40)) return junk(rng, below(rng, 4096));
        std::string s = base;
        for (int k = int(1 + below(rng, 8)); k > 0; --k)
            s.insert(below(rng, s.size() + 1), junk(rng, 1 + below(rng, 64)));
        return s;
    }
    case Damage::Mixed:
        break;
    }
    // Mixed: a shipped level with several line-level damages.
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < base.size()) {
        size_t end = base.find('\n', pos);
        if (end == std::string::npos) end = base.size();
        lines.push_back(base.substr(pos, end - pos));
        pos = end + 1;
    }
    for (int k = int(1 + below(rng, 10)); k > 0 && !lines.empty(); --k) {
        const size_t i = below(rng, lines.size());
        switch (below(rng, 6)) {
        case 0: lines.erase(lines.begin() + std::ptrdiff_t(i)); break;
        case 1: lines.insert(lines.begin() + std::ptrdiff_t(i), lines[i]); break;
        case 2: {
            const size_t eq = lines[i].find('=');
            if (eq != std::string::npos)
                lines[i] = lines[i].substr(0, eq + 1) +
                           (chance(rng, 50) ? kAbsurd[below(rng, std::size(kAbsurd))]
                                            : kNonFinite[below(rng, std::size(kNonFinite))]);
            break;
        }
        case 3: lines[i] = junk(rng, below(rng, 40)); break;
        case 4: lines[i] += std::string(below(rng, 2000), 'x'); break;
        default: std::swap(lines[i], lines[below(rng, lines.size())]); break;
        }
    }
    std::string s;
    for (const std::string& l : lines)
        s += l + "\n";
    return s;
}

} // namespace

const char* damage_name(Damage d) {
    switch (d) {
    case Damage::AbsurdNumbers: return "absurd numbers";
    case Damage::NanAndInf: return "NaN and inf text";
    case Damage::NegativeSizes: return "negative sizes";
    case Damage::ManyPads: return "1,024 pads";
    case Damage::OverlappingPads: return "overlapping pads";
    case Damage::OffGrid: return "pads off the grid";
    case Damage::Truncated: return "truncated";
    case Damage::DuplicateKeys: return "duplicate keys";
    case Damage::BinaryJunk: return "binary junk";
    case Damage::Mixed: return "mixed damage";
    }
    return "?";
}

std::string mutated_level(Damage d, const std::string& base, std::mt19937_64& rng) {
    return damaged(d, base, rng);
}
