// The graphics written by the data generator: every file the game loads, in a form its loaders
// and independent readers accept, within the drawing budget, and the same on every run.
#include "graphics/bmp.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "platform/gl.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string datagen() {
    return std::string(SS_BIN_DIR) + "/datagen";
}

// One generator run per test process, into a fresh folder.
const std::string& generated() {
    static const std::string dir = [] {
        std::string d = make_temp_dir();
        std::string out;
        if (run_command(datagen() + " " + d + " graphics", &out) != 0) {
            std::fprintf(stderr, "datagen failed: %s\n", out.c_str());
            return std::string();
        }
        return d;
    }();
    return dir;
}

// ---- BMP ----------------------------------------------------------------------------------

struct Bmp {
    int width = 0, height = 0, bpp = 0;
    uint32_t offset = 0, compression = 0;
    std::vector<uint8_t> rgb; // rows from the top
    uint8_t r(int x, int y) const { return rgb[(size_t(y) * width + x) * 3]; }
    uint8_t g(int x, int y) const { return rgb[(size_t(y) * width + x) * 3 + 1]; }
    uint8_t b(int x, int y) const { return rgb[(size_t(y) * width + x) * 3 + 2]; }
    bool black(int x, int y) const { return r(x, y) == 0 && g(x, y) == 0 && b(x, y) == 0; }
};

uint32_t le32(const std::string& s, size_t at) {
    return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8 |
           uint32_t(uint8_t(s[at + 2])) << 16 | uint32_t(uint8_t(s[at + 3])) << 24;
}

// Reads an uncompressed 24-bit bottom-up BMP as the game does; false when it is anything else.
bool read_bmp(const std::string& path, Bmp* out) {
    const std::string s = read_text(path);
    if (s.size() < 54 || s[0] != 'B' || s[1] != 'M') return false;
    out->offset = le32(s, 10);
    out->width = int32_t(le32(s, 18));
    out->height = int32_t(le32(s, 22));
    out->bpp = uint8_t(s[28]) | uint8_t(s[29]) << 8;
    out->compression = le32(s, 30);
    if (out->bpp != 24 || out->width <= 0 || out->height <= 0) return false;
    const size_t stride = (size_t(out->width) * 3 + 3) & ~size_t(3);
    if (le32(s, 2) != s.size() || out->offset + stride * out->height != s.size()) return false;
    out->rgb.resize(size_t(out->width) * out->height * 3);
    for (int y = 0; y < out->height; ++y)
        for (int x = 0; x < out->width; ++x) {
            size_t src = out->offset + size_t(out->height - 1 - y) * stride + size_t(x) * 3;
            size_t dst = (size_t(y) * out->width + x) * 3;
            out->rgb[dst] = uint8_t(s[src + 2]);
            out->rgb[dst + 1] = uint8_t(s[src + 1]);
            out->rgb[dst + 2] = uint8_t(s[src]);
        }
    return true;
}

struct Picture {
    const char* name;
    int width, height;
};

const Picture kPictures[] = {
    {"gfx/stahltraeger.bmp", 256, 256}, {"gfx/stahltraeger_static.bmp", 256, 256},
    {"gfx/remote.bmp", 128, 128},       {"gfx/schraube.bmp", 64, 64},
    {"gfx/schraube_doof.bmp", 64, 64},  {"gfx/worker.bmp", 256, 256},
    {"gfx/hintergrund.bmp", 800, 600},  {"gfx/hintergrund_sky.bmp", 512, 512},
    {"gfx/superman.bmp", 512, 512},     {"gfx/Stadt.bmp", 512, 512},
    {"gfx/wecker.bmp", 256, 256},       {"gfx/splash.bmp", 800, 600},
    {"gfx/Trelmond.bmp", 800, 600},     {"gfx/Credits.bmp", 800, 600},
    {"bigfont.bmp", 240, 160},          {"smalfont.bmp", 128, 128},
};

// ---- Text models --------------------------------------------------------------------------

struct Vertex {
    double x, y, z, nx, ny, nz;
};

struct Model {
    double version = 0;
    std::vector<std::pair<double, double>> uvs;
    struct Face {
        int r, g, b;
        std::vector<std::pair<int, int>> corners;
    };
    std::vector<Face> faces;
    std::vector<std::vector<Vertex>> frames;
    int triangles() const {
        int n = 0;
        for (const Face& f : faces)
            n += int(f.corners.size()) - 2;
        return n;
    }
};

