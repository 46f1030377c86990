// steel_data render MODEL --out FILE.bmp [--texture BMP] [--frame N] [--blend A B T] [--yaw DEG]
// [--cel]: draws the model headless, centred in the 800 x 600 game screen with a fixed camera
// and light (cel-shaded with outlines under --cel), and writes the frame as a 24-bit BMP.
#include "command.h"
#include "graphics/device.h"
#include "graphics/headless.h"
#include "graphics/scene.h"
#include "graphics/scene_engine.h"
#include "graphics/screenshot.h"
#include "platform/window.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool parse_double(const char* s, double& out) {
    char* end = nullptr;
    out = std::strtod(s, &end);
    return end && end != s && *end == '\0' && std::isfinite(out);
}

int cmd_render(int argc, char** argv) {
    const char* model = nullptr;
    const char* out = nullptr;
    const char* texture = nullptr;
    double frame = 0, yaw = 0, blend[3] = {0, 0, 0};
    bool blended = false, cel = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](double& v) { return i + 1 < argc && parse_double(argv[++i], v); };
        if (a == "--out" && i + 1 < argc)
            out = argv[++i];
        else if (a == "--texture" && i + 1 < argc)
            texture = argv[++i];
        else if (a == "--frame") {
            if (!value(frame)) return usage_error("--frame needs a number");
        } else if (a == "--yaw") {
            if (!value(yaw)) return usage_error("--yaw needs a number");
        } else if (a == "--blend") {
            if (!value(blend[0]) || !value(blend[1]) || !value(blend[2]))
                return usage_error("--blend needs A B T");
            blended = true;
        } else if (a == "--cel")
            cel = true;
        else if (a.rfind("--", 0) == 0 || model)
            return usage_error(("bad argument " + a).c_str());
        else
            model = argv[i];
    }
    if (!model || !out) return usage_error("usage: steel_data render MODEL --out FILE.bmp");

    if (!open_headless_graphics("steel_data")) return 1;

    const int slot = 1;
    load_object(model, slot);
    if (!scene.objects[slot].loaded) {
        std::fprintf(stderr, "steel_data: %s does not load\n", model);
        platform::close_window();
        return 1;
    }
    int tex = -1;
    if (texture) {
        load_sprite(texture, slot);
        if (gfx.slots[slot].texture)
            tex = slot;
        else
            std::fprintf(stderr, "steel_data: %s does not load; drawing untextured\n", texture);
    }

    // Frame the first frame's bounding sphere turned about the y axis through the origin.
    const DddFrame& f0 = scene.objects[slot].meshes.front()->data.frames[0];
    const float* c = f0.centre;
    double reach = f0.radius + std::sqrt(double(c[0]) * c[0] + double(c[2]) * c[2]);
    if (reach <= 0) reach = 1;
    double distance = reach / std::sin(22.5 * 3.14159265358979 / 180) * 1.05;
    double dir[3] = {0, 0.4, 1};
    double len = std::sqrt(dir[1] * dir[1] + dir[2] * dir[2]);
    double eye[3] = {0, c[1] + distance * dir[1] / len, distance * dir[2] / len};

    glViewport(0, 0, platform::game_width(), platform::game_height());
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    begin_3d(distance * 0.05, distance * 3, 45);
    set_camera(eye[0], eye[1], eye[2], 0, c[1], 0);
    set_culling(1);
    if (cel) {
        set_light(-2, 16777215, eye[0] - distance, eye[1] + distance, eye[2] + distance, 0, 0, 0,
                  360);
    } else {
        set_light(0, 16777215, 0, 0, 0, -0.4, -0.6, -1, 180);
    }
    set_texture(tex, -1);
    set_translation(0, 0, 0);
    add_rotation(yaw, 0, 1, 0);
    if (blended)
        draw_object_blend(slot, blend[0], blend[1], blend[2], 0);
    else
        draw_object(slot, frame);
    set_light(0, 0, 0, 0, 0, 0, 0, 0, 0);
    set_light(-2, 0, 0, 0, 0, 0, 0, 0, 0);
    end_3d();
    glFinish();
    bool saved = save_screenshot(out);
    platform::close_window();
    if (!saved) {
        std::fprintf(stderr, "steel_data: cannot write %s\n", out);
        return 1;
    }
    return 0;
}

const CommandRegistrar reg("render",
                           "render MODEL --out FILE.bmp [--texture BMP] [--frame N] "
                           "[--blend A B T] [--yaw DEG] [--cel]",
                           cmd_render);

} // namespace
