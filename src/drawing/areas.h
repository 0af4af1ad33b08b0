// areas.h - the shaded areas painted: each boundary filled in its colour,
// under everything else drawn.
#pragma once

#include <vector>

#include "diagram/model.h"
#include "drawing/canvas.h"
#include "geometry/areas.h"
#include "geometry/pagemap.h"

namespace gridel::drawing {

// The colour of grayscale g: each component mixed from the light colour
// (g = 1) and the dark one (g = 0), on a 0..1 scale, clamped to it.
Colour areacolourof(const diagram::DrawingOptions& o, double grayscale);

// Fill every traced boundary on the map's plot box, then go back to black.
void paintareas(const diagram::Diagram& d, const geometry::PageMap& map, const std::vector<geometry::AreaBoundary>& boundaries, Canvas& canvas);

}  // namespace gridel::drawing
