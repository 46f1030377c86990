// The rules of one level in play, frame by frame: girders slide, the worker walks and rides,
// bolts are fastened and loosened, the clock runs, and the lift ride ends the level. Devices are
// reached only through the seam, so these routines run without a window.
#include "game/feedback.h"
#include "game/game.h"
#include "game/play.h"
#include "game/seam.h"
#include "game/state.h"
#include "runtime/arith.h"

#include <algorithm>
#include <cmath>

namespace {

bool IsStatic(const Pad& p) { return p.minx == p.maxx && p.miny == p.maxy; }

int Bits(double bolts) { return to_int32(bolts); }

// The frame time as the rules read it: a stall counts as at most kMaxFrameMs.
double FrameTime() { return std::min(Seam.frame_time_ms(), kMaxFrameMs); }

// The lift ride: the worker stands on the lift of a solved level.
void RideStep(double d) {
    if (ExitTimer == 0) {
        Seam.play_sound(2);
        Seam.stop_music();
    }
    ExitTimer += 0.25 * d;
    if (ExitTimer > 2 && TimeLeft > 0) {
        TimeLeft = std::max(TimeLeft - FrameTime() / 100, 0.0);
        Score += TimeLeft / 60;
        Seam.play_sound(3);
    }
    if (ExitTimer > 5) {
        // A test run ends with its ride; a game ends with the last level that has a file.
        if (TestPlay != 0 || !LevelExists(Level + 1)) {
            GameComplete = 1;
            Playing = 0;
            return;
        }
        Level += 1;
        LoadLevel(Level);
        MusicWait = -1;
        ChooseMusic();
    }
}

} // namespace

double PadAt(double px, double py) {
    for (int j = 0; j < PadCount(); ++j) {
        const Pad& p = Pads.at(j);
        if (boxes_overlap(px, py, 0, 0, p.x, p.y, p.extx, p.exty) != 0) return j;
    }
    return -1;
}

double MovePads() {
    for (int j = 0; j < PadCount(); ++j) {
        Pad& p = Pads.at(j);
        p.step_x = 0;
        p.step_y = 0;
        if (p.bolts != 0 || IsStatic(p)) continue;
        const double len = std::sqrt((p.maxx - p.minx) * (p.maxx - p.minx) +
                                     (p.maxy - p.miny) * (p.maxy - p.miny));
        const double lo_x = std::min(p.minx, p.maxx), hi_x = std::max(p.minx, p.maxx);
        const double lo_y = std::min(p.miny, p.maxy), hi_y = std::max(p.miny, p.maxy);
        // The path runs from its low end (lo_x, ly) to its high end (hi_x, hy). Normally both
        // axes rise together (ly = lo_y); when they run against each other, y falls as x rises
        // and the pad travels the straight segment between its two ends all the same.
        const bool crossed = (p.maxx - p.minx) * (p.maxy - p.miny) < 0;
        const double ly = crossed ? hi_y : lo_y, hy = crossed ? lo_y : hi_y;
        const double sy = crossed ? -1 : 1;
        const double prog = lo_x != hi_x ? (p.x - lo_x) / std::fabs(hi_x - lo_x)
                                         : (p.y - lo_y) / std::fabs(hi_y - lo_y);
        const double s =
            p.dir >= 0 ? sin_deg(180 * prog) + 0.1 : -(sin_deg(180 * (1 - prog)) + 0.1);
        const double f = s * FrameTime() / (len * 1000);
        double nx = (hi_x - lo_x) * f + p.x;
        double ny = (hy - ly) * f + p.y;
        double ndir = p.dir;
        if (nx > hi_x || sy * (ny - hy) > 0) {
            nx = hi_x;
            ny = hy;
            ndir = -1;
        }
        if (nx < lo_x || sy * (ny - ly) < 0) {
            nx = lo_x;
            ny = ly;
            ndir = 1;
        }
        p.step_x = nx - p.x;
        p.step_y = ny - p.y;
        p.x = nx;
        p.y = ny;
        p.dir = ndir;
    }
    return 0;
}

double MoveWorker(double i, double mx, double my) {
    Worker& w = Workers.at(i);
    if (w.pad >= 0 && w.pad < PadCount()) {
        const Pad& p = Pads.at(w.pad);
        w.x += p.step_x;
        w.y += p.step_y;
        w.target_x += p.step_x;
        w.target_y += p.step_y;
    }
    double j = PadAt(w.x, w.y + my);
    if (j >= 0) {
        w.pad = j;
        w.y += my;
    }
    j = PadAt(w.x + mx, w.y);
    if (j >= 0) {
        w.pad = j;
        w.x += mx;
    }
    if (mx != 0 || my != 0) w.heading = 0.5 * (atan_deg(-my, mx) + w.heading);
    return 0;
}

