// freetexts.cpp - placefreetexts.
#include "geometry/freetexts.h"

namespace gridel::geometry {

std::vector<PlacedText> placefreetexts(const diagram::Diagram& d, const PageMap& map, long double size, long double halo,
                                       const TextMeasure& measure) {
    std::vector<PlacedText> placed;
    const diagram::PlotWindow& w = map.window;
    for (const diagram::FreeText& t : d.texts) {
        if (!(t.x >= w.xlow && t.x <= w.xhigh && t.y >= w.ylow && t.y <= w.yhigh)) continue;
        if (t.text.len == 0) continue;
        long double px, py;
        topage(map, t.x, t.y, px, py);
        // The cap height centred on the point: a text of capitals and
        // digits stands with its middle there.
        long double baseline = py - capheight * size / 2;
        long double half = measure.width(viewof(t.text), TextFace::regular, size) / 2;
        placed.push_back({viewof(t.text), px, baseline,
                          {px - half - halo, baseline - descent * size - halo, px + half + halo,
                           baseline + capheight * size + halo},
                          size, halo});
    }
    return placed;
}

}  // namespace gridel::geometry
