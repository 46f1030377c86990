// Placeholder until the 3D scene is written.
#include "graphics/scene.h"

void set_texture_mode(double) {}
void end_stencil_pass() {}
