#include "level_reach.h"

#include <algorithm>
#include <cmath>

namespace {

// The path of a pad: from (x0, y0) to (x1, y1); a single point for a pad that stands still.
struct Path {
    double x0, y0, x1, y1;
};

Path PathOf(const Pad& p, bool fixed) {
    if (fixed && p.bolts != 0) return {p.x, p.y, p.x, p.y};
    return {p.minx, p.miny, p.maxx, p.maxy};
}

} // namespace

// The offsets Q - P of b's position from a's form a parallelogram; the pads touch when it
// meets the box of offsets at which two fixed rectangles touch. Separating-axis test on the two
// axes and the two path normals.
bool PadsCanTouch(const Pad& a, const Pad& b, bool fixed) {
    const Path pa = PathOf(a, fixed), pb = PathOf(b, fixed);
    const double poly[4][2] = {{pb.x0 - pa.x0, pb.y0 - pa.y0},
                               {pb.x1 - pa.x0, pb.y1 - pa.y0},
                               {pb.x1 - pa.x1, pb.y1 - pa.y1},
                               {pb.x0 - pa.x1, pb.y0 - pa.y1}};
    const double lx = -b.extx, hx = a.extx, ly = -b.exty, hy = a.exty;
    const double box[4][2] = {{lx, ly}, {hx, ly}, {hx, hy}, {lx, hy}};
    const double axes[4][2] = {
        {1, 0}, {0, 1}, {-(pa.y1 - pa.y0), pa.x1 - pa.x0}, {-(pb.y1 - pb.y0), pb.x1 - pb.x0}};
    for (const auto& n : axes) {
        if (n[0] == 0 && n[1] == 0) continue;
        double pmin = INFINITY, pmax = -INFINITY, bmin = INFINITY, bmax = -INFINITY;
        for (int k = 0; k < 4; ++k) {
            const double p = poly[k][0] * n[0] + poly[k][1] * n[1];
            const double q = box[k][0] * n[0] + box[k][1] * n[1];
            pmin = std::min(pmin, p);
            pmax = std::max(pmax, p);
            bmin = std::min(bmin, q);
            bmax = std::max(bmax, q);
        }
        if (pmax < bmin || bmax < pmin) return false;
    }
    return true;
}

std::vector<bool> ReachableFrom(int from, bool fixed) {
    const int n = PadCount();
    std::vector<bool> seen(size_t(n), false);
    if (from < 0 || from >= n) return seen;
    std::vector<int> queue{from};
    seen[size_t(from)] = true;
    for (size_t q = 0; q < queue.size(); ++q) {
        const Pad& a = Pads.at(queue[q]);
        for (int j = 0; j < n; ++j) {
            if (seen[size_t(j)] || !PadsCanTouch(a, Pads.at(j), fixed)) continue;
            seen[size_t(j)] = true;
            queue.push_back(j);
        }
    }
    return seen;
}
