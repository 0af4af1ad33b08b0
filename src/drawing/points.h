// points.h - the invariant points in the drawing: a circle at each point
// inside the window and, with numbering, its number on the circle.
#pragma once

#include "diagram/model.h"
#include "drawing/canvas.h"
#include "geometry/figure.h"

namespace gridel::drawing {

// Draw every point that lies strictly inside the window, in table order.
// The circles are solid: when the dash in force is dashed (`dashed`, left
// by the last line drawn), it is set solid before the first circle.
// Without halos each point's number goes where the plan put it, right
// after its circle.
void drawpoints(const diagram::Diagram& d, const geometry::FigurePlan& plan, bool dashed, Canvas& canvas);

}  // namespace gridel::drawing
