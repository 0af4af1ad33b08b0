// plan.h - what a drawing is made from once its diagram is read: the
// geometry's plan, which a check and a drawing run share, and the page box
// the drawing gets.
#pragma once

#include <functional>

#include "diagram/model.h"
#include "drawing/canvas.h"
#include "drawing/drawdiagram.h"
#include "run/run.h"

namespace gridel::drawing {

// Run the geometry on the read diagram: the crossovers placed, the lines
// assembled, the areas traced (when `doareas` is yes), the labels placed
// and the figure's texts planned.  An ending signal that has come ends the
// run once the lines are assembled and again at the end.
DrawingPlan plandrawing(run::Run& run, diagram::Diagram& diagram);

// The page box of the drawing `draw` makes for the page fit `fit`: the
// whole page, the drawn content with a margin round it, or the whole page
// grown to hold that, in whole points.  The texts in `widths` are measured
// from their widths there where that is enough.
PageBox pagebox(PageFit fit, const std::function<void(Canvas&)>& draw, const SetWidths* widths = nullptr);

}  // namespace gridel::drawing
