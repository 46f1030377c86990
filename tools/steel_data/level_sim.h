#pragma once
// The game's rules run in-process for the level tools: a level file loaded by the game's own
// LoadLevel, scripted controls in place of the keyboard, the frame times of a scripted run, no
// sound, no music and no map drawing. Frames run like the play loop's: MovePads, then UpdatePlay.
#include "game/state.h"

#include <cstdint>
#include <string>

// Controls held in one frame, as bits.
enum ControlBit : uint8_t {
    kLeft = 1,
    kRight = 2,
    kUp = 4,
    kDown = 8,
    kAction = 16,
};

// Frame times of a `--level N` scripted run of the game at 60 frames per second. The first
// play frame starts right after loading, off the frame grid; every later frame starts on a
// frame boundary, after which one clock read (FrameClock) precedes the rules.
struct FrameTiming {
    double interval = 1000.0 / 60;
    // Script time at which the second play frame (frame 1) starts: the first frame boundary
    // after the level has loaded.
    double frame1_ms = 0;
    // Frame 0: the girders' frame time and the elapsed time UpdatePlay is given.
    double frame0_girders = 0, frame0_elapsed = 0;
    // Frame 1 likewise (the girders' frame time reaches back to the last frame before loading).
    double frame1_girders = 0, frame1_elapsed = 0;
    // The time one clock read takes.
    double read_step = 0.01;

    double girder_ms(long frame) const;
    double elapsed_ms(long frame) const;
    // Script time at which frame `frame` (1 or later) starts.
    double start_ms(long frame) const { return frame1_ms + double(frame - 1) * interval; }
};

// The timing of this program's scripted runs (measured with `dump`, see docs/levels.md); other
// clock-read steps give the frame times the same run would have if the game read its devices
// more or less often per frame.
FrameTiming DefaultTiming(double read_step = 0.01);

// Everything the rules read or write, with the number of the next frame to run.
struct GameSnapshot {
    RtArray<Pad> pads;
    RtArray<Worker> workers;
    double frame_clock = 0, playing = 0, level = 0, map_fade = 0, level_done = 0, done_fade = 0;
    double force_map = 0, exit_timer = 0, time_left = 0, hurry_music = 0, music_track = 0;
    double music_wait = 0, lives = 0, score = 0, action_latch = 0, game_complete = 0;
    long frame = 0;
};

class LevelSim {
  public:
    // Puts the tools' seam in place of the devices' (for the life of the object).
    explicit LevelSim(const FrameTiming& timing);
    ~LevelSim();
    LevelSim(const LevelSim&) = delete;
    LevelSim& operator=(const LevelSim&) = delete;

    // Loads the level file as the game loads "levelN.ini" and starts a game on it (3 lives,
    // the timer option's time). False, with the reason, when the file cannot be read.
    bool Load(const std::string& path, double timer_option, std::string* why);

    // Runs one frame of play with these controls held.
    void Step(uint8_t controls);
    // Runs only the girders of the next frame (MovePads) and counts the frame; the worker's
    // moves are the caller's (the solver moves many candidate workers through MoveWorker).
    void StepGirders();
    // The worker's wanted move in this frame for these controls, as UpdatePlay computes it.
    void WantedMove(uint8_t controls, double& mx, double& my) const;

    GameSnapshot Save() const;
    void Restore(const GameSnapshot& s);

    long frame() const { return frame_; }
    const FrameTiming& timing() const { return timing_; }
    void set_timing(const FrameTiming& timing) { timing_ = timing; }

  private:
    FrameTiming timing_;
    long frame_ = 0;
};
