// The level scene: one frame of a level in play, drawn around worker 0. Sky or city, the pads
// with their bolts, the lift and the remote control, the worker, the floating status models,
// the map overlay and the level label. Reads the game state and never changes it.
#include "game/scene.h"
#include "game/game.h"
#include "game/state.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/scene.h"
#include "runtime/app/frame.h"
#include "runtime/arith.h"
#include "runtime/numbers.h"
#include "runtime/text.h"

#include <algorithm>
#include <cmath>

namespace {

// Object and texture slots of the scene.
constexpr double kGirder = 0, kGirderMiddle = 1, kGirderEnd = 2, kFloor = 3, kLift = 4;
constexpr double kRemote = 5, kBolt = 10, kBoltAway = 11, kWorker = 20, kMap = 100;
constexpr double kSkyDome = 200, kMapSky = 201, kRideSky = 202, kCity = 203;
constexpr double kLivesModel = 301, kClockModel = 302, kScoreModel = 303;

constexpr double kWhite = 16777215;
constexpr double kSkyBlue = 16755370; // (170, 170, 255): the flat sky and the level's fog
constexpr double kCityFog = 16756912; // (176, 176, 255)

struct Vec3 {
    double x, y, z;
};

// Worker 0's world point (the origin when there is no worker).
Vec3 worker_point() {
    if (WorkerCount() < 1) return {0, 0, 0};
    const Worker& w = Workers.at(0);
    return {2 * w.x, 0, 2 * w.y};
}

// The main camera's eye: diagonally behind the worker, rising straight above it in the map view.
Vec3 eye_point() {
    const Vec3 w = worker_point();
    return {w.x + 9 * (1 - MapFade), w.y + 6.75 + 20 * MapFade, w.z + 9 * (1 - MapFade)};
}

// Cells farther than this (world units, on one axis) from the eye lie beyond the far plane
// (200) even at the corners of the view, whatever their model.
constexpr double kReach = 300;

struct CellRange {
    double first;
    int count;
};

// The cells 0..last of a pad starting at grid coordinate `start` that can come into view on
// one axis: a pad of absurd size from a level file costs no more than the view can show.
CellRange reachable_cells(double start, double last, double eye) {
    const double lo = std::ceil((eye - kReach) / 2 - start);
    const double hi = std::floor((eye + kReach) / 2 - start);
    if (!std::isfinite(lo) || !std::isfinite(hi)) return {0, 0};
    const double first = std::max(0.0, lo), end = std::min(last, hi);
    if (!(first <= end)) return {0, 0};
    return {first, to_int32(end - first) + 1};
}

// How far a cell model's view-test sphere reaches from its placement, at the cells' scaling.
double cell_reach(double model) {
    return 1.01 * object_reach(model);
}

// Whether any cell model placed at (x0..x1, height, z0..z1) can be seen.
bool span_may_show(double x0, double x1, double z0, double z1, double height, double reach) {
    const double hx = (x1 - x0) / 2, hz = (z1 - z0) / 2;
    return sphere_may_show(x0 + hx, height, z0 + hz, std::sqrt(hx * hx + hz * hz) + reach) != 0;
}

// The bolt bits of a pad: 1 at its first cell, 2 at its last.
bool has_bolt(double bolts, int bit) {
    return (to_int32(bolts) & bit) != 0;
}

// The camera of the sky layers: close over the origin, rising with the map view.
void sky_camera() {
    set_camera(0, 5 * MapFade, 2 - 2 * MapFade + 0.1, 0, 0, 0);
}

void draw_sky_dome(const Worker* w) {
    begin_3d(0.1, 200, 45);
    sky_camera();
    set_culling(1);
    set_translation(0, 0, 0);
    // The sky turns as the worker walks.
    const double x = w ? w->x : 0, y = w ? w->y : 0;
    add_rotation(180 + 8 * (x - y), 0, 1, 0);
    set_texture(kSkyDome, -1);
    draw_object(kSkyDome, 0);
    if (MapFade != 0) {
        clear_depth();
        set_alpha_mode(-0.9 * MapFade);
        set_texture(kMapSky, -1);
        draw_object(kMapSky, 0);
        set_alpha_mode(0);
    }
    clear_depth();
}

// The layer that scrolls past while the lift rises.
void draw_ride_sky() {
    begin_3d(0.1, 200, 45);
    sky_camera();
    set_culling(1);
    set_alpha_mode(-std::min(ExitTimer, 1.0));
    set_texture(kRideSky, -1);
    set_texture_offset(0, 3 * ExitTimer);
    // The clouds fade in at their own brightness, never darker than the sky behind them.
    set_fade_keeps_colour(1);
    draw_object(kRideSky, 0);
    set_fade_keeps_colour(0);
    set_texture_offset(0, 0);
    set_alpha_mode(0);
    clear_depth();
}

void draw_city(const Vec3& w, const Vec3& eye, double ride_offset) {
    set_light(0, kWhite, w.x + 350, w.y + 250, w.z + 50, 0, 1, 0, 360);
    set_fog(kCityFog, 0, 30, 50);
    // Half the eye's movement: the city is far below and lags behind; it sinks faster than the
    // girders during the ride.
    set_translation(0.5 * eye.x, 1.5 * ride_offset, 0.5 * eye.z);
    set_texture(kCity, -1);
    draw_object(kCity, 0);
    set_light(0, 0, 0, 0, 0, 0, 1, 0, 0);
}

void draw_status_model(double model, const Vec3& at, double angle, const Vec3& axis, double texture,
                       const RtString& text, const Vec3& text_at) {
    set_translation(at.x, at.y, at.z);
    add_rotation(angle, axis.x, axis.y, axis.z);
    set_texture(texture, -1);
    draw_object(model, 0);
    print_text_3d(text.c_str(), text_at.x, text_at.y, text_at.z, 0);
}

// The alarm clock with the time left, the lives and the score, floating beside the worker.
void draw_status(const Vec3& w) {
    const double t = timer_ms() / 30;
    draw_status_model(kClockModel, {w.x - 20, w.y + 6, w.z - 10}, sin_deg(120 + t) * 45 + 45,
                      {0.05, 1, 0.1}, kClockModel, StatusTimeText(TimeLeft),
                      {w.x - 20, w.y + 4, w.z - 10});
    draw_status_model(kLivesModel, {w.x - 15, w.y + 5, w.z - 15}, sin_deg(t) * 45 + 90,
                      {0.1, 1, 0.05}, kWorker, "x" + str_from_number(Lives),
                      {w.x - 15, w.y + 4, w.z - 15});
    draw_status_model(kScoreModel, {w.x - 10, w.y + 6, w.z - 20}, sin_deg(t + 240) * 45 - 25,
                      {0.1, 1, -0.05}, -1, str_format(0, 2, Score), {w.x - 10, w.y + 4, w.z - 20});
}

// Every pad but the lift, with its bolts; a bolt on a girder away from its map position gets
// the second texture when the level demands the map positions.
void draw_pads(double ride_offset) {
    const int count = PadCount();
    for (int j = 1; j < count; ++j) {
        const Pad& p = Pads.at(j);
        set_culling(1);
        const bool away = ForceMap != 0 && (p.x != p.minx || p.y != p.miny);
        set_texture(away ? kBoltAway : kBolt, -1);
        if (has_bolt(p.bolts, 2)) {
            set_translation(2 * (p.x + p.extx - 1), ride_offset, 2 * (p.y + p.exty - 1));
            add_rotation(35.0 * j + 15, 0, 1, 0);
            draw_object(kBolt, 0);
        }
        if (has_bolt(p.bolts, 1)) {
            set_translation(2 * p.x, ride_offset, 2 * p.y);
            add_rotation(35.0 * j, 0, 1, 0);
            draw_object(kBolt, 0);
        }
        const bool is_static = p.minx == p.maxx && p.miny == p.maxy;
        DrawGirder(p.x, p.y, p.extx, p.exty, ride_offset, is_static ? 1 : 0);
        set_scaling(1, 1, 1);
    }
}

// The lift stays where it is while the world sinks; the remote bobs above it and comes down
// as the level is solved.
void draw_lift() {
    set_texture(-1, -1);
    if (PadCount() < 1) return;
    const Pad& lift = Pads.at(0);
    const Vec3 p{2 * lift.x, 0, 2 * lift.y};
    set_scaling(0.95, 1, 0.95);
    set_translation(p.x, p.y, p.z);
    add_rotation(180, 0, 1, 0);
    draw_object(kLift, 0);
    set_scaling(1, 1, 1);
    if (DoneFade == 1) return;
    set_translation(p.x, p.y + 8 * DoneFade + 0.1 * sin_deg(FrameClock / 10), p.z);
    add_rotation(180 + 5 * sin_deg(FrameClock / 15), 0, 1, 0);
    set_texture(kRemote, -1);
    draw_object(kRemote, 0);
}

// The workers at their cells' corners, never lowered by the ride. The ride pose leaves 3D: the
// rest of the frame is drawn additively at half intensity.
void draw_workers() {
    const int count = WorkerCount();
    for (int i = 0; i < count; ++i) {
        const Worker& w = Workers.at(i);
        set_texture(kWorker, -1);
        set_scaling(0.32, 0.32, 0.32);
        set_translation(2 * (w.x - 0.5), 0, 2 * (w.y - 0.5));
        if (ExitTimer != 0) {
            // The ride: a one-shot pose, no heading.
            draw_object_blend(kWorker, 1, 5, std::min(3 * ExitTimer, 1.0), 0);
            end_3d();
            set_alpha_mode(0.5);
            continue;
        }
        if (w.bolt_timer != 0) {
            const double t = std::min((1000 - std::fabs(w.bolt_timer)) / 500, 1.0);
            double to = 4;
            if (w.bolt_timer > 0) {
                add_rotation(360 * sin_deg(90 * t), 0, 1, 0);
            } else {
                // Loosening spins the other way, twice as far.
                const double a = -t;
                add_rotation(360 * sin_deg(90 * a), 0, 1, 0);
                add_rotation(360 * sin_deg(90 * a), 0, 1, 0);
                to = 3;
            }
            add_rotation(w.heading, 0, 1, 0);
            draw_object_blend(kWorker, 1, to, t, 0);
            continue;
        }
        // Walking swings through frames 0..2 once a second; standing holds the middle pose.
        const double phase =
            (cos_deg(360 * mod(FrameClock - w.idle_since + 250, 1000) / 1000) + 1) * 0.5;
        add_rotation(w.heading, 0, 1, 0);
        draw_object_blend(kWorker, 0, 2, phase, 1);
    }
}

// The level's plan laid translucently over the ground.
void draw_map_overlay() {
    set_culling(0);
    set_scaling(1, 1, 1);
    set_texture(kMap, -1);
    set_translation(0, 0.05, 0);
    set_alpha_mode(-0.8 * MapFade);
    draw_object(kMap, 0);
    set_alpha_mode(0);
}

} // namespace

