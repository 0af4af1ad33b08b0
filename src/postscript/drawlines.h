// drawlines.h - the univariant lines in the drawing: each line's width,
// dash, colour and path, and with numbering its label half-way along it.
#pragma once

#include "diagram/model.h"

// The data point half-way along the line's length, measured in fractions
// of the window's width and height.  A line without length (one point, or
// all points alike) ends the run.
void findmid(const UnivariantLine& line, long double& xm, long double& ym);

// Draw every line that has points, in table order, then reset the colour.
// True when the last line drawn was dashed: its dash pattern stays in force.
bool drawlines();
