#pragma once
// Hostile level files for the level torture driver: each kind of damage a level file can come
// with, made from a seed so that every run of the driver sees the same files.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

enum class Damage {
    AbsurdNumbers,   // 1e308, -1e9, 2^53 + 1, 1e-300 ...
    NanAndInf,       // "nan", "inf", "-inf", "1e999" as values
    NegativeSizes,   // extx, exty below zero
    ManyPads,        // 1,024 pads (and padcounts beyond)
    OverlappingPads, // pads over each other, moving through each other
    OffGrid,         // positions far outside the 31 x 11 grid, fractional cells
    Truncated,       // a good level cut at any byte
    DuplicateKeys,   // keys and sections repeated with other values
    BinaryJunk,      // random bytes, alone or spliced into a good level
    Mixed,           // several of the above on one shipped level
};
inline constexpr int kDamageKinds = 10;
const char* damage_name(Damage d);

// One level file of the given damage; `base` is a good level's text (a shipped one).
std::string mutated_level(Damage d, const std::string& base, std::mt19937_64& rng);