bool SceneCulling = true;

RtString StatusTimeText(double seconds) {
    const double m = to_int32(seconds / 60);
    const double s = to_int32(seconds) - 60 * m;
    return str_format(2, 0, m) + ":" + str_format(2, 0, s);
}

double DrawLevel(double) {
    const Worker* worker = WorkerCount() > 0 ? &Workers.at(0) : nullptr;
    const Vec3 w = worker_point(), eye = eye_point();
    // The ride lowers everything but the lift, the remote and the workers by up to 20 units.
    const double ride_offset = -20 * (1 - cos_deg(90 * std::min(2 * ExitTimer, 1.0)));

    if (DetailOption != 0)
        draw_rect(0, 0, ScreenWidth, ScreenHeight, kSkyBlue);
    else
        draw_sky_dome(worker);
    if (ExitTimer != 0) draw_ride_sky();

    begin_3d(0.5, 200, 45);
    set_culling(1);
    set_camera_up(-1, 1, -1);
    set_camera(eye.x, eye.y, eye.z, w.x, w.y + 2.25, w.z);
    if (DetailOption != 0) draw_city(w, eye, ride_offset);

    // Cel shading from here to the workers.
    set_light(-2, kWhite, w.x + 350, w.y + 250, w.z + 50, 0, 1, 0, 360);
    if (TimerOption != 0) draw_status(w);
    set_fog(kSkyBlue, 0, 20, 40);
    batch_outlines(1);
    draw_pads(ride_offset);
    draw_lift();
    batch_outlines(0);
    set_translation(0, 0, 0);
    draw_workers();
    set_fog(-1, 0, 0, 0);
    set_light(-2, 0, 0, 0, 0, 0, 0, 0, 0);

    if (MapFade != 0) draw_map_overlay();
    end_3d();
    print_text(("Level" + str_from_number(Level)).c_str(), 0, 100);
    return 0;
}