// Reads a text model strictly: every count present, every index in range.
bool read_model(const std::string& path, Model* m, std::string* why) {
    std::istringstream lines(read_text(path));
    std::vector<std::string> tok;
    std::string line;
    while (std::getline(lines, line)) {
        auto hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream ls(line);
        std::string t;
        while (ls >> t)
            tok.push_back(t);
    }
    size_t at = 0;
    auto next = [&](double* v) {
        if (at >= tok.size()) return false;
        char* end = nullptr;
        *v = std::strtod(tok[at].c_str(), &end);
        return end && *end == '\0' && ++at;
    };
    auto count = [&](int* n, int max) {
        double v;
        if (!next(&v) || v < 0 || v > max || v != std::floor(v)) return false;
        *n = int(v);
        return true;
    };
    if (tok.empty() || tok[0] != "DDDA") return *why = "not DDDA", false;
    at = 1;
    if (!next(&m->version)) return *why = "no version", false;
    int nuv = 0;
    if (!count(&nuv, 1 << 20)) return *why = "uv count", false;
    m->uvs.resize(size_t(nuv));
    for (auto& [u, v] : m->uvs)
        if (!next(&u) || !next(&v)) return *why = "uv pair", false;
    int nfaces = 0;
    if (!count(&nfaces, 1 << 20)) return *why = "face count", false;
    m->faces.resize(size_t(nfaces));
    for (auto& f : m->faces) {
        int k = 0;
        if (!count(&f.r, 255) || !count(&f.g, 255) || !count(&f.b, 255) || !count(&k, 64) || k < 3)
            return *why = "face header", false;
        f.corners.resize(size_t(k));
        for (auto& [vi, ui] : f.corners)
            if (!count(&vi, 1 << 20) || !count(&ui, nuv - 1)) return *why = "face corner", false;
    }
    int nframes = 0;
    if (!count(&nframes, 1000) || nframes < 1) return *why = "frame count", false;
    m->frames.resize(size_t(nframes));
    for (auto& fr : m->frames) {
        int n = 0;
        if (!count(&n, 1 << 20)) return *why = "vertex count", false;
        fr.resize(size_t(n));
        for (Vertex& v : fr)
            if (!next(&v.x) || !next(&v.y) || !next(&v.z) || !next(&v.nx) || !next(&v.ny) ||
                !next(&v.nz))
                return *why = "vertex", false;
    }
    if (at != tok.size()) return *why = "trailing data", false;
    for (const auto& f : m->faces)
        for (auto [vi, ui] : f.corners)
            for (const auto& fr : m->frames)
                if (vi >= int(fr.size())) return *why = "vertex index out of range", false;
    return true;
}

// Signed volume of a closed model's first frame, corners taken in file order. Faces wound
// clockwise seen from outside give a negative volume.
double signed_volume(const Model& m) {
    double vol = 0;
    const auto& v = m.frames[0];
    for (const auto& f : m.faces)
        for (size_t k = 1; k + 1 < f.corners.size(); ++k) {
            const Vertex& a = v[size_t(f.corners[0].first)];
            const Vertex& b = v[size_t(f.corners[k].first)];
            const Vertex& c = v[size_t(f.corners[k + 1].first)];
            vol += (a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) +
                    a.z * (b.x * c.y - b.y * c.x)) /
                   6;
        }
    return vol;
}

struct ModelSpec {
    const char* name;
    int frames;
    int max_triangles;
    const char* texture; // nullptr: vertex colours
};

const ModelSpec kModels[] = {
    {"gfx/stahltraeger.ddd", 1, 60, "gfx/stahltraeger.bmp"},
    {"gfx/stahltraeger_mitte.ddd", 1, 60, "gfx/stahltraeger.bmp"},
    {"gfx/stahltraeger_seite.ddd", 1, 60, "gfx/stahltraeger.bmp"},
    {"gfx/boden.ddd", 1, 60, nullptr},
    {"gfx/aufzug.ddd", 1, 300, nullptr},
    {"gfx/remote.ddd", 1, 150, "gfx/remote.bmp"},
    {"gfx/schraube.ddd", 1, 50, "gfx/schraube.bmp"},
    {"gfx/worker.ddd", 6, 600, "gfx/worker.bmp"},
    {"gfx/skydome.ddd", 1, 800, "gfx/hintergrund.bmp"},
    {"gfx/skydome-sky.ddd", 1, 800, "gfx/hintergrund_sky.bmp"},
    {"gfx/skydome-superman.ddd", 1, 800, "gfx/superman.bmp"},
    {"gfx/Stadt.ddd", 1, 2500, "gfx/Stadt.bmp"},
    {"gfx/logo.ddd", 1, 1500, nullptr},
    {"gfx/status_01.ddd", 1, 300, "gfx/worker.bmp"},
    {"gfx/status_02.ddd", 1, 300, "gfx/wecker.bmp"},
    {"gfx/status_03.ddd", 1, 300, nullptr},
};

