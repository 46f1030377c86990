#include "level_sim.h"

#include "game/game.h"
#include "game/play.h"
#include "game/seam.h"
#include "runtime/files.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

// What the tools' seam hands the rules.
uint8_t held_controls = 0;
double girder_frame_ms = 1000.0 / 60;

double ToolControl(double, double axis) {
    const uint8_t c = held_controls;
    switch (int(axis)) {
    case 0:
        return double((c & kRight) != 0) - double((c & kLeft) != 0);
    case 1:
        return double((c & kDown) != 0) - double((c & kUp) != 0);
    case 2:
        return double((c & kAction) != 0);
    default:
        return 0;
    }
}
double ToolFrameTime() {
    return std::min(girder_frame_ms, kMaxFrameMs);
}
void NoSound(double) {}
double NoLoad(const char*) {
    return 0;
}
void NoMusic() {}
double MusicOver() {
    return 1;
}
void NoMap(double) {}

// A fresh folder for the level's copy; removed with everything in it by the destructor.
struct TempFolder {
    std::filesystem::path path;
    TempFolder() {
        const char* base = std::getenv("TMPDIR");
        std::string templ = std::string(base && *base ? base : "/tmp") + "/ss_level_XXXXXX";
        std::vector<char> buf(templ.begin(), templ.end());
        buf.push_back('\0');
        if (mkdtemp(buf.data())) path = buf.data();
    }
    ~TempFolder() {
        std::error_code ec;
        if (!path.empty()) std::filesystem::remove_all(path, ec);
    }
};

} // namespace

double FrameTiming::girder_ms(long frame) const {
    if (frame == 0) return frame0_girders;
    if (frame == 1) return frame1_girders;
    return interval + read_step;
}

double FrameTiming::elapsed_ms(long frame) const {
    if (frame == 0) return frame0_elapsed;
    if (frame == 1) return frame1_elapsed;
    return interval;
}

// Measured with dumps of FrameClock and a girder's x in the first frames of `--level N`
// scripted runs: the previous frames were shown at I and 2I (the splash), the first play
// frame starts three clock reads after 2I, the second on the boundary 3I.
FrameTiming DefaultTiming(double read_step) {
    FrameTiming t;
    t.read_step = read_step;
    const double i = t.interval, r = t.read_step;
    t.frame1_ms = 3 * i;
    t.frame0_girders = i + 3 * r;
    t.frame0_elapsed = r;
    t.frame1_girders = i + r;
    t.frame1_elapsed = i - 2 * r;
    return t;
}

LevelSim::LevelSim(const FrameTiming& timing) : timing_(timing) {
    Seam =
        GameSeam{ToolControl, ToolFrameTime, NoSound, NoLoad, NoMusic, MusicOver, NoMusic, NoMap};
}

LevelSim::~LevelSim() {
    Seam = DeviceSeam();
}

bool LevelSim::Load(const std::string& path, double timer_option, std::string* why) {
    auto bytes = read_file(path, size_t(1) << 20);
    if (!bytes) {
        if (why) *why = "cannot read " + path + " (missing, unreadable or over 1 MiB)";
        return false;
    }
    TempFolder folder;
    std::error_code ec;
    const auto here = std::filesystem::current_path(ec);
    if (folder.path.empty() || ec) {
        if (why) *why = "no temporary folder for the level";
        return false;
    }
    const std::string copy = (folder.path / "level1.ini").string();
    if (!write_file_atomic(
            copy, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()))) {
        if (why) *why = "cannot copy the level to " + copy;
        return false;
    }
    ResetGameState();
    TimerOption = timer_option;
    std::filesystem::current_path(folder.path, ec);
    if (ec) {
        if (why) *why = "cannot enter " + folder.path.string();
        return false;
    }
    // As PlayGame starts a game.
    Score = 0;
    Lives = 3;
    Level = 1;
    GameComplete = 0;
    TestPlay = 0;
    LoadLevel(Level);
    Playing = 1;
    CurrentScreen = "play";
    std::filesystem::current_path(here, ec);
    frame_ = 0;
    held_controls = 0;
    return true;
}

void LevelSim::WantedMove(uint8_t controls, double& mx, double& my) const {
    const uint8_t keep = held_controls;
    held_controls = controls;
    const double d = timing_.elapsed_ms(frame_) / 500;
    mx = Seam.read_control(0, 0) * d * 1.2;
    my = Seam.read_control(0, 1) * d * 1.2;
    held_controls = keep;
}

void LevelSim::Step(uint8_t controls) {
    held_controls = controls;
    girder_frame_ms = timing_.girder_ms(frame_);
    FrameClock += timing_.elapsed_ms(frame_);
    MovePads();
    UpdatePlay(timing_.elapsed_ms(frame_));
    ++frame_;
}

void LevelSim::StepGirders() {
    girder_frame_ms = timing_.girder_ms(frame_);
    FrameClock += timing_.elapsed_ms(frame_);
    MovePads();
    ++frame_;
}

GameSnapshot LevelSim::Save() const {
    GameSnapshot s;
    s.pads = Pads;
    s.workers = Workers;
    s.frame_clock = FrameClock;
    s.playing = Playing;
    s.level = Level;
    s.map_fade = MapFade;
    s.level_done = LevelDone;
    s.done_fade = DoneFade;
    s.force_map = ForceMap;
    s.exit_timer = ExitTimer;
    s.time_left = TimeLeft;
    s.hurry_music = HurryMusic;
    s.music_track = MusicTrack;
    s.music_wait = MusicWait;
    s.lives = Lives;
    s.score = Score;
    s.action_latch = ActionLatch;
    s.game_complete = GameComplete;
    s.frame = frame_;
    return s;
}

void LevelSim::Restore(const GameSnapshot& s) {
    Pads = s.pads;
    Workers = s.workers;
    FrameClock = s.frame_clock;
    Playing = s.playing;
    Level = s.level;
    MapFade = s.map_fade;
    LevelDone = s.level_done;
    DoneFade = s.done_fade;
    ForceMap = s.force_map;
    ExitTimer = s.exit_timer;
    TimeLeft = s.time_left;
    HurryMusic = s.hurry_music;
    MusicTrack = s.music_track;
    MusicWait = s.music_wait;
    Lives = s.lives;
    Score = s.score;
    ActionLatch = s.action_latch;
    GameComplete = s.game_complete;
    frame_ = s.frame;
}
