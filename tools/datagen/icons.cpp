// generate_icons: the desktop icon in the hicolor sizes, as PNG files with an alpha channel:
// a steel girder with two bolts on a sky-blue rounded square.
#include "datagen.h"
#include "gfx_image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <png.h>
#include <string>
#include <vector>

namespace {

// Opacity of a rounded square filling the icon (anti-aliased over one pixel).
float rounded_square_alpha(float x, float y, float size) {
    const float margin = size * 0.04f, radius = size * 0.18f;
    const float lo = margin + radius, hi = size - margin - radius;
    const float dx = std::max({lo - x, 0.0f, x - hi}), dy = std::max({lo - y, 0.0f, y - hi});
    const float d = std::sqrt(dx * dx + dy * dy) - radius;
    return std::clamp(0.5f - d, 0.0f, 1.0f);
}

gen::Image icon_picture(int size) {
    using namespace gen;
    const float s = float(size);
    Image img(size, size);
    img.gradient_rect(0, 0, size, size, rgb(70, 140, 215), rgb(170, 210, 245));
    // A cloud and the girder, slightly tilted upwards to the right.
    img.disc(s * 0.30f, s * 0.30f, s * 0.10f, rgb(245, 248, 252), 0.8f);
    img.disc(s * 0.40f, s * 0.26f, s * 0.12f, rgb(245, 248, 252), 0.8f);
    const float y0 = s * 0.62f, y1 = s * 0.46f;
    img.line(s * 0.12f, y0 + s * 0.03f, s * 0.88f, y1 + s * 0.03f, s * 0.20f, rgb(20, 30, 45),
             0.35f);
    img.line(s * 0.12f, y0, s * 0.88f, y1, s * 0.18f, rgb(200, 70, 40));
    img.line(s * 0.12f, y0 - s * 0.07f, s * 0.88f, y1 - s * 0.07f, s * 0.03f, rgb(235, 120, 80));
    img.line(s * 0.12f, y0 + s * 0.07f, s * 0.88f, y1 + s * 0.07f, s * 0.03f, rgb(130, 40, 25));
    img.rivet(s * 0.22f, y0 - (y0 - y1) * 0.13f, s * 0.05f, rgb(190, 195, 205));
    img.rivet(s * 0.78f, y0 - (y0 - y1) * 0.87f, s * 0.05f, rgb(190, 195, 205));
    return img;
}

bool write_png(const std::string& path, const gen::Image& img) {
    const int size = img.width();
    std::vector<uint8_t> rgba(size_t(size) * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const gen::Rgb c = img.at(x, y);
            uint8_t* p = &rgba[(size_t(y) * size + x) * 4];
            p[0] = uint8_t(std::lround(std::clamp(c.r, 0.0f, 1.0f) * 255));
            p[1] = uint8_t(std::lround(std::clamp(c.g, 0.0f, 1.0f) * 255));
            p[2] = uint8_t(std::lround(std::clamp(c.b, 0.0f, 1.0f) * 255));
            p[3] =
                uint8_t(std::lround(rounded_square_alpha(x + 0.5f, y + 0.5f, float(size)) * 255));
        }
    const std::string tmp = path + ".tmp";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        std::remove(tmp.c_str());
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, png_uint_32(size), png_uint_32(size), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < size; ++y)
        png_write_row(png, &rgba[size_t(y) * size * 4]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    const bool ok = std::fflush(f) == 0 && std::fclose(f) == 0;
    return ok && std::rename(tmp.c_str(), path.c_str()) == 0;
}

} // namespace

bool generate_icons(const std::string& out_dir) {
    for (int size : {48, 64, 128, 256}) {
        const std::string dir =
            out_dir + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        if (ec || !write_png(dir + "/steel_spree.png", icon_picture(size))) {
            std::fprintf(stderr, "datagen: cannot write the %d pixel icon under %s\n", size,
                         dir.c_str());
            return false;
        }
    }
    return true;
}
