#pragma once
// Tracker-module music over libopenmpt. A pure part: modules made from bytes, and a player
// that renders the loaded module into float buffers. The sound device owns one player and
// renders it in its callback; tests drive their own.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>

struct openmpt_module;

// One loaded module, set to play once (repeat count 0) without dither.
class Module {
  public:
    // Null (with the reason in *error) when libopenmpt does not take the bytes.
    static std::unique_ptr<Module> load(std::span<const uint8_t> bytes,
                                        std::string* error = nullptr);
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    double duration_s() const;
    int channels() const;
    int patterns() const;
    int orders() const;
    int samples() const;
    // The module's song message ("" for none), lines joined by '\n'.
    std::string message() const;

    // Back to the beginning (also after the end).
    void rewind();
    // Renders up to `frames` interleaved stereo float frames at 44100 Hz (range -1..1); fewer
    // (0 at the end) once the module has played to its end.
    size_t render(float* out, size_t frames);

  private:
    explicit Module(openmpt_module* mod) : mod_(mod) {}
    openmpt_module* mod_;
};

// Largest module file read (modules are small; this bounds a bad file).
constexpr size_t kMaxModuleBytes = size_t(64) << 20;

// The one module that plays: loaded, started from its beginning, finished at its end. The game
// thread calls replace, start and finished; the audio thread calls mix. Their lock is held
// only while the module and its flags change hands: mix renders outside it, start rewinds
// outside it, and replace and start wait until a running render of the module has ended.
class MusicPlayer {
  public:
    // Puts `module` in place (not playing). Returns the old one so the caller can free it
    // outside any lock.
    std::unique_ptr<Module> replace(std::unique_ptr<Module> module);
    // Plays from the beginning, also a module that has ended.
    void start();
    // True with no module or once it has played to its end; false while it plays (and
    // while a loaded module waits to be started).
    bool finished() const;
    bool loaded() const;
    bool playing() const;

    // Adds the playing module into `out` (frames interleaved stereo frames, 16-bit scale).
    // `scratch` holds 2 * frames floats. Never allocates.
    void mix(float* out, size_t frames, float* scratch);

  private:
    mutable std::mutex lock_;
    std::condition_variable render_done_;
    std::unique_ptr<Module> module_;
    bool playing_ = false;
    bool ended_ = false;
    bool seeking_ = false;              // start is rewinding the module; mix leaves it alone
    const Module* rendering_ = nullptr; // the module mix renders right now
};
