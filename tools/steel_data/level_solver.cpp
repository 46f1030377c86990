#include "level_solver.h"

#include "game/game.h"
#include "level_reach.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace {

// A bolt waits until the girder is this much closer to its end than the rules' 0.1.
constexpr double kEndMargin = 0.04;
// The worker stands at least this far inside the pad and the bolt cell.
constexpr double kPlaceMargin = 0.03;

// One goal of a search: bolting `pad` at `end` (1 start, 2 other end) from `cell` (0 first,
// 1 last); pad -1 is stepping onto the lift of a solved level.
struct Goal {
    int pad = -1, end = 0, cell = 0;
};

struct Hit {
    long frame = -1;
    int32_t node = -1;
};

struct Move {
    int dx, dy;
    uint8_t controls;
};
constexpr Move kMoves[9] = {
    {0, 0, 0},
    {-1, 0, kLeft},
    {1, 0, kRight},
    {0, -1, kUp},
    {0, 1, kDown},
    {-1, -1, kLeft | kUp},
    {1, -1, kRight | kUp},
    {-1, 1, kLeft | kDown},
    {1, 1, kRight | kDown},
};

bool IsStatic(const Pad& p) {
    return p.minx == p.maxx && p.miny == p.maxy;
}

// Whether the bolts leave a worker on pad `on` cut off from the lift or from a girder still to
// bolt, whatever the loose girders do.
bool Stranded(int on) {
    const std::vector<bool> reach = ReachableFrom(on, true);
    if (reach.empty() || !reach[0]) return true;
    for (int j = 1; j < PadCount(); ++j)
        if (!IsStatic(Pads.at(j)) && Pads.at(j).bolts == 0 && !reach[size_t(j)]) return true;
    return false;
}

// Whether bolting the goal's girder at its end would strand the worker standing on it.
bool BoltStrands(const Goal& g) {
    Pad& p = Pads.at(g.pad);
    const Pad keep = p;
    p.bolts = 1;
    p.x = g.end == 1 ? p.minx : p.maxx;
    p.y = g.end == 1 ? p.miny : p.maxy;
    const bool stranded = Stranded(g.pad);
    p = keep;
    return stranded;
}

// The end ToggleBolt would find for the pad now (0: none), and whether it still finds that end
// when the girder is kEndMargin further away.
int EndNow(const Pad& p, double window) {
    int end = 0;
    if (std::fabs(p.x - p.minx) < window && std::fabs(p.y - p.miny) < window) end = 1;
    if (std::fabs(p.x - p.maxx) < window && std::fabs(p.y - p.maxy) < window) end = 2;
    return end;
}

// Whether the girder of a bolt goal is, in this frame, close enough to the goal's end.
bool GirderReady(const Goal& g) {
    const Pad& p = Pads.at(g.pad);
    return p.bolts == 0 && EndNow(p, 0.1 - kEndMargin) == g.end && EndNow(p, 0.1) == g.end;
}

// Whether a worker standing there bolts the goal's cell of its girder, with room to spare.
bool WorkerPlaced(const Worker& w, const Goal& g) {
    const Pad& p = Pads.at(g.pad);
    const double m = kPlaceMargin;
    const double offsets[5][2] = {{0, 0}, {-m, -m}, {m, -m}, {-m, m}, {m, m}};
    for (const auto& o : offsets)
        if (PadAt(w.x + o[0], w.y + o[1]) != g.pad) return false;
    if (g.cell == 0) return w.x < p.x + 1 - m && w.y < p.y + 1 - m;
    return w.x > p.x + p.extx - 1 + m && w.y > p.y + p.exty - 1 + m &&
           !(w.x < p.x + 1 + m && w.y < p.y + 1 + m);
}

// The breadth-first search over frames from one snapshot. Candidate workers hold one stick
// position for a few frames, long enough to walk out of their square, so a waiting worker never
// hides a moving one; bolt chances and the lift are looked for in every frame.
class Explorer {
  public:
    Explorer(LevelSim& sim, const SolverLimits& limits) : sim_(sim), limits_(limits) {}

    // Fills hits (one per goal) with the first frame and node in which each goal is met.
    // False when the node limit stopped the search.
    bool Run(const GameSnapshot& start, const std::vector<Goal>& goals, long horizon,
             std::vector<Hit>& hits);

