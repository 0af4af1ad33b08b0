// planner.h - what the steps that plan a figure's texts share: the figure
// being planned, the measure of texts, the visible lines filed by where
// they lie, the points' circles and every label placed so far.  Used by
// planfigure.cpp, labelsides.cpp, fieldnames.cpp and legend.cpp only.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "geometry/figure.h"
#include "geometry/floorint.h"
#include "geometry/polylabel.h"
#include "run/failure.h"

namespace gridel::geometry {

// A grid of square cells over the plot box: which cells a rectangle
// meets (one outside the box meets its border cells).  At most 256 cells
// a side.
struct GridShape {
    static constexpr int most = 256;

    GridShape(const Rect& area, long double cell) : area(area), cell(cell) {
        auto count = [&](long double length) {
            return std::max(1, static_cast<int>(std::min(static_cast<long double>(most), std::ceil(length / cell))));
        };
        columns = count(area.right - area.left);
        rows = count(area.top - area.bottom);
    }

    // The columns and rows of the cells a rectangle meets.
    struct Span {
        int c0, c1, r0, r1;
    };
    Span span(const Rect& r) const {
        auto at = [&](long double v, long double low, int count) {
            long double q = (v - low) / cell;
            if (!(q >= 0)) return 0;  // below, or not a number
            return q >= count ? count - 1 : static_cast<int>(floorint(q));
        };
        return {at(r.left, area.left, columns), at(r.right, area.left, columns), at(r.bottom, area.bottom, rows),
                at(r.top, area.bottom, rows)};
    }

    int size() const { return columns * rows; }

    Rect area;
    long double cell;
    int columns;
    int rows;
};

// Items filed by the cells of a grid over the plot box that their boxes
// meet, so that what lies near a box is found without looking at all.
class CellIndex {
public:
    CellIndex(const Rect& area, long double cell) : shape(area, cell) {
        buckets.resize(static_cast<size_t>(shape.size()));
    }

    // File item `index` (the items are numbered 0, 1, 2, ... as they come).
    void addbox(const Rect& r, int index) {
        seen.push_back(0);
        visitcells(r, [&](int k) {
            buckets[static_cast<size_t>(k)].push_back(index);
            return false;
        });
    }

    // Each item whose cells meet the rectangle, once: visit(index).  A
    // visitor that answers true has found what it looked for, and no more
    // items are visited.
    template <class Visit>
    void near(const Rect& r, const Visit& visit) const {
        ++stamp;
        visitcells(r, [&](int k) {
            for (int i : buckets[static_cast<size_t>(k)]) {
                if (seen[static_cast<size_t>(i)] == stamp) continue;
                seen[static_cast<size_t>(i)] = stamp;
                if (found(visit, i)) return true;
            }
            return false;
        });
    }

    // Calls visit(args...); whether it answered true (never for a visitor
    // that answers nothing).
    template <class Visit, class... Args>
    static bool found(const Visit& visit, Args&&... args) {
        if constexpr (std::is_same_v<decltype(visit(std::forward<Args>(args)...)), bool>) {
            return visit(std::forward<Args>(args)...);
        } else {
            visit(std::forward<Args>(args)...);
            return false;
        }
    }

    using Span = GridShape::Span;
    Span span(const Rect& r) const { return shape.span(r); }

private:
    // Each cell the rectangle meets, column by column, until visit(cell)
    // answers true.
    template <class Visit>
    void visitcells(const Rect& r, const Visit& visit) const {
        Span s = span(r);
        for (int c = s.c0; c <= s.c1; ++c)
            for (int w = s.r0; w <= s.r1; ++w)
                if (visit(w * shape.columns + c)) return;
    }

    GridShape shape;
    std::vector<std::vector<int>> buckets;
    mutable std::vector<unsigned> seen;
    mutable unsigned stamp = 0;
};

// A box of floats holding a box of 80-bit reals: each side rounded
// outward.  What is true of the float box's distance from another box,
// or of its lying inside one, is then true of the box it holds.
struct FloatBox {
    float left, bottom, right, top;

    // The float at or below v, and at or above it (a value past the
    // floats' range is not converted, but bounded by the largest float or
    // an infinity).
    static float below(long double v) {
        if (v > floatmost) return std::numeric_limits<float>::max();
        if (v < -floatmost) return -std::numeric_limits<float>::infinity();
        float f = static_cast<float>(v);
        return f > v ? std::nextafter(f, -std::numeric_limits<float>::infinity()) : f;
    }
    static float above(long double v) {
        if (v > floatmost) return std::numeric_limits<float>::infinity();
        if (v < -floatmost) return -std::numeric_limits<float>::max();
        float f = static_cast<float>(v);
        return f < v ? std::nextafter(f, std::numeric_limits<float>::infinity()) : f;
    }
    static constexpr long double floatmost = std::numeric_limits<float>::max();
    static FloatBox holding(const Rect& r) { return {below(r.left), below(r.bottom), above(r.right), above(r.top)}; }
    static FloatBox heldby(const Rect& r) { return {above(r.left), above(r.bottom), below(r.right), below(r.top)}; }

