#pragma once
// Helpers shared by the 2D drawing files (not part of the game-facing interface).
#include "platform/gl.h"

#include <cstdint>

// Colour value (red + green * 256 + blue * 65536) as floats scaled by the alpha value, alpha
// alpha_value (0 for the transparent colour).
struct ColourF {
    float r, g, b, a;
    bool transparent;
};
ColourF colour_from_value(double colour, float alpha_value);

// A textured quad covering screen pixels x..x+width, y..y+height (top-left origin), texture
// (0, 0) at its bottom-left and (u, v) at its top-right. Emits the vertices with y negated.
void emit_sprite_quad(double x, double y, double width, double height, float u, float v);

// Re-enables what a 2D primitive switched off: texturing (when it was on), the alpha test and
// the colour of the alpha value.
struct PrimitiveScope {
    PrimitiveScope();
    ~PrimitiveScope();
    PrimitiveScope(const PrimitiveScope&) = delete;
    PrimitiveScope& operator=(const PrimitiveScope&) = delete;
    GLboolean texturing;
};
