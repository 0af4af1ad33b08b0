// model.cpp - diagrams filled by hand.
#include "support/model.h"

#include <cstring>

#include "diagram/startdiagram.h"
#include "support/run.h"
#include "support/floors.h"

namespace testsupport {

Diagram freshdiagram() {
    Diagram d;
    std::unique_ptr<Run> quiet = freshrun();
    quiet->open = 0;  // the log heading goes nowhere
    startdiagram(*quiet, d);
    d.window = {0, 10, 0, 10};
    d.ticks = {2, 0, 2, 0, 0, 0, false};
    d.options.showlineinfo = answerno;
    return d;
}

int16_t addpoint(Diagram& d, const char* name, long double x, long double y) {
    InvariantPoint& p = d.points[++d.npoints];
    std::memset(static_cast<void*>(&p), 0, sizeof p);
    settext(p.name, name);
    p.x = x;
    p.y = y;
    return d.npoints;
}

int16_t addcrossover(Diagram& d, const char* name, const char* line1, const char* line2) {
    int16_t k = addpoint(d, name, 0, 0);
    d.points[k].crossover = true;
    settext(d.points[k].crossline1, line1);
    settext(d.points[k].crossline2, line2);
    return k;
}

void clearline(UnivariantLine& l) {
    long double* x = l.x;
    long double* y = l.y;
    l = UnivariantLine{};
    l.x = x;
    l.y = y;
}

int16_t addline(Diagram& d, const char* name, const Pts& pts, const char* beginname, const char* endname) {
    UnivariantLine& l = d.lines[++d.nlines];
    clearline(l);
    settext(l.name, name);
    for (const auto& [x, y] : pts) {
        ++l.npts;
        l.x[l.npts] = x;
        l.y[l.npts] = y;
    }
    l.connect = pts.empty();
    settext(l.beginname, beginname);
    settext(l.endname, endname);
    return d.nlines;
}

Pts pointsof(const Diagram& d, int16_t line) {
    Pts out;
    for (int k = 1; k <= d.lines[line].npts; ++k) out.emplace_back(d.lines[line].x[k], d.lines[line].y[k]);
    return out;
}

}  // namespace testsupport
