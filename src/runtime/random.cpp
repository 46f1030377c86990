#include "runtime/random.h"

#include "runtime/numbers.h"

void Isaac::mix(uint32_t (&w)[8]) {
    uint32_t &a0 = w[0], &b0 = w[1], &c0 = w[2], &d0 = w[3], &e0 = w[4], &f0 = w[5], &g0 = w[6],
             &h0 = w[7];
    // clang-format off
    a0 ^= b0 << 11; d0 += a0; b0 += c0;
    b0 ^= c0 >> 2;  e0 += b0; c0 += d0;
    c0 ^= d0 << 8;  f0 += c0; d0 += e0;
    d0 ^= e0 >> 16; g0 += d0; e0 += f0;
    e0 ^= f0 << 10; h0 += e0; f0 += g0;
    f0 ^= g0 >> 4;  a0 += f0; g0 += h0;
    g0 ^= h0 << 8;  b0 += g0; h0 += a0;
    h0 ^= a0 >> 9;  c0 += h0; a0 += b0;
    // clang-format on
}

void Isaac::generate() {
    c += 1;
    b += c;
    for (int i = 0; i < kSize; ++i) {
        const uint32_t x = memory[i];
        switch (i & 3) {
        case 0:
            a ^= a << 13;
            break;
        case 1:
            a ^= a >> 6;
            break;
        case 2:
            a ^= a << 2;
            break;
        default:
            a ^= a >> 16;
            break;
        }
        a += memory[(i + 128) & 255];
        const uint32_t y = memory[(x >> 2) & 255] + a + b;
        memory[i] = y;
        b = memory[(y >> 10) & 255] + x;
        results[i] = b;
    }
    used = 0;
}

void Isaac::init(const uint32_t* seed) {
    a = b = c = 0;
    uint32_t w[8];
    for (uint32_t& v : w)
        v = kGolden;
    for (int i = 0; i < 4; ++i)
        mix(w);
    for (int pass = 0; pass < (seed ? 2 : 1); ++pass) {
        const uint32_t* src = pass == 0 ? seed : memory;
        for (int i = 0; i < kSize; i += 8) {
            if (src)
                for (int k = 0; k < 8; ++k)
                    w[k] += src[i + k];
            mix(w);
            for (int k = 0; k < 8; ++k)
                memory[i + k] = w[k];
        }
    }
    generate();
}

uint32_t Isaac::next() {
    if (used >= kSize) generate();
    return results[used++];
}

namespace {
Isaac& game_generator() {
    static Isaac g = [] {
        Isaac i;
        i.init(nullptr);
        return i;
    }();
    return g;
}
} // namespace

void rnd_seed(uint32_t seed) {
    Isaac& g = game_generator();
    g.a = g.b = g.c = 0;
    uint32_t w[8];
    for (uint32_t& v : w)
        v = Isaac::kGolden;
    for (int i = 0; i < 4; ++i)
        Isaac::mix(w);
    for (int i = 0; i < Isaac::kSize; i += 8) {
        w[0] += seed;
        Isaac::mix(w);
        for (int k = 0; k < 8; ++k)
            g.memory[i + k] = w[k];
    }
    g.generate();
}

uint32_t rnd_next() {
    return game_generator().next();
}

double rnd(double n) {
    const int64_t bound = to_int64(n);
    if (bound < 0) return 0;
    const uint32_t r = rnd_next();
    if (bound >= int64_t(0xFFFFFFFF)) return double(r); // every output is below the modulus
    return double(uint64_t(r) % uint64_t(bound + 1));
}
