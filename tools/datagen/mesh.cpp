// Model building and the text model writer.
#include "mesh.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace gen {

float dot(V3 a, V3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
V3 cross(V3 a, V3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float length(V3 a) {
    return std::sqrt(dot(a, a));
}
V3 normalized(V3 a) {
    float l = length(a);
    return l > 1e-12f ? a * (1.0f / l) : a;
}
V3 lerp(V3 a, V3 b, float t) {
    return a + (b - a) * t;
}

V3 Xform::apply(V3 p) const {
    return rotate(p) + t;
}

V3 Xform::rotate(V3 n) const {
    return {m[0][0] * n.x + m[0][1] * n.y + m[0][2] * n.z,
            m[1][0] * n.x + m[1][1] * n.y + m[1][2] * n.z,
            m[2][0] * n.x + m[2][1] * n.y + m[2][2] * n.z};
}

Xform operator*(const Xform& a, const Xform& b) {
    Xform r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            r.m[i][j] = 0;
            for (int k = 0; k < 3; ++k)
                r.m[i][j] += a.m[i][k] * b.m[k][j];
        }
    r.t = a.apply(b.t);
    return r;
}

Xform translate(V3 t) {
    Xform x;
    x.t = t;
    return x;
}

namespace {
constexpr float kDeg = 3.14159265358979f / 180.0f;
}

Xform rotate_x(float deg) {
    float c = std::cos(deg * kDeg), s = std::sin(deg * kDeg);
    Xform x;
    x.m[1][1] = c;
    x.m[1][2] = -s;
    x.m[2][1] = s;
    x.m[2][2] = c;
    return x;
}

Xform rotate_y(float deg) {
    float c = std::cos(deg * kDeg), s = std::sin(deg * kDeg);
    Xform x;
    x.m[0][0] = c;
    x.m[0][2] = s;
    x.m[2][0] = -s;
    x.m[2][2] = c;
    return x;
}

Xform rotate_z(float deg) {
    float c = std::cos(deg * kDeg), s = std::sin(deg * kDeg);
    Xform x;
    x.m[0][0] = c;
    x.m[0][1] = -s;
    x.m[1][0] = s;
    x.m[1][1] = c;
    return x;
}

Xform scaling(float s) {
    Xform x;
    for (int i = 0; i < 3; ++i)
        x.m[i][i] = s;
    return x;
}

UV tex_px(float x, float y_top, int w, int h) {
    return {x / float(w), y_top / float(h) - 1.0f};
}

UV TexRect::at(float s, float t) const {
    return tex_px(x0 + (x1 - x0) * s, y0 + (y1 - y0) * t, tw, th);
}

int Mesh::add_vertex(V3 p, V3 n) {
    verts_.push_back({p, n});
    return int(verts_.size()) - 1;
}

int Mesh::add_uv(UV uv) {
    uvs_.push_back(uv);
    return int(uvs_.size()) - 1;
}

namespace {

// Newell's normal of a polygon: counter-clockwise corners give a normal towards the viewer.
V3 polygon_normal(const std::vector<V3>& c) {
    V3 n;
    for (size_t i = 0; i < c.size(); ++i) {
        const V3& a = c[i];
        const V3& b = c[(i + 1) % c.size()];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return n;
}

} // namespace

void Mesh::poly(const std::vector<V3>& corners, const std::vector<UV>& uvs, Colour c, V3 outward) {
    V3 g = polygon_normal(corners);
    V3 n = normalized(dot(g, outward) < 0 ? -g : g);
    if (length(g) < 1e-12f) n = normalized(outward);
    std::vector<V3> normals(corners.size(), n);
    std::vector<V3> cs = corners;
    std::vector<UV> us = uvs;
    // Clockwise seen from outside: the counter-clockwise normal must point inwards.
    if (dot(g, outward) > 0) {
        std::reverse(cs.begin(), cs.end());
        std::reverse(us.begin(), us.end());
    }
    Face f;
    f.c = c;
    for (size_t i = 0; i < cs.size(); ++i) {
        int vi = add_vertex(cs[i], normals[i]);
        int ui = us.empty() ? -1 : add_uv(us[i]);
        f.corners.push_back({vi, ui});
    }
    faces_.push_back(f);
}

void Mesh::poly_smooth(const std::vector<V3>& corners, const std::vector<V3>& normals,
                       const std::vector<UV>& uvs, Colour c) {
    V3 outward;
    for (const V3& n : normals)
        outward = outward + n;
    V3 g = polygon_normal(corners);
    std::vector<V3> cs = corners, ns = normals;
    std::vector<UV> us = uvs;
    if (dot(g, outward) > 0) {
        std::reverse(cs.begin(), cs.end());
        std::reverse(ns.begin(), ns.end());
        std::reverse(us.begin(), us.end());
    }
    Face f;
    f.c = c;
    for (size_t i = 0; i < cs.size(); ++i) {
        int vi = add_vertex(cs[i], normalized(ns[i]));
        int ui = us.empty() ? -1 : add_uv(us[i]);
        f.corners.push_back({vi, ui});
    }
    faces_.push_back(f);
}

int Mesh::triangle_count() const {
    int n = 0;
    for (const Face& f : faces_)
        n += int(f.corners.size()) - 2;
    return n;
}

bool Mesh::add_frame(const Mesh& pose) {
    if (pose.verts_.size() != verts_.size() || pose.faces_.size() != faces_.size()) return false;
    for (size_t i = 0; i < faces_.size(); ++i)
        if (pose.faces_[i].corners != faces_[i].corners) return false;
    extra_frames_.push_back(pose.verts_);
    return true;
}

void Mesh::transform(const Xform& x) {
    auto apply = [&](std::vector<std::pair<V3, V3>>& vs) {
        for (auto& [p, n] : vs) {
            p = x.apply(p);
            n = normalized(x.rotate(n));
        }
    };
    apply(verts_);
    for (auto& f : extra_frames_)
        apply(f);
}

namespace {

void append(std::string& s, const char* fmt, double a) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, a);
    s += buf;
}

// Fixed decimals; "-0.0000" is written as "0.0000" so equal inputs give equal text.
void num(std::string& s, double v, const char* fmt = "%.4f") {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    std::string t = buf;
    if (t[0] == '-' && t.find_first_not_of("-0.") == std::string::npos) t.erase(0, 1);
    s += t;
}

} // namespace

