// Triangles wholly beyond linear fog's end: drawn untextured, since the fog covers whatever
// colour they have. A far city under fog costs a software rasteriser its texture lookups for
// nothing otherwise.
#include "graphics/scene_engine.h"
#include "platform/window.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

bool fog_may_hide_texture(int texture_slot, bool cel) {
    const OpenGLZivevidu& d = scene.device;
    if (!scene.fog_shortcut || !d.linear_fog || d.blending || cel || scene.sphere_mapping ||
        scene.shadow_pass || slot_texture(scene.second_slot) != 0)
        return false;
    // Multisampling evaluates the fog at pixel centres that may lie outside a triangle, short
    // of its corners' fog.
    if (platform::game_samples() != 0) return false;
    // The texture's alpha, 1 everywhere, leaves the alpha test and the alpha written alike.
    if (texture_slot < 0 || size_t(texture_slot) >= d.slots.size()) return false;
    return d.slots[size_t(texture_slot)].opaque && slot_texture(texture_slot) != 0;
}

size_t split_at_fog(MeshObject& mesh, const DrawVertex* shape, size_t count, size_t corners,
                    const float place[16]) {
    // Eye depth is the third row of model-view x placement. The fog coordinate GL interpolates
    // is the eye distance (plane or radial), at least minus the eye depth, so a vertex whose
    // minus-depth lies beyond the end, with room for the float arithmetic of the transform and
    // the interpolation, has fog factor 0 at every fragment of its triangles.
    const float* mv = scene.device.modelview;
    double row[4];
    for (int j = 0; j < 4; ++j) {
        row[j] = 0;
        for (int k = 0; k < 4; ++k)
            row[j] += double(mv[k * 4 + 2]) * double(place[j * 4 + k]);
    }
    const double end = scene.device.fog_end;
    mesh.in_fog.resize(count);
    bool any = false;
    for (size_t i = 0; i < count; ++i) {
        const float* p = shape[i].pos;
        const double a = row[0] * p[0], b = row[1] * p[1], c = row[2] * p[2];
        const double depth = a + b + c + row[3];
        const double size = std::fabs(a) + std::fabs(b) + std::fabs(c) + std::fabs(row[3]);
        const bool beyond = -depth >= end + 1e-4 * (size + std::fabs(end)); // false for NaN
        mesh.in_fog[i] = beyond ? 1 : 0;
        any = any || beyond;
    }
    if (!any) return corners;

    const uint32_t* index = mesh.index.data();
    auto in_fog = [&](size_t t) {
        const uint32_t* c = index + 3 * t;
        return c[0] < count && c[1] < count && c[2] < count && mesh.in_fog[c[0]] &&
               mesh.in_fog[c[1]] && mesh.in_fog[c[2]];
    };
    std::vector<uint32_t>& split = mesh.fog_work;
    split.resize(corners);
    const size_t triangles = corners / 3;
    // The triangles that may show their texture, in order, then those in the fog, in order.
    size_t at = 0, shown = 0;
    for (int fogged = 0; fogged < 2; ++fogged) {
        for (size_t t = 0; t < triangles; ++t)
            if (in_fog(t) == (fogged != 0)) {
                split[at++] = index[3 * t];
                split[at++] = index[3 * t + 1];
                split[at++] = index[3 * t + 2];
            }
        if (fogged == 0) shown = at;
    }
    split.resize(at);
    if (shown == at) return corners;
    // Unchanged from the last draw (an unmoving camera): the buffer holds it already.
    if (split != mesh.fog_index) {
        mesh.fog_index.swap(split);
        if (gl_ext.buffers && mesh.buffers[4])
            fill_buffer(mesh.buffers[4], mesh.fog_index.data(),
                        mesh.fog_index.size() * sizeof(uint32_t), GL_ELEMENT_ARRAY_BUFFER);
        if (gl_ext.buffers) gl_ext.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }
    return shown;
}

void draw_split_at_fog(const MeshObject& mesh, size_t textured, size_t corners) {
    const bool buffer = gl_ext.buffers && mesh.buffers[4];
    const char* at = buffer ? nullptr : reinterpret_cast<const char*>(mesh.fog_index.data());
    if (buffer) gl_ext.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.buffers[4]);
    const size_t fogged = std::min(corners, mesh.fog_index.size()) - textured;
    if (textured > 0) glDrawElements(GL_TRIANGLES, GLsizei(textured), GL_UNSIGNED_INT, at);
    texture_unit(0, 0, nullptr, 0);
    glDrawElements(GL_TRIANGLES, GLsizei(fogged), GL_UNSIGNED_INT,
                   vertex_field(at, textured * sizeof(uint32_t)));
    if (buffer) gl_ext.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}
