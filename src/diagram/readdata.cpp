// readdata.cpp - readdata: the data section read word by word with a
// one-word lookahead, checked as it goes, each item listed as soon as read.
#include "diagram/readdata.h"

#include "diagram/interpolation.h"
#include "diagram/listing.h"
#include "diagram/model.h"
#include "diagram/readscript.h"
#include "run/failure.h"
#include "run/files.h"
#include "run/settings.h"
#include "text/numfmt.h"
#include "text/tokens.h"

LineReader datafile;
Text datafilename;

namespace {

// The reader's own state for one reading.
struct DataReader {
    // The text line of the current word and the line before it, by turns:
    // the word just consumed may lie on the line before the lookahead's, and
    // stays readable until the lookahead moves on to a later line.
    WordList lines[2];
    int active;                // which of the two holds the current word
    int32_t lineno[2];         // line number of each in the file
    int32_t index;             // position of the current word in its line
    TextView current;          // the lookahead: the word to be read next, whole
    WordKind currentkind;      // its kind
    int32_t currentline;       // the line it stands on
    TextView previous;         // the word just consumed, whole
    WordKind previouskind;     // its kind
    int32_t previousline;      // the line it stood on
    Text context;              // what is being read, quoted by failure messages
    int16_t xcol;              // column of x in a data row
    int16_t ycol;              // column of y
    int16_t icol;              // column of the interpolation value; 0 without interpolation
    long double a;             // interpolation target
    long double b;             // slope of the target in y; 0 for the plain target I = a
    long double row[maxvars + 1];  // values 1..nvars of the last data row
    long double cx[maxrows + 1];   // x of the collected rows 1..k
    long double cy[maxrows + 1];   // y of the collected rows
    long double ci[maxrows + 1];   // interpolation values of the collected rows
    int16_t pointcount;        // points read so far
    int16_t linecount;         // lines kept so far
    int16_t areacount;         // areas read so far
    bool hashmark;             // the current item's name followed a word beginning with "#"
};

DataReader rd;

void setcontext(const char* s) { settext(rd.context, s); }

void setcontext(const char* s, const Word& name) {
    settext(rd.context, s);
    addtext(rd.context, name);
}

bool currentis(const char* word) { return istext(rd.current, word); }

bool currentisname() { return rd.currentkind == kindother; }

// The next text line with at least one word becomes the source of words,
// read into the line not in use; false at the end of the file.
bool nextline() {
    int spare = 1 - rd.active;
    while (!atend(datafile)) {
        rstrings(datafile, rd.lines[spare]);
        if (rd.lines[spare].count > 0) {
            rd.active = spare;
            rd.lineno[spare] = datafile.lineno;
            rd.index = 1;
            return true;
        }
    }
    return false;
}

void setcurrent() {
    rd.current = wholeword(rd.lines[rd.active], rd.index);
    rd.currentkind = whatis(rd.current);
    rd.currentline = rd.lineno[rd.active];
}

// Consume the current word: it becomes the previous word, and the next word
// of the file becomes current (empty at the end of the file).
void nextword() {
    rd.previous = rd.current;
    rd.previouskind = rd.currentkind;
    rd.previousline = rd.currentline;
    if (rd.previouskind == kindempty) {
        Text what;
        settext(what, "unexpected end of input: ");
        addtext(what, rd.context);
        bombed("reading", what);
    }
    if (rd.index < rd.lines[rd.active].count) {
        ++rd.index;
        setcurrent();
    } else if (nextline()) {
        setcurrent();
    } else {
        rd.current = {"", 0};
        rd.currentkind = kindempty;
    }
}

void getname(Word& destination, WordKind kind, TextView word) {
    if (kind != kindother) {
        Text what;
        settext(what, "expecting a name; got: ");
        addtext(what, cuttext(word));
        addtext(what, " - ");
        addtext(what, rd.context);
        bombed("reading", what);
    }
    destination = cuttext(word);
}

// Advance and read the consumed word as a name, an integer or a real.
void readname(Word& destination) {
    nextword();
    getname(destination, rd.previouskind, rd.previous);
}

int16_t readinteger() {
    nextword();
    return getinteger(rd.previouskind, rd.previous, rd.context);
}

long double readreal() {
    nextword();
    return getsingle(rd.previouskind, rd.previous, rd.context);
}

// One data row of nvars values.
void readrow() {
    for (int j = 1; j <= nvars; ++j) rd.row[j] = readreal();
}

[[noreturn]] void failwith(const char* where, const char* what, const Word& tail) {
    Text t;
    settext(t, what);
    addtext(t, tail);
    bombed(where, t);
}

[[noreturn]] void failwith(const char* where, const char* what, const Text& tail) {
    Text t;
    settext(t, what);
    addtext(t, tail);
    bombed(where, t);
}

void checkcolumn(int16_t col, const char* message) {
    if (col < 1 || col > nvars) failwith("readdata", message, real2intstr(nvars));
}

void readheader() {
    setcontext("no of variables in each point");
    nvars = readinteger();
    if (nvars > maxvars) bombed("readdata", "too many variables in each line of input: max = 20");
    setcontext("size of system");
    readinteger();  // read and not used
    setcontext("column of x coordinate");
    rd.xcol = readinteger();
    checkcolumn(rd.xcol, "xcol not in range: must be 1 <=> ");
    setcontext("column of y coordinate");
    rd.ycol = readinteger();
    checkcolumn(rd.ycol, "ycol not in range: must be 1 <=> ");
    rd.icol = 0;
    rd.a = 0;
    rd.b = 0;
    if (currentis("x")) {
        nextword();
        setcontext("interpolation coordinate");
        rd.icol = readinteger();
        checkcolumn(rd.icol, "icol not in range: must be 1 <=> ");
        if (rd.icol == rd.xcol || rd.icol == rd.ycol) bombed("readdata", "icol same as xcol or ycol");
        setcontext("interpolation value");
        rd.a = readreal();
        if (!currentisname()) rd.b = readreal();
    }
}

// "invariant", "point" or "crossover", or not a name: the end of a point's
// phase list.
bool endsphaselist() {
    return !currentisname() || currentis("invariant") || currentis("point") || currentis("crossover");
}

void readpointheader(InvariantPoint& p) {
    if (!currentisname()) {
        p.pointword = true;  // a number follows the name: no header
        return;
    }
    if (currentis("invariant") || currentis("point")) {
        p.pointword = true;
        nextword();
        return;
    }
    if (currentis("crossover")) {
        p.crossover = true;
        nextword();
        return;
    }
    setcontext("nonzero-mode phases for ", p.name);
    int16_t k = 0;
    do {
        ++k;
        if (k > maxphases) failwith("readdata", "too many phases in header in ", rd.context);
        readname(p.phases[k]);
    } while (!currentis("-") && !endsphaselist());
    p.nphases = k;
    if (!currentisname()) {
        p.nphases = 0;
        p.pointword = true;
    } else if (currentis("crossover")) {
        nextword();
        p.crossover = true;
    } else if (currentis("invariant")) {
        nextword();
        p.invariantword = true;
    } else if (currentis("point")) {
        nextword();
        p.pointword = true;
        p.nphases = 0;
    } else {  // "-": the zero-mode phases follow
        nextword();
        setcontext("zero-mode phases for ", p.name);
        if (endsphaselist()) {
            settext(p.zeromode1, "none");
            settext(p.zeromode2, "none");
        } else {
            readname(p.zeromode1);
            if (endsphaselist())
                settext(p.zeromode2, "none");
            else
                readname(p.zeromode2);
        }
        if (currentis("invariant") || currentis("point")) nextword();
    }
}

void readpoint(const Word& name) {
    ++rd.pointcount;
    if (rd.pointcount > maxpoints) bombed("read data", "too many points: max = 500");
    InvariantPoint& p = points[rd.pointcount];
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

    readpointheader(p);
    if (!p.crossover && currentis("crossover")) {
        nextword();
        p.crossover = true;
    }
    if (p.crossover) {
        setcontext("reading crossover lines", p.name);
        p.x = 0;
        p.y = 0;
        readname(p.crossline1);
        readname(p.crossline2);
    } else if (rd.icol == 0) {
        setcontext("reading coordinates for ", p.name);
        readrow();
        p.x = rd.row[rd.xcol];
        p.y = rd.row[rd.ycol];
    } else {
        setcontext("interpolating coordinates for ", p.name);
        int16_t k = 0;
        do {  // at least one row before looking for "*" or a name
            ++k;
            if (k > maxrows) bombed("read data", "too much data for line: max = 200");
            readrow();
            rd.cx[k] = rd.row[rd.xcol];
            rd.cy[k] = rd.row[rd.ycol];
            rd.ci[k] = rd.row[rd.icol];
        } while (!currentisname());
        if (!interpolate(rd.cx, rd.cy, rd.ci, k, rd.a, rd.b, p.x, p.y))
            failwith("read data", "interpolation failed for ", p.name);
    }
    listitem(itempoint, rd.pointcount);
}

// A limit word: a point name ("i" not followed by "l"), "begin" or "end".
bool islimitword(TextView w, WordKind kind) {
    if (kind != kindother) return false;
    if (w.len >= 1 && w.c[0] == 'i' && !(w.len >= 2 && w.c[1] == 'l')) return true;
    return istext(w, "begin") || istext(w, "end");
}

bool currentislimit() { return islimitword(rd.current, rd.currentkind); }

void readlineheader(UnivariantLine& l) {
    if (currentislimit()) {
        l.lineword = true;
        return;
    }
    if (currentis("line") || currentis("univariant")) {
        l.lineword = true;
        nextword();
        return;
    }
    setcontext("nonzero-mode phases for ", l.name);
    int16_t k = 0;
    do {
        ++k;
        if (k > maxphases) failwith("readdata", "too many phases in header in ", rd.context);
        readname(l.phases[k]);
    } while (!currentis("-") && !currentis("univariant") && !currentis("line") && !currentislimit());
    l.nphases = k;
    if (currentis("univariant")) {
        nextword();
        l.univariantword = true;
    } else if (currentis("line")) {
        nextword();
        l.lineword = true;
        l.nphases = 0;
    } else if (currentislimit()) {
        l.lineword = true;
        l.nphases = 0;
    } else {  // "-": the zero-mode phase follows
        nextword();
        setcontext("zero-mode phase for ", l.name);
        if (currentis("univariant") || currentis("line") || currentislimit())
            settext(l.zeromode, "none");
        else
            readname(l.zeromode);
        if (currentis("univariant") || currentis("line")) nextword();
    }
}

// A colour component as read: rounded, ties to even, kept within 16 bits.
int16_t colourcomponent(long double v) {
    int32_t r = roundint(v);
    return static_cast<int16_t>(r > INT16_MAX ? INT16_MAX : (r < INT16_MIN ? INT16_MIN : r));
}

void setcolour(UnivariantLine& l, int16_t r, int16_t g, int16_t b) {
    l.red = r;
    l.green = g;
    l.blue = b;
    l.rgbgiven = true;
}

void readstylewords(UnivariantLine& l) {
    if (currentis("connect")) {
        nextword();
        l.connect = true;
        l.npts = 0;
    }
    if (currentis("rgb")) {
        nextword();
        int16_t r = colourcomponent(readreal());
        int16_t g = colourcomponent(readreal());
        int16_t b = colourcomponent(readreal());
        setcolour(l, r, g, b);
    }
    if (currentis("red")) {
        nextword();
        setcolour(l, 255, 0, 0);
    } else if (currentis("blue")) {
        nextword();
        setcolour(l, 0, 0, 255);
    } else if (currentis("green")) {
        nextword();
        setcolour(l, 0, 170, 0);
    } else if (currentis("magenta")) {
        nextword();
        setcolour(l, 255, 0, 255);
    }
    if (currentis("thick")) {
        nextword();
        l.thick = true;
    }
    if (currentis("dashed")) {
        nextword();
        l.dashed = true;
    }
}

// Data rows until "*" or a name; returns the rows kept (or collected).
int16_t readlinedata(UnivariantLine& l) {
    int16_t k = 0;
    do {
        if (k + 1 > maxrows) failwith("readdata", "too much data for line in ", rd.context);
        readrow();
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
    } while (!currentisname());
    return k;
}

bool isbeginorend(const Word& w) { return istext(w, "begin") || istext(w, "end"); }

void readunivariant(const Word& name) {
    ++rd.linecount;
    if (rd.linecount > maxlines) bombed("readdata", "too many lines: max = 1500");
    UnivariantLine& l = lines[rd.linecount];
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

    readlineheader(l);
    setcontext("line limit names for ", l.name);
    readname(l.beginname);
    readname(l.endname);
    setcontext("reading coordinates for ", l.name);
    readstylewords(l);
    bool givenconnect = l.connect;
    if (!l.connect) {
        int16_t k = readlinedata(l);
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
    if (!givenconnect && l.npts <= 1) {
        bool beginend = isbeginorend(l.beginname), endend = isbeginorend(l.endname);
        if (l.npts == 0 && (beginend || endend))
            failwith("readdata", "default connect with begin/end: ", rd.context);
        if (l.npts == 1 && beginend && endend) failwith("readdata", "one point with begin end: ", rd.context);
    }
    listitem(itemline, rd.linecount);
}

void readitems() {
    do {
        rd.hashmark = false;
        setcontext("point/line name");
        Word name;
        readname(name);
        if (name.c[0] == '#') {  // "#" before a name: read and list the item, then drop a line
            rd.hashmark = true;
            readname(name);
        }
        if (name.len >= 2 && name.c[1] == '<') bombed("read data", "< in name: line/point name unassigned?");
        if (name.c[0] == 'i') {
            readpoint(name);
        } else if (name.c[0] == 'u') {
            readunivariant(name);
            if (rd.hashmark) --rd.linecount;  // the next line overwrites its record
        } else {
            failwith("read data", "point/line name must start with i/u but this name is ", name);
        }
    } while (!currentis("*"));
    npoints = rd.pointcount;
    nlines = rd.linecount;
}

void readareas() {
    nextword();  // the "*" that ends the items
    while (!currentis("*")) {
        ++rd.areacount;
        if (rd.areacount > maxareas) bombed("readdata", "too many areas: max = 300");
        ShadedArea& area = areas[rd.areacount];
        setcontext("grayscale for area");
        area.grayscale = static_cast<double>(readreal());
        setcontext("points for area");
        int16_t k = 0;
        do {
            ++k;
            if (k > maxareanames) bombed("readdata", "too many points in area: max = 15");
            readname(area.linenames[k]);
        } while (!currentis("*") && currentisname());
        area.nnames = k;
        listitem(itemarea, rd.areacount);
    }
    nareas = rd.areacount;
}

}  // namespace

void readdata() {
    datafilename = promptdatafile("gl-", runsettings.datafile, datafile);
    clearwords(rd.lines[0]);
    clearwords(rd.lines[1]);
    rd.active = 0;
    rd.pointcount = 0;
    rd.linecount = 0;
    rd.areacount = 0;
    rd.context.len = 0;
    if (!nextline() || wholeword(rd.lines[rd.active], 1).c[0] == '*') bombed("readdata", "not enough in file");
    setcurrent();
    readheader();
    readitems();
    readareas();
    readscript();
}
