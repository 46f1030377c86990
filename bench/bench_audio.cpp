// Mixes 32 effect voices plus one tracker module for 10 s of output, as the audio callback
// does, and reports the real-time factor: seconds of audio per second of CPU.
#include "audio/it_writer.h"
#include "audio/mixer.h"
#include "audio/music.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>
#include <vector>

// The replaced operator new below pairs with free(); GCC cannot see that.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

// Counts every allocation made through operator new (libopenmpt's included), to show that
// mixing allocates nothing.
static std::atomic<long> g_allocations{0};

void* operator new(size_t n) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}

namespace {

constexpr size_t kRate = 44100;
constexpr size_t kChunk = 1024;
constexpr double kSeconds = 10.0;

double cpu_seconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// An 11 s sound: a tone of its own pitch.
std::unique_ptr<SoundData> tone(double hz) {
    auto s = std::make_unique<SoundData>();
    size_t frames = size_t(11.0 * kRate);
    s->samples.resize(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        auto v = int16_t(3000.0 * std::sin(2.0 * M_PI * hz * double(i) / kRate));
        s->samples[2 * i] = v;
        s->samples[2 * i + 1] = v;
    }
    return s;
}

// Eight channels of looped notes on every fourth row, two patterns, about 15 s.
std::string busy_module() {
    ItSong song;
    song.name = "bench";
    for (int i = 0; i < 256; ++i)
        song.sample.push_back(int16_t(8000.0 * std::sin(2.0 * M_PI * i / 64.0)));
    song.loop = true;
    for (int p = 0; p < 2; ++p) {
        ItPattern pat;
        pat.rows = 64;
        for (int row = 0; row < 64; row += 4)
            for (int ch = 0; ch < 8; ++ch)
                pat.notes.push_back(ItNote{row, ch, 48 + (row / 4 + ch * 3 + p * 5) % 24, 1, 40});
        song.patterns.push_back(pat);
    }
    return write_it_module(song);
}

struct Result {
    double cpu_s;
    double rtf;
    long allocations;
};

Result run(bool effects, bool music) {
    Mixer mixer;
    for (int slot = 0; slot < 8; ++slot)
        mixer.replace(slot, tone(220.0 + 55.0 * slot), 4);
    for (int slot = 0; slot < 8; ++slot)
        for (int v = 0; v < 4; ++v)
            mixer.play(slot, (v - 1.5) / 2.0, 0.9);

    std::string bytes = busy_module();
    std::vector<uint8_t> data(bytes.begin(), bytes.end());
    MusicPlayer player;
    player.replace(Module::load(data));
    player.start();

    std::vector<float> mix(2 * kChunk), scratch(2 * kChunk);
    std::vector<int16_t> out(2 * kChunk);
    size_t total = size_t(kSeconds * kRate);
    long allocs0 = g_allocations.load();
    double t0 = cpu_seconds();
    for (size_t done = 0; done < total; done += kChunk) {
        std::fill(mix.begin(), mix.end(), 0.0f);
        if (effects) mixer.mix(mix.data(), kChunk);
        if (music) player.mix(mix.data(), kChunk, scratch.data());
        float_to_s16(mix.data(), out.data(), mix.size());
    }
    double cpu = cpu_seconds() - t0;
    long allocations = g_allocations.load() - allocs0;
    if (music && player.finished()) std::fprintf(stderr, "bench_audio: the module ended early\n");
    return {cpu, kSeconds / cpu, allocations};
}

} // namespace

int main() {
    Result fx = run(true, false);
    Result mod = run(false, true);
    Result both = run(true, true);
    std::printf("audio mix, %.0f s of 44100 Hz stereo output\n", kSeconds);
    std::printf("  32 effect voices:             %7.3f s CPU, real-time factor %8.1f\n", fx.cpu_s,
                fx.rtf);
    std::printf("  one module (8 channels):      %7.3f s CPU, real-time factor %8.1f\n", mod.cpu_s,
                mod.rtf);
    std::printf("  32 voices + module:           %7.3f s CPU, real-time factor %8.1f\n", both.cpu_s,
                both.rtf);
    std::printf("  allocations while mixing:     %ld (of %ld in the whole run)\n",
                fx.allocations + mod.allocations + both.allocations, g_allocations.load());
    return 0;
}
