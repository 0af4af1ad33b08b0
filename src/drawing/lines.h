// lines.h - the univariant lines in the drawing: each line's width, dash,
// colour and path, and with numbering its label half-way along it.
#pragma once

#include <vector>

#include "diagram/model.h"
#include "drawing/canvas.h"
#include "geometry/figure.h"

namespace gridel::drawing {

// Draw every line that has points, in table order, then reset the colour.
// With numbering and without halos, each line's number goes where the plan
// put it, right after the line.
void drawlines(const diagram::Diagram& d, const geometry::FigurePlan& plan, Canvas& canvas);

// Whether the last line drawn (the last with points) is dashed: its dash
// stays in force for what is drawn after the lines.
bool lastlinedashed(const diagram::Diagram& d);

}  // namespace gridel::drawing
