// Fuzz target of both .ddd readers: no input may crash, hang or allocate out of proportion; a
// model that reads expands into triangles and survives writing and reading back unchanged.
#include "graphics/ddd.h"

#include <cstdlib>

namespace {

void check(const DddMesh& mesh) {
    std::vector<DrawVertex> draw;
    for (size_t f = 0; f < mesh.frames.size(); ++f) {
        expand_frame(mesh, f, draw);
        float centre[3], radius;
        bounding_sphere(draw, centre, radius);
    }
    std::string bytes = encode_ddd_binary(mesh);
    DddMesh back;
    DddStatus st =
        parse_ddd_binary(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), back);
    // Text models may hold more than 256 colours (indices wrap): those are not binary-valid.
    if (st == DddStatus::ok && encode_ddd_binary(back) != bytes) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DddMesh mesh;
    if (parse_ddd_binary(data, size, mesh) == DddStatus::ok) check(mesh);
    if (parse_ddd_text(data, size, mesh) == DddStatus::ok) check(mesh);
    return 0;
}
