// drawing.h - helpers for the drawing's unit tests: a fresh model with a
// 0..1 window, capture of what is written to the drawing channel, and
// Ghostscript's verdict on a drawing.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "diagram/model.h"

namespace pstest {

// Empty tables, the window 0..1 by 0..1, big ticks every 0.5 from 0, and
// the options as they stand before a script: areas, line info and circles
// yes, numbering no, no sizes, no info lines.  Banner and stamp as a run
// at the test clock has them.
void resetmodel();

// Append a line with the given points (solid, thin, uncoloured, limits
// "begin" and "end") and return it for further settings.
UnivariantLine& addline(const char* name, const std::vector<std::pair<long double, long double>>& xy);

// Append a point.
InvariantPoint& addpoint(const char* name, long double x, long double y);

// Everything `fn` writes to the drawing channel, opened on a scratch file.
std::string drawn(const std::function<void()>& fn);

// The whole drawing that `drawdiagram` writes for the data-file suffix, in
// a scratch folder.
std::string drawnfile(const char* suffix);

// Ghostscript's output on a drawing (with -dSAFER on the null device);
// empty when it was accepted silently.
std::string ghostscript(const std::string& drawing);

}  // namespace pstest
