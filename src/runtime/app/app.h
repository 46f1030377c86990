#pragma once
// The application frame: start settings, runtime_init and the program's entry.

struct StartSettings {
    int width = 800;
    int height = 600;
    bool fullscreen = true;
    int fps_limit = 60;
    bool debug = false;
    bool mouse_device = true;
    const char* title = "Steel_Spree";
};

// Reads the runtime options (--windowed, --fullscreen, --script, --record, --seed, --max-ms,
// --level), calls runtime_init with the settings and runs game_main, which never returns: every
// way out of the program goes through runtime_end.
int runtime_main(int argc, char** argv, const StartSettings& settings, void (*game_main)());