Model load(const char* name) {
    Model m;
    std::string why;
    EXPECT_TRUE(read_model(generated() + "/" + name, &m, &why)) << name << ": " << why;
    return m;
}

struct Bounds {
    double lo[3] = {1e30, 1e30, 1e30}, hi[3] = {-1e30, -1e30, -1e30};
};

Bounds bounds(const std::vector<Vertex>& frame) {
    Bounds b;
    for (const Vertex& v : frame) {
        const double p[3] = {v.x, v.y, v.z};
        for (int i = 0; i < 3; ++i) {
            b.lo[i] = std::min(b.lo[i], p[i]);
            b.hi[i] = std::max(b.hi[i], p[i]);
        }
    }
    return b;
}

} // namespace

TEST(DatagenGraphics, WritesEveryPictureAsA24BitBmpThatIdentifyAccepts) {
    ASSERT_FALSE(generated().empty());
    for (const Picture& p : kPictures) {
        SCOPED_TRACE(p.name);
        const std::string path = generated() + "/" + p.name;
        Bmp bmp;
        ASSERT_TRUE(read_bmp(path, &bmp));
        EXPECT_EQ(bmp.width, p.width);
        EXPECT_EQ(bmp.height, p.height);
        EXPECT_EQ(bmp.offset, 54u);
        EXPECT_EQ(bmp.compression, 0u);
        std::string out;
        ASSERT_EQ(run_command("/usr/bin/identify -format '%m %w %h' '" + path + "'", &out), 0)
            << out;
        EXPECT_EQ(out, "BMP3 " + std::to_string(p.width) + " " + std::to_string(p.height));
    }
}

TEST(DatagenGraphics, TexturesFitTheDrawingLimits) {
    ASSERT_FALSE(generated().empty());
    const std::set<std::string> pictures = {"gfx/hintergrund.bmp", "gfx/splash.bmp",
                                            "gfx/Trelmond.bmp", "gfx/Credits.bmp"};
    for (const Picture& p : kPictures) {
        SCOPED_TRACE(p.name);
        Bmp bmp;
        ASSERT_TRUE(read_bmp(generated() + "/" + p.name, &bmp));
        if (!pictures.count(p.name)) {
            EXPECT_LE(bmp.width, 512);
            EXPECT_LE(bmp.height, 512);
        }
        // Only the ride layer uses the transparent colour; elsewhere it would punch holes.
        size_t keyed = 0;
        for (int y = 0; y < bmp.height; ++y)
            for (int x = 0; x < bmp.width; ++x)
                keyed += bmp.r(x, y) == 255 && bmp.g(x, y) == 0 && bmp.b(x, y) == 128;
        if (std::string(p.name) == "gfx/superman.bmp") {
            EXPECT_GT(keyed, size_t(bmp.width * bmp.height) / 4);
            EXPECT_LT(keyed, size_t(bmp.width * bmp.height) * 9 / 10);
        } else {
            EXPECT_EQ(keyed, 0u);
        }
    }
}

