// assembly.h - line assembly: every line's limits resolved, the line trimmed
// to its limit points (or drawn straight between them), reported, and cut
// at the window.
//
// A line's limit codes after assembly: k > 0 it begins (ends) at point k,
// 0 at its own data end; window cutting may then set an edge code.
#pragma once

#include <cstdint>

#include "diagram/model.h"
#include "run/run.h"
#include "text/fixedtext.h"

namespace gridel::geometry {

// Assemble every line in table order: limits, trimming, the three report
// stages and the window cut.
void assemblelines(run::Run& run, diagram::Diagram& d);

// The number of the first point of that name, else 0; a name that is
// neither a point nor "begin" or "end" ends the run.
int16_t whichpoint(run::Run& run, const diagram::Diagram& d, const text::Word& name);

// Set the line's `xmonotone`: its x values never turn back.
void monotone(diagram::Diagram& d, int16_t line);

// Where point `point` falls among the line's data points, 0..npts: k means
// between data points k and k + 1, 0 before the first, npts after the last.
// Placed by x for a monotone line, else by y.
int16_t pointposition(const diagram::Diagram& d, int16_t line, int16_t point);

// Trim a line (not a connect line) to the data between its limit points and
// add those points at its ends; limits in the wrong order are exchanged.
void addpoints(run::Run& run, diagram::Diagram& d, int16_t line);

}  // namespace gridel::geometry
