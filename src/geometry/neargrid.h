// neargrid.h - a uniform grid over the bounding boxes of fixed items (the
// edges of a field's outline, the lines and texts round it), so that the
// items nearest a point are found by looking at the cells round it ring by
// ring, not at every item; and the bands of a polygon's edges by height,
// so that whether a point is inside is decided by the edges at its height
// alone.  Both give exactly what a look at every item gives: a ring is
// left out only when nothing in it can be nearer than what was found.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "geometry/polylabel.h"

class NearGrid {
public:
    // File the items by their boxes; false (and nothing filed) when a box
    // is not finite, and the caller then looks at every item.
    bool build(const std::vector<Rect>& boxes);

    // Visit each item in the cells round p, nearest first, once, until no
    // item left can lie nearer to p than `best` (the visitor lowers it as
    // it finds nearer items).  Distances are measured along the axes (the
    // larger offset, so the promise holds for Euclidean distances too),
    // in units where the grid's x counts `ux` and its y `uy`: the cells
    // are looked at in rectangles as wide as they are tall in those
    // units.  `slack` cells more are looked at on every side, for a point
    // placed in its cell after rounding.  An item whose box holds p is
    // visited whatever `best` is.
    template <class Visit>
    void nearest(Spot p, const long double& best, const Visit& visit, long double ux = 1, long double uy = 1,
                 int slack = 0) const {
        if (cols == 0) return;
        long long px = cellof(p.x, extent.left), py = cellof(p.y, extent.bottom);
        ++stamp;
        if (stamp == 0) {  // wrapped: forget every mark
            std::fill(seen.begin(), seen.end(), 0u);
            stamp = 1;
        }
        auto cell = [&](long long cx, long long cy) {
            size_t k = static_cast<size_t>(cy * cols + cx);
            for (int32_t i = start[k]; i < start[k + 1]; ++i) {
                int32_t id = ids[static_cast<size_t>(i)];
                if (seen[static_cast<size_t>(id)] == stamp) continue;
                seen[static_cast<size_t>(id)] = stamp;
                visit(id);
            }
        };
        // Rectangle k reaches ax(k) cells (and the slack) either side of
        // p's cell along x, ay(k) along y.
        constexpr long double widest = 1 << 20;
        long double most = std::max(ux, uy);
        long double fx = std::min(widest, most / ux), fy = std::min(widest, most / uy);
        if (!(fx >= 1) || !(fy >= 1)) fx = fy = 1;
        auto reach = [](long long k, long double f) { return static_cast<long long>(std::floor(k * f)); };
        // The first rectangle that may meet the grid.
        long long gx = px < 0 ? -px : px >= cols ? px - (cols - 1) : 0;
        long long gy = py < 0 ? -py : py >= rows ? py - (rows - 1) : 0;
        long long k = std::max({0LL, static_cast<long long>((gx - slack) / fx) - 1,
                                static_cast<long long>((gy - slack) / fy) - 1});
        long long x0 = 0, x1 = -1, y0 = 0, y1 = -1;  // the cells looked at so far (none)
        for (long long first = k;; ++k) {
            long long ax = reach(k, fx), ay = reach(k, fy);
            if (k > first) {
                // Every cell not yet looked at lies ax + 1 cells from p's
                // along x, or ay + 1 along y (less the slack).
                long double gap = std::min((static_cast<long double>(reach(k - 1, fx)) - sliver) * side * ux,
                                           (static_cast<long double>(reach(k - 1, fy)) - sliver) * side * uy);
                if (gap >= best) break;
            }
            long long nx0 = std::max(px - ax - slack, 0LL), nx1 = std::min(px + ax + slack, cols - 1);
            long long ny0 = std::max(py - ay - slack, 0LL), ny1 = std::min(py + ay + slack, rows - 1);
            for (long long cy = ny0; cy <= ny1; ++cy) {
                bool oldrow = cy >= y0 && cy <= y1;
                for (long long cx = nx0; cx <= nx1; ++cx) {
                    if (oldrow && cx >= x0 && cx <= x1) {
                        cx = x1;  // looked at already
                        continue;
                    }
                    cell(cx, cy);
                }
            }
            x0 = nx0, x1 = nx1, y0 = ny0, y1 = ny1;
            if (x0 == 0 && x1 == cols - 1 && y0 == 0 && y1 == rows - 1) break;  // the whole grid
        }
    }

private:
    long long cellof(long double v, long double low) const {
        long double k = std::floor((v - low) / side);
        constexpr long double far = 1LL << 40;  // beyond any grid; keeps the ring counts finite
        if (!(k > -far)) return -(1LL << 40);
        if (!(k < far)) return 1LL << 40;
        return static_cast<long long>(k);
    }

    // Less of a cell than a gap promises, for the rounding of the cell
    // numbers and of the distances.
    static constexpr long double sliver = 1e-6L;

    Rect extent{};
    long double side = 1;
    long long cols = 0;
    long long rows = 0;
    std::vector<int32_t> start;  // cell k holds ids[start[k] .. start[k + 1])
    std::vector<int32_t> ids;
    mutable std::vector<unsigned> seen;
    mutable unsigned stamp = 0;
};

// The edges of a closed polygon (edge i from point i to the next) filed by
// the bands of height they span.
class EdgeBands {
public:
    void build(const std::vector<Spot>& polygon);

    // The non-zero winding rule, as insidepolygon decides it.
    bool inside(const std::vector<Spot>& polygon, Spot p) const;

private:
    int32_t bandof(long double y) const;

    long double bottom = 0;
    long double top = 0;
    long double height = 1;
    int32_t count = 0;
    std::vector<int32_t> start;
    std::vector<int32_t> ids;
};
