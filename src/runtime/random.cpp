// Placeholder: replaced by the ISAAC generator.
#include "runtime/random.h"

void rnd_seed(uint32_t) {}
double rnd(double) { return 0; }
