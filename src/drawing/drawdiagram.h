// drawdiagram.h - the whole drawing of a diagram on a canvas, in its fixed
// order: areas first, then the frame, the lines and the points.
#pragma once

#include <vector>

#include "diagram/model.h"
#include "drawing/canvas.h"
#include "geometry/areas.h"
#include "geometry/labels.h"
#include "text/fixedtext.h"

// What the document says of itself: the page box, the program and the
// time of the run.
PageHeader pageheader(const Text& banner, const Text& stamp);

// What the geometry found for the drawing: the areas' boundaries and the
// lines' label places.
struct DrawingPlan {
    std::vector<AreaBoundary> areas;
    std::vector<LabelPlace> labels;
};

// Draw the assembled diagram: the traced areas (when `doareas` is yes),
// the frame, the lines, and the points (when `docircles` is yes).  The
// canvas has begun; it is not ended here.  Drawing never fails, so the
// same diagram can be drawn on several canvases.
void drawdiagram(const Diagram& d, const DrawingPlan& plan, const Text& banner, const Text& stamp,
                 Canvas& canvas);
