#pragma once
// Model files built by the tests: a cube in the text variant and small binary meshes.
#include "graphics/ddd.h"

#include <string>

// A cube of side 2 around the origin, one face colour (red + green * 256 + blue * 65536), faces
// wound clockwise seen from outside, version 1.0 (face normals computed on load).
std::string cube_text(uint32_t colour);
// A two-frame binary mesh of one triangle per frame (frame f moved by f along x).
DddMesh small_mesh();
