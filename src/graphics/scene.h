#pragma once
// The 3D scene (objects, camera, transforms, lights, fog). Grows with the scene code.

// 0: objects are drawn with the plain texture of their slot; 1: with the mipmapped one.
void set_texture_mode(double mode);
// Ends a stencil shadow pass if one is on (present_frame calls it before the swap).
void end_stencil_pass();
