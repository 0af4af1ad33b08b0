// axisnumbers.h - the numbers along an axis: which big ticks get one, and
// how each is written.
#pragma once

#include <vector>

#include "text/fixedtext.h"

namespace gridel::geometry {

// The values numbered along an axis: from `start` by `gap` while the value
// stays below high plus 1e-5 of the span high - low.  The walk also ends
// when adding the gap no longer changes the value (a gap below the
// arithmetic's resolution there), and gives nothing for a gap that is not
// positive.
std::vector<long double> axisvalues(long double start, long double gap, long double high, long double low);

// The axis number of a tick value: an integer text within 1e-5 of a whole
// number, else at most five decimals, as many as the value needs.
text::Word ticklabel(long double t);

}  // namespace gridel::geometry