    // Whether this box lies apart from another, or inside it (false for
    // a NaN side).
    bool apart(const FloatBox& o) const { return right < o.left || left > o.right || top < o.bottom || bottom > o.top; }
    bool inside(const FloatBox& o) const {
        return left >= o.left && right <= o.right && bottom >= o.bottom && top <= o.top;
    }
    Rect rect() const { return {left, bottom, right, top}; }

    // A box that holds nothing (apart from every box), and the box holding
    // this one and another.
    static FloatBox none() {
        constexpr float inf = std::numeric_limits<float>::infinity();
        return {inf, inf, -inf, -inf};
    }
    FloatBox with(const FloatBox& o) const {
        return {std::min(left, o.left), std::min(bottom, o.bottom), std::max(right, o.right), std::max(top, o.top)};
    }
};

// The segments of the visible lines, each with its line's number, filed
// by the cells of the grid and by cells a quarter their side (a label's
// box meets few of those, and few segments lie in each).  The small cells
// hold, side by side, each segment's box in floats with its number and
// line, so that most segments near a box are told apart from it without
// reading them; they are filed once all segments are in (seal()).
class SegmentGrid {
public:
    SegmentGrid(const Rect& area, long double cell) : cells(area, cell), small(area, cell / smallcells) {}

    void add(const Segment& s, int16_t line) {
        cells.addbox(boxof(s), static_cast<int>(segments.size()));
        segments.push_back(s);
        owners.push_back(line);
        starts.clear();
    }

    // A segment as the small cells file it: its box (FloatBox), its number
    // and line, and the first small cell it is filed in.
    struct Filed {
        FloatBox box;
        int number;
        int16_t line;
        uint8_t column, row;
    };
    static_assert(GridShape::most <= 256, "a cell's column and row fit a byte");

    // File the segments by the small cells, cell after cell: in each, the
    // segments that lie in it alone first, by line, with the box holding
    // them all, then those that reach into other cells, in their order.
    void seal() {
        std::vector<GridShape::Span> spans;
        spans.reserve(segments.size());
        size_t ncells = static_cast<size_t>(small.size());
        starts.assign(ncells + 1, 0);
        mids.assign(ncells, 0);
        mostrun = 0;
        // (A segment not a number anywhere is never taken as alone: a box
        // holding it holds nothing.)
        std::vector<bool> alone;
        alone.reserve(segments.size());
        for (const Segment& s : segments) {
            Rect b = boxof(s);
            mostrun = std::max(mostrun, runof(b));
            GridShape::Span g = small.span(b);
            spans.push_back(g);
            eachcell(g, [&](size_t k) { ++starts[k + 1]; });
            alone.push_back(g.c0 == g.c1 && g.r0 == g.r1 && !std::isnan(b.left + b.right + b.bottom + b.top));
            if (alone.back()) ++mids[static_cast<size_t>(g.r0 * small.columns + g.c0)];
        }
        for (size_t k = 1; k < starts.size(); ++k) starts[k] += starts[k - 1];
        for (size_t k = 0; k < ncells; ++k) mids[k] += starts[k];
        filed.resize(starts.back());
        wholes.assign(ncells, FloatBox::none());
        std::vector<size_t> nextalone(starts.begin(), starts.end() - 1), next(mids);
        for (size_t i = 0; i < segments.size(); ++i) {
            const GridShape::Span& g = spans[i];
            Filed f = {FloatBox::holding(boxof(segments[i])), static_cast<int>(i), owners[i],
                       static_cast<uint8_t>(g.c0), static_cast<uint8_t>(g.r0)};
            if (alone[i]) {
                size_t k = static_cast<size_t>(g.r0 * small.columns + g.c0);
                filed[nextalone[k]++] = f;
                wholes[k] = wholes[k].with(f.box);
            } else {
                eachcell(g, [&](size_t k) { filed[next[k]++] = f; });
            }
        }
        for (size_t k = 0; k < ncells; ++k)
            std::stable_sort(filed.begin() + static_cast<std::ptrdiff_t>(starts[k]),
                             filed.begin() + static_cast<std::ptrdiff_t>(mids[k]),
                             [](const Filed& a, const Filed& b) { return a.line < b.line; });
    }

