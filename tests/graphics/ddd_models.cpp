#include "ddd_models.h"

std::string cube_text(uint32_t colour) {
    std::string s = "DDDA 1.0\n0\n6\n";
    const char* faces[6] = {"6 0 7 0 5 0 4 0", "3 0 2 0 0 0 1 0", "7 0 3 0 1 0 5 0",
                            "2 0 6 0 4 0 0 0", "2 0 3 0 7 0 6 0", "4 0 5 0 1 0 0 0"};
    for (const char* f : faces)
        s += std::to_string(colour & 0xff) + " " + std::to_string((colour >> 8) & 0xff) + " " +
             std::to_string((colour >> 16) & 0xff) + " 4 " + f + "\n";
    s += "1\n8\n";
    for (int i = 0; i < 8; ++i)
        s += std::string(i & 1 ? "1" : "-1") + " " + (i & 2 ? "1" : "-1") + " " +
             (i & 4 ? "1" : "-1") + "\n";
    return s;
}

DddMesh small_mesh() {
    DddMesh m;
    m.colours = {0xFFFFFFFF, 0x0000FF};
    m.u = {0, 0.25f, 0.5f, 1};
    m.v = {0, 0.5f, 1, 0.75f};
    for (int f = 0; f < 2; ++f) {
        DddFrame fr;
        fr.offset[0] = float(-f);
        fr.scale[0] = fr.scale[1] = fr.scale[2] = 0.5f;
        fr.vertices = {{0, 0, 0, {0, 0, 0}, 0},
                       {0, 0, 0, {5, 0, 0}, 1},
                       {2, 0, 0, {5, 0, 0}, 1},
                       {0, 2, 0, {5, 0, 0}, 1}};
        m.frames.push_back(fr);
    }
    return m;
}
