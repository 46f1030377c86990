// The text .ddd variant ("DDDA"): tokens, faces as fans, per-frame quantisation.
#include "graphics/ddd.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <unordered_map>

namespace {

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

struct Tokens {
    const char* p;
    const char* end;

    size_t left() const { return size_t(end - p); }

    bool next(std::string_view& tok) {
        for (;;) {
            while (p < end && is_space(*p))
                ++p;
            if (p < end && *p == '#') {
                while (p < end && *p != '\n')
                    ++p;
                continue;
            }
            break;
        }
        if (p >= end) return false;
        const char* start = p;
        while (p < end && !is_space(*p) && *p != '#')
            ++p;
        tok = std::string_view(start, size_t(p - start));
        return true;
    }

    bool number(double& v) {
        std::string_view tok;
        if (!next(tok) || tok.size() > 63) return false;
        // Plain decimal numbers, nearly every token of a model, are read without a copy; both
        // readers round correctly, so they agree. Anything else (a sign '+', hex, a number out
        // of range, junk) takes strtod's way.
        const char* end = tok.data() + tok.size();
        const auto [stop_fast, ec] = std::from_chars(tok.data(), end, v);
        if (ec == std::errc() && stop_fast == end) return std::isfinite(v);
        char buf[64];
        std::memcpy(buf, tok.data(), tok.size());
        buf[tok.size()] = '\0';
        char* stop = nullptr;
        v = std::strtod(buf, &stop);
        return stop == buf + tok.size() && std::isfinite(v);
    }

    bool number(float& v) {
        double d;
        if (!number(d) || std::fabs(d) > 3.0e38) return false;
        v = float(d);
        return true;
    }

