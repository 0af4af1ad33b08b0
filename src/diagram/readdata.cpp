// readdata.cpp - readdata: the data section read item by item (the header,
// the points, the lines and the areas) through the look-ahead cursor,
// checked as it goes, each item listed as soon as read.
#include "diagram/readdata.h"

#include <string>
#include <vector>

#include "diagram/checkedwords.h"
#include "diagram/datacursor.h"
#include "diagram/dataslips.h"
#include "diagram/interpolation.h"
#include "diagram/listing.h"
#include "diagram/model.h"
#include "diagram/readscript.h"
#include "diagram/slips.h"
#include "run/diagnostics.h"
#include "run/failure.h"
#include "run/files.h"
#include "run/run.h"
#include "text/numfmt.h"
#include "text/tokens.h"
#include "text/utf8.h"

namespace gridel::diagram {

using namespace datareading;

namespace {

const text::Word noitem = {0, {}};

std::string quoted(text::TextView w) { return run::quotedword(w); }

void getname(DataReader& rd, text::Word& destination, text::WordKind kind, text::TextView word) {
    if (kind != text::kindother) notaname(rd, word);
    destination = text::cuttext(word);
    rd.taken[1].push_back({destination, rd.previousline, rd.run.place.column});
    if (word.len > 20)
        run::warning(rd.run, rd.previousline, noitem,
                "the name " + quoted(word) + " is cut to its first 20 characters, " + quoted(text::viewof(destination)));
    warnundrawable(rd.run, rd.previousline, text::viewof(destination), "the name");
}

// Advance and read the consumed word as a name, an integer or a real.
void readname(DataReader& rd, text::Word& destination) {
    nextword(rd);
    placeat(rd, rd.previousline, rd.previous);
    getname(rd, destination, rd.previouskind, rd.previous);
}

int16_t readinteger(DataReader& rd) {
    nextword(rd);
    placeat(rd, rd.previousline, rd.previous);
    return getinteger(rd.run, rd.previouskind, rd.previous, rd.context);
}

long double readreal(DataReader& rd) {
    nextword(rd);
    placeat(rd, rd.previousline, rd.previous);
    if (rd.previouskind == text::kindother) explainname(rd);
    return getsingle(rd.run, rd.previouskind, rd.previous, rd.context);
}

// A whole data row that lies in the current word's line, read in one pass
// per word: only the columns used (x, y and the interpolation value) are
// converted, and each of the others is only checked as readreal checks it.
// The reader ends as readreal would leave it after the row's last word.
// False, with nothing consumed, when the row leaves the line or a word is
// not one quicksingle decides: the row is then read word by word.
bool quickrow(DataReader& rd) {
    const text::WordList& words = rd.lines[rd.active];
    const int32_t n = rd.d.nvars;
    if (rd.currentkind == text::kindempty || n < 1 || n > maxvars || rd.index + n - 1 > words.count) return false;
    uint64_t used = 1u << rd.xcol | 1u << rd.ycol | (rd.icol != 0 ? 1u << rd.icol : 0u);
    text::WordKind kind;
    if (!text::quickrow(words, rd.index, n, used, rd.row, kind)) return false;
    rd.index += n - 1;
    rd.current = text::wholeword(words, rd.index);
    rd.currentkind = kind;
    nextword(rd);
    return true;
}

// One data row of nvars values.
void readrow(DataReader& rd) {
    if (quickrow(rd)) return;
    for (int j = 1; j <= rd.d.nvars; ++j) rd.row[j] = readreal(rd);
}

void readheader(DataReader& rd) {
    setcontext(rd, "no of variables in each point");
    if (rd.currentkind != text::kindinteger) run::addnote(rd.run, headernote);
    rd.d.nvars = readinteger(rd);
    run::explain(rd.run, "");  // the note above was for a failure of that word only
    if (rd.d.nvars > maxvars) {
        explain(rd.run, "a data row has at most 20 values, not " + run::wholetext(rd.d.nvars), {headernote});
        run::bombed(rd.run, "readdata", "too many variables in each line of input: max = 20");
    }
    setcontext(rd, "size of system");
    readinteger(rd);  // read and not used
    setcontext(rd, "column of x coordinate");
    rd.xcol = readinteger(rd);
    checkcolumn(rd, rd.xcol, "x", "xcol not in range: must be 1 <=> ");
    setcontext(rd, "column of y coordinate");
    rd.ycol = readinteger(rd);
    checkcolumn(rd, rd.ycol, "y", "ycol not in range: must be 1 <=> ");
    rd.icol = 0;
    rd.a = 0;
    rd.b = 0;
    if (currentis(rd, "x")) {
        nextword(rd);
        setcontext(rd, "interpolation coordinate");
        rd.icol = readinteger(rd);
        checkcolumn(rd, rd.icol, "interpolation", "icol not in range: must be 1 <=> ");
        if (rd.icol == rd.xcol || rd.icol == rd.ycol) {
            explain(rd.run, "the column to interpolate in is the column of x or of y");
            run::bombed(rd.run, "readdata", "icol same as xcol or ycol");
        }
        setcontext(rd, "interpolation value");
        rd.a = readreal(rd);
        if (!currentisname(rd)) rd.b = readreal(rd);
    }
}

// "invariant", "point" or "crossover", or not a name: the end of a point's
// phase list.
bool endsphaselist(DataReader& rd) {
    return !currentisname(rd) || currentis(rd, "invariant") || currentis(rd, "point") || currentis(rd, "crossover");
}

// A point's or line's list of phase names, read into phases[1..k] until
// the current word is "-" or ends the list; returns k.
template <typename EndsList>
int16_t readphases(DataReader& rd, const text::Word& name, text::Word* phases, EndsList endslist) {
    setcontext(rd, "nonzero-mode phases for ", name);
    int16_t k = 0;
    do {
        ++k;
        if (k > maxphases) {
            explain(rd.run, "the phase list of " + run::wordtext(name) + " has more than 20 names",
                    {"a point's list ends with '-', 'invariant' or 'crossover', a line's with '-', 'univariant' or a "
                     "limit"});
            slipnotes(rd);
            failwith(rd, "readdata", "too many phases in header in ", rd.context);
        }
        readname(rd, phases[k]);
    } while (!currentis(rd, "-") && !endslist(rd));
    return k;
}

void readpointheader(DataReader& rd, InvariantPoint& p) {
    if (!currentisname(rd)) {
        p.pointword = true;  // a number follows the name: no header
        return;
    }
    if (currentis(rd, "invariant") || currentis(rd, "point")) {
        p.pointword = true;
        nextword(rd);
        return;
    }
    if (currentis(rd, "crossover")) {
        p.crossover = true;
        nextword(rd);
        return;
    }
    p.nphases = readphases(rd, p.name, p.phases, endsphaselist);
    int32_t itemline = rd.d.pointlines[rd.pointcount];
    if (!currentisname(rd)) {
        std::string slip = slipinlist(p.phases, p.nphases);
        p.nphases = 0;
        p.pointword = true;
        run::warning(rd.run, itemline, p.name,
                "its phase list is dropped: a list ends with \"-\", \"invariant\" or \"crossover\"" + slip);
    } else if (currentis(rd, "crossover")) {
        nextword(rd);
        p.crossover = true;
    } else if (currentis(rd, "invariant")) {
        nextword(rd);
        p.invariantword = true;
    } else if (currentis(rd, "point")) {
        nextword(rd);
        p.pointword = true;
        p.nphases = 0;
        run::warning(rd.run, itemline, p.name, "its phase list is dropped by \"point\"");
    } else {  // "-": the zero-mode phases follow
        nextword(rd);
        setcontext(rd, "zero-mode phases for ", p.name);
        if (endsphaselist(rd)) {
            text::settext(p.zeromode1, "none");
            settext(p.zeromode2, "none");
        } else {
            readname(rd, p.zeromode1);
            if (endsphaselist(rd))
                text::settext(p.zeromode2, "none");
            else
                readname(rd, p.zeromode2);
        }
        if (currentis(rd, "invariant") || currentis(rd, "point")) nextword(rd);
    }
}

void readpoint(DataReader& rd, const text::Word& name) {
    ++rd.pointcount;
    if (rd.pointcount > maxpoints) toomany(rd, "points (500)", "read data", "too many points: max = 500");
    rd.d.pointlines[rd.pointcount] = rd.previousline;
    rd.d.pointcolumns[rd.pointcount] = columnat(rd, rd.previous);
    InvariantPoint& p = rd.d.points[rd.pointcount];
    p.name = name;
    p.nphases = 0;
    p.zeromode1.len = 0;
    p.zeromode2.len = 0;
    p.invariantword = false;
    p.pointword = false;
    p.crossover = false;
    p.x = 0;
    p.y = 0;
    p.crossline1.len = 0;
    p.crossline2.len = 0;

    readpointheader(rd, p);
    if (!p.crossover && currentis(rd, "crossover")) {
        nextword(rd);
        p.crossover = true;
    }
    if (p.crossover) {
        setcontext(rd, "reading crossover lines", p.name);
        p.x = 0;
        p.y = 0;
        readname(rd, p.crossline1);
        readname(rd, p.crossline2);
    } else if (rd.icol == 0) {
        setcontext(rd, "reading coordinates for ", p.name);
        readrow(rd);
        rowsended(rd, p.name);
        p.x = rd.row[rd.xcol];
        p.y = rd.row[rd.ycol];
    } else {
        setcontext(rd, "interpolating coordinates for ", p.name);
        int16_t k = 0;
        do {  // at least one row before looking for "*" or a name
            ++k;
            if (k > maxrows) interpolationfailure(rd, p, true);
            readrow(rd);
            rd.cx[k] = rd.row[rd.xcol];
            rd.cy[k] = rd.row[rd.ycol];
            rd.ci[k] = rd.row[rd.icol];
        } while (!currentisname(rd));
        rowsended(rd, p.name);
        if (!interpolate(rd.cx, rd.cy, rd.ci, k, rd.a, rd.b, p.x, p.y)) interpolationfailure(rd, p, false);
    }
    listitem(rd.run, rd.d, itempoint, rd.pointcount);
}

// A limit word: a point name ("i" not followed by "l"), "begin" or "end".
bool islimitword(text::TextView w, text::WordKind kind) {
    if (kind != text::kindother) return false;
    if (w.len >= 1 && w.c[0] == 'i' && !(w.len >= 2 && w.c[1] == 'l')) return true;
    return istext(w, "begin") || istext(w, "end");
}

bool currentislimit(DataReader& rd) { return islimitword(rd.current, rd.currentkind); }

void readlineheader(DataReader& rd, UnivariantLine& l) {
    if (currentislimit(rd)) {
        l.lineword = true;
        return;
    }
    if (currentis(rd, "line") || currentis(rd, "univariant")) {
        l.lineword = true;
        nextword(rd);
        return;
    }
    l.nphases = readphases(rd, l.name, l.phases, [](DataReader& r) {
        return currentis(r, "univariant") || currentis(r, "line") || currentislimit(r);
    });
    int32_t itemline = rd.d.linelines[rd.linecount];
    if (currentis(rd, "univariant")) {
        nextword(rd);
        l.univariantword = true;
    } else if (currentis(rd, "line")) {
        nextword(rd);
        l.lineword = true;
        l.nphases = 0;
        run::warning(rd.run, itemline, l.name, "its phase list is dropped by \"line\"");
    } else if (currentislimit(rd)) {
        std::string slip = slipinlist(l.phases, l.nphases);
        l.lineword = true;
        l.nphases = 0;
        run::warning(rd.run, itemline, l.name,
                "its phase list is dropped: before its limits a list ends with \"-\" or \"univariant\"" + slip);
    } else {  // "-": the zero-mode phase follows
        nextword(rd);
        setcontext(rd, "zero-mode phase for ", l.name);
        if (currentis(rd, "univariant") || currentis(rd, "line") || currentislimit(rd))
            text::settext(l.zeromode, "none");
        else
            readname(rd, l.zeromode);
        if (currentis(rd, "univariant") || currentis(rd, "line")) nextword(rd);
    }
}

// A colour component as read: rounded, ties to even, kept within 16 bits.
int16_t colourcomponent(long double v) {
    int32_t r = text::roundint(v);
    return static_cast<int16_t>(r > INT16_MAX ? INT16_MAX : (r < INT16_MIN ? INT16_MIN : r));
}

void setcolour(UnivariantLine& l, int16_t r, int16_t g, int16_t b) {
    l.red = r;
    l.green = g;
    l.blue = b;
    l.rgbgiven = true;
}

void readstylewords(DataReader& rd, UnivariantLine& l) {
    if (currentis(rd, "connect")) {
        nextword(rd);
        l.connect = true;
        l.npts = 0;
    }
    if (currentis(rd, "rgb")) {
        nextword(rd);
        long double v[3];
        for (long double& c : v) {
            c = readreal(rd);
            if (!(c >= 0 && c <= 255))
                run::warning(rd.run, rd.previousline, l.name,
                        "the colour component " + quoted(rd.previous) + " lies outside 0..255");
        }
        int16_t r = colourcomponent(v[0]);
        int16_t g = colourcomponent(v[1]);
        int16_t b = colourcomponent(v[2]);
        setcolour(l, r, g, b);
    }
    if (currentis(rd, "red")) {
        nextword(rd);
        setcolour(l, 255, 0, 0);
    } else if (currentis(rd, "blue")) {
        nextword(rd);
        setcolour(l, 0, 0, 255);
    } else if (currentis(rd, "green")) {
        nextword(rd);
        setcolour(l, 0, 170, 0);
    } else if (currentis(rd, "magenta")) {
        nextword(rd);
        setcolour(l, 255, 0, 255);
    }
    if (currentis(rd, "thick")) {
        nextword(rd);
        l.thick = true;
    }
    if (currentis(rd, "dashed")) {
        nextword(rd);
        l.dashed = true;
    }
}

// Data rows until "*" or a name; returns the rows kept (or collected).
int16_t readlinedata(DataReader& rd, UnivariantLine& l) {
    int16_t k = 0;
    do {
        if (k + 1 > maxrows) toomanyrows(rd, l);
        readrow(rd);
        long double x = rd.row[rd.xcol], y = rd.row[rd.ycol];
        if (rd.icol == 0) {
            ++k;
            l.x[k] = x;
            l.y[k] = y;
        } else if (rd.b == 0) {
            if (rd.row[rd.icol] == rd.a) {  // only rows exactly on the target are kept
                ++k;
                l.x[k] = x;
                l.y[k] = y;
            }
        } else {
            ++k;
            rd.cx[k] = x;
            rd.cy[k] = y;
            rd.ci[k] = rd.row[rd.icol];
        }
    } while (!currentisname(rd));
    rowsended(rd, l.name);
    return k;
}

void readunivariant(DataReader& rd, const text::Word& name) {
    ++rd.linecount;
    if (rd.linecount > maxlines) toomany(rd, "lines (1500)", "readdata", "too many lines: max = 1500");
    rd.d.linelines[rd.linecount] = rd.previousline;
    rd.d.linecolumns[rd.linecount] = columnat(rd, rd.previous);
    UnivariantLine& l = rd.d.lines[rd.linecount];
    l.name = name;
    l.univariantword = false;
    l.lineword = false;
    l.connect = false;
    l.dashed = false;
    l.thick = false;
    l.rgbgiven = false;
    l.red = l.green = l.blue = 0;
    l.nphases = 0;
    l.zeromode.len = 0;
    l.npts = 0;
    l.beginindex = 0;
    l.endindex = 0;
    l.xmonotone = false;
    l.outsidewindow = false;

    readlineheader(rd, l);
    setcontext(rd, "line limit names for ", l.name);
    readname(rd, l.beginname);
    readname(rd, l.endname);
    setcontext(rd, "reading coordinates for ", l.name);
    readstylewords(rd, l);
    bool givenconnect = l.connect;
    if (!l.connect) {
        int16_t k = readlinedata(rd, l);
        l.npts = k;
        if (rd.icol != 0 && rd.b != 0) {
            if (k >= 2) {
                l.npts = interpolateline(rd.cx, rd.cy, rd.ci, k, rd.a, rd.b, l.x, l.y);
            } else if (k == 1) {  // no run can be formed: the row itself is the point
                l.x[1] = rd.cx[1];
                l.y[1] = rd.cy[1];
            }
        }
    }
    l.connect = l.npts == 0;
    // A line given "connect" is checked when it is assembled instead.
    if (!givenconnect && l.npts <= 1) checkfewrows(rd, l);
    listitem(rd.run, rd.d, itemline, rd.linecount);
}

void readitems(DataReader& rd) {
    do {
        nextitem(rd);
        rd.hashmark = false;
        setcontext(rd, "point/line name");
        text::Word name, mark = noitem;
        readname(rd, name);
        if (name.c[0] == '#') {  // "#" before a name: read and list the item, then drop a line
            rd.hashmark = true;
            mark = name;
            readname(rd, name);
        }
        if (name.len >= 2 && name.c[1] == '<') {
            run::explain(rd.run, quoted(rd.previous) + " is a template's placeholder: give the item its real name");
            run::bombed(rd.run, "read data", "< in name: line/point name unassigned?");
        }
        if (name.c[0] == 'i') {
            checkname(rd, rd.pointnames, name, rd.previous, "point");
            readpoint(rd, name);
        } else if (name.c[0] == 'u') {
            if (!rd.hashmark) checkname(rd, rd.linenames, name, rd.previous, "line");
            readunivariant(rd, name);
            if (rd.hashmark) --rd.linecount;  // the next line overwrites its record
        } else {
            explainitemname(rd, mark);
            failwith(rd, "read data", "point/line name must start with i/u but this name is ", name);
        }
    } while (!currentis(rd, "*"));
    rd.d.npoints = rd.pointcount;
    rd.d.nlines = rd.linecount;
}

// An area's edge word, the look-ahead word: read, after `names` line names.
// One edge word, after at least one line name; else the run ends.
void readedgeword(DataReader& rd, ShadedArea& area, int16_t names) {
    nextword(rd);
    placeat(rd, rd.previousline, rd.previous);
    std::string what = run::wordtext(areaname(rd.areacount));
    if (names == 0) {
        run::explain(rd.run, what + " begins with the edge word " + quoted(rd.previous) + " where its lines belong",
                {"the edge word comes last, after the area's line names, as in '0.7 u1 top'"});
        failwith(rd, "readdata", "edge word before the lines of ", areaname(rd.areacount));
    }
    if (area.edge != 0) {
        run::explain(rd.run, what + " has a second edge word, " + quoted(rd.previous),
                {"an area takes one edge word, the window edge its field touches: top, bottom, left or right"});
        failwith(rd, "readdata", "two edge words in ", areaname(rd.areacount));
    }
    area.edge = areaedgeof(rd.previous);
}

// A name in an area's list that no line has, but that looks like an edge
// word ("Top", "botom", "above"): a warning naming the edge words.
void warnedgeslip(DataReader& rd, const text::Word& name) {
    if (rd.linenames.count(run::wordtext(name)) != 0) return;
    std::string edge = edgeslip(text::viewof(name));
    if (edge.empty()) return;
    run::warning(rd.run, rd.previousline, areaname(rd.areacount),
            quoted(rd.previous) + " is no line's name: did you mean the edge word '" + edge +
                "'? (the edge words are top, bottom, left and right)");
}

void readareas(DataReader& rd) {
    nextword(rd);  // the "*" that ends the items
    while (!currentis(rd, "*")) {
        ++rd.areacount;
        nextitem(rd);
        if (rd.areacount > maxareas) toomany(rd, "areas (300)", "readdata", "too many areas: max = 300");
        ShadedArea& area = rd.d.areas[rd.areacount];
        setcontext(rd, "grayscale for area");
        area.grayscale = static_cast<double>(readreal(rd));
        area.grayword = text::cuttext(rd.previous);
        rd.d.arealines[rd.areacount] = rd.previousline;
        rd.d.areacolumns[rd.areacount] = columnat(rd, rd.previous);
        if (!(area.grayscale >= 0 && area.grayscale <= 1))
            run::warning(rd.run, rd.previousline, areaname(rd.areacount),
                    "its grayscale " + quoted(rd.previous) + " lies outside 0..1 and is taken as " +
                        (area.grayscale > 0 ? "1" : "0"));
        setcontext(rd, "points for area");
        int16_t k = 0;
        area.edge = 0;
        do {
            if (areaedgeof(rd.current) != 0) {
                readedgeword(rd, area, k);
                continue;
            }
            if (area.edge != 0) {
                nextword(rd);
                placeat(rd, rd.previousline, rd.previous);
                run::explain(rd.run, run::wordtext(areaname(rd.areacount)) + ": the line name " + quoted(rd.previous) +
                                    " follows its edge word '" + areaedgeword(area.edge) + "'",
                        {"the edge word comes last, after the area's line names, as in '0.7 u1 top'"});
                failwith(rd, "readdata", "line name after the edge word of ", areaname(rd.areacount));
            }
            ++k;
            if (k > maxareanames) {
                atname(rd, rd.d.arealines, rd.d.areacolumns, rd.areacount, areaname(rd.areacount));
                rd.run.place.width = 0;  // an area has no name: its place is its grayscale
                run::explain(rd.run, run::wordtext(areaname(rd.areacount)) + " lists more than 15 lines",
                        {"an area is a grayscale followed by its lines: is the grayscale of the next area missing?"});
                scriptinareanotes(rd);
                run::bombed(rd.run, "readdata", "too many points in area: max = 15");
            }
            readname(rd, area.linenames[k]);
            warnedgeslip(rd, area.linenames[k]);
        } while (!currentis(rd, "*") && currentisname(rd));
        area.nnames = k;
        area.written = k;
        // The comment after the area's last name, when that name ends its
        // text line (the lookahead has moved on to a later line).
        if (rd.current.len > 0 && rd.currentline != rd.previousline) {
            text::Text comment = commenttext(rd.lines[1 - rd.active]);
            if (comment.len > 0) {
                rd.d.areacomments.resize(static_cast<size_t>(maxareas) + 1, text::Text{0, {}});
                rd.d.areacomments[static_cast<size_t>(rd.areacount)] = comment;
            }
        }
        listitem(rd.run, rd.d, itemarea, rd.areacount);
    }
    rd.d.nareas = rd.areacount;
    // Words after the "*" on its line are not read: the script begins on
    // the next line.  The script reader names them if it misses a line.
    if (rd.index < rd.lines[rd.active].count) {
        rd.file.restline = rd.currentline;
        rd.file.restcolumn = columnof(rd, rd.index + 1);
    }
}

}  // namespace

void readdata(run::Run& run, Diagram& d, ReadProgress& progress) {
    DataFile file;
    file.name = promptdatafile(run, "gl-", run.settings.datafile, file.reader);
    progress.datafile = file.name;
    DataReader rd(run, d, file);
    if (!nextline(rd) || wholeword(rd.lines[rd.active], 1).c[0] == '*') {
        if (rd.lineno[rd.active] > 0) atword(run, rd.lineno[rd.active], columnof(rd, 1), 1);
        explain(run, "the file holds no header: it has no word, or its first line with a word begins with '*'",
                {headernote});
        bombed(run, "readdata", "not enough in file");
    }
    setcurrent(rd);
    readheader(rd);
    readitems(rd);
    readareas(rd);
    progress.script = true;
    readscript(run, d, file);
}

}  // namespace gridel::diagram
