// labels.h - where each line's number goes: the point half-way along its
// length, found once the lines are assembled and cut.
#pragma once

#include <vector>

#include "diagram/model.h"
#include "run/run.h"

namespace gridel::geometry {

// The data point half-way along the line's length, measured in fractions
// of the window's width and height.  A line without length (one point, or
// all points alike) ends the run.
void findmid(run::Run& run, const diagram::PlotWindow& w, const diagram::UnivariantLine& line, long double& xm, long double& ym);

// The half-way point of a line.
struct LabelPlace {
    long double x;
    long double y;
};

// The half-way points of lines 1..nlines (entry k for line k; lines
// without points get none and keep a zero entry).  Only when numbering is
// on; otherwise nothing is looked for and the list is empty.
std::vector<LabelPlace> placelabels(run::Run& run, const diagram::Diagram& d);

}  // namespace gridel::geometry
