// generate_graphics: writes every model, texture, picture and font of the game.
#include "datagen.h"
#include "gfx_image.h"
#include "models.h"
#include "textures.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

// Replaces the file atomically: a temporary file beside it, flushed, then renamed over it.
// An unchanged file is left alone, so its time stamp stays.
bool write_atomic(const std::string& path, const std::string& bytes) {
    {
        std::ifstream in(path, std::ios::binary);
        if (in) {
            std::string old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (old == bytes) return true;
        }
    }
    const std::string tmp = path + ".tmp";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fflush(f) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (ok) ok = std::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) std::remove(tmp.c_str());
    return ok;
}

struct Writer {
    std::string dir;
    bool ok = true;
    void file(const std::string& name, const std::string& bytes) {
        if (!write_atomic(dir + "/" + name, bytes)) {
            std::fprintf(stderr, "datagen: cannot write %s/%s\n", dir.c_str(), name.c_str());
            ok = false;
        }
    }
    void image(const std::string& name, const gen::Image& img, bool keyed = false) {
        file(name, gen::bmp_bytes(img, keyed));
    }
    void model(const std::string& name, const gen::Mesh& m) { file(name, m.to_ddda(name)); }
};

} // namespace

bool generate_graphics(const std::string& out_dir) {
    using namespace gen;
    std::error_code ec;
    std::filesystem::create_directories(out_dir + "/gfx", ec);
    if (ec) {
        std::fprintf(stderr, "datagen: cannot create %s/gfx\n", out_dir.c_str());
        return false;
    }
    // The lettering comes from the DejaVu fonts; without them the fonts and pictures would be
    // blank, so stop here with a clear message instead.
    for (const std::string* font : {&font_sans(), &font_sans_bold(), &font_mono_bold()}) {
        if (!std::filesystem::exists(*font)) {
            std::fprintf(stderr, "datagen: missing %s (Debian package fonts-dejavu-core)\n",
                         font->c_str());
            return false;
        }
    }
    Writer w{out_dir};

    w.model("gfx/stahltraeger.ddd", girder_model(0));
    w.model("gfx/stahltraeger_mitte.ddd", girder_model(1));
    w.model("gfx/stahltraeger_seite.ddd", girder_model(2));
    w.image("gfx/stahltraeger.bmp", girder_texture(false));
    w.image("gfx/stahltraeger_static.bmp", girder_texture(true));
    w.model("gfx/boden.ddd", floor_model());
    w.model("gfx/aufzug.ddd", lift_model());
    w.model("gfx/remote.ddd", remote_model());
    w.image("gfx/remote.bmp", remote_texture());
    w.model("gfx/schraube.ddd", bolt_model());
    w.image("gfx/schraube.bmp", bolt_texture(false));
    w.image("gfx/schraube_doof.bmp", bolt_texture(true));
    w.model("gfx/worker.ddd", worker_model());
    w.image("gfx/worker.bmp", worker_texture());
    w.model("gfx/skydome.ddd", sky_dome_model(100.0f, 24, 16));
    w.image("gfx/hintergrund.bmp", sky_picture());
    w.model("gfx/skydome-sky.ddd", sky_dome_model(90.0f, 24, 16));
    w.image("gfx/hintergrund_sky.bmp", sky_layer_picture());
    w.model("gfx/skydome-superman.ddd", ride_layer_model());
    w.image("gfx/superman.bmp", ride_layer_picture(), true);
    w.model("gfx/Stadt.ddd", city_model());
    w.image("gfx/Stadt.bmp", city_texture());
    w.model("gfx/logo.ddd", logo_model());
    w.model("gfx/status_01.ddd", lives_model());
    w.model("gfx/status_02.ddd", clock_model());
    w.image("gfx/wecker.bmp", clock_texture());
    w.model("gfx/status_03.ddd", score_model());

    w.image("gfx/splash.bmp", splash_picture());
    w.image("gfx/Trelmond.bmp", studio_picture());
    w.image("gfx/Credits.bmp", credits_picture());

    w.image("bigfont.bmp", big_font());
    w.image("smalfont.bmp", small_font());
    return w.ok;
}
