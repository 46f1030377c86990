// From quantised frames to triangle lists: normal lookup, marker expansion, shared corners,
// bounding spheres.
#include "graphics/ddd.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string_view>
#include <unordered_map>

int nearest_normal(float x, float y, float z) {
    float len2 = x * x + y * y + z * z;
    if (len2 > 0.0000001f) {
        float len = std::sqrt(len2);
        x /= len;
        y /= len;
        z /= len;
    }
    float best = 10000;
    int index = 0;
    for (int i = 0; i < kNormalCount; ++i) {
        const float* t = kNormalTable[i];
        float d = std::fabs(x * (x - t[0]) + y * (y - t[1]) + z * (z - t[2]));
        if (d <= best) {
            best = d;
            index = i;
        }
        if (d == 0) break;
    }
    return index;
}

namespace {

DrawVertex make_vertex(const DddMesh& mesh, const DddFrame& frame, size_t i) {
    const DddVertex& q = frame.vertices[i];
    DrawVertex d{};
    const uint8_t b[3] = {q.x, q.y, q.z};
    for (int a = 0; a < 3; ++a)
        d.pos[a] = (float(b[a]) - frame.offset[a]) * frame.scale[a];
    const float* n = kNormalTable[q.normal[0] < kNormalCount ? q.normal[0] : 0];
    for (int a = 0; a < 3; ++a)
        d.normal[a] = n[a];
    if (i < mesh.u.size() && i < mesh.v.size()) {
        d.uv[0] = mesh.u[i];
        d.uv[1] = -mesh.v[i];
    }
    d.colour_index = q.colour;
    d.colour = q.colour < mesh.colours.size() ? mesh.colours[q.colour] : kColourWhite;
    if (d.colour >= kColourWhite) {
        d.rgba[0] = d.rgba[1] = d.rgba[2] = 1.0f;
    } else {
        d.rgba[0] = float(d.colour & 0xff) / 255.0f;
        d.rgba[1] = float((d.colour >> 8) & 0xff) / 255.0f;
        d.rgba[2] = float((d.colour >> 16) & 0xff) / 255.0f;
    }
    d.rgba[3] = 1.0f;
    return d;
}

} // namespace

void expand_frame(const DddMesh& mesh, size_t frame_index, std::vector<DrawVertex>& out) {
    out.clear();
    if (frame_index >= mesh.frames.size()) return;
    const DddFrame& frame = mesh.frames[frame_index];
    uint32_t mode = kMarkerTriangles;
    size_t count = 0; // vertices in the current group
    DrawVertex first{}, prev2{}, prev1{};
    for (size_t i = 0; i < frame.vertices.size(); ++i) {
        uint8_t ci = frame.vertices[i].colour;
        uint32_t colour = ci < mesh.colours.size() ? mesh.colours[ci] : kColourWhite;
        if (is_marker(colour)) {
            mode = colour;
            count = 0;
            continue;
        }
        DrawVertex v = make_vertex(mesh, frame, i);
        if (mode == kMarkerTriangles) {
            if (count == 0)
                first = v;
            else if (count == 1)
                prev1 = v;
            else {
                out.push_back(first);
                out.push_back(prev1);
                out.push_back(v);
            }
            count = (count + 1) % 3;
            continue;
        }
        if (count == 0) first = v;
        if (count >= 2) {
            if (mode == kMarkerFan) {
                out.push_back(first);
                out.push_back(prev1);
                out.push_back(v);
            } else if ((count - 2) % 2 == 0) {
                out.push_back(prev2);
                out.push_back(prev1);
                out.push_back(v);
            } else {
                out.push_back(prev1);
                out.push_back(prev2);
                out.push_back(v);
            }
        }
        prev2 = prev1;
        prev1 = v;
        ++count;
    }
}

void share_corners(const std::vector<std::vector<DrawVertex>>& lists,
                   std::vector<std::vector<DrawVertex>>& vertices, std::vector<uint32_t>& index) {
    vertices.assign(lists.size(), {});
    index.clear();
    if (lists.empty()) return;
    const size_t n = lists[0].size();
    bool same_length = true;
    size_t longest = 0;
    for (const auto& list : lists) {
        same_length = same_length && list.size() == n;
        longest = std::max(longest, list.size());
    }
    if (!same_length || n > UINT32_MAX) {
        vertices = lists;
        index.resize(longest);
        for (size_t i = 0; i < longest; ++i)
            index[i] = uint32_t(i);
        return;
    }
    // Positions as keys, hashed and compared through their corners in every frame.
    auto hash = [&lists](uint32_t i) {
        size_t h = 0;
        for (const auto& list : lists)
            h = h * 31 + std::hash<std::string_view>{}(std::string_view(
                             reinterpret_cast<const char*>(&list[i]), sizeof(DrawVertex)));
        return h;
    };
    auto equal = [&lists](uint32_t a, uint32_t b) {
        for (const auto& list : lists)
            if (std::memcmp(&list[a], &list[b], sizeof(DrawVertex)) != 0) return false;
        return true;
    };
    std::unordered_map<uint32_t, uint32_t, decltype(hash), decltype(equal)> first(n, hash, equal);
    index.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const auto [it, added] = first.emplace(uint32_t(i), uint32_t(vertices[0].size()));
        if (added)
            for (size_t f = 0; f < lists.size(); ++f)
                vertices[f].push_back(lists[f][i]);
        index[i] = it->second;
    }
}

void bounding_sphere(const std::vector<DrawVertex>& vertices, float centre[3], float& radius) {
    centre[0] = centre[1] = centre[2] = 0;
    radius = 0;
    if (vertices.empty()) return;
    double sum[3] = {0, 0, 0};
    for (const auto& v : vertices)
        for (int a = 0; a < 3; ++a)
            sum[a] += v.pos[a];
    for (int a = 0; a < 3; ++a)
        centre[a] = float(sum[a] / double(vertices.size()));
    float best = 0;
    for (const auto& v : vertices) {
        float dx = v.pos[0] - centre[0], dy = v.pos[1] - centre[1], dz = v.pos[2] - centre[2];
        float d2 = dx * dx + dy * dy + dz * dz;
        if (d2 > 0.0000001f && d2 > best) best = d2;
    }
    radius = std::sqrt(best);
}

bool mesh_has_colours(const DddMesh& mesh) {
    for (uint32_t c : mesh.colours)
        if (c != 0xFFFFFF && c < kColourWhite) return true;
    return false;
}
