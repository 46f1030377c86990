// Scene benchmark, reported as ratios:
//  1. one frame of 200 draws of a 500-triangle model (cel-shaded, outlined, fogged) against the
//     same 100,000 triangles drawn once from one buffer object;
//  2. loading a 20,000-vertex, 6-frame binary model against reading its bytes.
#include "graphics/ddd.h"
#include "graphics/device.h"
#include "graphics/scene.h"
#include "graphics/scene_engine.h"
#include "platform/window.h"
#include "runtime/files.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>

namespace {

double now_ms() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

template <class F> double median_ms(int runs, F&& f) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        double start = now_ms();
        f();
        t.push_back(now_ms() - start);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// Separate triangles scattered over a ball of radius 1, a few colours.
DddMesh make_model(size_t vertices, size_t frames, uint32_t seed) {
    std::mt19937 rng(seed);
    DddMesh m;
    m.colours = {kMarkerTriangles, 0x3060C0, 0x20A040, 0xC08020};
    m.u.resize(vertices);
    m.v.resize(vertices);
    for (size_t i = 0; i < vertices; ++i) {
        m.u[i] = float(rng() % 256) / 255.0f;
        m.v[i] = float(rng() % 256) / 255.0f;
    }
    for (size_t f = 0; f < frames; ++f) {
        DddFrame fr;
        for (int a = 0; a < 3; ++a) {
            fr.scale[a] = 2.0f / 255;
            fr.offset[a] = 127.5f;
        }
        fr.vertices.resize(vertices);
        fr.vertices[0].colour = 0;
        for (size_t i = 1; i < vertices; ++i) {
            DddVertex& v = fr.vertices[i];
            v.x = uint8_t(rng());
            v.y = uint8_t(rng());
            v.z = uint8_t(rng());
            v.normal[0] = uint8_t(rng() % kNormalCount);
            v.colour = uint8_t(1 + rng() % 3);
        }
        m.frames.push_back(std::move(fr));
    }
    return m;
}

} // namespace

int main() {
    platform::WindowConfig cfg;
    cfg.hidden = true;
    cfg.title = "bench_scene";
    const char* why = nullptr;
    if (!platform::open_window(cfg, &why)) {
        std::fprintf(stderr, "bench_scene: no OpenGL context: %s\n", why ? why : "?");
        return 1;
    }
    platform::bind_game_framebuffer();
    gfx_device_init(800, 600);
    if (gfx.slots.empty()) gfx.slots.resize(kSpriteSlots);
    std::printf("renderer: %s\n", platform::renderer_name());

    char dir_template[] = "/tmp/bench_scene_XXXXXX";
    std::string dir = mkdtemp(dir_template) ? dir_template : "/tmp";

    // 1. A frame of 200 cel-shaded, outlined, fogged draws vs one buffer-object draw.
    std::string small = dir + "/small.ddd";
    write_file_atomic(small, encode_ddd_binary(make_model(1 + 1500, 1, 1)));
    load_object(small.c_str(), 1);
    auto scene_frame = [&] {
        glViewport(0, 0, 800, 600);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        begin_3d(0.5, 200, 45);
        set_camera(0, 12, 30, 0, 0, 0);
        set_culling(1);
        set_fog(16755370, 0, 20, 40);
        set_light(-2, 16777215, 350, 250, 50, 0, 1, 0, 360);
        for (int i = 0; i < 200; ++i) {
            set_translation((i % 20) * 2.0 - 19, 0, (i / 20) * 2.0 - 9);
            add_rotation(i * 7.0, 0, 1, 0);
            draw_object(1, 0);
        }
        set_fog(-1, 0, 0, 0);
        set_light(-2, 0, 0, 0, 0, 0, 0, 0, 0);
        end_3d();
        glFinish();
    };
    const MeshObject& mesh = *scene.objects[1].meshes.front();
    std::vector<DrawVertex> all;
    for (int i = 0; i < 200; ++i) all.insert(all.end(), mesh.draw[0].begin(), mesh.draw[0].end());
    GLuint buffer = 0;
    gl_ext.GenBuffers(1, &buffer);
    gl_ext.BindBuffer(GL_ARRAY_BUFFER, buffer);
    gl_ext.BufferData(GL_ARRAY_BUFFER, GLsizeiptr(all.size() * sizeof(DrawVertex)), all.data(),
                      GL_STATIC_DRAW);
    gl_ext.BindBuffer(GL_ARRAY_BUFFER, 0);
    auto one_draw = [&] {
        glViewport(0, 0, 800, 600);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        begin_3d(0.5, 200, 45);
        set_camera(0, 12, 30, 0, 0, 0);
        gl_ext.BindBuffer(GL_ARRAY_BUFFER, buffer);
        glVertexPointer(3, GL_FLOAT, sizeof(DrawVertex), nullptr);
        glEnableClientState(GL_VERTEX_ARRAY);
        glDrawArrays(GL_TRIANGLES, 0, GLsizei(all.size()));
        glDisableClientState(GL_VERTEX_ARRAY);
        gl_ext.BindBuffer(GL_ARRAY_BUFFER, 0);
        end_3d();
        glFinish();
    };
    scene_frame();
    one_draw();
    double frame_ms = median_ms(15, scene_frame);
    double single_ms = median_ms(15, one_draw);

    // 2. Loading a 20,000-vertex, 6-frame model vs reading its bytes.
    std::string big = dir + "/big.ddd";
    write_file_atomic(big, encode_ddd_binary(make_model(20000, 6, 2)));
    double load_ms = median_ms(9, [&] { load_object(big.c_str(), 2); });
    double read_ms = median_ms(9, [&] { (void)read_file(big); });

    std::printf("scene frame (200 draws x 500 triangles, cel + outline + fog): %.3f ms\n",
                frame_ms);
    std::printf("one buffer-object draw of the same triangles:                %.3f ms\n",
                single_ms);
    std::printf("ratio draws / single draw: %.2f\n", frame_ms / single_ms);
    std::printf("load 20,000 x 6 model: %.3f ms, read its bytes: %.3f ms\n", load_ms, read_ms);
    std::printf("ratio load / read: %.2f\n", load_ms / read_ms);

    remove_file(small);
    remove_file(big);
    rmdir(dir.c_str());
    platform::close_window();
    return 0;
}
