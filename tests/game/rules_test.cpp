// The rules of play, frame by frame, in-process: girders, the worker, bolts, the clock, the lift.
#include "rules_fixture.h"

#include "game/feedback.h"

#include <cmath>

namespace {

constexpr double kFrame = 1000.0 / 60;

// ---- Girders -------------------------------------------------------------------------------

TEST_F(Rules, GirderSpeedIsSlowAtTheEndsAndFastInTheMiddle) {
    MakeLevel({{0, 5, 0, 5, 1, 1}, {0, 0, 4, 0, 2, 1}});
    Frame();
    EXPECT_NEAR(P(1).x / (kFrame / 1000), 0.1, 1e-9); // 0.1 cells per second at the start
    P(1).x = 2;                                        // the middle of the path
    Frame();
    EXPECT_NEAR((P(1).x - 2) / (kFrame / 1000), 1.1, 1e-6);
    EXPECT_DOUBLE_EQ(P(1).step_x, P(1).x - 2);
    EXPECT_EQ(P(1).step_y, 0);
}

TEST_F(Rules, GirderStopsExactlyAtItsEndTurnsAndComesBack) {
    MakeLevel({{0, 5, 0, 5, 1, 1}, {0, 0, 4, 0, 2, 1}});
    int frames = 0;
    while (P(1).x < 4 && frames < 10000) {
        Frame();
        ++frames;
    }
    EXPECT_EQ(P(1).x, 4);
    EXPECT_EQ(P(1).dir, -1);
    // Roughly the integral of 1 / (sin + 0.1) over the path: several seconds, not instant.
    EXPECT_GT(frames, 300);
    Frame();
    EXPECT_LT(P(1).x, 4);
    while (P(1).x > 0 && frames < 20000) {
        Frame();
        ++frames;
    }
    EXPECT_EQ(P(1).x, 0);
    EXPECT_EQ(P(1).dir, 1);
}

TEST_F(Rules, ReversedGirderTravelsTheSamePath) {
    MakeLevel({{0, 5, 0, 5, 1, 1}, {4, 0, 0, 0, 2, 1}});
    Frame(); // starts at its high end: pushed onto it and turned round
    EXPECT_EQ(P(1).x, 4);
    EXPECT_EQ(P(1).dir, -1);
    for (int k = 0; k < 2000 && P(1).x > 0; ++k) Frame();
    EXPECT_EQ(P(1).x, 0);
    EXPECT_EQ(P(1).dir, 1);
}

TEST_F(Rules, GirderAlongYUsesTheYAxis) {
    MakeLevel({{5, 5, 5, 5, 1, 1}, {0, 0, 0, 3, 1, 2}});
    Frames(60);
    EXPECT_EQ(P(1).x, 0);
    EXPECT_GT(P(1).y, 0);
    EXPECT_LT(P(1).y, 3);
}

TEST_F(Rules, DiagonalPathsStayOnTheirSegmentInBothDirections) {
    // x and y rising together, and x rising while y falls: both on the straight segment.
    MakeLevel({{9, 9, 9, 9, 1, 1}, {0, 0, 4, 2, 1, 1}, {0, 4, 4, 0, 1, 1}, {4, 0, 0, 4, 1, 1}});
    double seen_max[4] = {0, 0, 0, 0};
    for (int k = 0; k < 3000; ++k) {
        Frame();
        EXPECT_NEAR(P(1).y, P(1).x / 2, 1e-9);
        EXPECT_NEAR(P(2).x + P(2).y, 4, 1e-9);
        EXPECT_NEAR(P(3).x + P(3).y, 4, 1e-9);
        for (int j = 1; j < 4; ++j) seen_max[j] = std::max(seen_max[j], P(j).x);
    }
    for (int j = 1; j < 4; ++j) EXPECT_EQ(seen_max[j], 4) << "pad " << j;
    // The crossed path reaches both of its own ends exactly.
    MakeLevel({{9, 9, 9, 9, 1, 1}, {0, 4, 4, 0, 1, 1}});
    while (P(1).dir >= 0) Frame();
    EXPECT_EQ(P(1).x, 4);
    EXPECT_EQ(P(1).y, 0);
    while (P(1).dir < 0) Frame();
    EXPECT_EQ(P(1).x, 0);
    EXPECT_EQ(P(1).y, 4);
}

TEST_F(Rules, BoltedAndStaticPadsDoNotMove) {
    MakeLevel({{5, 5, 5, 5, 1, 1}, {0, 0, 4, 0, 2, 1}, {0, 2, 0, 2, 3, 1}});
    P(1).bolts = 2;
    Frames(30);
    EXPECT_EQ(P(1).x, 0);
    EXPECT_EQ(P(2).x, 0);
    EXPECT_EQ(P(1).step_x, 0);
}

// ---- The worker ----------------------------------------------------------------------------

TEST_F(Rules, WorkerRidesAGirderWhileStandingStill) {
    MakeLevel({{0, 0, 0, 0, 1, 1}, {1, 0, 5, 0, 2, 1}});
    W().x = 1.5;
    W().pad = 1;
    Frames(120);
    EXPECT_NEAR(W().x - 1.5, P(1).x - 1, 1e-9);
    EXPECT_GT(W().x, 1.5);
    EXPECT_EQ(W().idle_since, FrameClock);
}

TEST_F(Rules, DiagonalMoveSlidesAlongAnEdgeAndNeverLeavesThePads) {
    MakeLevel({{0, 0, 0, 0, 5, 1}});
    fake.controls[0] = 1;
    fake.controls[1] = 1; // down and right: down is blocked below the floor
    Frames(30);
    EXPECT_GT(W().x, 0.5 + 1.0);
    EXPECT_LE(W().y, 1);
    fake.controls[1] = 0;
    Frames(300); // far past the right edge
    EXPECT_LE(W().x, 5);
    EXPECT_GT(W().x, 4.9);
    fake.controls[0] = -2; // keyboard and joystick together
    Frames(600);
    EXPECT_GE(W().x, 0);
    EXPECT_GT(std::fabs(W().heading), 90); // facing left
}

TEST_F(Rules, WalkingSpeedIsTwoPointFourCellsPerSecond) {
    MakeLevel({{0, 0, 0, 0, 30, 1}});
    fake.controls[0] = 1;
    Frames(60);
    EXPECT_NEAR(W().x - 0.5, 2.4, 1e-9);
    EXPECT_EQ(W().pad, 0);
}

// ---- Bolts ---------------------------------------------------------------------------------

class Bolts : public Rules {
  protected:
    // Lift, then a 3-cell girder from x 1 to x 6 on row 0 that the worker stands on.
    void SetUp() override {
        Rules::SetUp();
        MakeLevel({{0, 0, 0, 0, 1, 1}, {1, 0, 6, 0, 3, 1}});
        W().x = 1.5;
        W().y = 0.5;
        W().pad = 1;
    }
    void Press() {
        fake.controls[2] = 1;
        Frame();
        fake.controls[2] = 0;
    }
};

TEST_F(Bolts, FasteningSnapsScoresAndGlidesWithTheControlsLocked) {
    P(1).x = 1.05;
    W().x = 1.3;
    P(1).bolts = 0;
    P(1).dir = -1;
    // The girder is still near its start: the first frame moves it a little, still within 0.1.
    fake.controls[2] = 1;
    fake.controls[0] = 1; // held together with the action: the walk comes first
    Frame();
    ASSERT_EQ(P(1).bolts, 1);
    EXPECT_EQ(P(1).x, 1); // snapped onto the end
    // The level's only girder: fastened, and the chime of a solved level.
    EXPECT_EQ(fake.sounds, (std::vector<double>{0, kSoundSolved}));
    EXPECT_EQ(Score, 2.5);
    EXPECT_EQ(W().bolt_timer, 1000);
    EXPECT_EQ(W().target_x, 1.5);
    EXPECT_EQ(W().target_y, 0.5);
    // Controls locked while the bolt turns: the worker glides to the cell's centre.
    int frames = 0;
    while (W().bolt_timer != 0 && frames < 1000) {
        Frame();
        ++frames;
    }
    EXPECT_NEAR(frames * kFrame, 1000, 2 * kFrame);
    EXPECT_NEAR(W().x, 1.5, 0.01); // the right control was held all along
    EXPECT_EQ(P(1).x, 1);          // bolted: stays
    Frame();
    EXPECT_GT(W().x, 1.5); // control is back
}

TEST_F(Bolts, LooseningTakesTwoSecondsAndNeverDropsTheScoreBelowZero) {
    P(1).bolts = 1;
    W().x = 1.5;
    Score = 1;
    Press();
    EXPECT_EQ(P(1).bolts, 0);
    EXPECT_EQ(fake.sounds, std::vector<double>{1});
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(W().bolt_timer, -1000);
    int frames = 0;
    while (W().bolt_timer != 0 && frames < 1000) {
        Frame();
        ++frames;
    }
    EXPECT_NEAR(frames * kFrame, 2000, 2 * kFrame);
    Frames(10);
    EXPECT_GT(P(1).x, 1); // free again: it moves on
}

TEST_F(Bolts, TheLastCellSetsBitTwoAndBothBitsHoldTheGirder) {
    W().x = 3.5; // last cell of the 3-cell girder at x 1
    Press();
    EXPECT_EQ(P(1).bolts, 2);
    EXPECT_EQ(W().target_x, 3.5);
    Frames(70);
    W().x = 1.5;
    Press();
    EXPECT_EQ(P(1).bolts, 3);
    Frames(130); // loosening the first bolt leaves bit 2: still held
    Press();
    EXPECT_EQ(P(1).bolts, 2);
    Frames(130);
    EXPECT_EQ(P(1).x, 1);
    W().x = 3.5;
    Press();
    EXPECT_EQ(P(1).bolts, 0);
    Frames(130);
    EXPECT_GT(P(1).x, 1);
}

TEST_F(Bolts, ActionDoesNothingOnStaticPadsMiddleCellsOrAwayFromTheEnds) {
    // Each press finds nothing to bolt: only the dull sound tells so.
    W().x = 2.5; // middle cell
    Press();
    EXPECT_EQ(P(1).bolts, 0);
    EXPECT_EQ(fake.sounds, std::vector<double>{kSoundNothing});
    P(1).x = 3; // away from both ends
    W().x = 3.5;
    Press();
    EXPECT_EQ(P(1).bolts, 0);

    EXPECT_EQ(fake.sounds.back(), kSoundNothing);
    MakeLevel({{0, 0, 0, 0, 1, 1}, {1, 0, 1, 0, 3, 1}}); // a static floor
    W().x = 1.5;
    W().pad = 1;
    Press();
    EXPECT_EQ(P(1).bolts, 0);
    EXPECT_EQ(fake.sounds, std::vector<double>{kSoundNothing}); // the new level's first sound
    EXPECT_EQ(Score, 0);
}

TEST_F(Bolts, HoldingTheActionFiresOnceAndAReleaseArmsItAgain) {
    fake.controls[2] = 1;
    Frames(200); // fastened, glided, still held
    EXPECT_EQ(P(1).bolts, 1);
    EXPECT_EQ(fake.sounds, (std::vector<double>{0, kSoundSolved}));
    EXPECT_EQ(ActionLatch, 1);
    fake.controls[2] = 0;
    Frame();
    EXPECT_EQ(ActionLatch, 0);
    Press();
    EXPECT_EQ(P(1).bolts, 0);
    EXPECT_EQ(fake.sounds, (std::vector<double>{0, kSoundSolved, 1}));
}

TEST_F(Bolts, ForceMapAcceptsOnlyTheStartPosition) {
    ForceMap = 0;
    P(1).x = 6;
    P(1).dir = -1;
    W().x = 6.5;
    Press();
    EXPECT_EQ(P(1).bolts, 1);
    EXPECT_EQ(LevelDone, 1); // at its max end: in place without forcemap
    Frames(130);
    Press(); // loosen
    EXPECT_EQ(LevelDone, 0);
    ForceMap = 1;
    P(1).x = 6;
    W().x = 6.5;
    Frames(130);
    P(1).x = 6;
    Press();
    EXPECT_EQ(P(1).bolts, 1);
    EXPECT_EQ(LevelDone, 0); // with forcemap the max end does not count
    EXPECT_EQ(LevelSolved(), 0);
    P(1).x = 1;
    EXPECT_EQ(LevelSolved(), 1);
}

TEST_F(Rules, LevelSolvedNeedsEveryMovablePadBoltedExactlyInPlace) {
    MakeLevel({{0, 0, 0, 0, 1, 1}});
    EXPECT_EQ(LevelSolved(), 1); // only the lift
    MakeLevel({{0, 0, 0, 0, 1, 1}, {1, 0, 5, 0, 1, 1}, {0, 3, 0, 3, 2, 2}});
    EXPECT_EQ(LevelSolved(), 0); // at its start but not bolted
    P(1).bolts = 2;
    EXPECT_EQ(LevelSolved(), 1);
    P(1).x = 1 + 1e-12; // exact comparison, no tolerance
    EXPECT_EQ(LevelSolved(), 0);
}

// ---- Clock, lives, lift ----------------------------------------------------------------------

TEST_F(Rules, CountdownCostsALifeAndTheFourthTimeOutEndsTheGame) {
    MakeLevel({{0, 0, 0, 0, 1, 1}});
    TimeLeft = 0.01;
    Frame();
    EXPECT_EQ(Lives, 2);
    EXPECT_EQ(TimeLeft, 1000); // a thousand seconds, not the level's time
    EXPECT_EQ(Playing, 1);
    for (int k = 0; k < 3; ++k) {
        TimeLeft = 0.01;
        Frame();
    }
    EXPECT_EQ(Lives, -1);
    EXPECT_EQ(Playing, 0);
}

TEST_F(Rules, TimerOffStopsTheClock) {
    MakeLevel({{0, 0, 0, 0, 1, 1}});
    TimerOption = 0;
    TimeLeft = 180;
    Frames(600);
    EXPECT_EQ(TimeLeft, 180);
    EXPECT_EQ(Lives, 3);
}

TEST_F(Rules, MapViewFadesOutOverOneAndAHalfSecondsUnlessMIsHeld) {
    MakeLevel({{0, 0, 0, 0, 1, 1}});
    Frames(45);
    EXPECT_NEAR(MapFade, 0.5, 1e-9);
    fake.controls[3] = 1;
    Frames(10);
    EXPECT_GT(MapFade, 0.5);
    fake.controls[3] = 0;
    Frames(200);
    EXPECT_EQ(MapFade, 0);
}

class Lift : public Rules {
  protected:
    void SetUp() override {
        Rules::SetUp();
        // Lift at (0, 0); a bolted girder at its start to the right of it.
        MakeLevel({{0, 0, 0, 0, 1, 1}, {1, 0, 4, 0, 2, 1}});
        P(1).bolts = 1;
        W().x = 1.5;
        W().pad = 1;
    }
};

TEST_F(Lift, StepOntoTheLiftBeforeSolvingIsAnOrdinaryMove) {
    LevelDone = 0;
    fake.controls[0] = -1;
    Frames(30);
    EXPECT_LT(W().x, 1);
    EXPECT_EQ(ExitTimer, 0);
}

TEST_F(Lift, TouchingTheLiftsEdgeAfterSolvingStartsTheRide) {
    LevelDone = 1;
    W().x = 1.0; // the shared edge: pad 0 comes first
    Frame();
    EXPECT_GT(ExitTimer, 0);
    EXPECT_EQ(fake.sounds, std::vector<double>{2});
    EXPECT_EQ(fake.music.back(), "stop");
}

TEST_F(Lift, TheRideCountsTheTimeAfterTwoAndLoadsTheNextLevelAfterFive) {
    LevelDone = 1;
    W().x = 0.5;
    W().pad = 0;
    TimeLeft = 100;
    const double lives = Lives;
    Frame(); // the clock still runs in the frame that starts the ride
    TimeLeft = 100;
    int frames = 1;
    double score = Score;
    while (fake.sounds.size() < 2) {
        score = Score;
        Frame();
        ++frames;
        if (fake.sounds.size() < 2) {
            EXPECT_EQ(TimeLeft, 100); // no clock during the ride
        }
    }
    EXPECT_NEAR(frames * kFrame, 4000, 2 * kFrame); // ExitTimer rises 0.5 per second
    EXPECT_GT(ExitTimer, 2);
    EXPECT_EQ(fake.sounds.back(), 3); // the first bell of the count
    EXPECT_NEAR(TimeLeft, 100 - kFrame / 100, 1e-9);
    EXPECT_NEAR(Score - score, TimeLeft / 60, 1e-9);
    // No level 2 file here: the game is complete after the ride.
    while (Playing != 0 && frames < 2000) {
        Frame();
        ++frames;
    }
    EXPECT_NEAR(frames * kFrame, 10000, 2 * kFrame);
    EXPECT_EQ(GameComplete, 1);
    EXPECT_EQ(Lives, lives);
}

TEST_F(Rules, LongFramesAreCappedAtOneHundredMilliseconds) {
    MakeLevel({{0, 0, 0, 0, 30, 1}, {0, 2, 4, 2, 1, 1}});
    fake.controls[0] = 1;
    Frame(5000); // a stall of five seconds
    EXPECT_NEAR(TimeLeft, 120 - 0.1, 1e-9);
    EXPECT_NEAR(W().x - 0.5, 2.4 * 0.1, 1e-9);
    EXPECT_NEAR(P(1).x, 4 * 0.1 * 100 / 4000, 1e-9);
    EXPECT_NEAR(MapFade, 1 - 0.2 / 3, 1e-9);
    // At 10 fps and above nothing changes.
    MakeLevel({{0, 0, 0, 0, 30, 1}});
    W().x = 0.5;
    Frame(100);
    EXPECT_NEAR(W().x - 0.5, 0.24, 1e-9);
}

} // namespace
