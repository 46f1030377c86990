// The graphics device: slot table, texture upload, the 2D drawing state and the alpha mode.
#include "graphics/device.h"

#include "graphics/texture.h"
#include "runtime/errors.h"
#include "runtime/files.h"
#include "runtime/numbers.h"

#include <algorithm>
#include <cmath>
#include <sys/stat.h>

OpenGLZivevidu gfx;

namespace {

void delete_texture(GLuint& name) {
    if (name) glDeleteTextures(1, &name);
    name = 0;
}

void set_texture_parameters(bool nearest, bool mipmapped) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, nearest ? GL_NEAREST : GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    mipmapped ? GL_LINEAR_MIPMAP_LINEAR : (nearest ? GL_NEAREST : GL_LINEAR));
}

} // namespace

int sprite_slot_index(double slot) {
    int32_t n = to_int32(slot);
    return n >= 0 && n < kSpriteSlots ? n : -1;
}

SpriteSlot* sprite_slot(int slot) {
    if (slot < 0 || slot >= int(gfx.slots.size())) return nullptr;
    return &gfx.slots[size_t(slot)];
}

void clear_sprite_slot(int slot) {
    SpriteSlot* s = sprite_slot(slot);
    if (!s) return;
    delete_texture(s->texture);
    delete_texture(s->mip_texture);
    *s = SpriteSlot{};
}

GLuint upload_texture(const TexelImage& image, bool nearest) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    set_texture_parameters(nearest, false);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.texture_width, image.texture_height, 0,
                 GL_RGBA, GL_UNSIGNED_BYTE, image.texels.data());
    return name;
}

GLuint upload_mip_texture(const TexelImage& image) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    set_texture_parameters(false, true);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.texture_width, image.texture_height, 0,
                 GL_RGBA, GL_UNSIGNED_BYTE, image.texels.data());
    std::vector<MipLevel> levels =
        build_mip_chain(image.texels.data(), image.texture_width, image.texture_height);
    for (size_t i = 0; i < levels.size(); ++i)
        glTexImage2D(GL_TEXTURE_2D, GLint(i + 1), GL_RGBA8, levels[i].width, levels[i].height, 0,
                     GL_RGBA, GL_UNSIGNED_BYTE, levels[i].texels.data());
    return name;
}

bool data_file_exists(const char* file) {
    if (!file || !*file) return false;
    struct stat st{};
    if (stat(data_path(file).c_str(), &st) == 0) return true;
    log_missing_file(file);
    return false;
}

BmpLoad read_bmp_file(const char* file, const BmpConvertOptions& options, TexelImage& out) {
    if (!data_file_exists(file)) return BmpLoad::missing;
    auto bytes = read_file(file);
    if (!bytes) return BmpLoad::failed;
    BmpConvertOptions opts = options;
    if (gfx.max_texture_size > 0) opts.max_texture_size = gfx.max_texture_size;
    if (!decode_bmp(bytes->data(), bytes->size(), opts, out, nullptr)) return BmpLoad::failed;
    return BmpLoad::loaded;
}

void install_slot_image(int slot, const TexelImage& image, bool font) {
    SpriteSlot* s = sprite_slot(slot);
    if (!s) return;
    clear_sprite_slot(slot);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    s->texture = upload_texture(image, font);
    if (!font) s->mip_texture = upload_mip_texture(image);
    s->texture_width = image.texture_width;
    s->texture_height = image.texture_height;
    s->width = image.width;
    s->height = image.height;
    s->opaque = !image.texels.empty();
    for (size_t i = 3; i < image.texels.size(); i += 4)
        if (image.texels[i] != 255) {
            s->opaque = false;
            break;
        }
    glBindTexture(GL_TEXTURE_2D, GLuint(bound));
}

BmpLoad load_bmp_into_slot(const char* file, int slot, const BmpConvertOptions& options,
                           bool font) {
    // No device yet (or no such slot): nothing to load into.
    if (!sprite_slot(slot)) return BmpLoad::missing;
    TexelImage image;
    BmpLoad result = read_bmp_file(file, options, image);
    if (result == BmpLoad::missing) return result;
    clear_sprite_slot(slot);
    if (result == BmpLoad::loaded) install_slot_image(slot, image, font);
    return result;
}

