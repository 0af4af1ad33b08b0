// linereport.cpp - linereport: a line's points and limits written to the log
// at the three stages of its assembly, each output line built in a line
// buffer.
#include "geometry/linereport.h"

#include <cstring>
#include <initializer_list>
#include <string>

#include "diagram/model.h"
#include "geometry/linepoints.h"
#include "run/channels.h"
#include "text/numfmt.h"

namespace gridel::geometry {

namespace {

// The report of one line: where it goes, the output line being built, and
// the rows written so far.
struct Report {
    run::Run& run;
    text::LineBuffer line;
    ReportRows* rows;  // null: every row is written afresh
};

void writelist(Report& r) { run::putstr(r.run, 0, r.line, 1, run::setlog); }

void dotsline(Report& r) {
    text::setline(r.line, "  ........................");
    writelist(r);
}

// The row of a point: x and y with 4 decimals, each right-aligned in 10.
// Two numbers of at most 20 characters: the row is written straight into
// place, as the line buffer would hold it.
int pointrow(char* row, const long double& x, const long double& y) {
    int len = 0;
    for (const long double* v : {&x, &y}) {
        char number[20];
        int digits = text::writefixed(number, *v, 4);
        for (int fill = 10 - digits; fill > 0; --fill) row[len++] = ' ';
        std::memcpy(row + len, number, static_cast<size_t>(digits));
        len += digits;
    }
    return len;
}

// The ten bytes of each of x and y, read from the line's own memory as
// integers: comparing them needs no 80-bit load or store.
inline void pointkey(const long double* x, const long double* y, uint64_t key[3]) {
    uint16_t xhigh, yhigh;
    std::memcpy(&key[0], x, 8);
    std::memcpy(&xhigh, reinterpret_cast<const char*>(x) + 8, 2);
    std::memcpy(&key[1], y, 8);
    std::memcpy(&yhigh, reinterpret_cast<const char*>(y) + 8, 2);
    key[2] = uint64_t{xhigh} << 16 | yhigh;
}

// The rows of a line's points, each with its line end, go to the log in
// one piece: the bytes that a putline of each row would write.
void writerows(Report& r, const std::string& block) {
    if (block.empty()) return;
    run::putline(r.run, run::chlog, block.data(), static_cast<int>(block.size()) - 1);
}

// The line's points 1..n are, in order, exactly those stage 1 wrote.
bool samepoints(const ReportRows& rows, const diagram::UnivariantLine& l, int n) {
    if (static_cast<size_t>(n) != rows.first.size()) return false;
    for (int k = 1; k <= n; ++k) {
        uint64_t key[3];
        pointkey(&l.x[k], &l.y[k], key);
        const uint64_t* k2 = rows.first[static_cast<size_t>(k) - 1].key;
        if (k2[0] != key[0] || k2[1] != key[1] || k2[2] != key[2]) return false;
    }
    return true;
}

// One row per point.  Stage 1 keeps its rows; a later stage that shows
// the same points writes them again whole, and one that does not looks
// for each point from where the last one was found on: the stages keep
// the order of the data, and only the few points they add (limit points,
// cut points, corners) are looked for in vain.
void pointrows(Report& r, const diagram::UnivariantLine& l, int stage) {
    int n = linelength(l);
    ReportRows* rows = r.rows;
    if (rows != nullptr && stage != 1 && samepoints(*rows, l, n)) {
        writerows(r, rows->block);
        return;
    }
    std::string scratch;
    std::string& block = rows != nullptr ? (stage == 1 ? rows->block : rows->scratch) : scratch;
    block.clear();
    if (rows != nullptr && stage == 1) rows->first.clear();
    size_t cursor = 0;
    for (int k = 1; k <= n; ++k) {
        uint64_t key[3];
        pointkey(&l.x[k], &l.y[k], key);
        const ReportRows::Row* found = nullptr;
        if (rows != nullptr && stage != 1) {
            for (size_t j = cursor; j < rows->first.size(); ++j) {
                const uint64_t* k2 = rows->first[j].key;
                if (k2[0] == key[0] && k2[1] == key[1] && k2[2] == key[2]) {
                    found = &rows->first[j];
                    cursor = j + 1;
                    break;
                }
            }
        }
        if (found != nullptr) {
            block.append(found->text, static_cast<size_t>(found->len));
            block.push_back('\n');
            continue;
        }
        char text[40];
        int len = pointrow(text, l.x[k], l.y[k]);
        block.append(text, static_cast<size_t>(len));
        block.push_back('\n');
        if (rows != nullptr && stage == 1) {
            ReportRows::Row row;
            std::memcpy(row.key, key, sizeof key);
            std::memcpy(row.text, text, sizeof text);
            row.len = len;
            rows->first.push_back(row);
        }
    }
    writerows(r, block);
}

// One limit of the limits line: its name in 5 characters, and the point's
// position in braces when it is a point.
void appendlimit(Report& r, const diagram::Diagram& d, const text::Word& name, int16_t index) {
    text::appendfield(name, -5, r.line, text::capof(r.line));
    if (index <= 0 || index > d.npoints) return;
    appendfield("{", 0, r.line, capof(r.line));
    text::appendreal(2, true, 0, r.line, capof(r.line), d.points[index].x);
    appendfield(",", 0, r.line, capof(r.line));
    appendreal(2, true, 0, r.line, capof(r.line), d.points[index].y);
    appendfield("}", 0, r.line, capof(r.line));
}

// Where a cut line starts or stops: a point's name or what its code means.
void appendend(Report& r, const diagram::Diagram& d, int16_t index, bool begin) {
    static constexpr char edges[5][12] = {"line end", "bottom edge", "left edge", "top edge",
                                         "right edge"};
    if (index > 0 && index <= d.npoints) {
        text::appendfield(d.points[index].name, 0, r.line, text::capof(r.line));
    } else if (index <= 0 && index >= -4) {
        text::appendfield(edges[-index], 0, r.line, text::capof(r.line));
    }
    if (begin) text::appendfield("; ", 0, r.line, text::capof(r.line));
}

void resolved(Report& r, const diagram::Diagram& d, const diagram::UnivariantLine& l) {
    text::setline(r.line, "_________________________________");
    writelist(r);
    text::clearline(r.line);
    text::appendfield(l.name, 0, r.line, text::capof(r.line));
    appendfield(") ", 0, r.line, capof(r.line));
    int nphases = l.nphases > diagram::maxphases ? diagram::maxphases : l.nphases;
    for (int i = 1; i <= nphases; ++i) {
        appendfield(l.phases[i], 0, r.line, capof(r.line));
        appendfield(" ", 0, r.line, capof(r.line));
    }
    appendfield("(", 0, r.line, capof(r.line));
    appendfield(l.zeromode, 0, r.line, capof(r.line));
    appendfield(")", 0, r.line, capof(r.line));
    writelist(r);
    pointrows(r, l, 1);
    dotsline(r);
    setline(r.line, "  ");
    appendlimit(r, d, l.beginname, l.beginindex);
    appendfield(";  ", 0, r.line, capof(r.line));
    appendlimit(r, d, l.endname, l.endindex);
    writelist(r);
}

void cut(Report& r, const diagram::Diagram& d, const diagram::UnivariantLine& l) {
    dotsline(r);
    if (l.npts == 0) {
        text::setline(r.line, "  == not seen ==");
        writelist(r);
        return;
    }
    text::setline(r.line, "  start = ");
    appendend(r, d, l.beginindex, true);
    text::appendfield("end = ", 0, r.line, text::capof(r.line));
    appendend(r, d, l.endindex, false);
    writelist(r);
    pointrows(r, l, 3);
}

}  // namespace

void linereport(run::Run& run, const diagram::Diagram& d, int16_t line, int stage) {
    ReportRows none;
    linereport(run, d, line, stage, none);
}

void linereport(run::Run& run, const diagram::Diagram& d, int16_t line, int stage, ReportRows& rows) {
    if (!diagram::isyes(d.options.showlineinfo)) return;
    Report r{run, {}, &rows};
    const diagram::UnivariantLine& l = d.lines[line];
    if (stage == 1) {
        resolved(r, d, l);
    } else if (stage == 2) {
        dotsline(r);
        pointrows(r, l, stage);
    } else if (stage == 3) {
        cut(r, d, l);
    }
}

}  // namespace gridel::geometry
