// The outline of cel shading: the back faces, pushed out along the normals, in black; drawn
// after each object, or kept and drawn together (batch_outlines).
//
// Why a batch draws the same pixels: an opaque object writes its colour where it is nearer than
// the depth buffer (GL_LESS), an outline writes black where it is as near or nearer
// (GL_LEQUAL), both write depth, and neither colour depends on what is under it (outlines have
// alpha 1). At every sample the nearest depth wins; at that depth the last outline drawn there
// wins, else the first object drawn there. Moving every outline after the objects keeps the
// objects' order and the outlines' order, so the same fragment wins everywhere. A translucent
// object or a shadow pass depends on what is under it: the waiting outlines are drawn first.
#include "graphics/scene.h"
#include "graphics/scene_engine.h"

#include <cmath>
#include <cstddef>
#include <cstring>

namespace {

// A batch draws what it holds once it holds this many vertices (768 KB): a huge level in view
// never makes it grow without bound.
constexpr size_t kBatchVertices = 65536;

// The state every outline is drawn in. What it changes of the enables, the current colour and
// the blend function is put back from GL's own attribute stack, so nothing is read back.
int8_t begin_outline_state() {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT);
    texture_unit(1, 0, nullptr, 0);
    texture_unit(0, 0, nullptr, 0);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0, 0, 0, 1);
    glDepthFunc(GL_LEQUAL);
    return scene.cull_mode;
}

void end_outline_state(int8_t cull_mode) {
    glPopAttrib();
    glDepthFunc(GL_LESS);
    set_culling(cull_mode);
}

} // namespace

void draw_outline(MeshObject& mesh, const DrawVertex* shape, size_t count, size_t corners,
                  const DddFrame& frame, const float place[16], const float inv[16], bool wait) {
    float eye[3];
    transform_point(inv, scene.eye, eye);
    float dx = eye[0] - frame.centre[0], dy = eye[1] - frame.centre[1],
          dz = eye[2] - frame.centre[2];
    float width = std::sqrt(dx * dx + dy * dy + dz * dz) * scene.cull_tangent * 0.003f;
    for (int l = 0; l <= scene.transform_level; ++l) {
        float sy = scene.levels[size_t(l)].scale[1];
        if (sy != 0) width /= sy * sy;
    }
    if (!(width <= frame.radius * 0.125f)) return;
    if (width < 0.0000001f) width = 0.0000001f;

    OutlineBatch& batch = scene.outline_batch;
    std::vector<float>& out = wait ? batch.positions : mesh.pushed;
    const size_t first = wait ? out.size() / 3 : 0;
    out.resize(3 * (first + count));
    float* p = out.data() + 3 * first;
    for (size_t i = 0; i < count; ++i)
        for (int a = 0; a < 3; ++a)
            p[3 * i + size_t(a)] = shape[i].pos[a] + width * shape[i].normal[a];

    if (wait) {
        WaitingOutline o{&mesh, corners, first, {}, {}, scene.cull_mode};
        std::memcpy(o.base, scene.device.modelview, sizeof o.base);
        std::memcpy(o.place, place, sizeof o.place);
        batch.outlines.push_back(o);
        if (first + count >= kBatchVertices) flush_outlines();
        return;
    }
    const float* corners_at = p;
    if (gl_ext.buffers && mesh.buffers[1]) {
        fill_buffer(mesh.buffers[1], p, 3 * count * sizeof(float));
        corners_at = nullptr;
    }
    glVertexPointer(3, GL_FLOAT, 0, corners_at);
    const int8_t cull_mode = begin_outline_state();
    set_culling(-cull_mode);
    draw_triangles(mesh, corners);
    end_outline_state(cull_mode);
}

bool outlines_may_wait() {
    return scene.outline_batch.on && !scene.shadow_pass && !scene.device.blending;
}

void flush_outlines() {
    OutlineBatch& batch = scene.outline_batch;
    if (batch.outlines.empty()) return;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    // From a buffer object where there is one: indices in a buffer and vertices in memory would
    // make a driver that queues GL calls wait to find how many vertices to copy.
    const float* positions = batch.positions.data();
    if (scene.device.stream_buffer) {
        fill_buffer(scene.device.stream_buffer, positions, batch.positions.size() * sizeof(float));
        positions = nullptr;
    } else if (gl_ext.buffers) {
        gl_ext.BindBuffer(GL_ARRAY_BUFFER, 0);
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    const int8_t cull_mode = begin_outline_state();
    int8_t culling = 2; // none set yet
    for (const WaitingOutline& o : batch.outlines) {
        if (o.cull_mode != culling) set_culling(-o.cull_mode);
        culling = o.cull_mode;
        // The product GL made when the object was drawn, made again the same way.
        glLoadMatrixf(o.base);
        glMultMatrixf(o.place);
        glVertexPointer(3, GL_FLOAT, 0, vertex_field(positions, 3 * o.first * sizeof(float)));
        draw_triangles(*o.mesh, o.corners);
    }
    end_outline_state(cull_mode);
    finish_arrays();
    glPopMatrix();
    batch.outlines.clear();
    batch.positions.clear();
}

void batch_outlines(double on) {
    flush_outlines();
    scene.outline_batch.on = on != 0 && scene.outline_batching;
}
