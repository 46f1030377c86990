#include "input/input.h"
#include "input/input_state.h"
#include "runtime/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

bool valid(int j) {
    return j >= 0 && j < platform::kMaxJoysticks;
}

// A diagonal reads like a centred hat everywhere: keep only the four directions.
uint32_t plain_hat(uint32_t hat) {
    return (hat == 0 || hat == 9000 || hat == 18000 || hat == 27000) ? hat : platform::kHatCentre;
}

void store(int j, JoyPart part, int index, int64_t value) {
    platform::JoyState& s = input.joy[j];
    int64_t old = part == JoyPart::Axis     ? s.axis[index]
                  : part == JoyPart::Button ? s.button[index]
                                            : int64_t(s.hat);
    if (old == value) return;
    if (part == JoyPart::Axis)
        s.axis[index] = int32_t(value);
    else if (part == JoyPart::Button) {
        s.button[index] = uint8_t(value);
        if (value != 0) input.joy_pressed[j][index] = kPressedNow;
    } else
        s.hat = uint32_t(value);
    if (input.joy_observer) input.joy_observer(j, part, index, value);
}

// Reads joystick j's table entry after bringing it up to date.
const platform::JoyState& joystick(double j) {
    static const platform::JoyState none;
    input_refresh();
    input_sync_joysticks();
    int n = to_int32(j);
    return valid(n) ? input.joy[n] : none;
}

double axis_value(int32_t raw) {
    return std::clamp(double(raw) / 32767.0, -1.0, 1.0);
}

// 30 % of each half of the range reads as centre; the rest is spread over the whole half, so
// a full deflection still reads as full.
int32_t dead_zone(int32_t raw) {
    double half = raw < 0 ? 32768.0 : 32767.0;
    double zone = 32768.0 * 0.3;
    double v = std::abs(double(raw));
    if (v <= zone) return 0;
    int32_t out = int32_t(std::lround(std::min((v - zone) * half / (half - zone), half)));
    return raw < 0 ? -out : out;
}

} // namespace

void input_sync_joysticks() {
    if (input.source != InputSource::Live || !input.started) return;
    platform::joysticks_update();
    input.joystick_count = platform::joystick_slots_used();
    for (int j = 0; j < platform::kMaxJoysticks; ++j) {
        platform::JoyState now;
        platform::joystick_read(j, now);
        for (int a = 0; a < 6; ++a)
            store(j, JoyPart::Axis, a, now.axis[a]);
        for (int b = 0; b < 32; ++b)
            store(j, JoyPart::Button, b, now.button[b]);
        store(j, JoyPart::Hat, 0, plain_hat(now.hat));
    }
}

void input_set_joystick_count(int count) {
    input.joystick_count = std::clamp(count, 0, platform::kMaxJoysticks);
}

const platform::JoyState& input_joystick_state(int j) {
    static const platform::JoyState none;
    return valid(j) ? input.joy[j] : none;
}

void input_set_joystick(int j, JoyPart part, int index, int64_t value) {
    if (!valid(j)) return;
    if (part == JoyPart::Axis && index >= 0 && index < 6)
        store(j, part, index, std::clamp<int64_t>(value, -32768, 32767));
    else if (part == JoyPart::Button && index >= 0 && index < 32)
        store(j, part, index, value ? 128 : 0);
    else if (part == JoyPart::Hat)
        store(j, part, 0, plain_hat(uint32_t(value)));
}

void input_set_joystick_observer(void (*observer)(int, JoyPart, int, int64_t)) {
    input.joy_observer = observer;
}

bool input_any_joystick_active() {
    input_refresh();
    input_sync_joysticks();
    for (int j = input.joystick_count - 1; j >= 0; --j) {
        const platform::JoyState& s = input.joy[j];
        for (uint8_t b : s.button)
            if (b) return true;
        if (dead_zone(s.axis[0]) != 0 || dead_zone(s.axis[1]) != 0 || s.axis[2] != 0) return true;
        uint32_t h = s.hat;
        if (h == 0 || h == 9000 || h == 18000 || h == 27000) return true;
    }
    return false;
}

double joy_x(double j) {
    return axis_value(dead_zone(joystick(j).axis[0]));
}
double joy_y(double j) {
    return axis_value(dead_zone(joystick(j).axis[1]));
}
double joy_z(double j) {
    return axis_value(joystick(j).axis[2]);
}
double joy_rx(double j) {
    return axis_value(joystick(j).axis[3]);
}
double joy_ry(double j) {
    return axis_value(joystick(j).axis[4]);
}
double joy_rz(double j) {
    return axis_value(joystick(j).axis[5]);
}

double joy_hat_x(double j) {
    uint32_t h = joystick(j).hat;
    return h == 9000 ? 1 : h == 27000 ? -1 : 0;
}

double joy_hat_y(double j) {
    uint32_t h = joystick(j).hat;
    return h == 0 ? -1 : h == 18000 ? 1 : 0;
}

double joy_button(double j, double b) {
    const platform::JoyState& s = joystick(j);
    int n = to_int32(b), k = to_int32(j);
    if (n < 0 || n >= 32 || !valid(k)) return 0;
    // A press released before this read still reads as held, once.
    return take_press(input.joy_pressed[k][n], s.button[n] != 0) ? 128 : 0;
}

double joystick_count() {
    input_refresh();
    input_sync_joysticks();
    return input.joystick_count;
}
