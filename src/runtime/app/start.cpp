#include "audio/sound.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "input/input_device.h"
#include "platform/events.h"
#include "platform/paths.h"
#include "platform/window.h"
#include "runtime/app/frame.h"
#include "runtime/app/frame_internal.h"
#include "runtime/app/options.h"
#include "runtime/app/player_keys.h"
#include "runtime/errors.h"
#include "runtime/files.h"
#include "runtime/random.h"
#include "runtime/settings.h"
#include "runtime/user_dir.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace {

RuntimeOptions options;

const char* const kSoftwareTitle = "!!OpenGL Software Emulation!!";
const char* const kSoftwareText =
    "Please update your GFX adapter's driver\nso it can render OpenGL by HARDWARE\n\n\n"
    "Bitte aktualisieren Sie Ihren\nGrafkkartentreiber, damit er OpenGL\nper HARDWARE "
    "unterst\xc3\xbctzt!";

void keep_window_size();

void frame_shutdown() {
    write_exit_files();
    keep_window_size();
    write_recording();
    input_shutdown();
    sound_shutdown();
    gfx_device_shutdown();
    platform::close_window();
}

// The recorder's view of joystick changes made by the player's devices.
void record_joystick(int j, JoyPart part, int index, int64_t value) {
    ScriptCommand c;
    c.a = j;
    switch (part) {
    case JoyPart::Axis:
        c.op = ScriptOp::JoyAxis;
        c.b = index;
        c.value = double(value) / 32767.0;
        break;
    case JoyPart::Button:
        c.op = ScriptOp::JoyButton;
        c.b = index;
        c.down = value != 0;
        break;
    case JoyPart::Hat:
        c.op = ScriptOp::JoyHat;
        c.b = int(uint32_t(value));
        break;
    }
    record(c);
}

// Joysticks already off centre when the run starts: their state opens the recording.
void record_joysticks_held() {
    const platform::JoyState centre;
    for (int j = 0; j < platform::kMaxJoysticks; ++j) {
        const platform::JoyState& s = input_joystick_state(j);
        for (int a = 0; a < 6; ++a)
            if (s.axis[a] != centre.axis[a]) record_joystick(j, JoyPart::Axis, a, s.axis[a]);
        for (int b = 0; b < 32; ++b)
            if (s.button[b]) record_joystick(j, JoyPart::Button, b, s.button[b]);
        if (s.hat != centre.hat) record_joystick(j, JoyPart::Hat, 0, s.hat);
    }
}

// Screenshots at time 0 show the first frame the program presents: the "Loading..." screen.
void take_first_screenshots() {
    auto& script = frame.script;
    for (auto it = script.begin(); it != script.end() && it->time <= 0;) {
        if (it->op == ScriptOp::Screenshot) {
            frame.pending_screenshots.push_back(it->file);
            it = script.erase(it);
        } else {
            ++it;
        }
    }
}

bool load_script(const std::string& path) {
    auto bytes = read_file(path, size_t(64) << 20);
    if (!bytes) {
        std::fprintf(stderr, "%s: cannot read the script\n", path.c_str());
        return false;
    }
    std::string text(bytes->begin(), bytes->end());
    ScriptError error;
    if (!parse_script(text, frame.script, error)) {
        std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), error.line, error.reason.c_str());
        return false;
    }
    // Files named by the script are relative to where the run was started.
    for (ScriptCommand& c : frame.script)
        if (!c.file.empty()) c.file = absolute_path(c.file);
    return true;
}

void log_renderer() {
    if (platform::software_renderer()) {
        error_log("OpenGL Software Emulation");
        if (frame.mode == RunMode::Live && !platform::headless_video())
            platform::show_warning(kSoftwareTitle, kSoftwareText);
    } else {
        error_log("OpenGL Hardware Support");
    }
}

// The user folder of the run: --user-dir, else the system's per-user folder of a live run;
// a scripted run without --user-dir has none, so it never touches a player's files. Then the
// settings file in it, unless --fresh.
void open_user_folder(const Settings& defaults) {
    std::string dir = options.user_dir;
    if (dir.empty() && frame.mode != RunMode::Scripted) dir = platform::user_pref_dir();
    if (!dir.empty() && !make_dirs(dir)) {
        error_log("User folder " + dir + " cannot be made; settings and results are not kept");
        dir.clear();
    }
    set_user_dir(dir);
    set_settings_file(dir.empty() || options.fresh ? "" : user_path("settings.ini"));
    load_settings(defaults);
}

// Multisampling: --msaa, else the settings file, else 4 on a hardware renderer and off on a
// software one or in a scripted run. A driver that offers less falls back with one log line.
void start_multisampling() {
    int want = options.msaa >= 0 ? options.msaa : current_settings().msaa;
    if (want < 0) want = frame.mode == RunMode::Scripted || platform::software_renderer() ? 0 : 4;
    if (want == 0 || options.no_draw) return;
    const char* why = nullptr;
    const int got = platform::set_game_samples(want, &why);
    if (why)
        error_log("Multisampling " + std::to_string(want) + "x: " + why + "; drawing with " +
                  (got > 0 ? std::to_string(got) + "x" : std::string("none")));
}

// The window size of the settings, and the size the player left it at.
void apply_window_size() {
    const Settings& s = current_settings();
    if (!platform::fullscreen()) platform::set_window_size(s.window_width, s.window_height);
}

void keep_window_size() {
    int w = 0, h = 0;
    if (platform::fullscreen() || !platform::window_size(w, h)) return;
    Settings& s = current_settings();
    if (w == s.window_width && h == s.window_height) return;
    s.window_width = w;
    s.window_height = h;
    save_settings();
}

} // namespace

