// linereport.cpp - linereport: a line's points and limits written to the log
// at the three stages of its assembly, each output line built in a line
// buffer.
#include "geometry/linereport.h"

#include <cstring>
#include <initializer_list>

#include "diagram/model.h"
#include "geometry/linepoints.h"
#include "run/channels.h"
#include "text/numfmt.h"

namespace {

// The report of one line: where it goes, the output line being built, and
// the rows written so far.
struct Report {
    Run& run;
    LineBuffer line;
    ReportRows* rows;  // null: every row is written afresh
};

// The slot of the point (x, y) in the rows: where it is, or the free slot
// where it goes.  Points are told apart by their bits.
ReportRows::Row& slotof(ReportRows& rows, long double x, long double y) {
    unsigned char key[20];
    std::memcpy(key, &x, 10);
    std::memcpy(key + 10, &y, 10);
    uint64_t a, b;
    uint32_t c;
    std::memcpy(&a, key, 8);
    std::memcpy(&b, key + 8, 8);
    std::memcpy(&c, key + 16, 4);
    uint64_t h = (a * 0x9E3779B97F4A7C15ull) ^ (b * 0xC2B2AE3D27D4EB4Full) ^ (c * 0x165667B19E3779F9ull);
    size_t mask = rows.slots.size() - 1;
    for (size_t i = (h ^ (h >> 29)) & mask;; i = (i + 1) & mask) {
        ReportRows::Row& row = rows.slots[i];
        if (row.len == 0) return row;
        if (std::memcmp(&row.x, &x, 10) == 0 && std::memcmp(&row.y, &y, 10) == 0) return row;
    }
}

void writelist(Report& r) { putstr(r.run, 0, r.line, 1, setlog); }

void dotsline(Report& r) {
    setline(r.line, "  ........................");
    writelist(r);
}

// The row of a point: x and y with 4 decimals, each right-aligned in 10.
// Two numbers of at most 20 characters: the row is written straight into
// place, as the line buffer would hold it.
int pointrow(char* row, long double x, long double y) {
    int len = 0;
    for (long double v : {x, y}) {
        char number[20];
        int digits = writefixed(number, v, 4);
        for (int fill = 10 - digits; fill > 0; --fill) row[len++] = ' ';
        std::memcpy(row + len, number, static_cast<size_t>(digits));
        len += digits;
    }
    return len;
}

// One row per point.
void pointrows(Report& r, const UnivariantLine& l) {
    int n = linelength(l);
    ReportRows* rows = r.rows;
    if (rows != nullptr && static_cast<size_t>(2 * (rows->used + n)) > rows->slots.size()) {
        // Room for every point at most half full: rows of earlier stages are
        // dropped when the table grows, which only costs their rewriting.
        size_t size = 64;
        while (size < static_cast<size_t>(4 * (rows->used + n))) size *= 2;
        rows->slots.assign(size, ReportRows::Row{0, 0, {}, 0});
        rows->used = 0;
    }
    for (int k = 1; k <= n; ++k) {
        if (rows == nullptr) {
            char row[40];
            putstr(r.run, 0, row, pointrow(row, l.x[k], l.y[k]), 1, setlog);
            continue;
        }
        ReportRows::Row& row = slotof(*rows, l.x[k], l.y[k]);
        if (row.len == 0) {
            row.x = l.x[k];
            row.y = l.y[k];
            row.len = static_cast<int8_t>(pointrow(row.text, l.x[k], l.y[k]));
            ++rows->used;
        }
        putstr(r.run, 0, row.text, row.len, 1, setlog);
    }
}

// One limit of the limits line: its name in 5 characters, and the point's
// position in braces when it is a point.
void appendlimit(Report& r, const Diagram& d, const Word& name, int16_t index) {
    appendfield(name, -5, r.line, capof(r.line));
    if (index <= 0 || index > d.npoints) return;
    appendfield("{", 0, r.line, capof(r.line));
    appendreal(2, true, 0, r.line, capof(r.line), d.points[index].x);
    appendfield(",", 0, r.line, capof(r.line));
    appendreal(2, true, 0, r.line, capof(r.line), d.points[index].y);
    appendfield("}", 0, r.line, capof(r.line));
}

// Where a cut line starts or stops: a point's name or what its code means.
void appendend(Report& r, const Diagram& d, int16_t index, bool begin) {
    static constexpr char edges[5][12] = {"line end", "bottom edge", "left edge", "top edge",
                                         "right edge"};
    if (index > 0 && index <= d.npoints) {
        appendfield(d.points[index].name, 0, r.line, capof(r.line));
    } else if (index <= 0 && index >= -4) {
        appendfield(edges[-index], 0, r.line, capof(r.line));
    }
    if (begin) appendfield("; ", 0, r.line, capof(r.line));
}

void resolved(Report& r, const Diagram& d, const UnivariantLine& l) {
    setline(r.line, "_________________________________");
    writelist(r);
    clearline(r.line);
    appendfield(l.name, 0, r.line, capof(r.line));
    appendfield(") ", 0, r.line, capof(r.line));
    int nphases = l.nphases > maxphases ? maxphases : l.nphases;
    for (int i = 1; i <= nphases; ++i) {
        appendfield(l.phases[i], 0, r.line, capof(r.line));
        appendfield(" ", 0, r.line, capof(r.line));
    }
    appendfield("(", 0, r.line, capof(r.line));
    appendfield(l.zeromode, 0, r.line, capof(r.line));
    appendfield(")", 0, r.line, capof(r.line));
    writelist(r);
    pointrows(r, l);
    dotsline(r);
    setline(r.line, "  ");
    appendlimit(r, d, l.beginname, l.beginindex);
    appendfield(";  ", 0, r.line, capof(r.line));
    appendlimit(r, d, l.endname, l.endindex);
    writelist(r);
}

void cut(Report& r, const Diagram& d, const UnivariantLine& l) {
    dotsline(r);
    if (l.npts == 0) {
        setline(r.line, "  == not seen ==");
        writelist(r);
        return;
    }
    setline(r.line, "  start = ");
    appendend(r, d, l.beginindex, true);
    appendfield("end = ", 0, r.line, capof(r.line));
    appendend(r, d, l.endindex, false);
    writelist(r);
    pointrows(r, l);
}

}  // namespace

void linereport(Run& run, const Diagram& d, int16_t line, int stage) {
    ReportRows none;
    linereport(run, d, line, stage, none);
}

void linereport(Run& run, const Diagram& d, int16_t line, int stage, ReportRows& rows) {
    if (!isyes(d.options.showlineinfo)) return;
    if (stage == 1) {
        for (ReportRows::Row& row : rows.slots) row.len = 0;
        rows.used = 0;
    }
    Report r{run, {}, &rows};
    const UnivariantLine& l = d.lines[line];
    if (stage == 1) {
        resolved(r, d, l);
    } else if (stage == 2) {
        dotsline(r);
        pointrows(r, l);
    } else if (stage == 3) {
        cut(r, d, l);
    }
}
