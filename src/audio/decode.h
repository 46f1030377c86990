#pragma once
// Turns the bytes of a WAV file into a sound in the device format (converted once, here).
#include "audio/mixer.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

// Longest sound accepted after conversion, in frames at 44100 Hz (ten minutes): a tiny file at
// a very low rate cannot grow into an unbounded buffer.
constexpr size_t kMaxSoundFrames = size_t(44100) * 600;

// Null (with the reason in *error) when the file is not a WAV file we play.
std::unique_ptr<SoundData> decode_wav_sound(std::span<const uint8_t> bytes,
                                            std::string* error = nullptr);
