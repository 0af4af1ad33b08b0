// modelfill.h - a diagram model filled by hand for the geometry tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "diagram/model.h"

namespace modelfill {

using Pts = std::vector<std::pair<long double, long double>>;

// Empty tables (created on first use), window 0..10 by 0..10, report off.
void resetmodel();

// Add a point at (x, y); returns its number.
int16_t addpoint(const char* name, long double x, long double y);

// Add a crossover point of two lines; returns its number.
int16_t addcrossover(const char* name, const char* line1, const char* line2);

// Add a line with data points and limit names; returns its number.  With
// no points it is a connect line.
int16_t addline(const char* name, const Pts& pts, const char* beginname = "begin",
                const char* endname = "end");

// The line's points 1..npts.
Pts pointsof(int16_t line);

std::string str(const Word& w);

}  // namespace modelfill
