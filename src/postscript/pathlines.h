// pathlines.h - the data-to-page transform, and the moveto and lineto lines
// through which every path of the drawing is written.  Each path line
// carries the data coordinates it was made from in a PostScript comment.
#pragma once

#include "diagram/model.h"
#include "text/fixedtext.h"

// The plot square on the page, in PostScript points: the window's xlow,
// xhigh, ylow and yhigh map onto these.
constexpr int plotleft = 50;
constexpr int plotright = 510;
constexpr int plotbottom = 150;
constexpr int plottop = 610;

// Data coordinates to a page point.  Nothing is clipped.
void topage(long double x, long double y, long double& px, long double& py);

// One "moveto" or "lineto" line for a data point, with the data point and
// a name (cut to 20 characters) in its comment.
void psmoveto(const Word& name, long double x, long double y);
void pslineto(const Word& name, long double x, long double y);

// Lineto lines for a line's points after its first (forward) or before its
// last (backward); the name goes on the first line written.
void polyline(bool forward, const Word& name, const UnivariantLine& line);

// The empty name, for path lines that carry none.
extern const Word noname;
