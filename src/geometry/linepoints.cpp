// linepoints.cpp - copypoints and setlinepoint: a line's points copied, and
// written only inside its capacity.
#include "geometry/linepoints.h"

#include "run/diagnostics.h"
#include "run/failure.h"
#include "text/numfmt.h"

namespace {

[[noreturn, gnu::cold]] void toomanypoints(Run& run, const UnivariantLine& line, const char* where) {
    explain(run, wordtext(line.name) + " has more points than gridel holds for a line");
    Text what;
    settext(what, "too many points in line ");
    addtext(what, line.name);
    addtext(what, ": max = ");
    addtext(what, real2intstr(linecapacity));
    bombed(run, where, what);
}

}  // namespace

void setlinepoint(Run& run, UnivariantLine& line, int k, long double x, long double y, const char* where) {
    if (k < 1 || k > linecapacity) toomanypoints(run, line, where);
    line.x[k] = x;
    line.y[k] = y;
}

void copypoints(const UnivariantLine& line, PointCopy& copy) {
    copy.n = linelength(line);
    for (int j = 1; j <= copy.n; ++j) {
        copy.x[j] = line.x[j];
        copy.y[j] = line.y[j];
    }
}