    // The controls from the start snapshot's frame up to and including the node's last frame.
    std::vector<uint8_t> Path(int32_t node) const {
        std::vector<uint8_t> path;
        for (int32_t n = node; n > 0; n = nodes_[size_t(n)].parent)
            path.insert(path.end(), nodes_[size_t(n)].frames, nodes_[size_t(n)].controls);
        std::reverse(path.begin(), path.end());
        return path;
    }

  private:
    struct Node {
        int32_t parent;
        uint8_t controls;
        uint8_t frames;
    };
    struct Candidate {
        Worker w;
        int32_t parent; // the node it comes from
        uint8_t move;   // index into kMoves
    };

    void SetGrid();
    size_t Bucket(const Worker& w) const;
    int32_t AddNode(int32_t parent, uint8_t controls, int frames) {
        nodes_.push_back(Node{parent, controls, uint8_t(frames)});
        return int32_t(nodes_.size() - 1);
    }

    LevelSim& sim_;
    const SolverLimits& limits_;
    std::vector<Node> nodes_;
    std::vector<int32_t> stamp_;
    double grid_x0_ = 0, grid_y0_ = 0;
    long grid_w_ = 1, grid_h_ = 1, pads_ = 1;
};

void Explorer::SetGrid() {
    double x0 = 0, y0 = 0, x1 = 1, y1 = 1;
    for (int j = 0; j < PadCount(); ++j) {
        const Pad& p = Pads.at(j);
        x0 = std::min({x0, p.minx, p.maxx});
        y0 = std::min({y0, p.miny, p.maxy});
        x1 = std::max({x1, p.minx + p.extx, p.maxx + p.extx});
        y1 = std::max({y1, p.miny + p.exty, p.maxy + p.exty});
    }
    grid_x0_ = x0 - 1;
    grid_y0_ = y0 - 1;
    grid_w_ = long((x1 - x0 + 2) / limits_.cell) + 2;
    grid_h_ = long((y1 - y0 + 2) / limits_.cell) + 2;
    pads_ = PadCount() + 1;
    stamp_.assign(size_t(grid_w_ * grid_h_ * pads_), -1);
}

size_t Bucket(double v, double origin, double cell, long size) {
    return size_t(std::clamp(long(std::floor((v - origin) / cell)), 0L, size - 1));
}

size_t Explorer::Bucket(const Worker& w) const {
    const size_t bx = ::Bucket(w.x, grid_x0_, limits_.cell, grid_w_);
    const size_t by = ::Bucket(w.y, grid_y0_, limits_.cell, grid_h_);
    const size_t pad = size_t(std::clamp(long(w.pad) + 1, 0L, pads_ - 1));
    return (pad * size_t(grid_h_) + by) * size_t(grid_w_) + bx;
}

