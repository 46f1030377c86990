#pragma once
// Sound effects and music, mixed into the one audio device (44100 Hz stereo).
//
// Effects: 128 slots (0..127), each with 1..4 voices of the same sound, so an effect can
// overlap itself. Music: one tracker module at a time, played once. Without an audio device
// every operation is a quiet no-op: loads load nothing, music_finished reports 1.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Opens the audio device (44100 Hz stereo) and creates the 128 empty slots. Without a device
// every operation is a quiet no-op. With `capture` no device is opened: the mix is made only
// when sound_capture asks for it (a run that writes its sound to a file).
void sound_init(bool capture = false);
// Releases the slots and the module and closes the device.
void sound_shutdown();
// Mutes the output while the window is paused; it resumes where it was.
void sound_set_paused(bool paused);
// The player's volume: linear gains 0..1 of all effects and of the music (1 at start).
void sound_set_output_gains(float effects, float music);
// True when the device is open and sound can be heard (or is captured).
bool sound_available();
// True when the mix is captured instead of played.
bool sound_capturing();
// Capture: mixes the next `frames` stereo frames (effects, music, the master limiter) and
// appends them to `out`; silence while paused. Does nothing without capture.
void sound_capture(size_t frames, std::vector<int16_t>& out);

// Loads a WAV file (8-bit unsigned or 16-bit signed PCM, mono or stereo, any rate) into a slot,
// converted once to the device format. Slots above 127 use 127, negative ones load nothing;
// voices are clamped to 1..4. A file that does not exist leaves the slot as it was; a file that
// cannot be used leaves the slot empty. Returns 1 when the sound was loaded, else 0.
double load_sound(std::string_view file, double slot, double voices);
// Plays the slot's sound once. pan -1 (left) .. 1 (right) and volume 0..1 are clamped; the
// voice used is chosen round robin (see Mixer::play). Returns 0.
double play_sound(double slot, double pan, double volume);
// True when the slot holds a sound.
bool sound_loaded(double slot);

// Frees the module that was loaded, then loads `file` (names with "\" resolve through the file
// layer). Returns 1 when a module was loaded, else 0. The module waits for start_music.
double load_music(std::string_view file);
// Plays the loaded module from its beginning (also one that has ended). Returns 0.
double start_music();
// 1 with no module or once it has played to its end; 0 while it plays or waits to start.
double music_finished();
// Frees the module; the music falls silent. Returns 0.
double stop_music();
