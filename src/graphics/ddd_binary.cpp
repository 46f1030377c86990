// The binary .ddd variant: reading (every count checked against the bytes left and the tables)
// and writing.
#include "graphics/ddd.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

struct Reader {
    const uint8_t* p;
    size_t left;

    bool bytes(void* out, size_t n) {
        if (n > left) return false;
        std::memcpy(out, p, n);
        p += n;
        left -= n;
        return true;
    }
    bool u32(uint32_t& v) {
        uint8_t b[4] = {};
        if (!bytes(b, 4)) return false;
        v = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
        return true;
    }
    bool f32(float& v) {
        uint32_t bits;
        if (!u32(bits)) return false;
        std::memcpy(&v, &bits, 4);
        return true;
    }
    bool f64(double& v) {
        uint32_t lo, hi;
        if (!u32(lo) || !u32(hi)) return false;
        uint64_t bits = uint64_t(hi) << 32 | lo;
        std::memcpy(&v, &bits, 8);
        return true;
    }
};

constexpr size_t kFrameHeaderBytes = 4 + 12 + 12;

DddStatus read_binary(Reader& r, DddMesh& mesh) {
    uint32_t magic;
    double version;
    uint32_t frames, colours, uvs;
    if (!r.u32(magic) || magic != kDddMagic) return DddStatus::read_error;
    if (!r.f64(version) || version != kDddVersion) return DddStatus::read_error;
    if (!r.u32(frames) || !r.u32(colours) || !r.u32(uvs)) return DddStatus::read_error;
    // Counts are checked against the bytes that must follow before anything is allocated.
    if (colours > r.left / 4) return DddStatus::read_error;
    mesh.colours.resize(colours);
    for (auto& c : mesh.colours)
        r.u32(c);
    if (uvs > r.left / 8) return DddStatus::read_error;
    mesh.u.resize(uvs);
    mesh.v.resize(uvs);
    for (uint32_t i = 0; i < uvs; ++i) {
        r.f32(mesh.u[i]);
        r.f32(mesh.v[i]);
    }
    if (frames > r.left / kFrameHeaderBytes) return DddStatus::read_error;
    mesh.frames.resize(frames);
    for (auto& f : mesh.frames) {
        uint32_t n;
        if (!r.u32(n)) return DddStatus::read_error;
        for (float& o : f.offset)
            r.f32(o);
        for (float& s : f.scale)
            if (!r.f32(s)) return DddStatus::read_error;
        if (n > uvs || n > r.left / 5) return DddStatus::read_error;
        f.vertices.resize(n);
        for (auto& v : f.vertices) {
            uint8_t b[5] = {};
            r.bytes(b, 5);
            if (b[3] >= kNormalCount || b[4] >= colours) return DddStatus::read_error;
            v.x = b[0];
            v.y = b[1];
            v.z = b[2];
            v.normal[0] = b[3];
            v.colour = b[4];
        }
    }
    return DddStatus::ok;
}

void put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s += char((v >> (8 * i)) & 0xff);
}
void putf(std::string& s, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    put32(s, bits);
}

} // namespace

DddStatus parse_ddd_binary(const uint8_t* data, size_t size, DddMesh& mesh) {
    mesh = DddMesh{};
    Reader r{data, data ? size : 0};
    DddStatus st;
    try {
        st = read_binary(r, mesh);
    } catch (const std::bad_alloc&) {
        st = DddStatus::malloc_error;
    }
    if (st != DddStatus::ok) mesh = DddMesh{};
    return st;
}

DddStatus parse_ddd(const uint8_t* data, size_t size, DddMesh& mesh, DddVariant* variant) {
    bool binary = false;
    if (data && size >= 4) {
        uint32_t magic = uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 |
                         uint32_t(data[3]) << 24;
        binary = magic == kDddMagic;
    }
    if (variant) *variant = binary ? DddVariant::binary : DddVariant::text;
    return binary ? parse_ddd_binary(data, size, mesh) : parse_ddd_text(data, size, mesh);
}

std::string encode_ddd_binary(const DddMesh& mesh) {
    std::string out;
    size_t uvs = std::min(mesh.u.size(), mesh.v.size());
    put32(out, kDddMagic);
    uint64_t vbits;
    double version = kDddVersion;
    std::memcpy(&vbits, &version, 8);
    put32(out, uint32_t(vbits));
    put32(out, uint32_t(vbits >> 32));
    put32(out, uint32_t(mesh.frames.size()));
    put32(out, uint32_t(mesh.colours.size()));
    put32(out, uint32_t(uvs));
    for (uint32_t c : mesh.colours)
        put32(out, c);
    for (size_t i = 0; i < uvs; ++i) {
        putf(out, mesh.u[i]);
        putf(out, mesh.v[i]);
    }
    for (const auto& f : mesh.frames) {
        put32(out, uint32_t(f.vertices.size()));
        for (float o : f.offset)
            putf(out, o);
        for (float s : f.scale)
            putf(out, s);
        for (const auto& v : f.vertices) {
            out += char(v.x);
            out += char(v.y);
            out += char(v.z);
            out += char(v.normal[0]);
            out += char(v.colour);
        }
    }
    return out;
}