bool Explorer::Run(const GameSnapshot& start, const std::vector<Goal>& goals, long horizon,
                   std::vector<Hit>& hits) {
    sim_.Restore(start);
    SetGrid();
    nodes_.assign(1, Node{-1, 0, 0});
    hits.assign(goals.size(), Hit{});
    // A bolt that would strand the worker is no chance at all, whenever it comes.
    size_t left = goals.size();
    std::vector<bool> useless(goals.size(), false);
    for (size_t g = 0; g < goals.size(); ++g)
        if (goals[g].pad >= 0 && BoltStrands(goals[g])) {
            useless[g] = true;
            --left;
        }
    struct Frontier {
        Worker w;
        int32_t node;
    };
    std::vector<Frontier> frontier{{Workers.at(0), 0}};
    std::vector<Candidate> children;
    std::vector<size_t> active;
    const bool latch_free = ActionLatch == 0;
    const long slack = long(limits_.slack_s * 1000 / sim_.timing().interval);
    // Cells walked in one frame at full speed (UpdatePlay: 1.2 * ms / 500).
    const double walk = 1.2 * sim_.timing().interval / 500;
    const int step_frames = int(std::floor(limits_.cell / walk)) + 1;
    // A search that meets no goal for this long has most likely stranded the worker.
    long stop =
        std::min(horizon, start.frame + long(limits_.patience_s * 1000 / sim_.timing().interval));
    const size_t useful = left;
    int32_t stamp = 0;
    for (long f = start.frame; f < stop && left > 0;) {
        // The first play frame reads no input: its keys would fall into the loading.
        const int moves = f == 0 ? 1 : 9;
        const int frames = int(std::min<long>(f == 0 ? 1 : step_frames, stop - f));
        children.clear();
        for (int k = 0; k < moves; ++k)
            for (const Frontier& c : frontier)
                children.push_back({c.w, c.node, uint8_t(k)});
        for (int n = 0; n < frames; ++n, ++f) {
            const double d = sim_.timing().elapsed_ms(f) / 500;
            sim_.StepGirders();
            // The goals that a worker can meet in this frame.
            active.clear();
            for (size_t g = 0; g < goals.size(); ++g)
                if (hits[g].frame < 0 && !useless[g] &&
                    (goals[g].pad < 0 ||
                     ((f > start.frame || latch_free) && GirderReady(goals[g]))))
                    active.push_back(g);
            for (Candidate& c : children) {
                const Move& m = kMoves[c.move];
                Workers.at(0) = c.w;
                MoveWorker(0, double(m.dx) * d * 1.2, double(m.dy) * d * 1.2);
                c.w = Workers.at(0);
                for (size_t g : active) {
                    if (hits[g].frame >= 0) continue;
                    const Goal& goal = goals[g];
                    const bool met = goal.pad < 0 ? PadAt(c.w.x, c.w.y) == 0
                                                  : c.move == 0 && WorkerPlaced(c.w, goal);
                    if (!met) continue;
                    hits[g] = Hit{f, AddNode(c.parent, m.controls, n + 1)};
                    if (--left == useful - 1) stop = std::min(horizon, f + 1 + slack);
                }
            }
        }
        ++stamp;
        frontier.clear();
        for (const Candidate& c : children) {
            const size_t b = Bucket(c.w);
            if (stamp_[b] == stamp) continue;
            stamp_[b] = stamp;
            frontier.push_back({c.w, AddNode(c.parent, kMoves[c.move].controls, frames)});
        }
        if (limits_.verbose && f % 600 < long(frames))
            std::fprintf(stderr, "  frame %ld: %zu candidates, %zu nodes\n", f, frontier.size(),
                         nodes_.size());
        if (long(nodes_.size()) > limits_.max_nodes) return false;
    }
    return true;
}

class Solver {
  public:
    Solver(LevelSim& sim, const SolverLimits& limits)
        : sim_(sim), limits_(limits),
          horizon_(long(limits.deadline_s * 1000 / sim.timing().interval)) {}

    bool Solve(Solution& out, std::string& why);

  private:
    void Search(const GameSnapshot& snap, const std::vector<uint8_t>& controls,
                const std::vector<BoltStep>& bolts);
    // Whether the controls also win when every frame is a little shorter or longer.
    bool Robust(const std::vector<uint8_t>& controls, long ride_start) {
        const FrameTiming keep = sim_.timing();
        Solution trial;
        trial.controls = controls;
        trial.ride_start = ride_start;
        bool robust = true;
        for (double step : {0.0, 0.03}) {
            sim_.set_timing(DefaultTiming(step));
            sim_.Restore(start_);
            std::string ignored;
            robust = robust && CheckSolution(sim_, trial, ignored, false);
        }
        sim_.set_timing(keep);
        return robust;
    }
    void Finish(const GameSnapshot& snap, std::vector<uint8_t> controls,
                const std::vector<BoltStep>& bolts, const std::vector<uint8_t>& path);
    bool Done() const { return searches_ >= limits_.max_searches || (limits_.first && have_best_); }

    LevelSim& sim_;
    const SolverLimits& limits_;
    long horizon_;
    Solution best_;
    bool have_best_ = false;
    int searches_ = 0;
    int mismatches_ = 0;
    int stranded_ = 0;
    int fragile_ = 0;
    GameSnapshot start_;
    bool node_limit_ = false;
};