    // Each segment whose cells meet the rectangle, once: visit(segment,
    // line); until it answers true, when it answers.
    template <class Visit>
    void near(const Rect& r, const Visit& visit) const {
        cells.near(r, [&](int i) {
            return CellIndex::found(visit, segments[static_cast<size_t>(i)], owners[static_cast<size_t>(i)]);
        });
    }

    // The same through the small cells, sealed: visit(filed) for each
    // segment filed in a small cell the rectangle meets, in the order of
    // near() over the small cells.  A segment is visited in the first of
    // its cells the rectangle meets only.
    template <class Visit>
    void nearfiled(const Rect& r, const Visit& visit) const {
        if (starts.empty()) return;
        GridShape::Span q = small.span(r);
        for (int c = q.c0; c <= q.c1; ++c)
            for (int w = q.r0; w <= q.r1; ++w) {
                size_t k = static_cast<size_t>(w * small.columns + c);
                for (size_t j = starts[k]; j < starts[k + 1]; ++j) {
                    const Filed& f = filed[j];
                    if ((f.column == c || c == q.c0) && (f.row == w || w == q.r0) && CellIndex::found(visit, f))
                        return;
                }
            }
    }

    // The same, but the segments that lie in one cell alone given to
    // block(whole, first, last) together, before the cell's others: whole
    // holds their boxes, [first, last) are they, by line.  A block that
    // answers true has found what it looked for, as a visitor that does.
    template <class Block, class Visit>
    void nearblocks(const Rect& r, const Block& block, const Visit& visit) const {
        if (starts.empty()) return;
        GridShape::Span q = small.span(r);
        for (int c = q.c0; c <= q.c1; ++c)
            for (int w = q.r0; w <= q.r1; ++w) {
                size_t k = static_cast<size_t>(w * small.columns + c);
                if (mids[k] > starts[k] && block(wholes[k], filed.data() + starts[k], filed.data() + mids[k])) return;
                for (size_t j = mids[k]; j < starts[k + 1]; ++j) {
                    const Filed& f = filed[j];
                    if ((f.column == c || c == q.c0) && (f.row == w || w == q.r0) && CellIndex::found(visit, f))
                        return;
                }
            }
    }

    const Segment& segment(int number) const { return segments[static_cast<size_t>(number)]; }

    // Where near(r, ...) visits segment i: before every segment whose key
    // is greater (its first cell in near's order, then its number).  Only
    // for a segment near(r, ...) visits.
    struct Turn {
        int column, row, number;
        bool operator<(const Turn& o) const {
            if (column != o.column) return column < o.column;
            if (row != o.row) return row < o.row;
            return number < o.number;
        }
    };
    Turn turn(int i, const Rect& r) const {
        CellIndex::Span q = cells.span(r);
        CellIndex::Span g = cells.span(boxof(segments[static_cast<size_t>(i)]));
        return {std::max(q.c0, g.c0), std::max(q.r0, g.r0), i};
    }

    static Rect boxof(const Segment& s) {
        return {std::min(s.a.x, s.b.x), std::min(s.a.y, s.b.y), std::max(s.a.x, s.b.x), std::max(s.a.y, s.b.y)};
    }

    // 1 and the runs of a box along both axes, summed in that order; the
    // most of the segments' once sealed (a NaN counts as none).
    static long double runof(const Rect& r) { return 1 + (r.right - r.left) + (r.top - r.bottom); }
    long double mostrun = 0;

private:
    template <class Visit>
    void eachcell(const GridShape::Span& g, const Visit& visit) const {
        for (int c = g.c0; c <= g.c1; ++c)
            for (int w = g.r0; w <= g.r1; ++w) visit(static_cast<size_t>(w * small.columns + c));
    }

    static constexpr long double smallcells = 4;
    CellIndex cells;
    GridShape small;
    std::vector<Segment> segments;
    std::vector<int16_t> owners;
    std::vector<size_t> starts;  // the small cell k's segments are filed[starts[k]] to filed[starts[k + 1] - 1],
    std::vector<size_t> mids;    // those in it alone up to filed[mids[k] - 1]
    std::vector<FloatBox> wholes;  // the box holding those
    std::vector<Filed> filed;
};

// The boxes of the placed labels or of the points' circles, filed by the
// same cells as the segments, so that those a box overlaps are found
// among the few near it.  The boxes are kept in the order they came.
class BoxGrid {
public:
    BoxGrid(const Rect& area, long double cell) : cells(area, cell) {}

    void add(const Rect& r) {
        cells.addbox(r, static_cast<int>(boxes.size()));
        boxes.push_back(r);
    }

    const std::vector<Rect>& all() const { return boxes; }

