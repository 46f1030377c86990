#pragma once
// The 3D engine's state (one global instance, `scene`). Shared by the scene's source files and
// inspected by tests; game code uses the functions of graphics/scene.h.
#include "graphics/ddd.h"
#include "graphics/device.h"

#include <array>
#include <memory>
#include <vector>

constexpr int kObjectSlots = 4096;
constexpr int kTransformLevels = 16;
constexpr int kMaxRotations = 16;

struct MeshObject {
    DddMesh data;
    // Built at load time: each frame's distinct corners, the triangle lists' corners as indices
    // into them (one list for every frame), and how many of those indices each frame draws.
    std::vector<std::vector<DrawVertex>> vertices;
    std::vector<uint32_t> index;
    std::vector<size_t> corners;
    std::vector<DrawVertex> blend; // the one reusable working array
    std::vector<float> cel;        // cel shading's ramp coordinates, two a vertex
    std::vector<float> pushed;     // the outline's corners, three floats a vertex
    // The index of the last draw split by the fog (split_at_fog), the triangles in fog last;
    // with the working arrays the split is made in.
    std::vector<uint32_t> fog_index, fog_work;
    std::vector<uint8_t> in_fog;
    // [0] first frame's vertices (static), [1] refilled, [2] index, [3] ramp coordinates,
    // [4] fog_index
    GLuint buffers[5] = {0, 0, 0, 0, 0};
    bool has_colours = false;
    GLuint ramp_texture = 0; // cel-shading ramp, built on first use
    int ramp_height = 0;
    float ramp_inv_height = 0;
};

struct ObjectSlot {
    uint8_t loaded = 0;
    uint8_t own_textures = 0;
    std::vector<std::unique_ptr<MeshObject>> meshes;
};

struct Rotation {
    float angle, x, y, z;
};
struct TransformLevel {
    int rotation_count = 0;
    Rotation rotations[kMaxRotations] = {};
    float scale[3] = {1, 1, 1};
    float translation[3] = {0, 0, 0};
    void reset() { *this = TransformLevel{}; }
};

// Which frames a blended draw mixes: first x w + second x (1 - w).
struct FrameBlend {
    int first, second;
    float w;
};
FrameBlend choose_frames(int frame_a, int frame_b, double t, bool animate, int frame_count);

// The view-cone test of object culling (sphere centre c, radius r).
bool sphere_in_view(const float c[3], float r, const float eye[3], const float target[3],
                    float cull_tangent);

// Whether a sphere (model-space centre c, radius r) under the placement `place` lies wholly
// outside the view volume of the current camera and projection, with room for rounding: such a
// sphere's triangles are clipped away whole, so leaving them out changes no pixel.
bool sphere_outside_frustum(const float place[16], const float c[3], float r);

// An outline kept by batch_outlines: where its vertices are in the batch, how it was placed.
struct WaitingOutline {
    const MeshObject* mesh;
    size_t corners, first;
    float base[16], place[16]; // drawn under base x place, as the object was
    int8_t cull_mode;
};
struct OutlineBatch {
    bool on = false;
    std::vector<WaitingOutline> outlines;
    std::vector<float> positions; // every waiting outline's corners, pushed out (x, y, z)
};

struct Zivevidu3D {
    OpenGLZivevidu& device;
    std::vector<ObjectSlot> objects = std::vector<ObjectSlot>(kObjectSlots);

    uint8_t shadow_pass = 0;
    uint8_t frustum_culling = 1; // sphere_outside_frustum leaves draws out (off: tests compare)
    uint8_t outline_batching = 1; // batch_outlines takes effect (off: tests compare)
    uint8_t fog_shortcut = 1;     // split_at_fog takes effect (off: tests compare)
    int8_t cull_mode = 0;
    std::array<TransformLevel, kTransformLevels> levels{};
    int transform_level = 0;

