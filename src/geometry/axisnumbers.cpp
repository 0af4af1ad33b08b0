// axisnumbers.cpp - axisvalues and ticklabel.
#include "geometry/axisnumbers.h"

#include <cmath>

#include "text/numfmt.h"

namespace gridel::geometry {

std::vector<long double> axisvalues(long double start, long double gap, long double high, long double low) {
    std::vector<long double> values;
    if (!(gap > 0)) return values;
    for (long double t = start;;) {
        long double next = t + gap;
        if (next == t) break;
        t = next;
        if (t - high >= 1e-5L * (high - low)) break;
        values.push_back(t);
    }
    return values;
}

text::Word ticklabel(long double t) {
    int32_t whole = text::roundint(t);
    if (std::fabs(t - whole) < 1e-5L) return text::real2intstr(whole);
    int16_t n = text::decimalsneeded(true, 1, t);
    if (n > 5) n = 5;
    return text::real2str(t, n, true);
}

}  // namespace gridel::geometry