std::string Mesh::to_ddda(const std::string& title) const {
    std::string s = "DDDA\n1.1\n# " + title + "\n";
    const bool any_uv = !uvs_.empty();
    s += "# texture coordinates\n";
    append(s, "%.0f\n", any_uv ? double(uvs_.size()) : 1.0);
    if (any_uv) {
        for (const UV& uv : uvs_) {
            num(s, uv.u, "%.6f");
            s += ' ';
            num(s, uv.v, "%.6f");
            s += '\n';
        }
    } else {
        s += "0 0\n";
    }
    s += "# faces: red green blue, corners, (vertex, texture coordinate) per corner\n";
    append(s, "%.0f\n", double(faces_.size()));
    for (const Face& f : faces_) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%d %d %d %d", f.c.r, f.c.g, f.c.b, int(f.corners.size()));
        s += buf;
        for (auto [vi, ui] : f.corners) {
            std::snprintf(buf, sizeof buf, " %d %d", vi, ui < 0 ? 0 : ui);
            s += buf;
        }
        s += '\n';
    }
    s += "# frames: vertices as x y z nx ny nz\n";
    append(s, "%.0f\n", double(frame_count()));
    auto write_frame = [&](const std::vector<std::pair<V3, V3>>& vs) {
        append(s, "%.0f\n", double(vs.size()));
        for (const auto& [p, n] : vs) {
            num(s, p.x);
            s += ' ';
            num(s, p.y);
            s += ' ';
            num(s, p.z);
            s += ' ';
            num(s, n.x);
            s += ' ';
            num(s, n.y);
            s += ' ';
            num(s, n.z);
            s += '\n';
        }
    };
    write_frame(verts_);
    for (const auto& f : extra_frames_)
        write_frame(f);
    return s;
}

} // namespace gen
