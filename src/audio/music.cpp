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

Module::~Module() { openmpt_module_destroy(mod_); }

double Module::duration_s() const { return openmpt_module_get_duration_seconds(mod_); }
int Module::channels() const { return openmpt_module_get_num_channels(mod_); }
int Module::patterns() const { return openmpt_module_get_num_patterns(mod_); }
int Module::orders() const { return openmpt_module_get_num_orders(mod_); }
int Module::samples() const { return openmpt_module_get_num_samples(mod_); }

void Module::rewind() { openmpt_module_set_position_order_row(mod_, 0, 0); }

size_t Module::render(float* out, size_t frames) {
    return openmpt_module_read_interleaved_float_stereo(mod_, kRate, frames, out);
}

std::unique_ptr<Module> MusicPlayer::replace(std::unique_ptr<Module> module) {
    std::unique_ptr<Module> old = std::move(module_);
    module_ = std::move(module);
    playing_ = false;
    ended_ = false;
    return old;
}

void MusicPlayer::start() {
    if (!module_) return;
    module_->rewind();
    playing_ = true;
    ended_ = false;
}

bool MusicPlayer::finished() const { return !module_ || ended_; }

void MusicPlayer::mix(float* out, size_t frames, float* scratch) {
    if (!module_ || !playing_) return;
    size_t done = 0;
    while (done < frames) {
        size_t got = module_->render(scratch, frames - done);
        for (size_t i = 0; i < 2 * got; ++i) out[2 * done + i] += scratch[i] * 32767.0f;
        done += got;
        if (got == 0) {
            playing_ = false;
            ended_ = true;
            break;
        }
    }
}
