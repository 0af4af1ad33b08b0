// frame.h - the frame of the diagram: the title and info lines above the
// plot square, the window box, the big and small ticks and the axis
// numbers.
#pragma once

#include "diagram/model.h"
#include "drawing/canvas.h"
#include "geometry/figure.h"
#include "text/fixedtext.h"

namespace gridel::drawing {

// Draw the frame on the plan's plot box.  The title line reads
// " <banner> (running at <stamp>) " unless the script gives its own or
// none.
void drawframe(const diagram::Diagram& d, const geometry::FigurePlan& plan, const text::Text& banner, const text::Text& stamp, Canvas& canvas);

}  // namespace gridel::drawing