double LevelSolved() {
    for (int j = 1; j < PadCount(); ++j) {
        const Pad& p = Pads.at(j);
        double d_min = std::fabs(p.x - p.minx) + std::fabs(p.y - p.miny);
        double d_max = std::fabs(p.x - p.maxx) + std::fabs(p.y - p.maxy);
        bool placed = ForceMap != 0 ? d_min == 0 : (d_min == 0 || d_max == 0);
        if (!placed) return 0;
        if (!IsStatic(p) && p.bolts == 0) return 0;
    }
    return 1;
}

double ToggleBolt(double i, double px, double py) {
    double j = PadAt(px, py);
    if (j < 0) return 0;
    Pad& p = Pads.at(j);
    if (IsStatic(p)) return 0;
    int end = 0;
    if (std::fabs(p.x - p.minx) < 0.1 && std::fabs(p.y - p.miny) < 0.1) end = 1;
    if (std::fabs(p.x - p.maxx) < 0.1 && std::fabs(p.y - p.maxy) < 0.1) end = 2;
    if (end == 0) return 0;
    int bolts = Bits(p.bolts);
    int bit;
    double far;
    if (px < p.x + 1 && py < p.y + 1) {
        bit = 1;
        far = 0;
    } else if (px > p.x + p.extx - 1 && py > p.y + p.exty - 1) {
        bit = 2;
        far = 1;
    } else {
        return 0;
    }
    bool fasten = (bolts & bit) == 0;
    bolts ^= bit;
    p.bolts = bolts;
    if (end == 2) {
        p.x = p.maxx;
        p.y = p.maxy;
    } else {
        p.x = p.minx;
        p.y = p.miny;
    }
    Worker& w = Workers.at(i);
    w.target_x = (p.extx - 1) * far + p.x + 0.5;
    w.target_y = (p.exty - 1) * far + p.y + 0.5;
    LevelDone = LevelSolved();
    if (fasten) {
        Seam.play_sound(0);
        Score += 2.5;
        w.bolt_timer = 1000;
    } else {
        Seam.play_sound(1);
        Score = std::max(Score - 2.5, 0.0);
        w.bolt_timer = -1000;
    }
    return 0;
}

double UpdatePlay(double ms) {
    if (TimerOption != 0 && ExitTimer <= 0) {
        const double before = TimeLeft;
        TimeLeft = std::max(TimeLeft - ms / 1000, 0.0);
        // A tick for every second of the last ten the clock passes.
        if (TimeLeft > 0 && TimeLeft < 10 && std::trunc(TimeLeft) < std::trunc(before))
            Seam.play_sound(kSoundTick);
        if (TimeLeft == 0) {
            Lives -= 1;
            TimeLeft = 1000;
            if (Lives < 0) Playing = 0;
        }
    }
    if (ExitTimer <= 0) ChooseMusic();
    const double d = ms / 500;
    if (Seam.read_control(0, 3) != 0)
        MapFade = std::min(MapFade + d / 3, 1.0);
    else
        MapFade = std::max(MapFade - d / 3, 0.0);
    if (LevelDone == 0)
        DoneFade = std::min(DoneFade + 0.5 * d, 1.0);
    else
        DoneFade = std::max(DoneFade - d / 3, 0.0);

    for (int i = 0; i < WorkerCount(); ++i) {
        if (LevelDone != 0) {
            const Worker& w = Workers.at(i);
            if (PadAt(w.x, w.y) == 0) {
                RideStep(d);
                return 0;
            }
        }
        if (Workers.at(i).bolt_timer == 0) {
            double mx = Seam.read_control(i, 0) * d * 1.2;
            double my = Seam.read_control(i, 1) * d * 1.2;
            MoveWorker(i, mx, my);
            Worker& w = Workers.at(i);
            if (mx == 0 && my == 0) w.idle_since = FrameClock;
            if (ActionLatch == 0 && Seam.read_control(i, 2) != 0) {
                ActionLatch = 1;
                const double was_done = LevelDone;
                ToggleBolt(i, w.x, w.y);
                // What the action did, told by a sound: a bolt action always starts the turn.
                if (Workers.at(i).bolt_timer == 0) {
                    Seam.play_sound(kSoundNothing);
                } else if (was_done == 0 && LevelDone != 0) {
                    Seam.play_sound(kSoundSolved);
                    ShowSolvedBanner();
                }
            }
            if (Seam.read_control(i, 2) == 0) ActionLatch = 0;
        } else {
            Worker& w = Workers.at(i);
            w.x += 2 * (w.target_x - w.x) * d;
            w.y += 2 * (w.target_y - w.y) * d;
            MoveWorker(i, 0, 0);
            Worker& v = Workers.at(i);
            if (v.bolt_timer > 0) {
                v.bolt_timer -= FrameTime();
                if (v.bolt_timer < 0) v.bolt_timer = 0;
            } else {
                v.bolt_timer += 0.5 * FrameTime();
                if (v.bolt_timer > 0) v.bolt_timer = 0;
            }
        }
    }
    return 0;
}

double PlayStep(double elapsed_ms) {
    MovePads();
    UpdatePlay(std::min(elapsed_ms, kMaxFrameMs));
    return 0;
}