    float eye[3] = {0, 0, 0}, target[3] = {0, 0, -1}, up[3] = {0, 1, 0};
    float near_distance = 1, far_distance = 100, cull_tangent = 1;
    float camera_matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float projection[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    // What begin_3d made `projection` from: the kind (1 perspective, -1 orthographic), the
    // half height at the near plane, the aspect, near and far.
    double projection_key[5] = {};
    bool projection_known = false;
    int viewport[4] = {0, 0, 800, 600};

    uint8_t lights_on = 0;
    uint8_t sphere_mapping = 0;
    uint8_t fade_keeps_colour = 0; // translucent draws take colour (1, 1, 1, alpha)
    uint8_t shade_on = 0;
    int shade_mode = 2;
    float shade_position[3] = {0, 0, 0};
    float shade_colour[3] = {1, 1, 1};
    float texture_offset[2] = {0, 0};
    int bump_mode = 0;

    OutlineBatch outline_batch;

    int texture_mode = 0;
    int texture_slot = -1, second_slot = -1;
    bool in_3d = false;

    // Run-time object being built (-1: none).
    int building = -1;
    std::vector<FloatVertex> build_vertices;

    explicit Zivevidu3D(OpenGLZivevidu& d) : device(d) {}
};

extern Zivevidu3D scene;

// Helpers shared by the scene's files.
void release_slot(ObjectSlot& slot);
// Builds the draw arrays, bounding spheres and flags of a freshly read mesh.
void prepare_mesh(MeshObject& mesh);
// The placement matrix of levels 0..current (column-major, as OpenGL takes it).
void placement_matrix(float m[16]);
bool invert_matrix(const float m[16], float out[16]);
void transform_point(const float m[16], const float p[3], float out[3]);
// GL texture name of a sprite slot for 3D drawing (0 when none).
GLuint slot_texture(int slot);
// Object arrays. The address of a field of the vertex at `base` (an offset when base is null).
const char* vertex_field(const void* base, size_t offset);
// Binds `buffer` to `target` and fills it with `bytes` bytes of `data`.
void fill_buffer(GLuint buffer, const void* data, size_t bytes, GLenum target = GL_ARRAY_BUFFER);
// Points the arrays at `count` vertices: in the static buffer, the refilled buffer, or memory;
// returns the base for vertex_field.
const DrawVertex* bind_vertices(MeshObject& mesh, const DrawVertex* data, size_t count,
                                bool static_first_frame);
// Texture unit 0 or 1 on `texture` with coordinates at `coord_offset`, or off for texture 0.
void texture_unit(int unit, GLuint texture, const void* base, size_t coord_offset,
                  size_t stride = sizeof(DrawVertex));
// Every array and the second texture unit off, no array buffer bound.
void finish_arrays();
// Draws `corners` corners of the mesh's triangle lists through its index, from the index buffer
// or from memory.
void draw_triangles(const MeshObject& mesh, size_t corners);

// Linear fog turns a fragment wholly into the fog colour beyond the fog's end, whatever its
// texture: the triangles of a draw that lie wholly there may be drawn untextured, which costs a
// software rasteriser much less, and gives the same pixels when nothing else tells them apart:
// an opaque texture on unit 0 only, no blending, no cel shading, no sphere mapping, no shadow
// pass, no multisampling.
bool fog_may_hide_texture(int texture_slot, bool cel);
// Sorts the draw's first `corners` corners' triangles (vertices at `shape`, placed by `place` on
// the model-view matrix last loaded) into mesh.fog_index: those that may show their texture,
// then those wholly beyond the fog's end, each part in its own order. Returns the corners of the
// first part (`corners` when no triangle lies in the fog, and fog_index is then left alone).
size_t split_at_fog(MeshObject& mesh, const DrawVertex* shape, size_t count, size_t corners,
                    const float place[16]);
// Draws a split draw: the first `textured` corners of fog_index as set up, the rest with unit 0
// untextured (it is left so).
void draw_split_at_fog(const MeshObject& mesh, size_t textured, size_t corners);

// The outline of cel shading for a draw of the `count` vertices at `shape`, placed by `place` on
// the model-view matrix last loaded: drawn at once, or, when `wait` is set, kept for
// flush_outlines.
void draw_outline(MeshObject& mesh, const DrawVertex* shape, size_t count, size_t corners,
                  const DddFrame& frame, const float place[16], const float inv[16], bool wait);
// Whether outlines may wait now: batch_outlines is on and nothing drawn since depends on the
// order (no blending, no shadow pass).
bool outlines_may_wait();
// Draws the outlines kept since the last flush, in the order they were drawn.
void flush_outlines();

// Draws the stencil shadow pass's end (no-op when none is on).
void finish_shadow_pass();
// Cel shading: builds the ramp on first use.
void ensure_ramp(MeshObject& mesh);

// Collision queries draw the shapes they test while this is on (set_scene_debug).
extern bool scene_debug_drawing;
