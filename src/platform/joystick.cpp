#include "platform/joystick.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <string>

namespace {

struct Slot {
    SDL_Joystick* joystick = nullptr;         // every device
    SDL_GameController* controller = nullptr; // recognised pads
    SDL_JoystickID instance = -1;
    std::string name;
    uint32_t pressed = 0; // buttons pressed since the last read (a tap between two reads)
};

struct Joysticks {
    bool started = false;
    Slot slots[platform::kMaxJoysticks];
    // Virtual devices made through attach_virtual_joystick: their own handles.
    SDL_Joystick* virtual_handles[16] = {};
};

Joysticks js;

int slot_of_instance(SDL_JoystickID id) {
    for (int j = 0; j < platform::kMaxJoysticks; ++j)
        if (js.slots[j].joystick && js.slots[j].instance == id) return j;
    return -1;
}

void close_slot(Slot& s) {
    if (s.controller)
        SDL_GameControllerClose(s.controller);
    else if (s.joystick)
        SDL_JoystickClose(s.joystick);
    s = Slot{};
}

int32_t clamp_axis(int v) {
    return std::clamp(v, -32768, 32767);
}

uint32_t hat_from_bits(int bits) {
    switch (bits) {
    case SDL_HAT_UP:
        return 0;
    case SDL_HAT_RIGHTUP:
        return 4500;
    case SDL_HAT_RIGHT:
        return 9000;
    case SDL_HAT_RIGHTDOWN:
        return 13500;
    case SDL_HAT_DOWN:
        return 18000;
    case SDL_HAT_LEFTDOWN:
        return 22500;
    case SDL_HAT_LEFT:
        return 27000;
    case SDL_HAT_LEFTUP:
        return 31500;
    default:
        return platform::kHatCentre;
    }
}

// The pad's buttons in the order the game numbers them.
const SDL_GameControllerButton kPadButtons[] = {
    SDL_CONTROLLER_BUTTON_A,
    SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
    SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_BACK,
    SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_LEFTSTICK,
    SDL_CONTROLLER_BUTTON_RIGHTSTICK,
    SDL_CONTROLLER_BUTTON_GUIDE,
};

void read_controller(SDL_GameController* c, platform::JoyState& out) {
    auto axis = [c](SDL_GameControllerAxis a) { return int(SDL_GameControllerGetAxis(c, a)); };
    out.axis[0] = axis(SDL_CONTROLLER_AXIS_LEFTX);
    out.axis[1] = axis(SDL_CONTROLLER_AXIS_LEFTY);
    out.axis[2] =
        clamp_axis(axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT) - axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
    out.axis[3] = axis(SDL_CONTROLLER_AXIS_RIGHTX);
    out.axis[4] = axis(SDL_CONTROLLER_AXIS_RIGHTY);
    out.axis[5] = 0;
    for (size_t b = 0; b < sizeof kPadButtons / sizeof kPadButtons[0]; ++b)
        out.button[b] = SDL_GameControllerGetButton(c, kPadButtons[b]) ? 128 : 0;
    int bits = 0;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_UP)) bits |= SDL_HAT_UP;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) bits |= SDL_HAT_RIGHT;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) bits |= SDL_HAT_DOWN;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) bits |= SDL_HAT_LEFT;
    out.hat = hat_from_bits(bits);
}

void read_joystick(SDL_Joystick* j, platform::JoyState& out) {
    int axes = std::min(SDL_JoystickNumAxes(j), 6);
    for (int a = 0; a < axes; ++a)
        out.axis[a] = SDL_JoystickGetAxis(j, a);
    int buttons = std::min(SDL_JoystickNumButtons(j), 32);
    for (int b = 0; b < buttons; ++b)
        out.button[b] = SDL_JoystickGetButton(j, b) ? 128 : 0;
    if (SDL_JoystickNumHats(j) > 0) out.hat = hat_from_bits(SDL_JoystickGetHat(j, 0));
}

} // namespace

namespace platform::detail {

void joystick_device_added(int device_index) {
    if (!js.started) return;
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device_index);
    if (id < 0 || slot_of_instance(id) >= 0) return;
    for (Slot& s : js.slots) {
        if (s.joystick) continue;
        if (SDL_IsGameController(device_index)) {
            s.controller = SDL_GameControllerOpen(device_index);
            if (s.controller) s.joystick = SDL_GameControllerGetJoystick(s.controller);
        }
        if (!s.joystick) s.joystick = SDL_JoystickOpen(device_index);
        if (!s.joystick) {
            s = Slot{};
            return;
        }
        s.instance = SDL_JoystickInstanceID(s.joystick);
        const char* name =
            s.controller ? SDL_GameControllerName(s.controller) : SDL_JoystickName(s.joystick);
        s.name = name ? name : "";
        return;
    }
}

