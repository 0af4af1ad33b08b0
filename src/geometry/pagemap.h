// pagemap.h - where the plot window lies on the page: the plot box in
// points, and the map from data coordinates onto it.
#pragma once

#include "diagram/model.h"

namespace gridel::geometry {

// The plot box of a diagram without a `size`: the 460-point square from
// (50, 150) to (510, 610), in PostScript points.
constexpr int plotleft = 50;
constexpr int plotright = 510;
constexpr int plotbottom = 150;
constexpr int plottop = 610;

// Points in a millimetre.
constexpr long double pointspermm = 72 / 25.4L;

// The window and the box on the page it maps onto, in points.
struct PageMap {
    diagram::PlotWindow window;
    long double left;
    long double bottom;
    long double right;
    long double top;
};

// The diagram's map: its window onto the plot box, which a `size` makes
// WIDTH by HEIGHT millimetres with its lower left corner where the square's
// is.
PageMap pagemap(const diagram::Diagram& d);

// Data coordinates to a page point.  Nothing is clipped.
void topage(const PageMap& m, long double x, long double y, long double& px, long double& py);

}  // namespace gridel::geometry