void gfx_device_init(int screen_width, int screen_height) {
    if (gfx.initialised) gfx_device_shutdown();
    gfx.slots.assign(kSpriteSlots, SpriteSlot{});
    gfx.screen_width = screen_width > 0 ? screen_width : 800;
    gfx.screen_height = screen_height > 0 ? screen_height : 600;
    GLint max_size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_size);
    gfx.max_texture_size = max_size > 0 ? max_size : 1024;
    gfx.alpha_value = 1.0f;
    gfx.initialised = true;
    if (gl_ext.buffers) gl_ext.GenBuffers(1, &gfx.stream_buffer);
    set_blending(false);
    set_viewport(0, 0, 0, 0);
}

void gfx_device_shutdown() {
    if (!gfx.initialised) return;
    for (int i = 0; i < int(gfx.slots.size()); ++i)
        if (gfx.slots[size_t(i)].texture || gfx.slots[size_t(i)].mip_texture) clear_sprite_slot(i);
    gfx.slots.clear();
    for (auto& tile : gfx.background.tiles) delete_texture(tile.texture);
    gfx.background.tiles.clear();
    if (gfx.stream_buffer) gl_ext.DeleteBuffers(1, &gfx.stream_buffer);
    gfx.stream_buffer = 0;
    gfx.initialised = false;
}

void set_blending(bool on) {
    gfx.blending = on;
    if (on)
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
}

void gfx_after_flip(bool draw_layer) {
    set_blending(false);
    gfx.alpha_value = 1.0f;
    glColor4f(1, 1, 1, 1);
    if (draw_layer && !gfx.background.tiles.empty()) {
        set_viewport(0, 0, 0, 0);
        draw_background();
    }
    set_viewport(0, 0, 0, 0);
}

void clear_screen() {
    if (!gfx.no_draw) glClear(GL_COLOR_BUFFER_BIT);
    for (auto& tile : gfx.background.tiles) delete_texture(tile.texture);
    gfx.background.tiles.clear();
}

void set_viewport(double x, double y, double width, double height) {
    // Held within a range no screen reaches, so the window arithmetic here and in begin_3d
    // cannot overflow.
    static constexpr int kFar = 1 << 24;
    auto held = [](double v) { return std::clamp(to_int32(v), -kFar, kFar); };
    int vx = held(x), vy = held(y), vw = held(width), vh = held(height);
    if (vw <= 0 || vh <= 0) {
        vx = vy = 0;
        vw = gfx.screen_width;
        vh = gfx.screen_height;
    }
    gfx.viewport_x = vx;
    gfx.viewport_y = vy;
    gfx.viewport_width = vw;
    gfx.viewport_height = vh;
    glViewport(vx, gfx.screen_height - vy - vh, vw, vh);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, vw, -vh, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gfx.load_identity_modelview();
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.15f);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 1);
    glShadeModel(GL_FLAT);
    glDisable(GL_DITHER);
    glDisable(GL_FOG);
    gfx.linear_fog = false;
    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_POLYGON_SMOOTH);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_NORMALIZE);
    glDisable(GL_LIGHTING);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);
}

void set_alpha_mode(double a) {
    if (a == 0 || std::isnan(a)) {
        set_blending(false);
        gfx.alpha_value = 1.0f;
    } else if (a < 0) {
        set_blending(true);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        gfx.alpha_value = float(std::min(-a, 2.0));
    } else {
        set_blending(true);
        glBlendFunc(GL_ONE, GL_ONE);
        gfx.alpha_value = float(std::min(a, 2.0));
    }
    if (gfx.alpha_value <= 1.0f) {
        float v = gfx.alpha_value;
        glColor4f(v, v, v, v);
    } else {
        glColor4f(1, 1, 1, 1);
        gfx.alpha_value = 1.0f;
    }
}
