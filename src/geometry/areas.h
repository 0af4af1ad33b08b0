// areas.h - shaded areas: each traced along its lines and the window's
// border and filled in its colour.
//
// Offers `drawareas`, which the drawing driver calls once the lines are
// assembled and cut, and the steps it is made of: `whichline` (a line by
// name), `enddistance` (how far apart two line ends are, in window sizes),
// `edgeconnect` (the path from one line end to another, round the window's
// corners when both lie on edges) and `areaboundary` (one area's closed
// path).  Every path line goes through psmoveto, pslineto and polyline.
//
// Line ends are numbered 1 (the first point, the begin) and 2 (the last
// point, the end).  A line traced forward runs from end 1 to end 2.
#pragma once

#include <cstdint>

#include "diagram/model.h"
#include "text/fixedtext.h"

// Paint every area into the drawing: its colour line, its boundary and
// "fill"; then "0 setgray" (also when there are no areas).
void drawareas();

// The first line in table order with the given name; an unknown name ends
// the run.
int16_t whichline(const Word& name);

// Distance from end a of line A to end b of line B, measured in window
// widths and heights.
long double enddistance(int a, int b, const UnivariantLine& A, const UnivariantLine& B);

// Lineto lines from end a of A to end b of B: the window corners between
// them when both ends lie on different edges, then end b itself.
void edgeconnect(int a, int b, const UnivariantLine& A, const UnivariantLine& B);

// The moveto and lineto lines of one area's boundary.  A boundary that
// cannot be traced gets a warning on the screen and in the log, and keeps
// the path written so far.
void areaboundary(int16_t area);
