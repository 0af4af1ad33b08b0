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

#include "geometry/floorint.h"
#include "geometry/polylabel.h"

namespace gridel::geometry {

class NearGrid {
public:
    // File the items by their boxes, about `itemspercell` of them to a
    // cell; false (and nothing filed) when a box is not finite, and the
    // caller then looks at every item.
    bool build(const std::vector<Rect>& boxes, long double itemspercell = 1);

    // Visit each item in the cells round p, nearest ring first, once,
    // until no item left can lie nearer to p than `best` (the visitor
    // lowers it as it finds nearer items).  The distance an item's ring
    // promises is measured along the axes (the larger offset), so it holds
    // for Euclidean distances too.  An item whose box holds p is visited
    // whatever `best` is.  With a `scale`, the distances `best` holds are
    // at least `scale` times those along the axes of the filed boxes (the
    // boxes filed at their sizes, the distances measured where they are
    // shrunk).
    template <class Visit>
    void nearest(Spot p, const long double& best, const Visit& visit, long double scale = 1) const {
        if (cols == 0) return;
        long long px = cellof(p.x, extent.left), py = cellof(p.y, extent.bottom);
        auto outside = [](long long k, long long n) { return k < 0 ? -k : k >= n ? k - (n - 1) : 0; };
        long long first = std::max(outside(px, cols), outside(py, rows));
        long long last = std::max(std::max(px, cols - 1 - px), std::max(py, rows - 1 - py));
        newvisit();
        auto cell = [&](long long cx, long long cy) {
            if (cx < 0 || cx >= cols || cy < 0 || cy >= rows) return;
            visitcell(static_cast<size_t>(cy * cols + cx), visit);
        };
        for (long long r = first; r <= last; ++r) {
            if (r > 0 && ringdistance(r) * scale >= best) break;
            for (long long cy = py - r; cy <= py + r; ++cy) {
                if (cy < 0 || cy >= rows) continue;
                if (cy == py - r || cy == py + r) {
                    for (long long cx = std::max(px - r, 0LL); cx <= std::min(px + r, cols - 1); ++cx) cell(cx, cy);
                } else {
                    cell(px - r, cy);
                    cell(px + r, cy);
                }
            }
        }
    }

    // Visit each item filed in the cells the rectangle meets, once: every
    // item whose box meets the rectangle is among them.
    template <class Visit>
    void meeting(const Rect& q, const Visit& visit) const {
        if (cols == 0) return;
        long long c0 = std::max(cellof(q.left, extent.left), 0LL), c1 = std::min(cellof(q.right, extent.left), cols - 1);
        long long r0 = std::max(cellof(q.bottom, extent.bottom), 0LL), r1 = std::min(cellof(q.top, extent.bottom), rows - 1);
        if (c0 > c1 || r0 > r1) return;
        newvisit();
        for (long long cy = r0; cy <= r1; ++cy)
            for (long long cx = c0; cx <= c1; ++cx) visitcell(static_cast<size_t>(cy * cols + cx), visit);
    }

private:
    long long cellof(long double v, long double low) const {
        long double q = (v - low) * perside;
        constexpr long double far = 1LL << 40;  // beyond any grid; keeps the ring counts finite
        if (!(q >= 1 - far)) return -(1LL << 40);  // the floor at -far or below, or not a number
        if (!(q < far)) return 1LL << 40;
        return floorint(q);
    }

    // A new visit: items seen in an earlier one may be visited again.
    void newvisit() const {
        ++stamp;
        if (stamp == 0) {  // wrapped: forget every mark
            std::fill(seen.begin(), seen.end(), 0u);
            stamp = 1;
        }
    }

    // Each item filed in cell k and not yet seen in this visit: visit(id).
    template <class Visit>
    void visitcell(size_t k, const Visit& visit) const {
        for (int32_t i = start[k]; i < start[k + 1]; ++i) {
            int32_t id = ids[static_cast<size_t>(i)];
            if (seen[static_cast<size_t>(id)] == stamp) continue;
            seen[static_cast<size_t>(id)] = stamp;
            visit(id);
        }
    }

    // The least distance along the axes from a point to an item whose
    // cells are all r rings away from the point's cell: r - 1 cells, less
    // a sliver for the rounding of the cell numbers and of the distances.
    long double ringdistance(long long r) const {
        constexpr long double sliver = 1e-6L;
        return r <= 1 ? 0 : (static_cast<long double>(r - 1) - sliver) * side;
    }

    Rect extent{};
    long double side = 1;
    // 1 / side: a cell's number is found by a product, not a quotient
    // (which is several times slower).  Its rounding, like the quotient's,
    // moves a cell's edges by far less than the sliver the rings keep.
    long double perside = 1;
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

}  // namespace gridel::geometry
