// page.h - the page the diagram is drawn on: the part of the page the
// drawing occupies, and path points made from data coordinates through the
// page map.
#pragma once

#include "diagram/model.h"
#include "drawing/canvas.h"
#include "geometry/pagemap.h"

namespace gridel::drawing {

// The part of the page the drawing may occupy: title lines above the
// square, axis numbers left of and below it.
constexpr int16_t pageboxleft = 4;
constexpr int16_t pageboxbottom = 4;
constexpr int16_t pageboxright = 525;
constexpr int16_t pageboxtop = 750;

// The font in force when the drawing starts, and that of the frame.
constexpr int16_t framefontsize = 12;

// A path point for the data point (x, y) on the map's plot box, with a
// name.
PathPoint pathpoint(const geometry::PageMap& m, long double x, long double y, const text::Word& name);

// The empty name, for path points that carry none.
extern const text::Word noname;

}  // namespace gridel::drawing
