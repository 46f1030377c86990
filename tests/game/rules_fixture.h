#pragma once
// In-process play: the rules over a seam whose controls, frame time and sounds the test sets.
#include "game/game.h"
#include "game/play.h"
#include "game/seam.h"
#include "game/state.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

struct FakeDevices {
    double controls[4] = {0, 0, 0, 0}; // x, y, action, map
    double frame_ms = 1000.0 / 60;
    std::vector<double> sounds;
    std::vector<std::string> music; // "load FILE", "start", "stop"
    bool finished = true;
    int maps_built = 0;
};

inline FakeDevices fake;

inline GameSeam FakeSeam() {
    GameSeam s;
    s.read_control = [](double, double axis) {
        int a = int(axis);
        return a >= 0 && a < 4 ? fake.controls[a] : 0.0;
    };
    s.frame_time_ms = [] { return fake.frame_ms; };
    s.play_sound = [](double slot) { fake.sounds.push_back(slot); };
    s.load_music = [](const char* f) {
        fake.music.push_back(std::string("load ") + f);
        fake.finished = true;
        return 1.0;
    };
    s.start_music = [] {
        fake.music.push_back("start");
        fake.finished = false;
    };
    s.music_finished = [] { return fake.finished ? 1.0 : 0.0; };
    s.stop_music = [] {
        fake.music.push_back("stop");
        fake.finished = true;
    };
    s.build_level_map = [](double) { ++fake.maps_built; };
    return s;
}

class Rules : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGameState();
        fake = FakeDevices{};
        Seam = FakeSeam();
        TestPlay = 0;
        GameComplete = 0;
        Playing = 1;
        Lives = 3;
        TimerOption = 1;
        TimeLeft = 120;
        MusicTrack = 3;
        fake.finished = false; // a tune plays
    }
    void TearDown() override { Seam = DeviceSeam(); }

    // Pads given as {minx, miny, maxx, maxy, extx, exty}; the worker on pad 0's first cell.
    void MakeLevel(std::initializer_list<std::array<double, 6>> pads) {
        Pads.dim(double(pads.size()));
        int i = 0;
        for (auto& a : pads) {
            Pad& p = Pads.at(i++);
            p.minx = a[0];
            p.miny = a[1];
            p.maxx = a[2];
            p.maxy = a[3];
            p.extx = a[4];
            p.exty = a[5];
            p.x = p.minx;
            p.y = p.miny;
        }
        Workers.dim(1);
        Workers.at(0).x = Pads.at(0).minx + 0.5;
        Workers.at(0).y = Pads.at(0).miny + 0.5;
        MapFade = 1;
    }
    // One play frame as the play loop runs it.
    void Frame(double ms = 1000.0 / 60) {
        fake.frame_ms = ms;
        FrameClock += ms;
        PlayStep(ms);
    }
    void Frames(int n, double ms = 1000.0 / 60) {
        for (int k = 0; k < n; ++k) Frame(ms);
    }
    Pad& P(int i) { return Pads.at(i); }
    Worker& W() { return Workers.at(0); }
};
