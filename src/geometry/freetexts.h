// freetexts.h - where the script's free texts go: each centred, across and
// up and down, at its point of the data; one whose point lies outside the
// window is left out.  Places only: the drawing floor draws them.
#pragma once

#include <vector>

#include "diagram/model.h"
#include "geometry/pagemap.h"
#include "geometry/polylabel.h"
#include "geometry/textmeasure.h"

namespace gridel::geometry {

// A free text on the page.
struct PlacedText {
    text::TextView text;         // the text as the script gave it
    long double x;         // centred on x ...
    long double baseline;  // ... with its baseline here
    Rect box;              // the room it takes, its halo included
    long double size;      // points
    long double halo;      // the width of its halo; 0: none
};

// The free texts of a diagram at `size` points, with a halo `halo` wide
// round each (0: none), in script order.
std::vector<PlacedText> placefreetexts(const diagram::Diagram& d, const PageMap& map, long double size, long double halo,
                                       const TextMeasure& measure);

}  // namespace gridel::geometry
