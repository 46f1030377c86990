#pragma once
// Models of the data generator: triangles and quads with per-face colours, shared texture
// coordinates and one or more frames of vertex positions and normals, written as text
// models ("DDDA", version 1.1: every vertex carries its normal).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace gen {

struct V3 {
    float x = 0, y = 0, z = 0;
};
inline V3 operator+(V3 a, V3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline V3 operator-(V3 a, V3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline V3 operator*(V3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline V3 operator-(V3 a) {
    return {-a.x, -a.y, -a.z};
}
float dot(V3 a, V3 b);
V3 cross(V3 a, V3 b);
float length(V3 a);
V3 normalized(V3 a);
V3 lerp(V3 a, V3 b, float t);

// A rigid placement: rotation (3 x 3, rows) then translation.
struct Xform {
    float m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    V3 t;
    V3 apply(V3 p) const;
    V3 rotate(V3 n) const;
};
Xform operator*(const Xform& a, const Xform& b); // a after b
Xform translate(V3 t);
Xform rotate_x(float deg);
Xform rotate_y(float deg);
Xform rotate_z(float deg);
Xform scaling(float s); // uniform

struct Colour {
    uint8_t r = 255, g = 255, b = 255;
};
inline Colour white() {
    return {255, 255, 255};
}

struct UV {
    float u = 0, v = 0;
};

// A texture of w x h pixels (a power of two each, as generated here): pixel (x, y_from_top)
// as a stored texture coordinate. Drawn coordinates are (u, -v), and the image's bottom row is
// at drawn v = 0, so the stored v of a point is minus its height from the bottom.
UV tex_px(float x, float y_top, int w, int h);

// A rectangle of a texture in pixels (top-left x0, y0; bottom-right x1, y1).
struct TexRect {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    int tw = 1, th = 1; // texture size
    // Point at fractions (s from left, t from top).
    UV at(float s, float t) const;
};

class Mesh {
  public:
    // One frame's worth of geometry is built by adding faces. Each face is a convex polygon
    // (3 or more corners in order around it) with its own vertices; its winding is made
    // clockwise as seen from the side it faces. Without texture coordinates every corner
    // uses one shared (0, 0) pair.
    // A flat polygon whose normal is its geometric normal oriented along `outward`.
    void poly(const std::vector<V3>& corners, const std::vector<UV>& uvs, Colour c, V3 outward);
    // A polygon with given per-corner normals (smooth shading); seen from the side the normals
    // point to.
    void poly_smooth(const std::vector<V3>& corners, const std::vector<V3>& normals,
                     const std::vector<UV>& uvs, Colour c);

    int triangle_count() const;
    int vertex_count() const { return int(verts_.size()); }
    const std::vector<std::pair<V3, V3>>& vertices() const { return verts_; }

    // Appends the vertex positions and normals of `pose` (same faces, built by the same
    // calls) as a further frame.
    bool add_frame(const Mesh& pose);
    int frame_count() const { return 1 + int(extra_frames_.size()); }

    // Applies a placement to every vertex of every frame.
    void transform(const Xform& x);

    std::string to_ddda(const std::string& title) const;

  private:
    int add_vertex(V3 p, V3 n);
    int add_uv(UV uv);
    struct Face {
        Colour c;
        std::vector<std::pair<int, int>> corners; // vertex index, uv index
    };
    std::vector<std::pair<V3, V3>> verts_; // position, normal
    std::vector<UV> uvs_;
    std::vector<Face> faces_;
    std::vector<std::vector<std::pair<V3, V3>>> extra_frames_;
};

} // namespace gen
