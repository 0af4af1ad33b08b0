// model.h - diagrams filled by hand for the geometry and drawing tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "diagram/model.h"
#include "support/floors.h"

namespace testsupport {

using Pts = std::vector<std::pair<long double, long double>>;

// A diagram with its tables and nothing in them: the window 0..10 by
// 0..10, big ticks every 2 from 0, no line report, the other options as
// they stand before a script.
Diagram freshdiagram();

// Empty a line's record, keeping the rooms of its points.
void clearline(UnivariantLine& l);

// Add a point at (x, y); returns its number.
int16_t addpoint(Diagram& d, const char* name, long double x, long double y);

// Add a crossover point of two lines; returns its number.
int16_t addcrossover(Diagram& d, const char* name, const char* line1, const char* line2);

// Add a line (solid, thin, uncoloured) with data points and limit names;
// returns its number.  With no points it is a connect line.
int16_t addline(Diagram& d, const char* name, const Pts& pts, const char* beginname = "begin",
                const char* endname = "end");

// The line's points 1..npts.
Pts pointsof(const Diagram& d, int16_t line);

template <int Cap>
std::string str(const Str<Cap>& t) { return std::string(t.c, static_cast<size_t>(t.len)); }

}  // namespace testsupport
