// Object slots: loading and saving .ddd models, the draw data built at load time, and objects
// built at run time from vertices.
#include "graphics/scene.h"
#include "graphics/scene_engine.h"
#include "runtime/errors.h"
#include "runtime/files.h"
#include "runtime/numbers.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <new>

namespace {

ObjectSlot* object_slot(double slot) {
    int32_t s = to_int32(slot);
    if (s < 0 || s >= kObjectSlots) return nullptr;
    return &scene.objects[size_t(s)];
}

void log_failure(const char* what, const char* file) {
    error_log(what);
    error_log(file ? file : "null");
}

} // namespace

void release_slot(ObjectSlot& slot) {
    flush_outlines(); // they point into the slot's meshes
    for (auto& mesh : slot.meshes) {
        if (!mesh) continue;
        if (gl_ext.buffers && mesh->buffers[0])
            gl_ext.DeleteBuffers(GLsizei(std::size(mesh->buffers)), mesh->buffers);
        if (mesh->ramp_texture) glDeleteTextures(1, &mesh->ramp_texture);
    }
    slot.meshes.clear();
    slot.loaded = 0;
    slot.own_textures = 0;
}

void prepare_mesh(MeshObject& mesh) {
    std::vector<std::vector<DrawVertex>> lists(mesh.data.frames.size());
    mesh.corners.assign(lists.size(), 0);
    for (size_t f = 0; f < lists.size(); ++f) {
        expand_frame(mesh.data, f, lists[f]);
        DddFrame& frame = mesh.data.frames[f];
        bounding_sphere(lists[f], frame.centre, frame.radius);
        mesh.corners[f] = lists[f].size();
    }
    share_corners(lists, mesh.vertices, mesh.index);
    size_t largest = 0;
    for (const auto& v : mesh.vertices)
        largest = std::max(largest, v.size());
    mesh.blend.assign(largest, DrawVertex{});
    mesh.has_colours = mesh_has_colours(mesh.data);
    if (gl_ext.buffers && !mesh.vertices.empty()) {
        gl_ext.GenBuffers(GLsizei(std::size(mesh.buffers)), mesh.buffers);
        gl_ext.BindBuffer(GL_ARRAY_BUFFER, mesh.buffers[0]);
        gl_ext.BufferData(GL_ARRAY_BUFFER,
                          GLsizeiptr(mesh.vertices[0].size() * sizeof(DrawVertex)),
                          mesh.vertices[0].data(), GL_STATIC_DRAW);
        gl_ext.BindBuffer(GL_ARRAY_BUFFER, 0);
        gl_ext.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.buffers[2]);
        gl_ext.BufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(mesh.index.size() * sizeof(uint32_t)),
                          mesh.index.data(), GL_STATIC_DRAW);
        gl_ext.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }
}

double object_reach(double slot) {
    const ObjectSlot* os = object_slot(slot);
    if (!os || !os->loaded) return 0;
    double reach = 0;
    for (const auto& mesh : os->meshes) {
        if (!mesh) continue;
        for (const DddFrame& f : mesh->data.frames) {
            const double c =
                std::sqrt(double(f.centre[0]) * f.centre[0] + double(f.centre[1]) * f.centre[1] +
                          double(f.centre[2]) * f.centre[2]);
            reach = std::fmax(reach, c + f.radius);
        }
    }
    return reach;
}

void load_object(const char* file, double slot) {
    ObjectSlot* os = object_slot(slot);
    if (!os || !file) return;
    if (!file_readable(file)) { // a missing file leaves the slot as it is
        log_missing_file(file);
        return;
    }
    auto bytes = read_file(file);
    release_slot(*os);
    if (scene.building == to_int32(slot)) {
        // The object being built in this slot is replaced: its building is over.
        scene.building = -1;
        scene.build_vertices.clear();
    }
    if (!bytes) { // there, but it cannot be read: the slot stays empty
        log_failure("# read error", file);
        return;
    }
    try {
        os->meshes.push_back(std::make_unique<MeshObject>());
        MeshObject& mesh = *os->meshes.front();
        DddStatus st = parse_ddd(bytes->data(), bytes->size(), mesh.data, nullptr);
        bytes.reset();
        if (st == DddStatus::read_error) log_failure("# read error", file);
        if (st == DddStatus::malloc_error) log_failure("# malloc error", file);
        if (st != DddStatus::ok) return;
        if (mesh.data.frames.empty() || mesh.data.frames[0].vertices.empty()) return;
        prepare_mesh(mesh);
        os->loaded = 1;
        os->own_textures = 0;
    } catch (const std::bad_alloc&) {
        release_slot(*os);
        log_failure("# malloc error", file);
    }
}

void save_object(const char* file, double slot) {
    ObjectSlot* os = object_slot(slot);
    if (!os || !file || os->meshes.empty() || !os->meshes.front()) return;
    write_file_atomic(file, encode_ddd_binary(os->meshes.front()->data));
}

void begin_object(double slot) {
    ObjectSlot* os = object_slot(slot);
    if (!os) return;
    release_slot(*os);
    auto mesh = std::make_unique<MeshObject>();
    mesh->data.frames.resize(1);
    os->meshes.push_back(std::move(mesh));
    scene.building = to_int32(slot);
    scene.build_vertices.clear();
    add_object_marker(1);
}

void add_object_marker(double mode) {
    if (scene.building < 0) return;
    int m = to_int32(mode);
    FloatVertex marker;
    marker.colour = m == 0 ? kMarkerTriangles : m == 2 ? kMarkerFan : kMarkerStrip;
    scene.build_vertices.push_back(marker);
}

void add_object_vertex(double x, double y, double z, double u, double v, double colour) {
    if (scene.building < 0) return;
    FloatVertex fv;
    fv.pos[0] = float(x);
    fv.pos[1] = float(y);
    fv.pos[2] = float(z);
    fv.u = float(u);
    fv.v = float(v);
    uint32_t c = uint32_t(uint64_t(to_int64(colour)) & 0xFFFFFFFFu);
    fv.colour = c >= kColourWhite ? kColourWhite : c; // never a marker
    scene.build_vertices.push_back(fv);
}

void end_object() {
    if (scene.building < 0) return;
    ObjectSlot& os = scene.objects[size_t(scene.building)];
    scene.building = -1;
    if (scene.build_vertices.size() <= 2 || os.meshes.empty() || !os.meshes.front() ||
        os.meshes.front()->data.frames.empty()) {
        release_slot(os);
        scene.build_vertices.clear();
        return;
    }
    MeshObject& mesh = *os.meshes.front();
    quantise_frame(scene.build_vertices, mesh.data.frames[0], mesh.data.colours);
    for (const auto& v : scene.build_vertices) {
        mesh.data.u.push_back(v.u);
        mesh.data.v.push_back(v.v);
    }
    scene.build_vertices.clear();
    prepare_mesh(mesh);
    os.loaded = 1;
    os.own_textures = 0;
}
