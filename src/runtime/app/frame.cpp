#include "runtime/app/frame.h"

#include "audio/sound.h"
#include "graphics/device.h"
#include "graphics/scene.h"
#include "graphics/screenshot.h"
#include "input/input.h"
#include "input/input_device.h"
#include "platform/gl.h"
#include "platform/window.h"
#include "runtime/app/frame_internal.h"
#include "runtime/app/player_keys.h"
#include "runtime/errors.h"
#include "runtime/files.h"
#include "runtime/numbers.h"
#include "runtime/settings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

FrameState frame;

namespace {

constexpr double kInputReadStep = 0.01; // virtual ms that one read of the devices takes
constexpr double kPauseStep = 100;      // the paused loop's sleep
constexpr double kWaitStep = 30;        // wait_for_input's pause
constexpr double kMinFrameInterval = 0.001;

void check_time_limit(double now) {
    if (frame.max_ms < 0 || !frame.started) return;
    double t = now - frame.start_ms;
    if (t <= frame.max_ms) return;
    char text[160];
    std::snprintf(text, sizeof text, "Run stopped: the clock passed %g ms (--max-ms)",
                  frame.max_ms);
    error_log(text);
    std::fprintf(stderr, "%s\n", text);
    runtime_exit(2);
}

// A recorded run whose frame ran late: its clock moves on to the first frame boundary at or
// after the real time, so input is written at most a frame after it happened. The step is
// recorded too, so that a replay's clock makes the same step.
void catch_up_with_real_time() {
    if (frame.mode != RunMode::Recording || !frame.started) return;
    const double real = platform::clock_ms() - frame.real_origin;
    if (real <= frame.virtual_now) return;
    const double interval = frame.frame_interval_ms;
    double target = frame.next_frame_ms;
    if (interval > 0 && target < real) target += std::ceil((real - target) / interval) * interval;
    if (!(target > frame.virtual_now)) return;
    ScriptCommand c;
    c.op = ScriptOp::Clock;
    c.value = target - frame.start_ms;
    record(c);
    advance_clock(target - frame.virtual_now);
    // That boundary is this frame's: the next one follows a frame later.
    frame.next_frame_ms = target;
}

// Keeps a recorded run at real-time pace: waits until the real clock reaches the virtual one.
void pace_to_real_time() {
    if (frame.mode != RunMode::Recording) return;
    double target = frame.real_origin + frame.virtual_now;
    for (double now = platform::clock_ms(); now < target; now = platform::clock_ms()) {
        if (target - now > 1.5) platform::sleep_ms(target - now - 1);
        pump_events();
    }
}

// A pause of `ms` that keeps the window responsive (paused loop, wait_for_input).
void idle(double ms) {
    if (virtual_clock()) {
        advance_clock(ms);
        capture_audio();
        pace_to_real_time();
    } else {
        platform::sleep_ms(ms);
    }
}

void apply_script_command(const ScriptCommand& c) {
    using platform::Event;
    using platform::EventKind;
    switch (c.op) {
    case ScriptOp::Key:
        dispatch_event(Event{c.down ? EventKind::KeyDown : EventKind::KeyUp, c.a, 0, 0});
        break;
    case ScriptOp::Mouse:
        dispatch_event(Event{EventKind::MouseMove, 0, c.a, c.b});
        break;
    case ScriptOp::Button:
        dispatch_event(Event{c.down ? EventKind::ButtonDown : EventKind::ButtonUp, c.a, 0, 0});
        break;
    case ScriptOp::Wheel:
        dispatch_event(Event{EventKind::Wheel, c.a, 0, 0});
        break;
    case ScriptOp::JoyAxis:
        input_set_joystick(c.a, JoyPart::Axis, c.b, std::lround(c.value * 32767.0));
        break;
    case ScriptOp::JoyButton:
        input_set_joystick(c.a, JoyPart::Button, c.b, c.down ? 128 : 0);
        break;
    case ScriptOp::JoyHat:
        input_set_joystick(c.a, JoyPart::Hat, 0, uint32_t(c.b));
        break;
    case ScriptOp::Screenshot:
        frame.pending_screenshots.push_back(c.file);
        break;
    case ScriptOp::Dump: {
        std::string state = frame.state_writer ? frame.state_writer() : std::string("{}");
        if (!write_file_atomic(c.file, state)) error_log("Cannot write the state dump " + c.file);
        break;
    }
    case ScriptOp::Focus:
        dispatch_event(Event{c.down ? EventKind::FocusGained : EventKind::FocusLost, 0, 0, 0});
        break;
    case ScriptOp::Close:
        dispatch_event(Event{EventKind::Close, 0, 0, 0});
        break;
    case ScriptOp::Clock: {
        // A late frame of the recorded run: its boundary moved on to the given time.
        const double target = frame.start_ms + c.value;
        if (target > frame.virtual_now) {
            advance_clock(target - frame.virtual_now);
            frame.next_frame_ms = target;
        }
        break;
    }
    }
}

// The end keys and closing the window: the end of the program, or under the end guard a request
// that the program answers itself.
void request_end() {
    if (!frame.end_guard) runtime_end();
    frame.end_requested = true;
}

void set_paused(bool on) {
    if (frame.debug || frame.paused == on) return;
    frame.paused = on;
    platform::set_caption(on ? (frame.title + " <pause>").c_str() : frame.title.c_str());
    sound_set_paused(on);
}

bool is_input(platform::EventKind k) {
    using platform::EventKind;
    return k == EventKind::KeyDown || k == EventKind::KeyUp || k == EventKind::MouseMove ||
           k == EventKind::ButtonDown || k == EventKind::ButtonUp || k == EventKind::Wheel;
}

ScriptCommand command_of(const platform::Event& e) {
    using platform::EventKind;
    ScriptCommand c;
    switch (e.kind) {
    case EventKind::KeyDown:
    case EventKind::KeyUp:
        c.op = ScriptOp::Key;
        c.a = e.code;
        c.down = e.kind == EventKind::KeyDown;
        break;
    case EventKind::MouseMove:
        c.op = ScriptOp::Mouse;
        c.a = e.x;
        c.b = e.y;
        break;
    case EventKind::ButtonDown:
    case EventKind::ButtonUp:
        c.op = ScriptOp::Button;
        c.a = e.code;
        c.down = e.kind == EventKind::ButtonDown;
        break;
    case EventKind::Wheel:
        c.op = ScriptOp::Wheel;
        c.a = e.code;
        break;
    case EventKind::FocusLost:
    case EventKind::FocusGained:
        c.op = ScriptOp::Focus;
        c.down = e.kind == EventKind::FocusGained;
        break;
    case EventKind::Close:
        c.op = ScriptOp::Close;
        break;
    }
    return c;
}

} // namespace