bool Solver::Solve(Solution& out, std::string& why) {
    const GameSnapshot start = sim_.Save();
    start_ = start;
    bool movable = false;
    for (int j = 1; j < PadCount(); ++j)
        movable = movable || !IsStatic(Pads.at(j));
    if (!movable) {
        why = "the level has no movable pad, so it can never be finished";
        return false;
    }
    Search(start, {}, {});
    if (!have_best_) {
        if (fragile_ > 0)
            why = "every solution found hangs on the exact length of the frames";
        else if (stranded_ > 0 && searches_ < limits_.max_searches && !node_limit_)
            why = "every order of bolts found strands the worker";
        else if (mismatches_ > 0)
            why = "a bolt found by the search did not hold when played";
        else if (node_limit_)
            why = "the search ran out of room (node limit)";
        else if (searches_ >= limits_.max_searches)
            why = "no solution within " + std::to_string(limits_.max_searches) + " searches";
        else
            why = "no solution that starts the ride within the deadline";
        return false;
    }
    out = best_;
    out.searches = searches_;
    return true;
}

void Solver::Search(const GameSnapshot& snap, const std::vector<uint8_t>& controls,
                    const std::vector<BoltStep>& bolts) {
    if (Done()) return;
    sim_.Restore(snap);
    std::vector<Goal> goals;
    if (LevelDone != 0) {
        goals.push_back(Goal{});
    } else {
        for (int j = 1; j < PadCount(); ++j) {
            const Pad& p = Pads.at(j);
            if (IsStatic(p) || p.bolts != 0) continue;
            for (int end = 1; end <= (ForceMap != 0 ? 1 : 2); ++end)
                for (int cell = 0; cell < 2; ++cell)
                    goals.push_back(Goal{j, end, cell});
        }
    }
    if (goals.empty()) return; // bolted somewhere the plan does not accept
    long horizon = horizon_;
    if (have_best_) horizon = std::min(horizon, best_.ride_start);
    ++searches_;
    std::vector<Hit> hits;
    std::vector<std::pair<Hit, Goal>> chances;
    std::vector<std::vector<uint8_t>> paths;
    {
        Explorer explorer(sim_, limits_);
        if (!explorer.Run(snap, goals, horizon, hits)) node_limit_ = true;
        for (size_t g = 0; g < goals.size(); ++g)
            if (hits[g].frame >= 0) chances.push_back({hits[g], goals[g]});
        std::stable_sort(chances.begin(), chances.end(), [](const auto& a, const auto& b) {
            return a.first.frame < b.first.frame;
        });
        for (const auto& c : chances)
            paths.push_back(explorer.Path(c.first.node));
    }
    if (limits_.verbose)
        std::fprintf(stderr, "search %d from frame %ld: %zu of %zu goals met\n", searches_,
                     snap.frame, chances.size(), goals.size());
    if (LevelDone != 0 || goals[0].pad < 0) {
        if (!paths.empty()) Finish(snap, controls, bolts, paths[0]);
        return;
    }
    int tried = 0; // children searched further (stranded ones cost nothing and do not count)
    for (size_t i = 0; i < chances.size() && tried < limits_.branch && !Done(); ++i) {
        const Goal& goal = chances[i].second;
        if (have_best_ && chances[i].first.frame >= best_.ride_start) break;
        sim_.Restore(snap);
        std::vector<uint8_t> next = controls;
        std::vector<uint8_t> path = paths[i];
        path.back() |= kAction;
        for (uint8_t c : path) {
            sim_.Step(c);
            next.push_back(c);
        }
        const Pad& p = Pads.at(goal.pad);
        const bool at_end =
            goal.end == 1 ? p.x == p.minx && p.y == p.miny : p.x == p.maxx && p.y == p.maxy;
        if (p.bolts == 0 || !at_end) {
            ++mismatches_;
            continue;
        }
        std::vector<BoltStep> done = bolts;
        done.push_back(BoltStep{goal.pad, goal.end, goal.cell, sim_.frame() - 1});
        while (Workers.at(0).bolt_timer != 0 && ExitTimer <= 0) {
            sim_.Step(0);
            next.push_back(0);
        }
        if (ExitTimer > 0) continue; // the glide ended on the lift: not a plan worth keeping
        // One frame standing still: a glide a frame longer or shorter than here (its length
        // hangs on the frame time) leaves the rest of the controls where they were.
        sim_.Step(0);
        next.push_back(0);
        if (Stranded(int(PadAt(Workers.at(0).x, Workers.at(0).y)))) {
            ++stranded_;
            continue;
        }
        ++tried;
        Search(sim_.Save(), next, done);
    }
}

