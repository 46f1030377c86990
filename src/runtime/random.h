#pragma once
// The runtime's random generator: ISAAC (256-word state, results made a block of 256 at a time
// and handed out one by one).
#include <cstdint>

// The generator core.
class Isaac {
  public:
    static constexpr int kSize = 256;
    static constexpr uint32_t kGolden = 0x9e3779b9u;

    // The standard initialisation: with `seed` (256 words) mixed in twice, or without a seed.
    // Produces the first block of results.
    void init(const uint32_t* seed);
    // Produces the next block of 256 results into results[].
    void generate();
    // The next result, in index order through each block.
    uint32_t next();
    // The eight-word mixing step of the initialisation.
    static void mix(uint32_t (&w)[8]);

    uint32_t results[kSize] = {};
    uint32_t memory[kSize] = {};
    uint32_t a = 0, b = 0, c = 0;
    int used = kSize; // results already handed out from the current block
};

// The game's seeding: the state is filled from one 32-bit seed added to the first mixing word
// before each mixing step of the filling pass.
void rnd_seed(uint32_t seed);
// The next 32-bit output of the game's generator.
uint32_t rnd_next();
// A uniformly distributed whole number from 0 to n inclusive: the next output modulo
// (truncate(n) + 1); 0 for a negative bound.
double rnd(double n);
