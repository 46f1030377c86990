#pragma once
// Sound effects: 128 slots, each with 1..4 voices, mixed into the one audio device.

// Opens the audio device (44100 Hz stereo) and creates the 128 empty slots. Without a device
// every operation is a quiet no-op.
void sound_init();
// Releases the slots and closes the device.
void sound_shutdown();
// Mutes the output while the window is paused; it resumes where it was.
void sound_set_paused(bool paused);