void Solver::Finish(const GameSnapshot& snap, std::vector<uint8_t> controls,
                    const std::vector<BoltStep>& bolts, const std::vector<uint8_t>& path) {
    sim_.Restore(snap);
    for (uint8_t c : path) {
        sim_.Step(c);
        controls.push_back(c);
    }
    sim_.Step(0);
    if (ExitTimer <= 0 || Lives != 3) {
        ++mismatches_;
        return;
    }
    const long ride_start = sim_.frame() - 1;
    if (have_best_ && ride_start >= best_.ride_start) return;
    const double time_left = TimeLeft;
    // The ride ends in the frame that takes ExitTimer past 5; that frame loads the next level.
    while (ExitTimer + 0.25 * (sim_.timing().elapsed_ms(sim_.frame()) / 500) <= 5)
        sim_.Step(0);
    const long ride_end = sim_.frame();
    if (limits_.robust && !Robust(controls, ride_start)) {
        ++fragile_;
        return;
    }
    best_.controls = std::move(controls);
    best_.bolts = bolts;
    best_.ride_start = ride_start;
    best_.ride_end = ride_end;
    best_.time_left_at_ride = time_left;
    have_best_ = true;
}

const char* KeyOf(uint8_t bit) {
    switch (bit) {
    case kLeft:
        return "203";
    case kRight:
        return "205";
    case kUp:
        return "200";
    case kDown:
        return "208";
    default:
        return "29";
    }
}

} // namespace

bool SolveLevel(LevelSim& sim, const SolverLimits& limits, Solution& out, std::string& why) {
    Solver solver(sim, limits);
    return solver.Solve(out, why);
}

bool CheckSolution(LevelSim& sim, const Solution& s, std::string& why, bool exact) {
    for (long f = 0; f < s.ride_start; ++f) {
        sim.Step(s.controls[size_t(f)]);
        if (ExitTimer > 0) {
            if (!exact && Lives == 3) return true;
            why = "the ride started early, in frame " + std::to_string(f);
            return false;
        }
    }
    sim.Step(0);
    for (int wait = 0; !exact && ExitTimer <= 0 && wait < 60; ++wait)
        sim.Step(0);
    if (ExitTimer <= 0) {
        why = "the ride did not start in frame " + std::to_string(s.ride_start);
        return false;
    }
    if (Lives != 3) {
        why = "a life was lost";
        return false;
    }
    return true;
}

std::string SolutionScript(const Solution& s, const FrameTiming& timing, const std::string& title) {
    char line[160];
    std::string text = "# " + title + "\n";
    const double fps = 1000 / timing.interval;
    std::snprintf(line, sizeof line,
                  "# %zu bolts; the ride starts in frame %ld (%.2f s of play, %.2f s left),"
                  " the next level loads in frame %ld\n",
                  s.bolts.size(), s.ride_start, double(s.ride_start) / fps, s.time_left_at_ride,
                  s.ride_end);
    text += line;
    for (const BoltStep& b : s.bolts) {
        std::snprintf(line, sizeof line,
                      "#   frame %ld: pad %d bolted at its %s from its %s cell\n", b.frame, b.pad,
                      b.end == 1 ? "start" : "other end", b.cell == 0 ? "first" : "last");
        text += line;
    }
    // A key event in the middle of the frame before the one that reads it.
    auto at = [&](long frame) { return timing.start_ms(frame) - timing.interval / 2; };
    uint8_t held = 0;
    for (long f = 1; f <= s.ride_start; ++f) {
        const uint8_t want = f < s.ride_start ? s.controls[size_t(f)] : 0;
        for (uint8_t bit : {kLeft, kRight, kUp, kDown, kAction}) {
            if ((held & bit) == (want & bit)) continue;
            std::snprintf(line, sizeof line, "%.2f key %s %s\n", at(f), KeyOf(bit),
                          (want & bit) ? "down" : "up");
            text += line;
        }
        held = want;
    }
    std::snprintf(line, sizeof line, "%.2f dump ride.json\n", at(s.ride_start + 30));
    text += line;
    std::snprintf(line, sizeof line, "%.2f dump end.json\n", at(s.ride_end + 60));
    text += line;
    std::snprintf(line, sizeof line, "%.2f close\n", at(s.ride_end + 66));
    text += line;
    return text;
}
