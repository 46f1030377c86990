// Scene benchmark, reported as ratios:
//  1. one frame of 200 draws of a 500-triangle model (cel-shaded, outlined, fogged) against the
//     same 100,000 triangles drawn once from one buffer object;
//  2. loading a 20,000-vertex, 6-frame binary model against reading its bytes.
#include "graphics/ddd.h"
#include "graphics/device.h"
#include "graphics/headless.h"
#include "graphics/scene.h"
#include "graphics/scene_engine.h"
#include "platform/window.h"
#include "runtime/files.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

// A ball of radius 1: `rings` x `segments` quads as separate triangles (2 x rings x segments
// triangles), wound clockwise seen from outside, normals outward; every frame squashed a little
// more so that frames differ.
DddMesh make_ball(int rings, int segments, size_t frames) {
    DddMesh m;
    m.colours = {kMarkerTriangles, 0x3060C0, 0x20A040, 0xC08020};
    const size_t vertices = 1 + size_t(rings) * size_t(segments) * 6;
    m.u.resize(vertices);
    m.v.resize(vertices);
    const double pi = 3.14159265358979323846;
    for (size_t f = 0; f < frames; ++f) {
        DddFrame fr;
        for (int a = 0; a < 3; ++a) {
            fr.scale[a] = 2.0f / 255;
            fr.offset[a] = 127.5f;
        }
        fr.vertices.resize(vertices);
        size_t i = 1;
        auto put = [&](int r, int s) {
            double th = pi * r / rings, ph = 2 * pi * s / segments;
            double sq = 1 - 0.05 * double(f);
            double p[3] = {std::sin(th) * std::cos(ph), std::cos(th) * sq,
                           std::sin(th) * std::sin(ph)};
            DddVertex& v = fr.vertices[i];
            v.x = uint8_t(std::lround(p[0] * 127.5 + 127.5));
            v.y = uint8_t(std::lround(p[1] * 127.5 + 127.5));
            v.z = uint8_t(std::lround(p[2] * 127.5 + 127.5));
            v.normal[0] = uint8_t(nearest_normal(float(p[0]), float(p[1]), float(p[2])));
            v.colour = uint8_t(1 + (r + s) % 3);
            m.u[i] = float(s) / segments;
            m.v[i] = float(r) / rings;
            ++i;
        };
        for (int r = 0; r < rings; ++r)
            for (int s = 0; s < segments; ++s) {
                put(r, s), put(r + 1, s), put(r, s + 1);
                put(r + 1, s), put(r + 1, s + 1), put(r, s + 1);
            }
        m.frames.push_back(std::move(fr));
    }
    return m;
}

} // namespace

int main() {
    if (!open_headless_graphics("bench_scene")) return 1;
    std::printf("renderer: %s\n", platform::renderer_name());

    char dir_template[] = "/tmp/bench_scene_XXXXXX";
    std::string dir = mkdtemp(dir_template) ? dir_template : "/tmp";

    // 1. A frame of 200 cel-shaded, outlined, fogged draws vs one buffer-object draw.
    std::string small = dir + "/small.ddd";
    write_file_atomic(small, encode_ddd_binary(make_ball(10, 25, 1)));
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
    for (int i = 0; i < 200; ++i)
        for (size_t c = 0; c < mesh.corners[0]; ++c)
            all.push_back(mesh.vertices[0][mesh.index[c]]);
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
    write_file_atomic(big, encode_ddd_binary(make_ball(37, 90, 6)));
    double load_ms = median_ms(9, [&] { load_object(big.c_str(), 2); });
    double read_ms = median_ms(9, [&] { (void)read_file(big); });

    std::printf("scene frame (200 draws x 500 triangles, cel + outline + fog): %.3f ms\n",
                frame_ms);
    std::printf("one buffer-object draw of the same triangles:                %.3f ms\n",
                single_ms);
    std::printf("ratio draws / single draw: %.2f\n", frame_ms / single_ms);
    std::printf("load %zu x 6 model: %.3f ms, read its bytes: %.3f ms\n",
                scene.objects[2].meshes.front()->data.frames[0].vertices.size(), load_ms, read_ms);
    std::printf("ratio load / read: %.2f\n", load_ms / read_ms);

    remove_file(small);
    remove_file(big);
    rmdir(dir.c_str());
    platform::close_window();
    return 0;
}
