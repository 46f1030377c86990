#include "input/input.h"
#include "input/input_state.h"
#include "platform/keymap.h"
#include "runtime/numbers.h"

InputDevice input;

void input_set_refresh(void (*refresh)()) {
    input.refresh = refresh;
}

void input_refresh() {
    if (input.refresh) input.refresh();
}

bool input_key_down(int code) {
    return (input.keys[code & 0xff] & 0x80) != 0;
}

bool input_any_key_down() {
    input_refresh();
    for (int c = 0; c < 255; ++c)
        if (input.keys[c] & (0x80 | kPressed)) return true;
    return false;
}

double key_state(double code) {
    input_refresh();
    unsigned char& k = input.keys[uint32_t(to_int64(code)) & 0xff];
    unsigned char latch = k & kPressed;
    const bool seen = take_press(latch, (k & 0x80) != 0);
    k &= 0x80;
    return truth(seen);
}

namespace {

// Keys that never give a character: Shift, Ctrl, Alt, Caps Lock, Num Lock, the menu key.
bool is_modifier(int code) {
    switch (code) {
    case 42:
    case 54:
    case 29:
    case 56:
    case 58:
    case 69:
    case 221:
        return true;
    default:
        return false;
    }
}

} // namespace

RtString inkey() {
    input_refresh();
    int ch = 0;
    for (int code = 0; code < 255 && ch == 0; ++code) {
        if (!(input.keys[code] & (0x80 | kPressed)) || is_modifier(code)) continue;
        ch = platform::key_character(code, input.use_layout);
        // A short tap gives its character once, like a held key.
        if (ch != 0) input.keys[code] &= 0x80;
    }
    if (ch == 0) {
        input.last_char = 0;
        return {};
    }
    if ((input_key_down(42) || input_key_down(54)) && ch >= 'a' && ch <= 'z') ch -= 'a' - 'A';
    if (ch == input.last_char) return {};
    input.last_char = ch;
    char text[2] = {char(ch), '\0'};
    return RtString(text);
}
