#pragma once
// The model builders. Every model is closed where it can be seen, its faces wound clockwise
// seen from outside (the sky domes: from inside).
#include "mesh.h"

namespace gen {

// Girder cells along z, walking surface at y = 0. kind: 0 a whole one-cell girder, 1 a middle
// cell (open at both ends), 2 an end cell closed towards +z.
Mesh girder_model(int kind);
Mesh floor_model();  // boden: a concrete pad cell, vertex colours
Mesh lift_model();   // aufzug: platform hanging from a crane hook, vertex colours
Mesh bolt_model();   // schraube
Mesh remote_model(); // remote

Mesh worker_model(); // six frames
Mesh lives_model();  // status_01: the worker's bust, worker texture
Mesh clock_model();  // status_02: the alarm clock
Mesh score_model();  // status_03: a gold trophy, vertex colours
Mesh logo_model();   // the title, vertex colours

Mesh sky_dome_model(float radius, int segments, int rings); // skydome, skydome-sky
Mesh ride_layer_model();                                    // skydome-superman
Mesh city_model();                                          // Stadt

} // namespace gen
