// linepoints.cpp - copypoints and setlinepoint: a line's points copied, and
// written only inside its capacity.
#include "geometry/linepoints.h"

#include <cstring>

#include "run/diagnostics.h"
#include "run/failure.h"
#include "text/numfmt.h"

namespace gridel::geometry {

namespace {

[[noreturn, gnu::cold]] void toomanypoints(run::Run& run, const diagram::UnivariantLine& line, const char* where) {
    explain(run, run::wordtext(line.name) + " has more points than gridel holds for a line");
    text::Text what;
    text::settext(what, "too many points in line ");
    text::addtext(what, line.name);
    addtext(what, ": max = ");
    addtext(what, text::real2intstr(diagram::linecapacity));
    bombed(run, where, what);
}

}  // namespace

void setlinepoint(run::Run& run, diagram::UnivariantLine& line, int k, long double x, long double y, const char* where) {
    if (k < 1 || k > diagram::linecapacity) toomanypoints(run, line, where);
    line.x[k] = x;
    line.y[k] = y;
}

void copypoints(const diagram::UnivariantLine& line, PointCopy& copy) {
    // Copied as bytes: the same values, without an 80-bit load and store each.
    copy.n = linelength(line);
    const size_t bytes = static_cast<size_t>(copy.n) * sizeof(long double);
    std::memcpy(copy.x + 1, line.x + 1, bytes);
    std::memcpy(copy.y + 1, line.y + 1, bytes);
}

}  // namespace gridel::geometry