TEST(DatagenGraphics, FontsHaveOutlinedGlyphsOfTheRightSize) {
    ASSERT_FALSE(generated().empty());
    struct FontSpec {
        const char* name;
        int glyph_w, glyph_h;
    };
    for (FontSpec f : {FontSpec{"bigfont.bmp", 15, 20}, FontSpec{"smalfont.bmp", 8, 16}}) {
        SCOPED_TRACE(f.name);
        Bmp bmp;
        ASSERT_TRUE(read_bmp(generated() + "/" + f.name, &bmp));
        // 16 columns; as wide as high or wider: 8 rows, codes 0..127.
        ASSERT_GE(bmp.width, bmp.height);
        EXPECT_EQ(bmp.width / 16, f.glyph_w);
        EXPECT_EQ(bmp.height / 8, f.glyph_h);
        auto cell = [&](int code, int* lit, int* outline) {
            *lit = *outline = 0;
            for (int y = 0; y < f.glyph_h; ++y)
                for (int x = 0; x < f.glyph_w; ++x) {
                    int px = (code % 16) * f.glyph_w + x, py = (code / 16) * f.glyph_h + y;
                    if (bmp.black(px, py)) continue;
                    int sum = bmp.r(px, py) + bmp.g(px, py) + bmp.b(px, py);
                    if (sum > 400) ++*lit;
                    if (sum < 150) ++*outline;
                }
        };
        int lit = 0, outline = 0;
        cell(' ', &lit, &outline);
        EXPECT_EQ(lit + outline, 0) << "space is not empty";
        for (const char* set : {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz",
                                "0123456789", "[]-:.!?()+"}) {
            for (const char* c = set; *c; ++c) {
                cell(*c, &lit, &outline);
                EXPECT_GT(lit, 3) << "glyph '" << *c << "' has no bright pixels";
                EXPECT_GT(outline, 3) << "glyph '" << *c << "' has no dark outline";
            }
        }
    }
    // The menu's longest line (26 characters from x = 204) fits its box, which ends at 616.
    Bmp big;
    ASSERT_TRUE(read_bmp(generated() + "/bigfont.bmp", &big));
    EXPECT_LE(int(std::string("[F4] Spin the Steel - Yay!").size()) * (big.width / 16), 616 - 204);
}

TEST(DatagenGraphics, ModelsParseWithTheirFramesAndStayWithinBudget) {
    ASSERT_FALSE(generated().empty());
    for (const ModelSpec& model : kModels) {
        SCOPED_TRACE(model.name);
        Model m = load(model.name);
        EXPECT_EQ(m.version, 1.1); // normals present
        ASSERT_EQ(int(m.frames.size()), model.frames);
        EXPECT_GT(m.triangles(), 0);
        EXPECT_LE(m.triangles(), model.max_triangles);
        std::set<int> colours;
        for (const auto& f : m.faces)
            colours.insert(f.r | f.g << 8 | f.b << 16);
        EXPECT_LT(colours.size(), 256u); // colour indices are one byte, with the fan marker
        for (const auto& fr : m.frames) {
            EXPECT_EQ(fr.size(), m.frames[0].size()) << "frames differ in vertex count";
            for (const Vertex& v : fr)
                EXPECT_NEAR(std::sqrt(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz), 1.0, 0.01);
        }
        if (model.texture) {
            // Textured models are white so the texture shows as painted, and their texture
            // coordinates stay on the picture (drawn as (u, -v), the picture in the lower left
            // of its power-of-two texture), except the ride layer, which repeats.
            Bmp tex;
            ASSERT_TRUE(read_bmp(generated() + "/" + model.texture, &tex));
            double umax = 1, vmax = 1;
            int tw = 1, th = 1;
            while (tw < tex.width)
                tw *= 2;
            while (th < tex.height)
                th *= 2;
            umax = double(tex.width) / tw;
            vmax = double(tex.height) / th;
            for (const auto& f : m.faces) {
                EXPECT_EQ(f.r + f.g + f.b, 3 * 255);
                if (std::string(model.name) == "gfx/skydome-superman.ddd") continue;
                for (auto [vi, ui] : f.corners) {
                    auto [u, v] = m.uvs[size_t(ui)];
                    EXPECT_GE(u, -1e-6);
                    EXPECT_LE(u, umax + 1e-6);
                    EXPECT_GE(-v, -1e-6);
                    EXPECT_LE(-v, vmax + 1e-6);
                }
            }
        }
    }
}

TEST(DatagenGraphics, ModelsAreWoundClockwiseSeenFromWhereTheyAreSeen) {
    ASSERT_FALSE(generated().empty());
    // A whole girder cell: the I profile (two flanges 2 x 0.2, a web 0.24 x 0.8) 2 units long,
    // closed at both ends, seen from outside. The bolt plates beside the web are open shells
    // (their faces against the steel are never seen) and add less than 0.1.
    EXPECT_NEAR(signed_volume(load("gfx/stahltraeger.ddd")), -(2 * 2 * 0.2 + 0.24 * 0.8) * 2, 0.1);
    EXPECT_NEAR(signed_volume(load("gfx/boden.ddd")), -(2 * 2 * 0.45), 1e-3);
    EXPECT_LT(signed_volume(load("gfx/status_03.ddd")), 0);
    EXPECT_LT(signed_volume(load("gfx/status_02.ddd")), 0);
    // Sky domes are seen from inside.
    for (const char* dome :
         {"gfx/skydome.ddd", "gfx/skydome-sky.ddd", "gfx/skydome-superman.ddd"}) {
        Model m = load(dome);
        Bounds b = bounds(m.frames[0]);
        double r = (b.hi[0] - b.lo[0]) / 2;
        EXPECT_GT(signed_volume(m), 0.9 * 4.0 / 3.0 * M_PI * r * r * r) << dome;
    }
}

