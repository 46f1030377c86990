// Drawing objects: frame choice and blending, the view-cone test, placement, textures, arrays
// (buffer objects where they exist) drawn through each mesh's index, cel shading and its outline.
#include "graphics/scene.h"
#include "graphics/scene_engine.h"
#include "runtime/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

void set_unit(int unit) {
    if (!gl_ext.multitexture) return;
    gl_ext.ActiveTexture(GLenum(GL_TEXTURE0 + unit));
    gl_ext.ClientActiveTexture(GLenum(GL_TEXTURE0 + unit));
}

} // namespace

const char* vertex_field(const void* base, size_t offset) {
    // As an integer: with a buffer bound, base is null and the result is an offset into it.
    return reinterpret_cast<const char*>(reinterpret_cast<uintptr_t>(base) + offset);
}

void fill_buffer(GLuint buffer, const void* data, size_t bytes, GLenum target) {
    // A driver that runs GL on a thread of its own copies a call's data into its queue only up
    // to a few kilobytes; past that it stops the game's thread until the queue has drained.
    static constexpr size_t kPiece = 4096;
    gl_ext.BindBuffer(target, buffer);
    if (bytes <= kPiece) {
        gl_ext.BufferData(target, GLsizeiptr(bytes), data, GL_STREAM_DRAW);
        return;
    }
    gl_ext.BufferData(target, GLsizeiptr(bytes), nullptr, GL_STREAM_DRAW);
    const char* from = static_cast<const char*>(data);
    for (size_t at = 0; at < bytes; at += kPiece)
        gl_ext.BufferSubData(target, GLintptr(at), GLsizeiptr(std::min(kPiece, bytes - at)),
                             from + at);
}

const DrawVertex* bind_vertices(MeshObject& mesh, const DrawVertex* data, size_t count,
                                bool static_first_frame) {
    if (!gl_ext.buffers || !mesh.buffers[0]) return data;
    if (static_first_frame)
        gl_ext.BindBuffer(GL_ARRAY_BUFFER, mesh.buffers[0]);
    else
        fill_buffer(mesh.buffers[1], data, count * sizeof(DrawVertex));
    return nullptr;
}

void texture_unit(int unit, GLuint texture, const void* base, size_t coord_offset, size_t stride) {
    if (unit > 0 && !gl_ext.multitexture) return;
    set_unit(unit);
    if (texture) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glTexCoordPointer(2, GL_FLOAT, GLsizei(stride), vertex_field(base, coord_offset));
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    } else {
        glDisable(GL_TEXTURE_2D);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    set_unit(0);
}

