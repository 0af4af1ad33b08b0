// areas.cpp - areacolourof and paintareas.
#include "drawing/areas.h"

#include <cmath>

#include "drawing/items.h"
#include "drawing/page.h"

namespace gridel::drawing {

namespace {

// One component mixed and clamped to 0..1.
long double mixcomponent(double grayscale, long double light, long double dark) {
    long double g = grayscale;
    long double v = (g * light + (1 - g) * dark) / 255;
    // An infinite grayscale (one beyond the 8-byte range) mixes to no
    // number at all; it lies beyond 1 or below 0 and is clamped that way.
    if (std::isnan(v)) v = g > 0 ? 1 : 0;
    if (v < 0) v = 0;
    if (v > 1) v = 1;
    return v;
}

}  // namespace

Colour areacolourof(const diagram::DrawingOptions& o, double grayscale) {
    return {mixcomponent(grayscale, o.lightcolour[0], o.darkcolour[0]),
            mixcomponent(grayscale, o.lightcolour[1], o.darkcolour[1]),
            mixcomponent(grayscale, o.lightcolour[2], o.darkcolour[2])};
}

void paintareas(const diagram::Diagram& d, const geometry::PageMap& w, const std::vector<geometry::AreaBoundary>& boundaries, Canvas& canvas) {
    std::vector<geometry::BoundaryPoint> points;  // one area's at a time
    for (const geometry::AreaBoundary& b : boundaries) {
        canvas.blank();
        const diagram::ShadedArea& area = d.areas[b.area];
        ItemGroup group(canvas, areaid(b.area), "area", areatitle(area, b.area));
        canvas.areacolour(areacolourof(d.options, area.grayscale), b.area);
        boundarypoints(d, b.pieces, points);
        for (size_t k = 0; k < points.size(); ++k) {
            const geometry::BoundaryPoint& p = points[k];
            if (k == 0)
                canvas.moveto(pathpoint(w, p.x, p.y, p.name));
            else
                canvas.lineto(pathpoint(w, p.x, p.y, p.name));
        }
        canvas.fill();  // even when the walk stopped short: what was traced is filled
    }
    canvas.blank();
    canvas.black();
    canvas.blank();
}

}  // namespace gridel::drawing
