// Press latches: a key, mouse button or joystick button pressed and released between two reads
// is seen as down by the next read, once; a press that nobody reads is forgotten by the frame
// after the one it happened in.
#include "input/input.h"
#include "input/input_device.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

using platform::Event;
using platform::EventKind;

class PressLatch : public testing::Test {
  protected:
    void SetUp() override {
        input_set_refresh(nullptr);
        input_start(InputSource::Scripted, true, 800, 600, 400, 300, false);
        input_set_joystick_count(1);
    }
    void TearDown() override { input_reset(); }
};

// One control: how to press and release it, and how the game reads it (1 = down).
struct Control {
    std::string name;
    std::function<void(bool)> set;
    std::function<double()> read;
};

std::vector<Control> Controls() {
    auto key = [](int code) {
        return [code](bool down) {
            input_handle_event(Event{down ? EventKind::KeyDown : EventKind::KeyUp, code, 0, 0});
        };
    };
    auto button = [](int b) {
        return [b](bool down) {
            input_handle_event(Event{down ? EventKind::ButtonDown : EventKind::ButtonUp, b, 0, 0});
        };
    };
    return {
        {"key F2", key(60), [] { return key_state(60); }},
        {"key left Ctrl", key(29), [] { return key_state(29); }},
        {"mouse button 1 (mouse_state)", button(1), [] { return mouse_state(3); }},
        {"mouse button 2 (read_mouse)", button(2),
         [] {
             double x, y, b1, b2;
             read_mouse(x, y, b1, b2);
             return b2;
         }},
        {"joystick button 2",
         [](bool down) { input_set_joystick(0, JoyPart::Button, 2, down ? 128 : 0); },
         [] { return joy_button(0, 2) != 0 ? 1.0 : 0.0; }},
    };
}

TEST_F(PressLatch, ATapBetweenTwoReadsIsSeenOnceByTheNextRead) {
    for (const Control& c : Controls()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.read(), 0);
        c.set(true);
        c.set(false); // released before any read
        EXPECT_EQ(c.read(), 1);
        EXPECT_EQ(c.read(), 0); // once only
        // A tap in one frame is still there for a read in the next frame.
        c.set(true);
        c.set(false);
        input_new_frame();
        EXPECT_EQ(c.read(), 1);
        EXPECT_EQ(c.read(), 0);
    }
}

TEST_F(PressLatch, AHeldControlReadsDownUntilReleasedAndNothingAfter) {
    for (const Control& c : Controls()) {
        SCOPED_TRACE(c.name);
        c.set(true);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(c.read(), 1);
            input_new_frame();
        }
        c.set(false);
        EXPECT_EQ(c.read(), 0); // its press was read while it was held
    }
}

TEST_F(PressLatch, APressNobodyReadsIsForgottenAfterTheNextFrame) {
    for (const Control& c : Controls()) {
        SCOPED_TRACE(c.name);
        c.set(true);
        c.set(false);
        input_new_frame();
        input_new_frame();
        EXPECT_EQ(c.read(), 0);
    }
}

TEST_F(PressLatch, TheAnyKeyWaitSeesATapAndTextInputGivesItsCharacterOnce) {
    input_handle_event(Event{EventKind::KeyDown, 30, 0, 0}); // A
    input_handle_event(Event{EventKind::KeyUp, 30, 0, 0});
    EXPECT_TRUE(input_any_key_down());
    EXPECT_EQ(inkey().str(), "a");
    EXPECT_EQ(inkey().str(), "");
    EXPECT_FALSE(input_any_key_down());
    // Two taps of the same key, each between two reads: two characters.
    input_handle_event(Event{EventKind::KeyDown, 30, 0, 0});
    input_handle_event(Event{EventKind::KeyUp, 30, 0, 0});
    EXPECT_EQ(inkey().str(), "a");
    EXPECT_EQ(inkey().str(), "");
    input_handle_event(Event{EventKind::KeyDown, 30, 0, 0});
    input_handle_event(Event{EventKind::KeyUp, 30, 0, 0});
    EXPECT_EQ(inkey().str(), "a");
}

} // namespace
