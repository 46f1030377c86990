#pragma once
// The rules of play reach the devices only through this seam, so they run in-process without a
// window: tests and the level solver put their own functions in place of the real ones.
struct GameSeam {
    // ReadControl (keyboard and joystick 0).
    double (*read_control)(double worker, double axis);
    // The runtime's frame_time_ms (the rules cap it at kMaxFrameMs).
    double (*frame_time_ms)();
    // play_sound(slot, 0, 1).
    void (*play_sound)(double slot);
    double (*load_music)(const char* file);
    void (*start_music)();
    double (*music_finished)();
    void (*stop_music)();
    // The drawn half of LoadLevel: BuildLevelMap(slot) and clearing the screen.
    void (*build_level_map)(double slot);
};

// The real devices.
GameSeam DeviceSeam();
// The seam in use (DeviceSeam at start).
extern GameSeam Seam;

// Longest frame the rules are handed, in ms: a stall slows the game down instead of letting
// the worker jump a gap or a girder skip its end.
inline constexpr double kMaxFrameMs = 100;
