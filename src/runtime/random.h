#pragma once
// The runtime's random generator (ISAAC, 256-word state).
#include <cstdint>

void rnd_seed(uint32_t seed);
// A uniformly distributed whole number from 0 to n inclusive; 0 for a negative bound.
double rnd(double n);