    // A count or index, rounded to the nearest integer, 0..max.
    bool whole(uint64_t& n, uint64_t max) {
        double d;
        if (!number(d)) return false;
        d = std::round(d);
        if (d < 0 || d > double(max)) return false;
        n = uint64_t(d);
        return true;
    }
};

// A colour component: any whole number (rounded), of which the caller keeps the low byte.
bool component(Tokens& t, uint32_t& byte) {
    double d;
    if (!t.number(d)) return false;
    d = std::round(d);
    if (std::fabs(d) > 9007199254740992.0) return false; // beyond exact whole doubles
    byte = uint32_t(uint64_t(int64_t(d)) & 0xff);
    return true;
}

struct Corner {
    uint32_t vertex;
    uint32_t uv;
};
struct Face {
    uint32_t colour;
    size_t first; // into the corner list
    size_t count;
};

DddStatus read_text(Tokens& t, size_t file_size, DddMesh& mesh) {
    std::string_view word;
    if (!t.next(word) || word != "DDDA") return DddStatus::not_a_model;
    double version;
    if (!t.number(version)) return DddStatus::read_error;
    if (float(version) > 1.1f) return DddStatus::not_a_model;
    bool has_normals = float(version) >= 1.1f;

    uint64_t uvs;
    if (!t.whole(uvs, t.left())) return DddStatus::read_error;
    std::vector<float> file_u(uvs), file_v(uvs);
    for (uint64_t i = 0; i < uvs; ++i)
        if (!t.number(file_u[i]) || !t.number(file_v[i])) return DddStatus::read_error;

    uint64_t face_count;
    if (!t.whole(face_count, t.left())) return DddStatus::read_error;
    std::vector<Face> faces(face_count);
    std::vector<Corner> corners;
    for (auto& f : faces) {
        uint32_t rgb[3];
        uint64_t k;
        for (auto& c : rgb)
            if (!component(t, c)) return DddStatus::read_error;
        if (!t.whole(k, t.left())) return DddStatus::read_error;
        f.colour = rgb[0] | rgb[1] << 8 | rgb[2] << 16;
        f.first = corners.size();
        f.count = k;
        for (uint64_t i = 0; i < k; ++i) {
            uint64_t vi, ui;
            if (!t.whole(vi, UINT32_MAX) || !t.whole(ui, UINT32_MAX)) return DddStatus::read_error;
            if (uvs > 0 && ui >= uvs) return DddStatus::read_error;
            corners.push_back({uint32_t(vi), uint32_t(ui)});
        }
    }
    // Each face becomes a fan marker followed by its corners, in every frame.
    const uint64_t per_frame = faces.size() + corners.size();

    uint64_t frame_count;
    if (!t.whole(frame_count, t.left() + 1)) return DddStatus::read_error;
    // Frames repeat the expanded face list: keep the total in proportion to the file.
    const uint64_t budget = uint64_t(file_size) * 4 + 65536;
    if (per_frame != 0 && frame_count > budget / per_frame) return DddStatus::read_error;

    mesh.u.assign(per_frame, 0.0f);
    mesh.v.assign(per_frame, 0.0f);
    if (uvs > 0) {
        size_t out = 0;
        for (const auto& f : faces) {
            ++out; // the marker keeps (0, 0)
            for (size_t i = 0; i < f.count; ++i, ++out) {
                mesh.u[out] = file_u[corners[f.first + i].uv];
                mesh.v[out] = file_v[corners[f.first + i].uv];
            }
        }
    }

    mesh.frames.resize(frame_count);
    std::vector<FloatVertex> positions, expanded;
    for (auto& frame : mesh.frames) {
        uint64_t n;
        if (!t.whole(n, t.left())) return DddStatus::read_error;
        positions.assign(n, FloatVertex{});
        for (auto& p : positions) {
            for (float& c : p.pos)
                if (!t.number(c)) return DddStatus::read_error;
            if (has_normals)
                for (float& c : p.normal)
                    if (!t.number(c)) return DddStatus::read_error;
        }
        expanded.clear();
        expanded.reserve(per_frame);
        size_t uv_index = 0;
        for (const auto& f : faces) {
            FloatVertex marker;
            marker.colour = kMarkerFan;
            expanded.push_back(marker);
            ++uv_index;
            float face_normal[3] = {0, 0, 0};
            for (size_t i = 0; i < f.count; ++i)
                if (corners[f.first + i].vertex >= n) return DddStatus::read_error;
            if (!has_normals && f.count >= 3) {
                // Front faces wind clockwise seen from outside: (p2 - p0) x (p1 - p0) points out.
                const float* p0 = positions[corners[f.first].vertex].pos;
                const float* p1 = positions[corners[f.first + 1].vertex].pos;
                const float* p2 = positions[corners[f.first + 2].vertex].pos;
                float a[3] = {p2[0] - p0[0], p2[1] - p0[1], p2[2] - p0[2]};
                float b[3] = {p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
                face_normal[0] = a[1] * b[2] - a[2] * b[1];
                face_normal[1] = a[2] * b[0] - a[0] * b[2];
                face_normal[2] = a[0] * b[1] - a[1] * b[0];
            }
            for (size_t i = 0; i < f.count; ++i, ++uv_index) {
                FloatVertex v = positions[corners[f.first + i].vertex];
                if (!has_normals) std::memcpy(v.normal, face_normal, sizeof face_normal);
                v.u = mesh.u[uv_index];
                v.v = mesh.v[uv_index];
                v.colour = f.colour;
                expanded.push_back(v);
            }
        }
        quantise_frame(expanded, frame, mesh.colours);
    }
    return DddStatus::ok;
}

} // namespace

void quantise_frame(const std::vector<FloatVertex>& in, DddFrame& frame,
                    std::vector<uint32_t>& colours) {
    float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
    bool any = false;
    for (const auto& v : in) {
        if (is_marker(v.colour)) continue;
        for (int a = 0; a < 3; ++a) {
            if (!any || v.pos[a] < lo[a]) lo[a] = v.pos[a];
            if (!any || v.pos[a] > hi[a]) hi[a] = v.pos[a];
        }
        any = true;
    }
    for (int a = 0; a < 3; ++a) {
        float s = (hi[a] - lo[a]) / 255.0f;
        if (s == 0 || !std::isfinite(s)) s = 1;
        frame.scale[a] = s;
        frame.offset[a] = -lo[a] / s;
    }
    std::unordered_map<uint32_t, size_t> index;
    for (size_t i = 0; i < colours.size(); ++i)
        index.emplace(colours[i], i);

    frame.vertices.resize(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        const FloatVertex& f = in[i];
        DddVertex& q = frame.vertices[i];
        uint8_t* axes[3] = {&q.x, &q.y, &q.z};
        for (int a = 0; a < 3; ++a) {
            float r = std::round(f.pos[a] / frame.scale[a] + frame.offset[a]);
            *axes[a] = !(r > 0) ? 0 : r >= 255 ? 255 : uint8_t(r);
        }
        q.normal[0] = is_marker(f.colour)
                          ? 0
                          : uint8_t(nearest_normal(f.normal[0], f.normal[1], f.normal[2]));
        q.normal[1] = q.normal[2] = 0;
        auto [it, added] = index.emplace(f.colour, colours.size());
        if (added) colours.push_back(f.colour);
        q.colour = uint8_t(it->second & 0xff);
    }
}

DddStatus parse_ddd_text(const uint8_t* data, size_t size, DddMesh& mesh) {
    mesh = DddMesh{};
    if (!data) size = 0;
    const char* p = reinterpret_cast<const char*>(data);
    Tokens t{p, p + size};
    DddStatus st;
    try {
        st = read_text(t, size, mesh);
    } catch (const std::bad_alloc&) {
        st = DddStatus::malloc_error;
    }
    if (st != DddStatus::ok) mesh = DddMesh{};
    return st;
}
