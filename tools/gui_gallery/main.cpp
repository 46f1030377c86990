// gui_gallery: shows every widget type of the toolkit in two overlapping dialogs and prints the
// events it reads (one line each on stdout). Runs on the runtime like the game, so it takes the
// runtime's options (--windowed, --script FILE, ...); the script command `dump FILE` writes the
// active dialog's rows and widget boxes as JSON.
#include "gallery.h"
#include "runtime/app/app.h"

int main(int argc, char** argv) {
    StartSettings settings;
    settings.fullscreen = false;
    settings.title = "Steel_Spree widget gallery";
    return runtime_main(argc, argv, settings, GalleryMain);
}
