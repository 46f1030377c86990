#include "platform/paths.h"

#include <SDL.h>

namespace platform {

std::string user_pref_dir() {
    char* path = SDL_GetPrefPath("", "steel_spree");
    if (!path) return {};
    std::string dir = path;
    SDL_free(path);
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return dir;
}

} // namespace platform
