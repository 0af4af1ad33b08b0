// linereport.cpp - linereport: a line's points and limits written to the log
// at the three stages of its assembly, each output line built in `listline`.
#include "geometry/linereport.h"

#include "diagram/model.h"
#include "geometry/linepoints.h"
#include "run/channels.h"
#include "run/settings.h"

namespace {

void writelist() { putstr(0, listline, 1, setlog); }

void dotsline() {
    setline(listline, "  ........................");
    writelist();
}

// One row per point: x and y with 4 decimals, each right-aligned in 10.
void pointrows(const UnivariantLine& l) {
    int n = linelength(l);
    for (int k = 1; k <= n; ++k) {
        clearline(listline);
        appendreal(4, true, 10, listline, capof(listline), l.x[k]);
        appendreal(4, true, 10, listline, capof(listline), l.y[k]);
        writelist();
    }
}

// One limit of the limits line: its name in 5 characters, and the point's
// position in braces when it is a point.
void appendlimit(const Word& name, int16_t index) {
    appendfield(name, -5, listline, capof(listline));
    if (index <= 0 || index > npoints) return;
    appendfield("{", 0, listline, capof(listline));
    appendreal(2, true, 0, listline, capof(listline), points[index].x);
    appendfield(",", 0, listline, capof(listline));
    appendreal(2, true, 0, listline, capof(listline), points[index].y);
    appendfield("}", 0, listline, capof(listline));
}

// Where a cut line starts or stops: a point's name or what its code means.
void appendend(int16_t index, bool begin) {
    static const char* const edges[5] = {"line end", "bottom edge", "left edge", "top edge",
                                         "right edge"};
    if (index > 0 && index <= npoints) {
        appendfield(points[index].name, 0, listline, capof(listline));
    } else if (index <= 0 && index >= -4) {
        appendfield(edges[-index], 0, listline, capof(listline));
    }
    if (begin) appendfield("; ", 0, listline, capof(listline));
}

void resolved(const UnivariantLine& l) {
    setline(listline, "_________________________________");
    writelist();
    clearline(listline);
    appendfield(l.name, 0, listline, capof(listline));
    appendfield(") ", 0, listline, capof(listline));
    int nphases = l.nphases > maxphases ? maxphases : l.nphases;
    for (int i = 1; i <= nphases; ++i) {
        appendfield(l.phases[i], 0, listline, capof(listline));
        appendfield(" ", 0, listline, capof(listline));
    }
    appendfield("(", 0, listline, capof(listline));
    appendfield(l.zeromode, 0, listline, capof(listline));
    appendfield(")", 0, listline, capof(listline));
    writelist();
    pointrows(l);
    dotsline();
    setline(listline, "  ");
    appendlimit(l.beginname, l.beginindex);
    appendfield(";  ", 0, listline, capof(listline));
    appendlimit(l.endname, l.endindex);
    writelist();
}

void cut(const UnivariantLine& l) {
    dotsline();
    if (l.npts == 0) {
        setline(listline, "  == not seen ==");
        writelist();
        return;
    }
    setline(listline, "  start = ");
    appendend(l.beginindex, true);
    appendfield("end = ", 0, listline, capof(listline));
    appendend(l.endindex, false);
    writelist();
    pointrows(l);
}

}  // namespace

void linereport(int16_t line, int stage) {
    if (!isyes(drawingoptions.showlineinfo)) return;
    const UnivariantLine& l = lines[line];
    if (stage == 1) {
        resolved(l);
    } else if (stage == 2) {
        dotsline();
        pointrows(l);
    } else if (stage == 3) {
        cut(l);
    }
}
