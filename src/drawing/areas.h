// areas.h - the shaded areas painted: each boundary filled in its colour,
// under everything else drawn.
#pragma once

#include <vector>

#include "diagram/model.h"
#include "drawing/canvas.h"
#include "geometry/areas.h"
#include "geometry/pagemap.h"

// The colour of grayscale g: each component mixed from the light colour
// (g = 1) and the dark one (g = 0), on a 0..1 scale, clamped to it.
Colour areacolourof(const DrawingOptions& o, double grayscale);

// Fill every traced boundary on the map's plot box, then go back to black.
void paintareas(const Diagram& d, const PageMap& map, const std::vector<AreaBoundary>& boundaries, Canvas& canvas);