TEST(DatagenGraphics, ModelsFollowThePlacementConventionsOfTheScene) {
    ASSERT_FALSE(generated().empty());
    // Pad cells: 2 x 2 units centred on the origin, walking surface at y = 0, body below, as
    // deep as they have always been (girders 1.2, the floor slab 0.45), so the scene, its
    // outlines and the rules see the same blocks whatever the detail on them.
    const std::pair<const char*, double> pads[] = {{"gfx/stahltraeger.ddd", -1.2},
                                                   {"gfx/stahltraeger_mitte.ddd", -1.2},
                                                   {"gfx/stahltraeger_seite.ddd", -1.2},
                                                   {"gfx/boden.ddd", -0.45}};
    for (auto [pad, depth] : pads) {
        SCOPED_TRACE(pad);
        Bounds b = bounds(load(pad).frames[0]);
        EXPECT_NEAR(b.hi[1], 0, 1e-4);
        EXPECT_NEAR(b.lo[1], depth, 1e-4);
        for (int axis : {0, 2}) {
            EXPECT_NEAR(b.lo[axis], -1, 1e-4);
            EXPECT_NEAR(b.hi[axis], 1, 1e-4);
        }
    }
    // The end piece is closed towards +z only; the middle piece at neither end.
    auto end_faces = [](const Model& m, double z) {
        int n = 0;
        for (const auto& f : m.faces) {
            bool all = true;
            for (auto [vi, ui] : f.corners)
                all = all && std::fabs(m.frames[0][size_t(vi)].z - z) < 1e-4;
            n += all;
        }
        return n;
    };
    Model seite = load("gfx/stahltraeger_seite.ddd"), mitte = load("gfx/stahltraeger_mitte.ddd");
    EXPECT_GT(end_faces(seite, 1), 0);
    EXPECT_EQ(end_faces(seite, -1), 0);
    EXPECT_EQ(end_faces(mitte, 1) + end_faces(mitte, -1), 0);
    // The worker: feet on the ground in every frame, 5 units tall standing (1.6 at scale 0.32),
    // arms above the head when cheering.
    Model w = load("gfx/worker.ddd");
    for (const auto& fr : w.frames)
        EXPECT_NEAR(bounds(fr).lo[1], 0, 0.08);
    Bounds stand = bounds(w.frames[1]), cheer = bounds(w.frames[5]), crouch = bounds(w.frames[3]);
    EXPECT_NEAR(stand.hi[1] * 0.32, 1.6, 0.1);
    EXPECT_GT(cheer.hi[1], stand.hi[1] + 0.5);
    EXPECT_LT(crouch.hi[1], stand.hi[1] - 0.8);
    // The logo, 7 units in front of a 45-degree camera, stays in the upper third of the screen.
    Bounds logo = bounds(load("gfx/logo.ddd").frames[0]);
    const double half_h = std::tan(22.5 * M_PI / 180) * 7;
    EXPECT_GT(logo.lo[1], half_h / 3);
    EXPECT_LT(logo.hi[1], half_h);
    EXPECT_LT(std::max(-logo.lo[0], logo.hi[0]), half_h * 4 / 3);
    // The city lies below the site, its streets about 25 units down.
    Bounds city = bounds(load("gfx/Stadt.ddd").frames[0]);
    EXPECT_NEAR(city.lo[1], -25, 1);
    EXPECT_LE(city.hi[1], -5 + 1e-3); // well below the girders (1.2 deep)
}

