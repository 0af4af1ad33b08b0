// modelfill.cpp - a diagram model filled by hand for the geometry tests.
#include "geometry/modelfill.h"

#include <cstring>

#include "diagram/startdiagram.h"

namespace modelfill {

void resetmodel() {
    if (points == nullptr || lines == nullptr) startdiagram();
    npoints = 0;
    nlines = 0;
    plotwindow = {0, 10, 0, 10};
    drawingoptions.showlineinfo = answerno;
}

int16_t addpoint(const char* name, long double x, long double y) {
    InvariantPoint& p = points[++npoints];
    std::memset(static_cast<void*>(&p), 0, sizeof p);
    settext(p.name, name);
    p.x = x;
    p.y = y;
    return npoints;
}

int16_t addcrossover(const char* name, const char* line1, const char* line2) {
    int16_t k = addpoint(name, 0, 0);
    points[k].crossover = true;
    settext(points[k].crossline1, line1);
    settext(points[k].crossline2, line2);
    return k;
}

int16_t addline(const char* name, const Pts& pts, const char* beginname, const char* endname) {
    UnivariantLine& l = lines[++nlines];
    std::memset(static_cast<void*>(&l), 0, sizeof l);
    settext(l.name, name);
    for (const auto& [x, y] : pts) {
        ++l.npts;
        l.x[l.npts] = x;
        l.y[l.npts] = y;
    }
    l.connect = pts.empty();
    settext(l.beginname, beginname);
    settext(l.endname, endname);
    return nlines;
}

Pts pointsof(int16_t line) {
    Pts out;
    for (int k = 1; k <= lines[line].npts; ++k) out.emplace_back(lines[line].x[k], lines[line].y[k]);
    return out;
}

std::string str(const Word& w) { return std::string(w.c, static_cast<size_t>(w.len)); }

}  // namespace modelfill
