// drawdiagram.h - the whole drawing of a diagram on a canvas, in its fixed
// order: areas first, then the frame, the lines and the points.
#pragma once

#include <vector>

#include "diagram/model.h"
#include "drawing/canvas.h"
#include "drawing/fonts.h"
#include "geometry/areas.h"
#include "geometry/figure.h"
#include "geometry/labels.h"
#include "text/fixedtext.h"

namespace gridel::drawing {

// What the document says of itself: the page box, the program and the
// time of the run.
PageHeader pageheader(const text::Text& banner, const text::Text& stamp);

// The header of a whole document: pageheader's, with the page box `box`
// (its corners in whole points) and the document's title.
PageHeader documentheader(const text::Text& banner, const text::Text& stamp, const PageBox& box, const text::Text& title);

// What the geometry found for the drawing: the areas' boundaries, the
// lines' half-way points, and the places of the figure's texts made from
// them (planfigure).
struct DrawingPlan {
    std::vector<geometry::AreaBoundary> areas;
    std::vector<geometry::LabelPlace> labels;
    geometry::FigurePlan figure;
    SetWidths widths;  // the texts measured for the figure's places
};

// Draw the assembled diagram: the traced areas with their field names
// (when `doareas` is yes), the frame, the lines, the points (when
// `docircles` is yes), the free texts, the numbers that have halos, the
// axis titles and the key.  The
// canvas has begun; it is not ended here.  Drawing never fails, so the
// same diagram can be drawn on several canvases.
void drawdiagram(const diagram::Diagram& d, const DrawingPlan& plan, const text::Text& banner, const text::Text& stamp,
                 Canvas& canvas);

// Which page a drawing gets: the fixed page box; the drawn content on it
// with a margin (--crop); the drawn content wherever it lies with a margin
// (a plot of the script's size, or --crop with what may reach past the
// fixed box: an axis title, a key, a font size); or the fixed box grown to
// hold such content.
enum class PageFit { fixed, cropped, content, grown };

PageFit pagefit(const diagram::Diagram& d, bool crop);

}  // namespace gridel::drawing
