#pragma once
// A solver for levels: finds the controls, frame by frame, that bolt every girder and ride the
// lift, by searching the game's own rules (LevelSim).
//
// Between two bolt actions the girders move on their own, so their positions are known for
// every future frame. A breadth-first search over frames moves candidate workers through the
// game's MoveWorker with each of the nine stick positions held for a few frames, keeps one
// worker per small square of the grid (and pad) at a time, and notes the first frame in which a
// worker can bolt each girder at each of its ends from each of its two bolt cells, standing
// still with margins around the rules' limits. A depth-first search over the order of the bolts
// then replays the chosen search path through the real play loop (MovePads, UpdatePlay), checks
// that the bolt held, drops the order when the bolts leave the worker cut off from the lift or
// from a loose girder (whatever the loose girders do), and goes on from there; the earliest
// bolts are tried first and the fastest complete solution found within the limits wins.
#include "level_sim.h"

#include <cstdint>
#include <string>
#include <vector>

struct SolverLimits {
    // The ride must start within this many seconds of play.
    double deadline_s = 115;
    // Breadth-first searches (one per node of the bolt order) before the solver stops.
    int max_searches = 300;
    // Bolt chances searched further from one node of the bolt order, the earliest first (those
    // that strand the worker are dropped without a search and do not count).
    int branch = 8;
    // How long one search looks for a first bolt chance (or the lift) before it gives up.
    double patience_s = 45;
    // How far past the first bolt chance of a node its search looks for other chances.
    double slack_s = 25;
    // Side of the squares that tell candidate workers apart, in grid cells. A candidate holds
    // its stick position for as many frames as it takes to walk further than that.
    double cell = 0.1;
    // Candidate workers kept in one search in all (memory).
    long max_nodes = 60'000'000;
    // Keep only solutions that also win with every frame 0.01 ms shorter or 0.02 ms longer.
    bool robust = true;
    // Stop at the first complete solution.
    bool first = false;
    // Progress on stderr.
    bool verbose = false;
};

// One bolt of a solution.
struct BoltStep {
    int pad = 0;
    int end = 0;  // 1: at the start (minx, miny), 2: at the other end
    int cell = 0; // 0: the first cell, 1: the last cell
    long frame = 0;
};

struct Solution {
    // Controls held in frames 0 .. ride_start - 1.
    std::vector<uint8_t> controls;
    std::vector<BoltStep> bolts;
    long ride_start = 0; // first frame of the lift ride
    long ride_end = 0;   // the frame in which the ride ends (the next level loads)
    double time_left_at_ride = 0;
    int searches = 0; // breadth-first searches run
};

// Searches the level loaded into `sim` (at frame 0). True with the fastest solution found;
// false with the reason when none was found within the limits.
bool SolveLevel(LevelSim& sim, const SolverLimits& limits, Solution& out, std::string& why);

// Plays the controls from frame 0 of a freshly loaded level through the play loop and checks
// that the ride starts, with no life lost, in frame `ride_start` (not exact: within a second
// of the controls' end); false with the reason.
bool CheckSolution(LevelSim& sim, const Solution& s, std::string& why, bool exact = true);

// The solution as an input script for `steel_spree --level N --script FILE`: key events in the
// middle of the frame before the one that reads them, a `dump ride.json` during the ride, a
// `dump end.json` one second after the next level has loaded (or the ending began), then close.
std::string SolutionScript(const Solution& s, const FrameTiming& timing, const std::string& title);
