// areas.h - shaded areas: each traced along its lines and the window's
// border into one closed boundary, which the drawing fills.
//
// Offers `traceareas`, which the run calls once the lines are assembled and
// cut, and the steps it is made of: `whichline` (a line by name),
// `enddistance` (how far apart two line ends are, in window sizes),
// `edgeconnect` (the way from one line end to another, round the window's
// corners when both lie on edges), `areaboundary` (one area's closed
// boundary) and `areaboundarytoedge` (the same, round the side an edge
// word names).  A boundary that cannot be traced gets a warning on the screen
// and in the log, and keeps what was traced so far.
//
// Line ends are numbered 1 (the first point, the begin) and 2 (the last
// point, the end).  A line traced forward runs from end 1 to end 2.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "diagram/model.h"
#include "run/run.h"
#include "text/fixedtext.h"

namespace gridel::geometry {

// One point of a boundary, in data coordinates, with the name of the line
// whose trace it begins (empty for most points).
// Less than this much of an edge (in edge lengths) is not running along it.
constexpr long double alongedge = 1e-9L;

struct BoundaryPoint {
    long double x;
    long double y;
    text::Word name;
};

// A piece of a boundary: one point, or a stretch of a line's own points,
// which are read from the line when the boundary is drawn (so a boundary
// costs a few pieces, not a copy of its lines).
struct BoundaryPiece {
    long double x;  // the point, when `line` is 0
    long double y;
    int16_t line;   // the line whose points these are: forward its points
                    // 2..n, backward n-1..1; 0 for a single point
    bool forward;
    text::Word name;      // the name that goes with the piece's first point
};

// A join along the window's border from one line end to the next: the
// edges of its two ends and how much of each edge (in edge lengths, by
// edge code 1..4) it runs along the usual way round and the other way.
struct BorderJoin {
    int16_t from;
    int16_t to;
    long double usual[5];
    long double other[5];
    size_t at;                 // where its corners begin among the boundary's pieces
    int16_t corners;           // the corners of the usual way
    int16_t othercorners;      // the corners of the other way, in order
    long double otherx[4];
    long double othery[4];
    bool turned;               // taken the other way round
};

// A boundary being traced: the window it runs along, the lines table, and
// its pieces.  The first point starts it, each later one is joined straight
// to the one before, and filling closes it back to the first.  Its joins
// along the border are kept in order.
struct BoundaryPath {
    const diagram::PlotWindow& window;
    const diagram::UnivariantLine* lines;  // the table the pieces' line numbers index
    std::vector<BoundaryPiece> pieces;
    std::vector<BorderJoin> joins = {};
};

// One area to fill: its number and its boundary (no pieces when the walk
// could not start; it is still filled, with nothing to show).
struct AreaBoundary {
    int16_t area;
    std::vector<BoundaryPiece> pieces;
};

// The points of a boundary, in order.
void boundarypoints(const diagram::Diagram& d, const std::vector<BoundaryPiece>& pieces, std::vector<BoundaryPoint>& points);

// Every area that keeps a visible line, in order: the names are resolved
// (an unknown one ends the run), lines wholly outside the window dropped,
// and the boundary traced.
std::vector<AreaBoundary> traceareas(run::Run& run, diagram::Diagram& d);

// The first line in table order with the given name; an unknown name ends
// the run.
int16_t whichline(run::Run& run, const diagram::Diagram& d, const text::Word& name);

// Distance from end a of line A to end b of line B, measured in window
// widths and heights.
long double enddistance(const diagram::PlotWindow& w, int a, int b, const diagram::UnivariantLine& A, const diagram::UnivariantLine& B);

// On from end a of A to end b of B: the window corners between them when
// both ends lie on different edges, then end b itself.
void edgeconnect(BoundaryPath& path, int a, int b, const diagram::UnivariantLine& A, const diagram::UnivariantLine& B);

// The closed boundary of one area whose visible lines are resolved.
void areaboundary(run::Run& run, const diagram::Diagram& d, int16_t area, BoundaryPath& path);

// The closed boundary of one area, taken round the side its edge word
// names: when the usual trace does not run along that edge, the first join
// along the border whose other way does is turned.  Without an edge word,
// or with none that can be met, the usual trace.
void areaboundarytoedge(run::Run& run, const diagram::Diagram& d, int16_t area, BoundaryPath& path);

// The edges (by code 1..4) a traced boundary runs along on the border.
std::vector<int16_t> borderedges(const BoundaryPath& path);

}  // namespace gridel::geometry
