// Background layer 0: an image of any size as a grid of tiles, drawn behind each frame. The
// tiles are drawn at their own pixel size, so nearest sampling reads the texels linear sampling
// would, at less cost.
#include "graphics/device.h"
#include "graphics/draw2d.h"
#include "graphics/texture.h"
#include "platform/window.h"
#include "runtime/errors.h"
#include "runtime/files.h"

#include <algorithm>

namespace {

void drop_layer() {
    for (auto& tile : gfx.background.tiles)
        if (tile.texture) glDeleteTextures(1, &tile.texture);
    gfx.background.tiles.clear();
}

int tile_size() { return gfx.max_texture_size > 0 ? gfx.max_texture_size : 1024; }

} // namespace

void show_background(const char* file) {
    if (!data_file_exists(file)) return;
    auto bytes = read_file(file);
    BmpHeader header;
    if (!bytes || !parse_bmp_header(bytes->data(), bytes->size(), header, nullptr))
        runtime_error(3);
    const int step = tile_size();
    std::vector<BackgroundTile> tiles;
    BmpConvertOptions options; // backgrounds are opaque: no colour key
    options.max_texture_size = step;
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    for (int top = 0; top < header.height; top += step) {
        for (int left = 0; left < header.width; left += step) {
            BackgroundTile tile;
            tile.x = left;
            tile.y = top;
            tile.width = std::min(step, header.width - left);
            tile.height = std::min(step, header.height - top);
            TexelImage image;
            // Regions are measured from the image's bottom row.
            if (!convert_bmp_region(bytes->data(), bytes->size(), header, left,
                                    header.height - top - tile.height, tile.width, tile.height,
                                    options, image, nullptr)) {
                for (auto& t : tiles) glDeleteTextures(1, &t.texture);
                runtime_error(3);
            }
            tile.texture = upload_texture(image, true);
            tile.texture_width = image.texture_width;
            tile.texture_height = image.texture_height;
            tiles.push_back(tile);
        }
    }
    glBindTexture(GL_TEXTURE_2D, GLuint(bound));
    drop_layer();
    gfx.background.tiles = std::move(tiles);
    draw_background();
}

void use_screen_as_background() {
    drop_layer();
    if (gfx.no_draw) return; // no screen to keep
    const int step = tile_size();
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    platform::bind_game_read_framebuffer();
    for (int top = 0; top < gfx.screen_height; top += step) {
        for (int left = 0; left < gfx.screen_width; left += step) {
            BackgroundTile tile;
            tile.x = left;
            tile.y = top;
            tile.width = std::min(step, gfx.screen_width - left);
            tile.height = std::min(step, gfx.screen_height - top);
            tile.texture_width = power_of_two_at_least(tile.width, 2);
            tile.texture_height = power_of_two_at_least(tile.height, 2);
            glGenTextures(1, &tile.texture);
            glBindTexture(GL_TEXTURE_2D, tile.texture);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tile.texture_width, tile.texture_height, 0,
                         GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
            glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, left,
                                gfx.screen_height - top - tile.height, tile.width, tile.height);
            gfx.background.tiles.push_back(tile);
        }
    }
    glBindTexture(GL_TEXTURE_2D, GLuint(bound));
}

void draw_background() {
    if (gfx.background.tiles.empty() || gfx.no_draw) return;
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    const GLboolean texturing = glIsEnabled(GL_TEXTURE_2D);
    const GLboolean alpha_test = glIsEnabled(GL_ALPHA_TEST);
    glDisable(GL_ALPHA_TEST);
    if (gl_ext.multitexture) {
        gl_ext.ActiveTexture(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        gl_ext.ActiveTexture(GL_TEXTURE0_ARB);
    }
    glEnable(GL_TEXTURE_2D);
    for (const BackgroundTile& tile : gfx.background.tiles) {
        glBindTexture(GL_TEXTURE_2D, tile.texture);
        glBegin(GL_QUADS);
        emit_sprite_quad(tile.x, tile.y, tile.width, tile.height,
                         float(tile.width) / float(tile.texture_width),
                         float(tile.height) / float(tile.texture_height));
        glEnd();
    }
    glBindTexture(GL_TEXTURE_2D, GLuint(bound));
    if (!texturing) glDisable(GL_TEXTURE_2D);
    if (alpha_test) glEnable(GL_ALPHA_TEST);
}
