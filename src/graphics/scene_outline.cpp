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

namespace {

// A batch draws what it holds once it holds this many vertices (4 MB): a huge level in view
// never makes it grow without bound.
constexpr size_t kBatchVertices = 65536;

// The state every outline is drawn in, and what it replaces.
struct OutlineState {
    GLboolean lighting, blending;
    GLint blend_src, blend_dst;
    int8_t cull_mode;
};

OutlineState begin_outline_state() {
    OutlineState saved{glIsEnabled(GL_LIGHTING), glIsEnabled(GL_BLEND), GL_ONE, GL_ZERO,
                       scene.cull_mode};
    // The blend function belongs to the alpha mode (additive or translucent): put it back.
    glGetIntegerv(GL_BLEND_SRC, &saved.blend_src);
    glGetIntegerv(GL_BLEND_DST, &saved.blend_dst);
    texture_unit(1, 0, nullptr, 0);
    texture_unit(0, 0, nullptr, 0);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0, 0, 0, 1);
    glDepthFunc(GL_LEQUAL);
    return saved;
}

void end_outline_state(const OutlineState& saved) {
    glDepthFunc(GL_LESS);
    glBlendFunc(GLenum(saved.blend_src), GLenum(saved.blend_dst));
    if (!saved.blending) glDisable(GL_BLEND);
    if (saved.lighting) glEnable(GL_LIGHTING);
    set_culling(saved.cull_mode);
}

} // namespace

void draw_outline(MeshObject& mesh, size_t count, size_t corners, const DddFrame& frame,
                  const float inv[16], bool wait) {
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
    for (size_t i = 0; i < count; ++i)
        for (int a = 0; a < 3; ++a)
            mesh.blend[i].pos[a] += width * mesh.blend[i].normal[a];

    if (wait) {
        OutlineBatch& batch = scene.outline_batch;
        WaitingOutline o{&mesh, corners, batch.vertices.size(), {}, scene.cull_mode};
        glGetFloatv(GL_MODELVIEW_MATRIX, o.modelview);
        batch.vertices.insert(batch.vertices.end(), mesh.blend.begin(),
                              mesh.blend.begin() + std::ptrdiff_t(count));
        batch.outlines.push_back(o);
        if (batch.vertices.size() >= kBatchVertices) flush_outlines();
        return;
    }
    const DrawVertex* base = bind_vertices(mesh, mesh.blend.data(), count, false);
    glVertexPointer(3, GL_FLOAT, sizeof(DrawVertex), vertex_field(base, offsetof(DrawVertex, pos)));
    const OutlineState saved = begin_outline_state();
    set_culling(-saved.cull_mode);
    draw_triangles(mesh, corners);
    end_outline_state(saved);
}

bool outlines_may_wait() {
    return scene.outline_batch.on && !scene.shadow_pass && !glIsEnabled(GL_BLEND);
}

void flush_outlines() {
    OutlineBatch& batch = scene.outline_batch;
    if (batch.outlines.empty()) return;
    GLfloat colour[4] = {1, 1, 1, 1};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    const GLboolean texture = glIsEnabled(GL_TEXTURE_2D);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    if (gl_ext.buffers) gl_ext.BindBuffer(GL_ARRAY_BUFFER, 0);
    glEnableClientState(GL_VERTEX_ARRAY);
    const OutlineState saved = begin_outline_state();
    int8_t culling = 2; // none set yet
    for (const WaitingOutline& o : batch.outlines) {
        if (o.cull_mode != culling) set_culling(-o.cull_mode);
        culling = o.cull_mode;
        glLoadMatrixf(o.modelview);
        glVertexPointer(3, GL_FLOAT, sizeof(DrawVertex),
                        vertex_field(&batch.vertices[o.first], offsetof(DrawVertex, pos)));
        draw_triangles(*o.mesh, o.corners);
    }
    end_outline_state(saved);
    finish_arrays();
    glPopMatrix();
    if (texture) glEnable(GL_TEXTURE_2D);
    glColor4fv(colour);
    batch.outlines.clear();
    batch.vertices.clear();
}

void batch_outlines(double on) {
    flush_outlines();
    scene.outline_batch.on = on != 0 && scene.outline_batching;
}