void finish_arrays() {
    for (int unit = 1; unit >= 0; --unit) {
        if (unit > 0 && !gl_ext.multitexture) continue;
        set_unit(unit);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        if (unit > 0) glDisable(GL_TEXTURE_2D);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    if (gl_ext.buffers) gl_ext.BindBuffer(GL_ARRAY_BUFFER, 0);
}

void draw_triangles(const MeshObject& mesh, size_t corners) {
    const void* at = mesh.index.data();
    const bool buffer = gl_ext.buffers && mesh.buffers[2];
    if (buffer) {
        gl_ext.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.buffers[2]);
        at = nullptr;
    }
    glDrawElements(GL_TRIANGLES, GLsizei(corners), GL_UNSIGNED_INT, at);
    if (buffer) gl_ext.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

namespace {

// How far from the first frame's centre a draw's vertices can lie: the blend of two frames
// stays within both frames' spheres, and the outline pushes it out by at most an eighth of the
// radius along unit normals.
float draw_reach(const MeshObject& mesh, const FrameBlend& fb) {
    const DddFrame& a = mesh.data.frames[size_t(fb.first)];
    const DddFrame& b = mesh.data.frames[size_t(fb.second)];
    const float dx = b.centre[0] - a.centre[0], dy = b.centre[1] - a.centre[1],
                dz = b.centre[2] - a.centre[2];
    const float reach = std::fmax(a.radius, std::sqrt(dx * dx + dy * dy + dz * dz) + b.radius);
    return 1.01f * (reach + 0.125f * a.radius) + 1e-4f;
}

void draw_mesh(MeshObject& mesh, int frame_a, int frame_b, double t, bool animate) {
    const auto& frames = mesh.data.frames;
    if (frames.empty() || frames[0].vertices.empty() || mesh.vertices.size() != frames.size() ||
        mesh.corners.size() != frames.size())
        return;
    FrameBlend fb = choose_frames(frame_a, frame_b, t, animate, int(frames.size()));
    const DddFrame& first = frames[size_t(fb.first)];

    const TransformLevel& level0 = scene.levels[0];
    float c[3], s = 0;
    for (int a = 0; a < 3; ++a) {
        c[a] = first.centre[a] + level0.translation[a];
        s = std::fmax(s, std::fabs(level0.scale[a]));
    }
    if (!sphere_in_view(c, first.radius * s, scene.eye, scene.target, scene.cull_tangent)) return;

    float place[16], inv[16];
    placement_matrix(place);
    if (scene.frustum_culling && sphere_outside_frustum(place, first.centre, draw_reach(mesh, fb)))
        return;

    const float alpha = scene.device.alpha_value;
    const float bright = scene.fade_keeps_colour ? 1.0f : alpha;
    glColor4f(bright, bright, bright, alpha);

    const std::vector<DrawVertex>& a_verts = mesh.vertices[size_t(fb.first)];
    const std::vector<DrawVertex>& b_verts = mesh.vertices[size_t(fb.second)];
    const size_t count = b_verts.size(), corners = mesh.corners[size_t(fb.second)];
    if (count == 0 || corners == 0 || corners > mesh.index.size()) return;
    const bool cel = scene.shade_on && scene.shade_mode == 2;
    const bool offset = scene.texture_offset[0] != 0 || scene.texture_offset[1] != 0;
    // Vertex colours replace the current colour, so a translucent draw scales them itself.
    const bool fade = mesh.has_colours && !cel && alpha != 1.0f;
    // The vertices as the frame stores them, or blended, offset or faded in mesh.blend.
    const bool as_stored = fb.w == 0 && !offset && !fade;

    bool invertible = invert_matrix(place, inv);

    const DrawVertex* shape = b_verts.data();
    if (!as_stored) {
        if (mesh.blend.size() < count) mesh.blend.resize(count);
        const float w = fb.w, w2 = 1 - fb.w;
        const bool mix = w != 0 && a_verts.size() >= count;
        for (size_t i = 0; i < count; ++i) {
            DrawVertex& d = mesh.blend[i];
            d = b_verts[i];
            if (mix) {
                for (int k = 0; k < 3; ++k) {
                    d.pos[k] = a_verts[i].pos[k] * w + b_verts[i].pos[k] * w2;
                    d.normal[k] = a_verts[i].normal[k] * w + b_verts[i].normal[k] * w2;
                }
            }
            d.uv[0] += scene.texture_offset[0];
            d.uv[1] += scene.texture_offset[1];
            if (fade) {
                for (int k = 0; k < 3; ++k)
                    d.rgba[k] *= bright;
                d.rgba[3] *= alpha;
            }
        }
        shape = mesh.blend.data();
    }
    // Cel shading's ramp coordinates have an array of their own: only they change from draw to
    // draw of an unmoving object.
    if (cel) {
        ensure_ramp(mesh);
        float light[3] = {0, 0, 0};
        if (invertible) transform_point(inv, scene.shade_position, light);
        if (mesh.cel.size() < 2 * count) mesh.cel.resize(2 * count);
        for (size_t i = 0; i < count; ++i) {
            const DrawVertex& d = shape[i];
            float l[3] = {light[0] - d.pos[0], light[1] - d.pos[1], light[2] - d.pos[2]};
            float len = std::sqrt(l[0] * l[0] + l[1] * l[1] + l[2] * l[2]);
            float nl =
                len > 0 ? (d.normal[0] * l[0] + d.normal[1] * l[1] + d.normal[2] * l[2]) / len : 0;
            mesh.cel[2 * i] = nl < 0.05f ? 0.05f : nl > 0.95f ? 0.95f : nl;
            mesh.cel[2 * i + 1] = (float(d.colour_index) + 0.5f) * mesh.ramp_inv_height;
        }
    }

    const bool wait = outlines_may_wait();
    if (!wait) flush_outlines();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glMultMatrixf(place);

    const DrawVertex* base = bind_vertices(mesh, shape, count, as_stored && fb.second == 0);
    glVertexPointer(3, GL_FLOAT, sizeof(DrawVertex), vertex_field(base, offsetof(DrawVertex, pos)));
    glEnableClientState(GL_VERTEX_ARRAY);
    if (mesh.has_colours && !cel) {
        glColorPointer(4, GL_FLOAT, sizeof(DrawVertex),
                       vertex_field(base, offsetof(DrawVertex, rgba)));
        glEnableClientState(GL_COLOR_ARRAY);
    }
    if (scene.lights_on || scene.sphere_mapping) {
        glNormalPointer(GL_FLOAT, sizeof(DrawVertex),
                        vertex_field(base, offsetof(DrawVertex, normal)));
        glEnableClientState(GL_NORMAL_ARRAY);
    }
    const GLuint texture = slot_texture(scene.texture_slot);
    texture_unit(0, texture, base, offsetof(DrawVertex, uv));
    if (cel) {
        const float* ramp = mesh.cel.data();
        if (gl_ext.buffers && mesh.buffers[3]) {
            fill_buffer(mesh.buffers[3], ramp, 2 * count * sizeof(float));
            ramp = nullptr;
        }
        texture_unit(1, mesh.ramp_texture, ramp, 0, 2 * sizeof(float));
    } else {
        texture_unit(1, slot_texture(scene.second_slot), base, offsetof(DrawVertex, uv));
    }
    if (scene.sphere_mapping) {
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    }
    glEnable(GL_COLOR_MATERIAL);
    const size_t textured = fog_may_hide_texture(scene.texture_slot, cel)
                                ? split_at_fog(mesh, shape, count, corners, place)
                                : corners;
    if (textured < corners)
        draw_split_at_fog(mesh, textured, corners);
    else
        draw_triangles(mesh, corners);
    if (scene.sphere_mapping) {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }

    if (cel && scene.cull_mode != 0 && invertible) {
        draw_outline(mesh, shape, count, corners, first, place, inv, wait);
        glColor4f(bright, bright, bright, alpha);
    }
    finish_arrays();
    glPopMatrix();
}

} // namespace

GLuint slot_texture(int slot) {
    if (slot < 0 || size_t(slot) >= scene.device.slots.size()) return 0;
    const SpriteSlot& s = scene.device.slots[size_t(slot)];
    if (scene.texture_mode != 0 && s.mip_texture) return s.mip_texture;
    return s.texture;
}

void set_texture(double slot, double second_slot) {
    scene.texture_slot = to_int32(slot);
    scene.second_slot = to_int32(second_slot);
}

void set_texture_offset(double u, double v) {
    scene.texture_offset[0] = float(u);
    scene.texture_offset[1] = float(v);
}

void set_sphere_mapping(double on) {
    scene.sphere_mapping = on != 0 ? 1 : 0;
}

void set_fade_keeps_colour(double on) {
    scene.fade_keeps_colour = on != 0 ? 1 : 0;
}

void draw_object(double slot, double frame) {
    draw_object_blend(slot, frame, frame, 0, 0);
}

void draw_object_blend(double slot, double frame_a, double frame_b, double t, double animate) {
    int32_t s = to_int32(slot);
    if (s < 0 || s >= kObjectSlots || scene.device.no_draw) return;
    ObjectSlot& os = scene.objects[size_t(s)];
    if (!os.loaded) return;
    for (auto& mesh : os.meshes)
        if (mesh) draw_mesh(*mesh, to_int32(frame_a), to_int32(frame_b), t, animate != 0);
}
