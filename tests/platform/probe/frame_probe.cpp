// A game routine per behaviour under test, chosen by SS_PROBE. Output: one line per observation
// on stdout.
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/scene.h"
#include "input/input.h"
#include "platform/events.h"
#include "platform/joystick.h"
#include "platform/window.h"
#include "runtime/app/app.h"
#include "runtime/app/frame.h"
#include "runtime/app/frame_internal.h"
#include "runtime/errors.h"
#include "runtime/random.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string mode;
int frames = 0;

void say(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void say(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::vprintf(fmt, ap);
    va_end(ap);
    std::printf("\n");
    std::fflush(stdout);
}

std::string keys_down() {
    std::string s;
    for (int c = 0; c < 256; ++c)
        if (key_state(c) != 0) s += (s.empty() ? "" : ",") + std::to_string(c);
    return s;
}

// A line describing every input the game can read; printed when it changes.
std::string input_line() {
    double x, y, b1, b2;
    read_mouse(x, y, b1, b2);
    char buf[512];
    std::snprintf(buf, sizeof buf,
                  "keys=%s mouse=%g,%g b=%g%g%g dx=%g dy=%g wheel=%g joy=%g,%g,%g,%g,%g,%g "
                  "hat=%g,%g jb0=%g jb2=%g",
                  keys_down().c_str(), x, y, b1, b2, mouse_state(5), mouse_state(0), mouse_state(1),
                  mouse_state(2), joy_x(0), joy_y(0), joy_z(0), joy_rx(0), joy_ry(0), joy_rz(0),
                  joy_hat_x(0), joy_hat_y(0), joy_button(0, 0), joy_button(0, 2));
    return buf;
}

std::string state_json() {
    return std::string("{\"frame\":") + std::to_string(frames) + ",\"caption\":\"" +
           platform::caption() + "\"}";
}

void pace() {
    const char* fps = std::getenv("SS_PROBE_FPS");
    set_fps_limit(fps && *fps ? std::strtod(fps, nullptr) : 60);
    for (frames = 0; frames < 12; ++frames) {
        if (frames == 5) {
            // A slow frame: 100 ms of work before presenting.
            double t = timer_ms();
            while (timer_ms() < t + 100) {
            }
        }
        present_frame();
        say("frame %d timer %.4f frame_time %.4f", frames, timer_ms(), frame_time_ms());
    }
    runtime_end();
}

void watch_input() {
    std::string last;
    for (frames = 0;; ++frames) {
        std::string now = input_line();
        if (key_state(200) != key_state(456)) say("low 8 bits differ");
        if (mouse_state(0) != mouse_state(0)) say("dx differs within a frame");
        if (now != last) say("t=%.2f %s", timer_ms(), now.c_str());
        last = now;
        present_frame();
    }
}

void release_wait() {
    while (key_state(57) == 0)
        present_frame();
    say("pressed at %.2f", timer_ms());
    while (key_state(57) != 0) {
    }
    say("released at %.2f", timer_ms());
    runtime_end();
}

void wait() {
    present_frame();
    wait_for_input(); // takes the mouse position as the baseline
    double t0 = timer_ms();
    wait_for_input();
    say("waited %.2f", timer_ms() - t0);
    runtime_end();
}

void joystick_live() {
    // The player's devices are SDL virtual joysticks here: a pad, then a plain stick plugged in.
    int pad = platform::attach_virtual_joystick(true);
    present_frame();
    say("count %g", joystick_count());
    platform::set_virtual_axis(pad, 0, 32767);   // left x
    platform::set_virtual_axis(pad, 1, -32768);  // left y
    platform::set_virtual_axis(pad, 4, 32767);   // left trigger
    platform::set_virtual_button(pad, 2, true);  // X (west)
    platform::set_virtual_button(pad, 14, true); // d-pad right
    present_frame();
    say("pad x=%g y=%g z=%g b0=%g b2=%g hat=%g,%g", joy_x(0), joy_y(0), joy_z(0), joy_button(0, 0),
        joy_button(0, 2), joy_hat_x(0), joy_hat_y(0));
    platform::set_virtual_axis(pad, 0, 6000); // inside the dead zone
    platform::set_virtual_button(pad, 2, false);
    platform::set_virtual_button(pad, 0, true); // A (south)
    platform::set_virtual_button(pad, 14, false);
    platform::set_virtual_button(pad, 11, true); // d-pad up
    present_frame();
    say("pad x=%g b0=%g b2=%g hat=%g,%g", joy_x(0), joy_button(0, 0), joy_button(0, 2),
        joy_hat_x(0), joy_hat_y(0));
    int stick = platform::attach_virtual_joystick(false);
    platform::set_virtual_axis(stick, 3, -16384);
    platform::set_virtual_button(stick, 17, true);
    platform::set_virtual_hat(stick, 8); // left
    present_frame();
    say("count %g stick rx=%g b17=%g b40=%g hat=%g,%g", joystick_count(), joy_rx(1),
        joy_button(1, 17), joy_button(1, 40), joy_hat_x(1), joy_hat_y(1));
    platform::detach_virtual_joystick(pad);
    present_frame();
    say("count %g pad x=%g", joystick_count(), joy_x(0));
    runtime_end();
}

// Makes "player" input through the platform's queue at fixed frames (a recorded run takes it as
// live input; a replay of the recording ignores it and reads the script).
void recorded_input() {
    std::string last;
    int pad = -1;
    for (frames = 0; frames < 40; ++frames) {
        switch (frames) {
        case 2:
            platform::push_key(30, true);
            break;
        case 4:
            platform::push_mouse_motion(120, 90);
            break;
        case 5:
            platform::push_mouse_button(1, true);
            break;
        case 7:
            platform::push_key(30, false);
            platform::push_mouse_button(1, false);
            break;
        case 9:
            pad = platform::attach_virtual_joystick(false);
            break;
        case 10:
            platform::set_virtual_axis(pad, 0, 20000);
            platform::set_virtual_button(pad, 2, true);
            break;
        case 12:
            platform::set_virtual_hat(pad, 2);
            break;
        case 14:
            platform::set_virtual_axis(pad, 0, -3);
            platform::set_virtual_button(pad, 2, false);
            break;
        case 16:
            platform::push_key(200, true);
            break;
        }
        std::string now = input_line();
        if (now != last) say("frame %d t=%.3f %s", frames, timer_ms(), now.c_str());
        last = now;
        present_frame();
    }
    runtime_end();
}

// Short taps made by the "player" through the platform's queue while the frame waits in real
// time (10 to 30 ms between down and up, so both land between two reads), and frames that run
// late. The state at the end (--dump-at-exit) counts the taps each key's reads saw and the
// game's clock; a replay of the recording must end in the same state.
struct TapSeen {
    int f2 = 0, ctrl = 0, space = 0;
    double late_frames_clock = 0;
} taps;

std::string taps_json() {
    char buf[256];
    std::snprintf(buf, sizeof buf,
                  "{\"frames\":%d,\"f2\":%d,\"ctrl\":%d,\"space\":%d,\"timer\":%.17g}", frames,
                  taps.f2, taps.ctrl, taps.space, timer_ms());
    return buf;
}

void tapped_input() {
    set_state_writer(taps_json);
    struct Tap {
        int frame, key;
        double hold_ms;
    };
    const Tap plan[] = {{3, 60, 10},  {6, 29, 15},  {9, 57, 20}, {12, 60, 25},
                        {15, 29, 30}, {18, 60, 12}, {21, 57, 28}};
    bool was[3] = {false, false, false};
    for (frames = 0; frames < 30; ++frames) {
        for (const Tap& t : plan)
            if (t.frame == frames) {
                // When it happens on the run's clock (a recorded run's clock runs from its real
                // origin), for comparing with the time the recording gives it.
                if (frame.mode == RunMode::Recording)
                    say("tap %d at %.3f", t.key,
                        platform::clock_ms() - frame.real_origin - frame.start_ms);
                platform::push_key(t.key, true);
                platform::sleep_ms(t.hold_ms);
                platform::push_key(t.key, false);
            }
        // Frames 10 and 20 run late: the recorded run's clock moves on past them.
        if (frames == 10 || frames == 20) platform::sleep_ms(60);
        const bool now[3] = {key_state(60) != 0, key_state(29) != 0, key_state(57) != 0};
        taps.f2 += now[0] && !was[0];
        taps.ctrl += now[1] && !was[1];
        taps.space += now[2] && !was[2];
        for (int i = 0; i < 3; ++i)
            was[i] = now[i];
        present_frame();
    }
    runtime_end();
}

void text_input() {
    for (frames = 0;; ++frames) {
        RtString s = inkey();
        if (!s.empty()) say("t=%.2f char %d", timer_ms(), int((unsigned char)s.c_str()[0]));
        present_frame();
    }
}

void frames_forever() {
    set_state_writer(state_json);
    if (mode == "noesc") set_esc_ends(0);
    for (frames = 0;; ++frames) {
        say("frame %d t=%.2f fullscreen=%d enter=%g frame_time %.2f", frames, timer_ms(),
            int(platform::fullscreen()), key_state(28), frame_time_ms());
        present_frame();
    }
}

// Every kind of drawing, and what the game can see of it (random draws, slot sizes, the scene's
// projection, collisions, the clock), for comparing drawn runs with --no-draw runs.
struct DrawSeen {
    double random = 0, grab_w = 0, grab_h = 0, glyph_w = 0, glyph_h = 0;
    double sx = 0, sy = 0, sz = 0, wx = 0, wy = 0, wz = 0, hit = 0, ray = 0, timer = 0;
} seen;

std::string draw_state_json() {
    char buf[512];
    std::snprintf(buf, sizeof buf,
                  "{\"frame\":%d,\"timer\":%.17g,\"random\":%.17g,\"grab\":[%.17g,%.17g],"
                  "\"glyph\":[%.17g,%.17g],\"screen\":[%.17g,%.17g,%.17g],"
                  "\"world\":[%.17g,%.17g,%.17g],\"hit\":%.17g,\"ray\":%.17g,\"no_draw\":%g}",
                  frames, seen.timer, seen.random, seen.grab_w, seen.grab_h, seen.glyph_w,
                  seen.glyph_h, seen.sx, seen.sy, seen.sz, seen.wx, seen.wy, seen.wz, seen.hit,
                  seen.ray, runtime_no_draw_option());
    return buf;
}

void draw_everything() {
    set_state_writer(draw_state_json);
    begin_object(7);
    add_object_vertex(-1, -1, 0, 0, 0, 255);
    add_object_vertex(1, -1, 0, 1, 0, 65280);
    add_object_vertex(0, 1, 0, 0.5, 1, 16711680);
    end_object();
    for (frames = 0;; ++frames) {
        seen.random = rnd(1000);
        draw_rect(10, 10, 200 + rnd(50), 120, 255);
        draw_line(0, 0, 799, 599, 16777215);
        draw_point(400, 300, 65280);
        start_poly(-1);
        poly_vertex(300, 300, 0, 0, 255);
        poly_vertex(400, 300, 0, 0, 65280);
        poly_vertex(350, 200, 0, 0, 16711680);
        end_poly();
        print_text("probe", 20, 20);
        font_size(seen.glyph_w, seen.glyph_h);
        grab_sprite(5, 0, 0, 40 + frames % 8, 30);
        sprite_size(5, seen.grab_w, seen.grab_h);
        draw_sprite(5, 500, 100);
        zoom_sprite(5, 500, 200, 2, 2);
        rotozoom_sprite(5, 500, 300, 30, 1.5);
        if (frames == 3) use_screen_as_background();
        set_viewport(0, 0, 400, 300);
        begin_3d(1, 100, 60);
        set_camera(0, 0, 5 + frames * 0.1, 0, 0, 0);
        set_light(-2, 16777215, 5, 5, 5, 0, 0, 0, 0);
        draw_object(7, 0);
        print_text_3d("3d", 0, 1, 0, 0);
        print_text_3d("3d", 0, -1, 0, 0.1);
        debug_line(0, 0, 0, 1, 1, 1, 255, 2);
        draw_axes(0, 0, 0);
        clear_depth();
        world_to_screen(0.5, 0.5, 0, seen.sx, seen.sy, seen.sz);
        screen_to_world(200, 150, 0.5, seen.wx, seen.wy, seen.wz);
        seen.hit = object_hits_sphere(7, 0, 0, 0, 0.5, 0.6);
        seen.ray = object_ray_distance(7, 0, 0, 0, 5, 0, 0, -1);
        end_3d();
        seen.timer = timer_ms();
        present_frame();
    }
}

void game_main() {
    say("start frame_time %.4f", frame_time_ms());
    if (mode == "pace")
        pace();
    else if (mode == "input")
        watch_input();
    else if (mode == "release")
        release_wait();
    else if (mode == "wait")
        wait();
    else if (mode == "error")
        runtime_error(9);
    else if (mode == "draw")
        draw_everything();
    else if (mode == "level") {
        say("level %.17g", runtime_level_option());
        runtime_end();
    } else if (mode == "joystick")
        joystick_live();
    else if (mode == "recorded")
        recorded_input();
    else if (mode == "inkey")
        text_input();
    else if (mode == "taps")
        tapped_input();
    else
        frames_forever();
}

} // namespace

int main(int argc, char** argv) {
    const char* m = std::getenv("SS_PROBE");
    mode = m ? m : "";
    StartSettings settings;
    settings.fullscreen = false;
    return runtime_main(argc, argv, settings, game_main);
}
