// windowcuts.h - lines cut at the plot window: only the stretch inside is
// kept, with cut points on the edges, a corner where a line leaves by one
// edge and comes back by the next, and edge codes for ends on an edge.
//
// Edges are numbered 1 bottom, 2 left, 3 top, 4 right and always tested in
// that order; a line's `beginindex` or `endindex` holds an edge as its
// negated number.
#pragma once

#include <cstdint>

#include "diagram/model.h"
#include "run/run.h"

namespace gridel::geometry {

// Distance from an edge within which a free line end is put on that edge.
constexpr long double edgetolerance = 1e-7L;

// True when (x, y) lies in the window, all four edges included.
bool windowcontains(const diagram::PlotWindow& w, long double x, long double y);

// Whether a segment of the line's points 1..count passes the level of an
// edge (starts strictly on one side of it and ends on the other or on it):
// the plain test, segment by segment.
bool passesanedgebysegments(const diagram::PlotWindow& w, const diagram::UnivariantLine& l, int count);

// True when every point 1..count lies strictly inside the window: then no
// segment passes an edge's level, which this finds with a quarter of the
// comparisons.  False decides nothing.
bool strictlyinside(const diagram::PlotWindow& w, const diagram::UnivariantLine& l, int count);

// Cut one assembled line (at least two points) at the window, in place.
// Sets its edge codes, or `outsidewindow` with no points left when it
// never enters the window.  Shapes that cannot be cut end the run.
void windowcuts(run::Run& run, diagram::Diagram& d, int16_t line);

}  // namespace gridel::geometry
