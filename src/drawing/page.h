// page.h - the page the diagram is drawn on: the plot square the window
// maps onto, the part of the page the drawing occupies, and the transform
// from data coordinates to page points.
#pragma once

#include "diagram/model.h"
#include "drawing/canvas.h"

// The plot square, in PostScript points: the window's xlow, xhigh, ylow and
// yhigh map onto these.
constexpr int plotleft = 50;
constexpr int plotright = 510;
constexpr int plotbottom = 150;
constexpr int plottop = 610;

// The part of the page the drawing may occupy: title lines above the
// square, axis numbers left of and below it.
constexpr int16_t pageboxleft = 4;
constexpr int16_t pageboxbottom = 4;
constexpr int16_t pageboxright = 525;
constexpr int16_t pageboxtop = 750;

// The font in force when the drawing starts, and that of the frame.
constexpr int16_t framefontsize = 12;

// Data coordinates to a page point.  Nothing is clipped.
void topage(const PlotWindow& w, long double x, long double y, long double& px, long double& py);

// A path point for the data point (x, y), with a name.
PathPoint pathpoint(const PlotWindow& w, long double x, long double y, const Word& name);

// The empty name, for path points that carry none.
extern const Word noname;
