// The input device's rules, driven by events directly (no window): key codes, text input and the
// per-frame mouse.
#include "input/input.h"
#include "input/input_device.h"

#include <gtest/gtest.h>

namespace {

using platform::Event;
using platform::EventKind;

class InputDeviceTest : public testing::Test {
  protected:
    void SetUp() override {
        input_set_refresh(nullptr);
        input_start(InputSource::Scripted, true, 800, 600, 400, 300, false);
    }
    void TearDown() override { input_reset(); }
    static void key(int code, bool down) {
        input_handle_event(Event{down ? EventKind::KeyDown : EventKind::KeyUp, code, 0, 0});
    }
    static void move(int x, int y) { input_handle_event(Event{EventKind::MouseMove, 0, x, y}); }
};

int refreshes = 0;
void count_refresh() {
    ++refreshes;
}

} // namespace

TEST_F(InputDeviceTest, KeyStateUsesTheLowEightBitsAndRefreshesEveryRead) {
    input_set_refresh(count_refresh);
    refreshes = 0;
    key(200, true);
    EXPECT_EQ(key_state(200), 1);
    EXPECT_EQ(key_state(456), 1); // 456 & 255 == 200
    EXPECT_EQ(key_state(200.9), 1);
    EXPECT_EQ(key_state(201), 0);
    EXPECT_EQ(refreshes, 4);
    key(200, false);
    EXPECT_EQ(key_state(200), 0);
    EXPECT_EQ(key_state(-1), 0); // 255
    key(0, true);
    EXPECT_TRUE(input_any_key_down());
    key(0, false);
    EXPECT_EQ(key_state(0), 1); // the press is seen once (its latch), then it is gone
    key(255, true);             // outside the 0..254 the wait looks at
    EXPECT_FALSE(input_any_key_down());
}

TEST_F(InputDeviceTest, InkeyGivesAHeldKeyOnceAndShiftUpperCasesLettersOnly) {
    EXPECT_EQ(inkey().str(), "");
    key(30, true); // A
    EXPECT_EQ(inkey().str(), "a");
    EXPECT_EQ(inkey().str(), "");
    EXPECT_EQ(inkey().str(), "");
    key(30, false);
    EXPECT_EQ(inkey().str(), ""); // no key: the remembered character is reset
    key(30, true);
    EXPECT_EQ(inkey().str(), "a"); // the same letter again after a release
    key(30, false);
    key(42, true); // left Shift
    EXPECT_EQ(inkey().str(), "");
    key(30, true);
    EXPECT_EQ(inkey().str(), "A");
    key(30, false);
    key(2, true); // 1: Shift does not change it
    EXPECT_EQ(inkey().str(), "1");
    key(2, false);
    key(42, false);
    key(28, true); // Return
    EXPECT_EQ(inkey().str(), "\n");
    key(28, false);
    key(14, true); // Backspace
    EXPECT_EQ(inkey().str(), "\b");
    key(14, false);
    key(1, true); // Esc gives no character
    EXPECT_EQ(inkey().str(), "");
}

TEST_F(InputDeviceTest, MouseMotionIsComputedOncePerFrame) {
    move(410, 295);
    EXPECT_EQ(mouse_state(0), 10);
    move(420, 295); // later in the same frame: not seen until the next frame
    EXPECT_EQ(mouse_state(0), 10);
    EXPECT_EQ(mouse_state(1), -5);
    input_new_frame();
    EXPECT_EQ(mouse_state(0), 10);
    EXPECT_EQ(mouse_state(1), 0);
    input_new_frame();
    EXPECT_EQ(mouse_state(0), 0);
    input_handle_event(Event{EventKind::Wheel, -1, 0, 0});
    input_handle_event(Event{EventKind::ButtonDown, 3, 0, 0});
    input_new_frame();
    EXPECT_EQ(mouse_state(2), -1);
    EXPECT_EQ(mouse_state(5), 1);
    EXPECT_EQ(mouse_state(3), 0);
    EXPECT_EQ(mouse_state(6), 0);
    input_new_frame();
    EXPECT_EQ(mouse_state(2), 0);
}

TEST_F(InputDeviceTest, ReadMouseClampsTheKeptPositionAndStoresItBack) {
    move(-5, 900); // hidden pointer: the kept position follows the motion unclamped
    input_new_frame();
    double x, y, b1, b2;
    read_mouse(x, y, b1, b2);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 599);
    EXPECT_EQ(b1, 0);
    // The clamped position was stored: moving right by 10 starts from the edge.
    move(5, 900);
    input_new_frame();
    read_mouse(x, y, b1, b2);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 599);
    input_handle_event(Event{EventKind::ButtonDown, 1, 0, 0});
    input_handle_event(Event{EventKind::ButtonDown, 2, 0, 0});
    read_mouse(x, y, b1, b2);
    EXPECT_EQ(b1, 1);
    EXPECT_EQ(b2, 1);
}

TEST_F(InputDeviceTest, ShownPointerReportsMotionAgainstTheKeptPosition) {
    show_system_pointer(1); // the cursor appears at the kept position (400, 300)
    move(450, 320);
    input_new_frame();
    EXPECT_EQ(mouse_state(0), 50);
    EXPECT_EQ(mouse_state(1), 20);
    double x, y, b1, b2;
    read_mouse(x, y, b1, b2);
    EXPECT_EQ(x, 450);
    EXPECT_EQ(y, 320);
    show_system_pointer(0);
    move(460, 320);
    input_new_frame();
    EXPECT_EQ(mouse_state(0), 10);
}

TEST_F(InputDeviceTest, JoystickTableScalingDeadZoneAndButtons) {
    input_set_joystick_count(2);
    EXPECT_EQ(joystick_count(), 2);
    input_set_joystick(0, JoyPart::Axis, 0, 32767);
    input_set_joystick(0, JoyPart::Axis, 1, -32768);
    EXPECT_EQ(joy_x(0), 1);
    EXPECT_EQ(joy_y(0), -1);
    input_set_joystick(0, JoyPart::Axis, 0, 9000); // inside 30 %
    EXPECT_EQ(joy_x(0), 0);
    input_set_joystick(0, JoyPart::Axis, 0, 21299); // half-way through the rest
    EXPECT_NEAR(joy_x(0), 0.5, 0.01);
    input_set_joystick(0, JoyPart::Axis, 2, 9000); // no dead zone on z
    EXPECT_NEAR(joy_z(0), 9000 / 32767.0, 1e-9);
    input_set_joystick(1, JoyPart::Axis, 5, -16384);
    EXPECT_NEAR(joy_rz(1), -16384 / 32767.0, 1e-9);
    input_set_joystick(0, JoyPart::Button, 3, 1);
    EXPECT_EQ(joy_button(0, 3), 128);
    EXPECT_EQ(joy_button(0, 2), 0);
    EXPECT_EQ(joy_button(0, 32), 0);
    EXPECT_EQ(joy_button(0, -1), 0);
    EXPECT_EQ(joy_button(12, 3), 0);
    input_set_joystick(0, JoyPart::Hat, 0, 27000);
    EXPECT_EQ(joy_hat_x(0), -1);
    EXPECT_EQ(joy_hat_y(0), 0);
    input_set_joystick(0, JoyPart::Hat, 0, 0);
    EXPECT_EQ(joy_hat_y(0), -1);
    input_set_joystick(0, JoyPart::Hat, 0, 4500); // diagonals count as centred
    EXPECT_EQ(joy_hat_x(0), 0);
    EXPECT_EQ(joy_hat_y(0), 0);
    EXPECT_EQ(joy_hat_x(1), 0); // a centred hat is no direction
}
