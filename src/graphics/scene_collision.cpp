// Collision queries against one frame of an object, placed by the current transform levels
// (every triangle is tested in scene coordinates), and the debug drawings.
//   sphere: hit when some triangle comes within the radius of the centre;
//   box:    hit when the bounding box of some triangle overlaps the box (corners in any order);
//   ray:    distance along the normalised direction to the nearest triangle, -1 for none.
#include "graphics/scene.h"
#include "graphics/scene_engine.h"
#include "runtime/numbers.h"

#include <algorithm>
#include <cmath>

bool scene_debug_drawing = false;

void set_scene_debug(double on) {
    scene_debug_drawing = on != 0;
}

namespace {

using V3 = std::array<float, 3>;

V3 sub(const V3& a, const V3& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
float dot(const V3& a, const V3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
V3 cross(const V3& a, const V3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
V3 mad(const V3& a, const V3& d, float t) {
    return {a[0] + d[0] * t, a[1] + d[1] * t, a[2] + d[2] * t};
}

// The placed triangles of a frame (three corners each); empty for an empty slot.
std::vector<V3> placed_triangles(double slot, double frame) {
    std::vector<V3> out;
    int32_t s = to_int32(slot);
    if (s < 0 || s >= kObjectSlots || !scene.objects[size_t(s)].loaded) return out;
    float m[16];
    placement_matrix(m);
    for (const auto& mesh : scene.objects[size_t(s)].meshes) {
        if (!mesh || mesh->vertices.empty() || mesh->corners.size() != mesh->vertices.size())
            continue;
        const size_t f = size_t(std::clamp(to_int32(frame), 0, int(mesh->vertices.size()) - 1));
        const std::vector<DrawVertex>& vertices = mesh->vertices[f];
        std::vector<V3> placed(vertices.size());
        for (size_t i = 0; i < vertices.size(); ++i)
            transform_point(m, vertices[i].pos, placed[i].data());
        for (size_t c = 0; c < mesh->corners[f] && c < mesh->index.size(); ++c)
            out.push_back(placed[mesh->index[c]]);
    }
    return out;
}

V3 closest_on_triangle(const V3& p, const V3& a, const V3& b, const V3& c) {
    V3 ab = sub(b, a), ac = sub(c, a), ap = sub(p, a);
    float d1 = dot(ab, ap), d2 = dot(ac, ap);
    if (d1 <= 0 && d2 <= 0) return a;
    V3 bp = sub(p, b);
    float d3 = dot(ab, bp), d4 = dot(ac, bp);
    if (d3 >= 0 && d4 <= d3) return b;
    float vc = d1 * d4 - d3 * d2;
    if (vc <= 0 && d1 >= 0 && d3 <= 0) return mad(a, ab, d1 / (d1 - d3));
    V3 cp = sub(p, c);
    float d5 = dot(ab, cp), d6 = dot(ac, cp);
    if (d6 >= 0 && d5 <= d6) return c;
    float vb = d5 * d2 - d1 * d6;
    if (vb <= 0 && d2 >= 0 && d6 <= 0) return mad(a, ac, d2 / (d2 - d6));
    float va = d3 * d6 - d5 * d4;
    if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0)
        return mad(b, sub(c, b), (d4 - d3) / ((d4 - d3) + (d5 - d6)));
    float denom = 1 / (va + vb + vc);
    float v = vb * denom, w = vc * denom;
    return mad(mad(a, ab, v), ac, w);
}

double hit_colour(bool hit) {
    return hit ? 65280 : 255;
}

} // namespace

double object_hits_sphere(double slot, double frame, double x, double y, double z, double r) {
    auto tris = placed_triangles(slot, frame);
    V3 p = {float(x), float(y), float(z)};
    bool hit = false;
    for (size_t i = 0; i + 2 < tris.size() && !hit; i += 3) {
        V3 q = sub(closest_on_triangle(p, tris[i], tris[i + 1], tris[i + 2]), p);
        hit = dot(q, q) <= float(r * r);
    }
    if (scene_debug_drawing) debug_point(x, y, z, hit_colour(hit), std::max(1.0, r));
    return truth(hit);
}

double object_hits_box(double slot, double frame, double x1, double y1, double z1, double x2,
                       double y2, double z2) {
    auto tris = placed_triangles(slot, frame);
    float lo[3] = {float(std::min(x1, x2)), float(std::min(y1, y2)), float(std::min(z1, z2))};
    float hi[3] = {float(std::max(x1, x2)), float(std::max(y1, y2)), float(std::max(z1, z2))};
    bool hit = false;
    for (size_t i = 0; i + 2 < tris.size() && !hit; i += 3) {
        bool overlap = true;
        for (int a = 0; a < 3; ++a) {
            float tlo = std::min({tris[i][a], tris[i + 1][a], tris[i + 2][a]});
            float thi = std::max({tris[i][a], tris[i + 1][a], tris[i + 2][a]});
            overlap = overlap && tlo <= hi[a] && thi >= lo[a];
        }
        hit = overlap;
    }
    if (scene_debug_drawing) {
        double c = hit_colour(hit);
        double xs[2] = {lo[0], hi[0]}, ys[2] = {lo[1], hi[1]}, zs[2] = {lo[2], hi[2]};
        for (int a = 0; a < 2; ++a)
            for (int b = 0; b < 2; ++b) {
                debug_line(xs[0], ys[a], zs[b], xs[1], ys[a], zs[b], c, 1);
                debug_line(xs[a], ys[0], zs[b], xs[a], ys[1], zs[b], c, 1);
                debug_line(xs[a], ys[b], zs[0], xs[a], ys[b], zs[1], c, 1);
            }
    }
    return truth(hit);
}

double object_ray_distance(double slot, double frame, double x, double y, double z, double dx,
                           double dy, double dz) {
    auto tris = placed_triangles(slot, frame);
    V3 o = {float(x), float(y), float(z)}, d = {float(dx), float(dy), float(dz)};
    float len = std::sqrt(dot(d, d));
    if (len == 0) return -1;
    for (float& c : d)
        c /= len;
    float best = -1;
    for (size_t i = 0; i + 2 < tris.size(); i += 3) {
        V3 e1 = sub(tris[i + 1], tris[i]), e2 = sub(tris[i + 2], tris[i]);
        V3 p = cross(d, e2);
        float det = dot(e1, p);
        if (std::fabs(det) < 1e-12f) continue;
        V3 s = sub(o, tris[i]);
        float u = dot(s, p) / det;
        if (u < 0 || u > 1) continue;
        V3 q = cross(s, e1);
        float v = dot(d, q) / det;
        if (v < 0 || u + v > 1) continue;
        float t = dot(e2, q) / det;
        if (t >= 0 && (best < 0 || t < best)) best = t;
    }
    if (scene_debug_drawing) {
        double reach = best >= 0 ? best : 500;
        debug_line(x, y, z, x + d[0] * reach, y + d[1] * reach, z + d[2] * reach,
                   hit_colour(best >= 0), 1);
    }
    return best;
}

namespace {

void begin_debug(double colour) {
    flush_outlines();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(scene.camera_matrix);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_POINT_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    int64_t c = to_int64(colour);
    glColor4f(float(c & 0xff) / 255.0f, float((c >> 8) & 0xff) / 255.0f,
              float((c >> 16) & 0xff) / 255.0f, 1);
}

void end_debug() {
    glPopAttrib();
    glPopMatrix();
}

float clamp_size(double s) {
    return float(std::clamp(std::isnan(s) ? 1.0 : s, 1.0, 512.0));
}

} // namespace

void debug_line(double x1, double y1, double z1, double x2, double y2, double z2, double colour,
                double width) {
    if (scene.device.no_draw) return;
    begin_debug(colour);
    glLineWidth(clamp_size(width));
    glBegin(GL_LINES);
    glVertex3d(x1, y1, z1);
    glVertex3d(x2, y2, z2);
    glEnd();
    end_debug();
}

void debug_point(double x, double y, double z, double colour, double size) {
    if (scene.device.no_draw) return;
    begin_debug(colour);
    glPointSize(clamp_size(size));
    glBegin(GL_POINTS);
    glVertex3d(x, y, z);
    glEnd();
    end_debug();
}

void draw_axes(double x, double y, double z) {
    const double colours[3] = {255, 65280, 16711680};
    for (int a = 0; a < 3; ++a) {
        double e[3] = {x, y, z};
        e[a] += 20;
        debug_line(x, y, z, e[0], e[1], e[2], colours[a], 1);
        debug_point(e[0], e[1], e[2], colours[a], 5); // the arrow's head
    }
}