double DrawGirder(double x, double y, double extx, double exty, double ride_offset,
                  double is_static) {
    const double lx = extx - 1, ly = exty - 1;
    set_culling(1);
    set_texture(is_static != 0 ? -1 : kGirder, -1);
    set_scaling(1.01, 1.01, 1.01);
    // The longer side is the girder's run; a square pad runs along y.
    const bool along_x = ly < lx;
    const Vec3 eye = eye_point();
    const CellRange rx = reachable_cells(x, lx, eye.x), ry = reachable_cells(y, ly, eye.z);
    if (rx.count == 0 || ry.count == 0) return 0;
    const bool cull = SceneCulling;
    // Pads and rows of cells the camera cannot see are left out as a whole; every cell drawn
    // still passes the engine's own view test.
    const double reach =
        is_static != 0
            ? cell_reach(kFloor)
            : std::max({cell_reach(kGirder), cell_reach(kGirderMiddle), cell_reach(kGirderEnd)});
    const double x0 = 2 * (x + rx.first), x1 = 2 * (x + rx.first + rx.count - 1);
    const double z0 = 2 * (y + ry.first), z1 = 2 * (y + ry.first + ry.count - 1);
    if (cull && !span_may_show(x0, x1, z0, z1, ride_offset, reach)) return 0;
    for (int i = 0; i < rx.count; ++i) {
        const double row_x = 2 * (x + rx.first + i);
        if (cull && rx.count > 1 && !span_may_show(row_x, row_x, z0, z1, ride_offset, reach))
            continue;
        for (int k = 0; k < ry.count; ++k) {
            const double cx = rx.first + i, cy = ry.first + k;
            const double c = along_x ? cx : cy, last = along_x ? lx : ly;
            double model = kGirderMiddle, angle = 0;
            if (last > 0 && c == last) model = kGirderEnd;
            if (last > 0 && c == 0) {
                model = kGirderEnd;
                angle = 180;
            }
            if (last == 0) model = kGirder;
            if (is_static != 0) model = kFloor;
            set_translation(2 * (x + cx), ride_offset, 2 * (y + cy));
            add_rotation(along_x ? angle + 90 : angle, 0, 1, 0);
            draw_object(model, 0);
        }
    }
    return 0;
}
