#pragma once
// The 3D scene: object slots 0..4095 holding .ddd models or objects built at run time, the
// camera, transform levels, lights with cel shading, fog, and text at 3D points. All numbers are
// doubles; slots and frame numbers are truncated to integers. docs/models.md has the
// conventions (front faces, colours, frames).

// 0: objects are drawn with the plain texture of their slot; 1: with the mipmapped one.
void set_texture_mode(double mode);
// Ends a stencil shadow pass if one is on (present_frame calls it before the swap).
void end_stencil_pass();

// Entering and leaving 3D; a fov <= 0 gives an orthographic view.
void begin_3d(double near_distance, double far_distance, double fov);
void end_3d();
void set_camera(double eye_x, double eye_y, double eye_z, double target_x, double target_y,
                double target_z);
void set_camera_up(double x, double y, double z);

// Transform levels: each draw is placed by levels 0..current (translation, rotations from the
// last added to the first, scale). set_translation and set_scaling clear the rotation list.
void set_translation(double x, double y, double z);
void add_rotation(double angle, double x, double y, double z);
void set_scaling(double x, double y, double z);
void push_transform();
void pop_transform();

// Textures of following draws (-1 = none); the second slot is multiplied in.
void set_texture(double slot, double second_slot);
void set_texture_offset(double u, double v);
void set_sphere_mapping(double on);
// on != 0: until it is switched off or the next begin_3d, a draw under an alpha mode
// keeps its colour and only its alpha is scaled, so a layer fading in over the scene never shows
// darker than the scene and itself; the plain rule scales colour and alpha alike.
void set_fade_keeps_colour(double on);
void set_bump_mode(double mode);

// n >= 0: OpenGL light n mod 8 (cutoff 0 = off, 180 = directional, > 90 point, else spot);
// n < 0: the special light (-2 cel shading with outlines, -1 and -3 state switches).
void set_light(double n, double colour, double x, double y, double z, double dx, double dy,
               double dz, double cutoff);
void set_view_light(double n, double colour);
// colour -1: off; mode 0: linear from start to end (both 0: near to far); else exponential.
void set_fog(double colour, double mode, double start, double end);
// 0 none; < 0 cull back faces, counter-clockwise front; > 0 cull back faces, clockwise front.
void set_culling(double mode);
void clear_depth();

void draw_object(double slot, double frame);
void draw_object_blend(double slot, double frame_a, double frame_b, double t, double animate);
// on != 0: the outlines of cel shading wait and are drawn together when it is switched off (or
// at end_3d, begin_3d, set_fog, clear_depth, 3D text or a shadow pass), with the same pixels and
// a fraction of the state changes. A translucent draw draws the waiting ones first. Meant for
// runs of objects: draw nothing else in between.
void batch_outlines(double on);

// Culling many draws at once. object_reach: how far from the placement's translation the view
// test's sphere of any frame of the slot's object reaches, unscaled (0 for an empty slot).
// sphere_may_show: 0 when no object whose view-test sphere lies inside the sphere (x, y, z, r)
// can pass the current camera's view test, so draws there can be left out without changing a
// pixel; 1 otherwise. Always 0 while nothing is drawn (--no-draw).
double object_reach(double slot);
double sphere_may_show(double x, double y, double z, double r);

// Models.
void load_object(const char* file, double slot);
void save_object(const char* file, double slot);

// Objects built at run time: begin_object starts a strip; markers 0 triangles, 1 strip, 2 fan.
void begin_object(double slot);
void add_object_vertex(double x, double y, double z, double u, double v, double colour);
void add_object_marker(double mode);
void end_object();

// Text at a 3D point with the current font; size 0: screen-sized, centred, bottom edge at the
// point, hidden by nearer geometry; otherwise camera-facing quads of size x glyph width.
void print_text_3d(const char* text, double x, double y, double z, double size);

// Screen positions (y from the top) of scene points and back; screen z is the depth 0..1.
void world_to_screen(double x, double y, double z, double& sx, double& sy, double& sz);
void screen_to_world(double sx, double sy, double sz, double& x, double& y, double& z);

// Collision queries against a frame of an object placed by the current transform levels.
// In debug mode they draw the tested shape (green on a hit, red otherwise).
double object_hits_sphere(double slot, double frame, double x, double y, double z, double r);
double object_hits_box(double slot, double frame, double x1, double y1, double z1, double x2,
                       double y2, double z2);
// Distance along the ray to the nearest triangle, or -1 when it hits none.
double object_ray_distance(double slot, double frame, double x, double y, double z, double dx,
                           double dy, double dz);

// Debug drawings in scene coordinates; set_scene_debug(1) makes the collision queries draw the
// shapes they test.
void set_scene_debug(double on);
void draw_axes(double x, double y, double z);
void debug_line(double x1, double y1, double z1, double x2, double y2, double z2, double colour,
                double width);
void debug_point(double x, double y, double z, double colour, double size);
