// linepoints.h - checked writes of an assembled line's points.
//
// Trimming and window cutting rewrite a line's points in place.  Every such
// write goes through `setlinepoint`, so that no position outside
// 1..linecapacity is ever written: a line that would grow past its
// capacity ends the run with a failure report instead.
#pragma once

#include "diagram/model.h"
#include "run/run.h"

namespace gridel::geometry {

// The line's point count, held within 0..linecapacity, for loops that read
// its points.
inline int linelength(const diagram::UnivariantLine& line) {
    if (line.npts < 0) return 0;
    return line.npts > diagram::linecapacity ? diagram::linecapacity : line.npts;
}

// A working copy of a line's points, taken before the line is rewritten.
struct PointCopy {
    long double x[diagram::linecapacity + 1];  // x of points 1..n
    long double y[diagram::linecapacity + 1];  // y of points 1..n
    int n;                            // points copied
};

// Copy the line's points 1..npts.
void copypoints(const diagram::UnivariantLine& line, PointCopy& copy);

// Store (x, y) as point k of the line.  A position outside 1..linecapacity
// ends the run through `bombed` with the given where-text and the what-text
// "too many points in line <name>: max = <linecapacity>".
void setlinepoint(run::Run& run, diagram::UnivariantLine& line, int k, long double x, long double y, const char* where);

}  // namespace gridel::geometry
