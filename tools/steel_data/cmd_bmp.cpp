// steel_data bmp FILE [--texel X Y]...: what the sprite loader makes of a BMP file.
#include "command.h"

#include "graphics/bmp.h"
#include "runtime/files.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool parse_int(const char* s, int& out) {
    char* end = nullptr;
    long v = std::strtol(s, &end, 10);
    if (!s[0] || *end || v < -2147483647L || v > 2147483647L) return false;
    out = int(v);
    return true;
}

int cmd_bmp(int argc, char** argv) {
    if (argc < 2) return usage_error("usage: steel_data bmp FILE [--texel X Y]...");
    std::vector<std::pair<int, int>> texels;
    for (int i = 2; i < argc; i += 3) {
        int x, y;
        if (std::string(argv[i]) != "--texel" || i + 2 >= argc || !parse_int(argv[i + 1], x) ||
            !parse_int(argv[i + 2], y))
            return usage_error("usage: steel_data bmp FILE [--texel X Y]...");
        texels.emplace_back(x, y);
    }
    if (!file_readable(argv[1])) return json_error("cannot read file");
    auto bytes = read_file(argv[1]);
    if (!bytes) return json_error("cannot read file");
    // As a sprite: colour key 8388863 with edge bleeding.
    BmpConvertOptions options;
    options.keyed = true;
    options.key = kSpriteColourKey;
    options.bleed = true;
    TexelImage image;
    std::string error;
    int bits = 0;
    if (!decode_bmp(bytes->data(), bytes->size(), options, image, &error, &bits))
        return json_error(error);
    std::string out = "{\"width\":" + std::to_string(image.width) +
                      ",\"height\":" + std::to_string(image.height) +
                      ",\"texture_width\":" + std::to_string(image.texture_width) +
                      ",\"texture_height\":" + std::to_string(image.texture_height) +
                      ",\"bits\":" + std::to_string(bits);
    if (!texels.empty()) {
        out += ",\"texels\":[";
        for (size_t i = 0; i < texels.size(); ++i) {
            auto [x, y] = texels[i];
            if (x < 0 || y < 0 || x >= image.texture_width || y >= image.texture_height)
                return json_error("texel " + std::to_string(x) + " " + std::to_string(y) +
                                   " outside the texture");
            const uint8_t* t = &image.texels[(size_t(y) * image.texture_width + x) * 4];
            out += (i ? ",[" : "[") + std::to_string(t[0]) + "," + std::to_string(t[1]) + "," +
                   std::to_string(t[2]) + "," + std::to_string(t[3]) + "]";
        }
        out += "]";
    }
    out += "}";
    std::printf("%s\n", out.c_str());
    return 0;
}

const CommandRegistrar reg("bmp", "bmp FILE [--texel X Y]...", cmd_bmp);

} // namespace