TEST(DatagenGraphics, TwoRunsWriteTheSameBytes) {
    ASSERT_FALSE(generated().empty());
    const std::string second = make_temp_dir();
    ASSERT_EQ(run_command(datagen() + " " + second + " graphics"), 0);
    namespace fs = std::filesystem;
    std::map<std::string, std::string> first_files;
    for (const auto& e : fs::recursive_directory_iterator(generated()))
        if (e.is_regular_file())
            first_files[fs::relative(e.path(), generated()).string()] = read_text(e.path());
    size_t compared = 0;
    for (const auto& e : fs::recursive_directory_iterator(second)) {
        if (!e.is_regular_file()) continue;
        std::string rel = fs::relative(e.path(), second).string();
        ASSERT_TRUE(first_files.count(rel)) << rel;
        EXPECT_TRUE(first_files[rel] == read_text(e.path())) << rel << " differs between runs";
        ++compared;
    }
    EXPECT_EQ(compared, first_files.size());
    EXPECT_EQ(compared, std::size(kPictures) + std::size(kModels));
}

TEST(DatagenGraphics, TheGamesOwnLoadersTakeThePicturesAndFonts) {
    ASSERT_FALSE(generated().empty());
    for (const Picture& p : kPictures) {
        SCOPED_TRACE(p.name);
        const std::string bytes = read_text(generated() + "/" + p.name);
        BmpConvertOptions sprite;
        sprite.keyed = true;
        sprite.key = kSpriteColourKey;
        sprite.bleed = true;
        TexelImage img;
        std::string error;
        ASSERT_TRUE(decode_bmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), sprite,
                               img, &error))
            << error;
        EXPECT_EQ(img.width, p.width);
        EXPECT_EQ(img.height, p.height);
    }

    // The menu font in the game's text drawing: the longest menu line ends inside the menu box
    // (x 184..616), drawn in bright glyphs with a dark outline.
    ASSERT_TRUE(open_test_window());
    gfx_device_init(800, 600);
    set_viewport(0, 0, 0, 0);
    set_alpha_mode(0);
    glClear(GL_COLOR_BUFFER_BIT);
    load_font((generated() + "/bigfont.bmp").c_str(), 0);
    double gw = 0, gh = 0;
    font_size(gw, gh);
    EXPECT_EQ(gw, 15);
    EXPECT_EQ(gh, 20);
    print_text("[F4] Spin the Steel - Yay!", 204, 504);
    const std::vector<uint8_t> screen = read_screen();
    int right = -1, bright = 0, dark = 0, outside = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const uint8_t* px = &screen[(size_t(y) * 800 + x) * 4];
            const int sum = px[0] + px[1] + px[2];
            if (sum == 0) continue;
            if (y < 504 || y >= 524) ++outside;
            right = std::max(right, x);
            bright += sum > 500;
            dark += sum < 150;
        }
    EXPECT_EQ(outside, 0);
    EXPECT_GE(right, 204 + 25 * 15); // the last glyph is drawn
    EXPECT_LT(right, 616);
    EXPECT_GT(bright, 400);
    EXPECT_GT(dark, 400);
    load_font((generated() + "/smalfont.bmp").c_str(), 1);
    font_size(gw, gh);
    EXPECT_EQ(gw, 8);
    EXPECT_EQ(gh, 16);
    gfx_device_shutdown();
}

TEST(DatagenGraphics, TheGamesModelLoaderTakesEveryModel) {
    ASSERT_FALSE(generated().empty());
    for (const ModelSpec& model : kModels) {
        SCOPED_TRACE(model.name);
        Model m = load(model.name);
        std::string out;
        ASSERT_EQ(
            run_command(data_tool() + " model '" + generated() + "/" + model.name + "'", &out), 0)
            << out;
        EXPECT_NE(out.find("\"variant\":\"text\""), std::string::npos) << out;
        EXPECT_NE(out.find("\"frames\":" + std::to_string(model.frames) + ","), std::string::npos)
            << out;
        // Every frame: each face a fan of its own (one marker and its corners), all triangles.
        size_t corners = 0;
        for (const auto& f : m.faces)
            corners += f.corners.size();
        const std::string frame = "{\"vertices\":" + std::to_string(corners + m.faces.size()) +
                                  ",\"triangles\":" + std::to_string(m.triangles()) + ",";
        size_t count = 0;
        for (size_t at = out.find(frame); at != std::string::npos; at = out.find(frame, at + 1))
            ++count;
        EXPECT_EQ(count, size_t(model.frames)) << out;
        // Textured models draw their texture as painted; the others carry vertex colours.
        EXPECT_NE(out.find(model.texture ? "\"has_colours\":false" : "\"has_colours\":true"),
                  std::string::npos)
            << out;
    }
}