    // Each box whose cells meet r, once, by looking at all of them (`scan`)
    // or at those in its cells only: visit(index, box); until it answers
    // true, when it answers.
    template <class Visit>
    void near(const Rect& r, bool scan, const Visit& visit) const {
        if (scan) {
            for (size_t i = 0; i < boxes.size(); ++i)
                if (CellIndex::found(visit, static_cast<int>(i), boxes[i])) return;
            return;
        }
        cells.near(r, [&](int i) { return CellIndex::found(visit, i, boxes[static_cast<size_t>(i)]); });
    }

    // How many of the boxes overlap r, by looking at all of them (`scan`)
    // or at those in its cells only.
    int overlapping(const Rect& r, bool scan) const {
        int count = 0;
        if (scan) {
            for (const Rect& b : boxes)
                if (overlaps(r, b)) ++count;
            return count;
        }
        cells.near(r, [&](int i) {
            if (overlaps(r, boxes[static_cast<size_t>(i)])) ++count;
        });
        return count;
    }

private:
    CellIndex cells;
    std::vector<Rect> boxes;
};

inline Rect grown(const Rect& r, long double by) { return {r.left - by, r.bottom - by, r.right + by, r.top + by}; }

inline bool within(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.bottom >= outer.bottom &&
           inner.top <= outer.top;
}

// Everything the planning steps share.
struct Planner {
    const diagram::Diagram& d;
    const TextMeasure& measure;
    FigurePlan& plan;
    Rect window;                 // the plot box
    SegmentGrid grid;            // the visible lines (when labels or names need them)
    BoxGrid circles;             // the drawn points' circles (the same)
    BoxGrid taken;               // every label placed so far
    bool scan;                   // look at every item, not only at the filed ones near
                                 // (the plain search the filed one is checked against)
    std::vector<int16_t> circlepoints{};  // the point each of `circles` is drawn for

    // The width of a text, measured once for each face and size: a field's
    // words are measured again at every size and break tried, and most
    // numbers are alike.  With `scan` every width is measured anew.
    long double width(text::TextView t, TextFace face, long double size) const {
        if (scan || !std::isfinite(size)) return measure.width(t, face, size);
        WidthKey key{std::string(t.c, static_cast<size_t>(t.len > 0 ? t.len : 0)), face, size};
        auto found = widths.find(key);
        if (found != widths.end()) return found->second;
        long double w = measure.width(t, face, size);
        widths.emplace(std::move(key), w);
        return w;
    }

    struct WidthKey {
        std::string text;
        TextFace face;
        long double size;
        bool operator<(const WidthKey& o) const {
            if (size != o.size) return size < o.size;
            if (face != o.face) return face < o.face;
            return text < o.text;
        }
    };
    mutable std::map<WidthKey, long double> widths{};
    mutable long double spacing = -1;  // numberspacing, once known
};

// With halos, the room kept between a number's box and any other label's
// (numbers, field names, free texts): a digit's width between their inks,
// the halos counted in it, so that `2 3` never reads `23`.  0 without halos.
inline long double numberspacing(const Planner& pl) {
    if (pl.spacing >= 0) return pl.spacing;
    const FigureStyle& st = pl.plan.style;
    long double digit = st.halo > 0 ? pl.width({"0", 1}, TextFace::regular, st.labelsize) : 0;
    pl.spacing = st.halo > 0 && digit > st.halo ? digit - st.halo : 0;
    return pl.spacing;
}

// The distance between two boxes: 0 where they meet.
inline long double rectgap(const Rect& a, const Rect& b) {
    long double dx = std::max({0.0L, a.left - b.right, b.left - a.right});
    long double dy = std::max({0.0L, a.bottom - b.top, b.bottom - a.top});
    return std::sqrt(dx * dx + dy * dy);
}

// Whether a data point lies strictly inside the window.
inline bool insidewindow(const diagram::PlotWindow& w, long double x, long double y) {
    return x > w.xlow && x < w.xhigh && y > w.ylow && y < w.yhigh;
}

// Whether a point is drawn: circles are on and it lies strictly inside
// the window.
bool pointdrawn(const diagram::Diagram& d, const diagram::InvariantPoint& p);

// The page points of a line.
std::vector<Spot> pagepoints(const PageMap& m, const diagram::UnivariantLine& line);

// The planning steps, in the order they run: the point labels, the line
// labels, the field names, the frame's numbers and axis titles (how far
// down they reach below the plot comes back), the key under them or
// beside the plot.
void placepointlabels(Planner& pl);
void placelinelabels(Planner& pl, const std::vector<LabelPlace>& mids);
void placefields(Planner& pl, const std::vector<AreaBoundary>& areas);
long double placeframe(Planner& pl);
void placelegend(Planner& pl, long double below);

}  // namespace gridel::geometry
