// datagen OUT_DIR [graphics|audio]: writes every data file of the game under OUT_DIR (or only
// the graphics or only the audio part). datagen OUT_DIR icons: the desktop icons instead.
#include "datagen.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    const std::string part = argc == 3 ? argv[2] : "";
    if (argc < 2 || argc > 3 ||
        (argc == 3 && part != "graphics" && part != "audio" && part != "icons")) {
        std::fprintf(stderr, "usage: datagen OUT_DIR [graphics|audio|icons]\n");
        return 2;
    }
    if (part == "icons") return generate_icons(argv[1]) ? 0 : 1;
    bool ok = true;
    if (part != "audio") ok = generate_graphics(argv[1]) && ok;
    if (part != "graphics") ok = generate_audio(argv[1]) && ok;
    return ok ? 0 : 1;
}