void joystick_device_removed(int instance_id) {
    int j = slot_of_instance(instance_id);
    if (j >= 0) close_slot(js.slots[j]);
}

void joystick_button_pressed(int instance_id, int button, bool controller) {
    int j = slot_of_instance(instance_id);
    if (j < 0 || (js.slots[j].controller != nullptr) != controller) return;
    int index = button;
    if (controller) {
        index = -1;
        for (size_t b = 0; b < sizeof kPadButtons / sizeof kPadButtons[0]; ++b)
            if (int(kPadButtons[b]) == button) index = int(b);
    }
    if (index >= 0 && index < 32) js.slots[j].pressed |= 1u << index;
}

} // namespace platform::detail

namespace platform {

bool joysticks_start() {
    if (js.started) return true;
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) return false;
    js.started = true;
    int n = SDL_NumJoysticks();
    for (int i = 0; i < n; ++i)
        detail::joystick_device_added(i);
    return true;
}

void joysticks_stop() {
    if (!js.started) return;
    for (Slot& s : js.slots)
        close_slot(s);
    for (SDL_Joystick*& v : js.virtual_handles) {
        if (!v) continue;
        SDL_JoystickID id = SDL_JoystickInstanceID(v);
        SDL_JoystickClose(v);
        v = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
    js.started = false;
}

int joystick_slots_used() {
    int used = 0;
    for (int j = 0; j < kMaxJoysticks; ++j)
        if (js.slots[j].joystick) used = j + 1;
    return used;
}

bool joystick_read(int j, JoyState& out) {
    out = JoyState{};
    if (j < 0 || j >= kMaxJoysticks || !js.slots[j].joystick) return false;
    Slot& s = js.slots[j];
    if (s.controller)
        read_controller(s.controller, out);
    else
        read_joystick(s.joystick, out);
    // A button pressed and released since the last read reads as down this once.
    for (int b = 0; b < 32; ++b)
        if (s.pressed & (1u << b)) out.button[b] = 128;
    s.pressed = 0;
    return true;
}

void joysticks_update() {
    if (js.started) SDL_JoystickUpdate();
}

const char* joystick_name(int j) {
    if (j < 0 || j >= kMaxJoysticks) return "";
    return js.slots[j].name.c_str();
}

int attach_virtual_joystick(bool game_pad) {
    if (!js.started && !joysticks_start()) return -1;
    int id = -1;
    for (int i = 0; i < 16; ++i)
        if (!js.virtual_handles[i]) {
            id = i;
            break;
        }
    if (id < 0) return -1;
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    if (game_pad) {
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Virtual game pad";
    } else {
        desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.naxes = 6;
        desc.nbuttons = 32;
        desc.nhats = 1;
        desc.name = "Virtual joystick";
    }
    int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) {
        std::fprintf(stderr, "virtual joystick: %s\n", SDL_GetError());
        return -1;
    }
    js.virtual_handles[id] = SDL_JoystickOpen(index);
    if (!js.virtual_handles[id]) {
        std::fprintf(stderr, "virtual joystick: %s\n", SDL_GetError());
        SDL_JoystickDetachVirtual(index);
        return -1;
    }
    detail::joystick_device_added(index);
    return id;
}

void detach_virtual_joystick(int id) {
    if (id < 0 || id >= 16 || !js.virtual_handles[id]) return;
    SDL_JoystickID instance = SDL_JoystickInstanceID(js.virtual_handles[id]);
    detail::joystick_device_removed(instance);
    SDL_JoystickClose(js.virtual_handles[id]);
    js.virtual_handles[id] = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == instance) SDL_JoystickDetachVirtual(i);
}

void set_virtual_axis(int id, int axis, int value) {
    if (id < 0 || id >= 16 || !js.virtual_handles[id]) return;
    SDL_JoystickSetVirtualAxis(js.virtual_handles[id], axis,
                               Sint16(std::clamp(value, -32768, 32767)));
}

void set_virtual_button(int id, int button, bool down) {
    if (id < 0 || id >= 16 || !js.virtual_handles[id]) return;
    SDL_JoystickSetVirtualButton(js.virtual_handles[id], button, down ? 1 : 0);
}

void set_virtual_hat(int id, int bits) {
    if (id < 0 || id >= 16 || !js.virtual_handles[id]) return;
    SDL_JoystickSetVirtualHat(js.virtual_handles[id], 0, Uint8(bits));
}

} // namespace platform