int runtime_init(const StartSettings& settings) {
    frame.settings = settings;
    frame.title = settings.title ? settings.title : "";
    frame.debug = settings.debug;
    set_debug_mode(settings.debug);
    error_log_restart();
    at_runtime_end(frame_shutdown);
    // The program's start settings are the defaults of the settings file, which chooses window
    // or fullscreen unless the command line did.
    Settings defaults;
    defaults.windowed = !settings.fullscreen;
    defaults.window_width = settings.width;
    defaults.window_height = settings.height;
    open_user_folder(defaults);
    StartSettings start = settings;
    if (options.display == 0)
        start.fullscreen = !current_settings().windowed;
    else
        current_settings().windowed = !start.fullscreen;
    frame.settings.fullscreen = start.fullscreen;

    if (frame.mode != RunMode::Live) platform::use_offscreen_video_without_display();
    platform::WindowConfig cfg;
    cfg.width = settings.width;
    cfg.height = settings.height;
    cfg.title = frame.title.c_str();
    const char* why = nullptr;
    if (!platform::open_window(cfg, &why)) {
        std::string reason = std::string("No window: ") + (why ? why : "unknown reason");
        error_log(reason);
        std::fprintf(stderr, "%s\n", reason.c_str());
        runtime_exit(1);
    }
    log_renderer();
    set_fps_limit(settings.fps_limit);
    frame.real_origin = platform::clock_ms();
    frame.next_frame_ms = clock_now();
    gfx_device_init(settings.width, settings.height);
    gfx.no_draw = options.no_draw;

    if (frame.mode != RunMode::Live || options.seed_given) {
        rnd_seed(options.seed);
    } else {
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::system_clock::now().time_since_epoch());
        rnd_seed(uint32_t(uint64_t(ms.count())));
    }

    if (start.fullscreen && !platform::set_fullscreen(true))
        error_log("No Fullscreen Mode available");
    apply_window_size();
    start_multisampling();

    int start_x = settings.width / 2, start_y = settings.height / 2;
    if (frame.mode == RunMode::Live) platform::pointer_position(start_x, start_y);
    // The platform's pointer tracking starts where the input device's does: otherwise the first
    // relative motion of the hidden pointer would carry the gap between the two (a jump).
    platform::set_pointer_position(start_x, start_y);
    input_set_refresh(frame_input_refresh);
    input_start(frame.mode == RunMode::Scripted ? InputSource::Scripted : InputSource::Live,
                settings.mouse_device, settings.width, settings.height, start_x, start_y,
                frame.mode == RunMode::Live);
    if (frame.mode == RunMode::Recording) input_set_joystick_observer(record_joystick);
    if (frame.mode == RunMode::Scripted) {
        int count = 0;
        for (const ScriptCommand& c : frame.script)
            if (c.op == ScriptOp::JoyAxis || c.op == ScriptOp::JoyButton ||
                c.op == ScriptOp::JoyHat)
                count = std::max(count, c.a + 1);
        input_set_joystick_count(count);
    }
    sound_init(!frame.audio_out_path.empty());
    apply_volume_settings();

    // The shipped data lies beside the executable (a build tree) or in the games data folder
    // of its prefix (an installed game).
    std::string dir = data_dir_for_executable(executable_dir());
    if (!dir.empty() && chdir(dir.c_str()) != 0) dir.clear();
    error_log("Current Dir");
    error_log(dir.empty() ? "null" : dir);

    flip();
    set_viewport(0, 0, 0, 0);
    frame.start_ms = frame.last_present_ms = frame.previous_present_ms = clock_now();

    load_font("", 0);
    load_font("smalfont.bmp", 0);
    double glyph_w = 8, glyph_h = 8;
    font_size(glyph_w, glyph_h);
    const char* loading = "Loading...";
    print_text(loading, (settings.width - 10 * glyph_w) * 0.5, (settings.height - glyph_h) * 0.5);
    take_first_screenshots();
    present_frame();

    frame.paused = false;
    frame.held_ms = 0; // a hold during the start is before the game's clock starts
    frame.start_ms = frame.last_present_ms = frame.previous_present_ms = clock_now();
    frame.started = true;
    if (frame.mode == RunMode::Recording) record_joysticks_held();
    return 0;
}

double runtime_level_option() {
    return options.level;
}

double runtime_no_draw_option() {
    return options.no_draw ? 1 : 0;
}

int runtime_main(int argc, char** argv, const StartSettings& settings, void (*game_main)()) {
    std::string error;
    if (!parse_runtime_options(argc, argv, options, error)) {
        std::fprintf(stderr, "%s: %s\n", argc > 0 ? argv[0] : "steel_spree", error.c_str());
        return 2;
    }
    for (int i = 0; i < argc; ++i) {
        if (i) frame.command_line += ' ';
        frame.command_line += argv[i];
    }
    if (!options.script.empty()) {
        frame.mode = RunMode::Scripted;
        if (!load_script(options.script)) return 2;
    } else if (!options.record.empty()) {
        frame.mode = RunMode::Recording;
        frame.record_path = absolute_path(options.record);
    }
    // A live run without a display would run on unseen and could only be killed.
    if (frame.mode != RunMode::Scripted && !platform::display_available()) {
        std::fprintf(stderr, "no display: run under a desktop session, or use --script\n");
        return 2;
    }
    frame.max_ms = options.max_ms;
    // Written at the end, wherever the program then stands: relative to where it was started.
    if (!options.audio_out.empty()) frame.audio_out_path = absolute_path(options.audio_out);
    if (!options.dump_at_exit.empty())
        frame.dump_at_exit_path = absolute_path(options.dump_at_exit);
    StartSettings start = settings;
    if (options.display != 0) start.fullscreen = options.display > 0;

    runtime_init(start);
    set_error_line(0, 0);
    set_error_code(0);
    game_main();
    runtime_end();
}
