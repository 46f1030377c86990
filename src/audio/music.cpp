#include "audio/music.h"

#include <libopenmpt/libopenmpt.h>

namespace {

constexpr int kRate = 44100;

} // namespace

std::unique_ptr<Module> Module::load(std::span<const uint8_t> bytes, std::string* error) {
    if (bytes.empty()) {
        if (error) *error = "empty file";
        return nullptr;
    }
    int code = 0;
    const char* message = nullptr;
    openmpt_module* mod = openmpt_module_create_from_memory2(
        bytes.data(), bytes.size(), openmpt_log_func_silent, nullptr, openmpt_error_func_store,
        nullptr, &code, &message, nullptr);
    if (!mod) {
        if (error) *error = message && *message ? message : "not a module libopenmpt can play";
        openmpt_free_string(message);
        return nullptr;
    }
    openmpt_free_string(message);
    openmpt_module_set_repeat_count(mod, 0);
    openmpt_module_ctl_set_integer(mod, "dither", 0);
    return std::unique_ptr<Module>(new Module(mod));
}

Module::~Module() {
    openmpt_module_destroy(mod_);
}

double Module::duration_s() const {
    return openmpt_module_get_duration_seconds(mod_);
}
int Module::channels() const {
    return openmpt_module_get_num_channels(mod_);
}
int Module::patterns() const {
    return openmpt_module_get_num_patterns(mod_);
}
int Module::orders() const {
    return openmpt_module_get_num_orders(mod_);
}
int Module::samples() const {
    return openmpt_module_get_num_samples(mod_);
}

std::string Module::message() const {
    const char* text = openmpt_module_get_metadata(mod_, "message");
    std::string out = text ? text : "";
    openmpt_free_string(text);
    return out;
}

void Module::rewind() {
    openmpt_module_set_position_order_row(mod_, 0, 0);
}

size_t Module::render(float* out, size_t frames) {
    return openmpt_module_read_interleaved_float_stereo(mod_, kRate, frames, out);
}

std::unique_ptr<Module> MusicPlayer::replace(std::unique_ptr<Module> module) {
    std::unique_lock<std::mutex> g(lock_);
    std::unique_ptr<Module> old = std::move(module_);
    module_ = std::move(module);
    playing_ = false;
    ended_ = false;
    if (old) render_done_.wait(g, [&] { return rendering_ != old.get(); });
    return old;
}

void MusicPlayer::start() {
    Module* module = nullptr;
    {
        // Take the module away from the audio thread while it is rewound here: seeking may
        // allocate, which the audio thread must not do.
        std::unique_lock<std::mutex> g(lock_);
        if (!module_) return;
        module = module_.get();
        seeking_ = true;
        render_done_.wait(g, [&] { return rendering_ != module; });
    }
    module->rewind();
    std::lock_guard<std::mutex> g(lock_);
    seeking_ = false;
    playing_ = true;
    ended_ = false;
}

bool MusicPlayer::finished() const {
    std::lock_guard<std::mutex> g(lock_);
    return !module_ || ended_;
}

bool MusicPlayer::loaded() const {
    std::lock_guard<std::mutex> g(lock_);
    return module_ != nullptr;
}

bool MusicPlayer::playing() const {
    std::lock_guard<std::mutex> g(lock_);
    return playing_;
}

void MusicPlayer::mix(float* out, size_t frames, float* scratch) {
    Module* module = nullptr;
    {
        std::lock_guard<std::mutex> g(lock_);
        if (!module_ || !playing_ || seeking_) return;
        module = module_.get();
        rendering_ = module;
    }
    size_t done = 0;
    bool at_end = false;
    while (done < frames) {
        size_t got = module->render(scratch, frames - done);
        for (size_t i = 0; i < 2 * got; ++i)
            out[2 * done + i] += scratch[i] * 32767.0f;
        done += got;
        if (got == 0) {
            at_end = true;
            break;
        }
    }
    {
        std::lock_guard<std::mutex> g(lock_);
        rendering_ = nullptr;
        // Unless the game replaced it or is restarting it meanwhile, the module has played out.
        if (at_end && module_.get() == module && !seeking_) {
            playing_ = false;
            ended_ = true;
        }
    }
    render_done_.notify_all();
}