bool virtual_clock() {
    return frame.mode != RunMode::Live;
}

double clock_now() {
    return virtual_clock() ? frame.virtual_now : platform::clock_ms();
}

double game_now() {
    return (frame.hold_since >= 0 ? frame.hold_since : clock_now()) - frame.held_ms;
}

void advance_clock(double ms) {
    frame.virtual_now += ms;
    check_time_limit(frame.virtual_now);
}

void record(ScriptCommand c) {
    if (frame.mode != RunMode::Recording || !frame.started) return;
    c.time = clock_now() - frame.start_ms;
    frame.recorded.push_back(std::move(c));
}

void write_recording() {
    if (frame.mode != RunMode::Recording || frame.record_path.empty()) return;
    std::string text = "# Input recorded from a live run; replay it with --script.\n";
    for (const ScriptCommand& c : frame.recorded)
        text += format_script_line(c) + "\n";
    if (!write_file_atomic(frame.record_path, text)) {
        error_log("Cannot write the recording " + frame.record_path);
        std::fprintf(stderr, "cannot write the recording %s\n", frame.record_path.c_str());
    }
}

void pump_events() {
    if (frame.mode == RunMode::Scripted) {
        // A quit request (a signal) ends the run; window and input events are not the script's.
        if (platform::discard_events()) runtime_end();
        if (!frame.started) return;
        // The clock is read anew for every command: a `clock` command moves it on.
        while (frame.script_next < frame.script.size() &&
               frame.script[frame.script_next].time <= clock_now() - frame.start_ms) {
            const ScriptCommand& c = frame.script[frame.script_next++];
            apply_script_command(c);
        }
        return;
    }
    platform::Event e;
    while (platform::next_event(e)) {
        if (frame.mode == RunMode::Recording) {
            // Input before the game runs is not part of the recorded run.
            if (!frame.started && is_input(e.kind)) continue;
            record(command_of(e));
        }
        dispatch_event(e);
    }
    if (frame.mode == RunMode::Live) check_time_limit(platform::clock_ms());
}

