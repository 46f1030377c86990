// datagen OUT_DIR: writes every data file of the game under OUT_DIR.
#include "datagen.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: datagen OUT_DIR\n");
        return 2;
    }
    bool ok = generate_graphics(argv[1]);
    ok = generate_audio(argv[1]) && ok;
    return ok ? 0 : 1;
}
