// steel_data model FILE: what the runtime makes of a .ddd model, as JSON.
#include "command.h"
#include "graphics/ddd.h"
#include "runtime/files.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

std::string number(double v) {
    if (!std::isfinite(v)) return "null";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    return buf;
}

int cmd_model(int argc, char** argv) {
    if (argc != 2) return usage_error("usage: steel_data model FILE");
    auto bytes = read_file(argv[1]);
    if (!bytes) return json_error("cannot read the file");
    DddMesh mesh;
    DddVariant variant;
    switch (parse_ddd(bytes->data(), bytes->size(), mesh, &variant)) {
    case DddStatus::ok:
        break;
    case DddStatus::read_error:
        return json_error("read error");
    case DddStatus::malloc_error:
        return json_error("malloc error");
    case DddStatus::not_a_model:
        return json_error("not a model");
    }
    if (mesh.frames.empty() || mesh.frames[0].vertices.empty())
        return json_error("the first frame has no vertices");

    std::string out = "{\"variant\":\"";
    out += variant == DddVariant::binary ? "binary" : "text";
    out += "\",\"frames\":" + std::to_string(mesh.frames.size());
    out += ",\"colours\":" + std::to_string(mesh.colours.size());
    out += ",\"uvs\":" + std::to_string(mesh.u.size());
    out += std::string(",\"has_colours\":") + (mesh_has_colours(mesh) ? "true" : "false");
    out += ",\"frame_info\":[";
    std::vector<DrawVertex> draw;
    for (size_t f = 0; f < mesh.frames.size(); ++f) {
        expand_frame(mesh, f, draw);
        float centre[3], radius;
        bounding_sphere(draw, centre, radius);
        if (f) out += ",";
        out += "{\"vertices\":" + std::to_string(mesh.frames[f].vertices.size());
        out += ",\"triangles\":" + std::to_string(draw.size() / 3);
        out += ",\"centre\":[" + number(centre[0]) + "," + number(centre[1]) + "," +
               number(centre[2]) + "]";
        out += ",\"radius\":" + number(radius) + "}";
    }
    out += "]}\n";
    std::fputs(out.c_str(), stdout);
    return 0;
}

const CommandRegistrar reg("model", "model FILE", cmd_model);

} // namespace