void dispatch_event(const platform::Event& e) {
    using platform::EventKind;
    switch (e.kind) {
    case EventKind::Close:
        request_end();
        return;
    case EventKind::FocusLost:
        set_paused(true);
        return;
    case EventKind::FocusGained:
        set_paused(false);
        return;
    case EventKind::KeyDown:
        // Alt+Enter switches between fullscreen and the window; it is no game key.
        if ((e.code == 28 || e.code == 156) && (input_key_down(56) || input_key_down(184))) {
            frame.enter_swallowed[e.code] = true;
            if (!platform::set_fullscreen(!platform::fullscreen())) {
                error_log("No Fullscreen Mode available");
            } else {
                current_settings().windowed = !platform::fullscreen();
                save_settings();
            }
            return;
        }
        break;
    case EventKind::KeyUp:
        if (e.code >= 0 && e.code < 256 && frame.enter_swallowed[e.code]) {
            frame.enter_swallowed[e.code] = false;
            return;
        }
        break;
    default:
        break;
    }
    input_handle_event(e);
}

namespace {
// The held screen keeps its picture this frame: no note of the runtime's is drawn over it (that
// makes the frames ordinary ones until the note is gone).
bool picture_stays() {
    return frame.still_screen && !frame.drawn_over;
}
} // namespace

void present_frame() {
    // A paused window holds the game here. The hold is no game time: the game's clock leaves
    // it out, so the game neither loses time nor sees one huge frame when it resumes.
    if (frame.paused) {
        const double since = clock_now();
        // Inside the game's own hold the game's clock stands still already.
        const bool own_hold = frame.hold_since < 0;
        if (own_hold) frame.hold_since = since;
        while (frame.paused) {
            pump_events();
            if (frame.paused) idle(kPauseStep);
        }
        const double held = clock_now() - since;
        if (own_hold) {
            frame.held_ms += held;
            frame.hold_since = -1;
        }
        // The frame schedule moves on by the hold too: the frame under way keeps its length.
        frame.next_frame_ms += held;
    }
    // Poll the keyboard; the mouse motion starts a new frame.
    input_refresh();
    input_new_frame();
    if (frame.esc_ends && input_key_down(1)) request_end();
    if (input_key_down(56) && input_key_down(62)) request_end();
    end_stencil_pass();
    player_keys_frame();
    frame.drawn_over = !player_note().empty();
    for (const std::string& file : frame.pending_screenshots)
        if (!save_screenshot(file.c_str())) error_log("Cannot write the screenshot " + file);
    frame.pending_screenshots.clear();
    const bool still = picture_stays();
    flip();
    frame.drawn_over = false;
    gfx_after_flip(!still);
    set_texture_mode(0);
    // The present times are taken when the frame is shown, so that frame_time_ms, read during
    // the next frame, spans one frame (from the start of a frame, it would span two).
    frame.previous_present_ms = frame.last_present_ms;
    frame.last_present_ms = game_now();
}

double flip() {
    // A still screen is presented once, then only when the window loses it.
    const bool still = picture_stays();
    if (!gfx.no_draw && still && frame.still_shown) {
        platform::present_again();
    } else if (!gfx.no_draw) {
        platform::present(still);
        platform::bind_game_framebuffer();
        frame.still_shown = still;
        if (!still) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    double t0 = clock_now();
    pump_events();
    double now;
    if (virtual_clock()) {
        // Straight to the frame boundary, as the wait would end there.
        if (frame.next_frame_ms >= frame.virtual_now)
            advance_clock(frame.next_frame_ms - frame.virtual_now);
        catch_up_with_real_time();
        pace_to_real_time();
        pump_events();
        capture_audio();
        now = frame.virtual_now;
    } else {
        // Sleep until about 1 ms before the deadline, then spin on the clock pumping events.
        now = clock_now();
        while (frame.next_frame_ms >= now) {
            double left = frame.next_frame_ms - now;
            if (left > 1.5) platform::sleep_ms(left - 1);
            pump_events();
            now = clock_now();
        }
    }
    // The schedule keeps to multiples of the interval: a late frame gives no burst of
    // catch-up frames. Far behind (after a pause) the missed boundaries are skipped in one step.
    const double interval = frame.frame_interval_ms;
    frame.next_frame_ms += interval;
    if (interval > 0 && frame.next_frame_ms < now) {
        frame.next_frame_ms += std::floor((now - frame.next_frame_ms) / interval) * interval;
        while (frame.next_frame_ms < now)
            frame.next_frame_ms += interval;
    }
    return now - t0 + 1;
}

void set_fps_limit(double fps) {
    // Past a million frames per second (an infinite limit too) the interval would be too small
    // for the clock to move the schedule on: that is the fastest limit there is.
    frame.frame_interval_ms = fps > 0 ? std::max(1000.0 / fps, kMinFrameInterval) : 2.0;
}

double timer_ms() {
    if (virtual_clock() && frame.started) advance_clock(kInputReadStep);
    return game_now() - frame.start_ms;
}

double frame_time_ms() {
    double t = game_now() - frame.previous_present_ms;
    return t <= 0 ? 1 : t;
}

void screen_size(double& width, double& height) {
    width = frame.settings.width;
    height = frame.settings.height;
}

void set_esc_ends(double flag) {
    frame.esc_ends = flag != 0;
}

double esc_ends() {
    return frame.esc_ends ? 1 : 0;
}

const char* runtime_command_line() {
    return frame.command_line.c_str();
}

void set_state_writer(std::string (*writer)()) {
    frame.state_writer = writer;
}

void set_end_guard(double flag) {
    frame.end_guard = flag != 0;
}

double end_requested() {
    return frame.end_requested ? 1 : 0;
}

void clear_end_request() {
    frame.end_requested = false;
}

void wait_for_input() {
    static double last_x = 0, last_y = 0, last_b1 = 0, last_b2 = 0;
    for (int pass = 0; pass < 8; ++pass) {
        pump_events();
        input_new_frame();
        if (frame.esc_ends && key_state(1) != 0) request_end();
        // A pending end request is for the program to answer now.
        if (frame.end_requested || input_any_key_down()) return;
        double x, y, b1, b2;
        read_mouse(x, y, b1, b2);
        if (x != last_x || y != last_y || b1 != last_b1 || b2 != last_b2) {
            last_x = x;
            last_y = y;
            last_b1 = b1;
            last_b2 = b2;
            return;
        }
        if (input_any_joystick_active()) return;
        idle(kWaitStep);
    }
}

void hold_game_clock(double flag) {
    const bool on = flag != 0;
    if (on == frame.game_hold) return;
    frame.game_hold = on;
    if (on) {
        if (frame.hold_since < 0) frame.hold_since = clock_now();
        frame.hold_previous_present_ms = frame.previous_present_ms;
        frame.hold_last_present_ms = frame.last_present_ms;
    } else {
        if (frame.hold_since >= 0) {
            frame.held_ms += clock_now() - frame.hold_since;
            frame.hold_since = -1;
        }
        // The frames shown during the hold are no game frames: frame_time_ms goes on from the
        // frame before it.
        frame.previous_present_ms = frame.hold_previous_present_ms;
        frame.last_present_ms = frame.hold_last_present_ms;
    }
}

double game_clock_held() {
    return frame.game_hold ? 1 : 0;
}

void hold_screen(double flag) {
    const bool on = flag != 0;
    if (on == frame.still_screen) return;
    frame.still_screen = on;
    if (on || !frame.still_shown) return;
    // The kept picture is still on the screen: start the frame as a flip would.
    frame.still_shown = false;
    if (!gfx.no_draw) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gfx_after_flip();
}

double screen_held() {
    return frame.still_screen && frame.still_shown ? 1 : 0;
}

void capture_audio() {
    if (frame.audio_out_path.empty() || !frame.started || !sound_capturing()) return;
    // Sample n belongs to the run's time n / 44.1 ms.
    const double t = clock_now() - frame.start_ms;
    const double want = std::floor(t * 44.1);
    const double have = double(frame.audio_out.size() / 2);
    if (want > have) sound_capture(size_t(want - have), frame.audio_out);
}

namespace {

void put_u32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s += char((v >> (8 * i)) & 0xff);
}

void put_u16(std::string& s, uint16_t v) {
    s += char(v & 0xff);
    s += char(v >> 8);
}

// 16-bit stereo PCM at 44100 Hz as a RIFF WAVE file.
std::string wav_file(const std::vector<int16_t>& samples) {
    const uint32_t data = uint32_t(samples.size() * 2);
    std::string s = "RIFF";
    put_u32(s, 36 + data);
    s += "WAVEfmt ";
    put_u32(s, 16);
    put_u16(s, 1);
    put_u16(s, 2);
    put_u32(s, 44100);
    put_u32(s, 44100 * 4);
    put_u16(s, 4);
    put_u16(s, 16);
    s += "data";
    put_u32(s, data);
    s.reserve(s.size() + data);
    for (int16_t v : samples)
        put_u16(s, uint16_t(v));
    return s;
}

} // namespace

void write_exit_files() {
    if (!frame.dump_at_exit_path.empty()) {
        std::string state = frame.state_writer ? frame.state_writer() : std::string("{}");
        if (!write_file_atomic(frame.dump_at_exit_path, state))
            error_log("Cannot write the state dump " + frame.dump_at_exit_path);
    }
    if (!frame.audio_out_path.empty()) {
        capture_audio();
        if (!write_file_atomic(frame.audio_out_path, wav_file(frame.audio_out)))
            error_log("Cannot write the sound " + frame.audio_out_path);
    }
}

void frame_input_refresh() {
    if (virtual_clock() && frame.started) advance_clock(kInputReadStep);
    pump_events();
}
