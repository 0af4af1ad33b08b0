// readdata.cpp - readdata: the data section read word by word with a
// one-word lookahead, checked as it goes, each item listed as soon as read.
#include "diagram/readdata.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "diagram/checkedwords.h"
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

namespace {

// A name the reader took, and where it stands: the names of the last two
// items are kept, to look for a slipped keyword among them when one of
// them fails.
struct TakenName {
    Word name;
    int32_t line;
    int32_t column;
};

// Names as kept, each with the name as written when it was cut.
using NameSet = std::unordered_map<std::string, std::string>;

// The reader's own state for one reading.
struct DataReader {
    DataReader(Run& r, Diagram& diagram, DataFile& f) : run(r), d(diagram), file(f) {}
    Run& run;                  // the run: its transcript and its failure path
    Diagram& d;                // the diagram being filled
    DataFile& file;            // the data file being read
    // The text line of the current word and the line before it, by turns:
    // the word just consumed may lie on the line before the lookahead's, and
    // stays readable until the lookahead moves on to a later line.
    WordList lines[2] = {};
    int active = 0;                  // which of the two holds the current word
    int32_t lineno[2] = {0, 0};      // line number of each in the file
    int32_t index = 0;               // position of the current word in its line
    TextView current = {"", 0};      // the lookahead: the word to be read next, whole
    WordKind currentkind = kindempty;  // its kind
    int32_t currentline = 0;         // the line it stands on
    TextView previous = {"", 0};     // the word just consumed, whole
    WordKind previouskind = kindempty;  // its kind
    int32_t previousline = 0;        // the line it stood on
    Text context = {0, {}};          // what is being read, quoted by failure messages
    int16_t xcol = 0;                // column of x in a data row
    int16_t ycol = 0;                // column of y
    int16_t icol = 0;                // column of the interpolation value; 0 without interpolation
    long double a = 0;               // interpolation target
    long double b = 0;               // slope of the target in y; 0 for the plain target I = a
    long double row[maxvars + 1] = {};  // values 1..nvars of the last data row
    long double cx[maxrows + 1] = {};   // x of the collected rows 1..k
    long double cy[maxrows + 1] = {};   // y of the collected rows
    long double ci[maxrows + 1] = {};   // interpolation values of the collected rows
    int16_t pointcount = 0;          // points read so far
    int16_t linecount = 0;           // lines kept so far
    int16_t areacount = 0;           // areas read so far
    bool hashmark = false;           // the current item's name followed a word beginning with "#"
    NameSet pointnames;              // names of the points so far, as kept and as written
    NameSet linenames;               // the same for the lines
    std::vector<TakenName> taken[2];  // names taken for the item before and for this one
    Word rowsof = {0, {}};           // the item whose data rows ended last
    int32_t rowsendline = 0;         // the word that ended them: its line
    int32_t rowsendcolumn = 0;       // and its column
};


const Word noitem = {0, {}};


std::string quoted(TextView w) { return quotedword(w); }

// Warn of a point or line whose name clashes with one read before: the
// same name (lookups find only the first), or names that differ only after
// their 20th character.  `seen` maps the names kept to the names as
// written when they were cut (else to "").
void checkname(DataReader& rd, NameSet& seen, const Word& name, TextView written, const char* kind) {
    std::string whole = written.len > name.len ? std::string(written.c, static_cast<size_t>(written.len)) : "";
    auto [at, fresh] = seen.try_emplace(std::string(name.c, static_cast<size_t>(name.len)), whole);
    if (fresh) return;
    if (at->second == whole) {
        warning(rd.run, rd.previousline, name, std::string("a second ") + kind + " of this name: the first is the one used");
    } else {
        const std::string& first = at->second.empty() ? at->first : at->second;
        warning(rd.run, rd.previousline, name,
                "the names " + quoted({first.data(), static_cast<int32_t>(first.size())}) + " and " + quoted(written) +
                    " are the same in their first 20 characters");
    }
}

void setcontext(DataReader& rd, const char* s) { settext(rd.context, s); }

void setcontext(DataReader& rd, const char* s, const Word& name) {
    settext(rd.context, s);
    addtext(rd.context, name);
}

bool currentis(DataReader& rd, const char* word) { return istext(rd.current, word); }

bool currentisname(DataReader& rd) { return rd.currentkind == kindother; }

// The next text line with at least one word becomes the source of words,
// read into the line not in use; false at the end of the file.
bool nextline(DataReader& rd) {
    int spare = 1 - rd.active;
    while (!atend(rd.file.reader)) {
        rstrings(rd.run, rd.file.reader, rd.lines[spare]);
        if (rd.lines[spare].count > 0) {
            rd.active = spare;
            rd.lineno[spare] = rd.file.reader.lineno;
            rd.index = 1;
            return true;
        }
    }
    return false;
}

// The column of word i of the active line.
int32_t columnof(const DataReader& rd, int32_t i) { return rd.lines[rd.active].edges[2 * static_cast<size_t>(i) - 2] + 1; }

// The column of a word of one of the two lines held (1 for the first
// byte); 0 for none.  Worked out only where a word's place is kept or
// reported, not for every word read.
int32_t columnat(const DataReader& rd, TextView w) {
    for (const WordList& l : rd.lines) {
        const char* start = l.line.data();
        if (w.c >= start && w.c < start + l.line.size()) return static_cast<int32_t>(w.c - start) + 1;
    }
    return 0;
}

// Stand at a word of the file, for a failure that names it.
void placeat(DataReader& rd, int32_t line, TextView w) { atword(rd.run, line, columnat(rd, w), w.len); }

// The data rows of an item ended before the current word.
void rowsended(DataReader& rd, const Word& name) {
    rd.rowsof = name;
    rd.rowsendline = rd.currentline;
    rd.rowsendcolumn = columnat(rd, rd.current);
}

// The word just read is the one that ended the last item's rows.
bool endedrows(const DataReader& rd) {
    return rd.rowsof.len > 0 && rd.previousline == rd.rowsendline && columnat(rd, rd.previous) == rd.rowsendcolumn;
}

void setcurrent(DataReader& rd) {
    rd.current = wholeword(rd.lines[rd.active], rd.index);
    rd.currentkind = wordkind(rd.lines[rd.active], rd.index);
    rd.currentline = rd.lineno[rd.active];
}

[[noreturn, gnu::cold]] void endofinput(DataReader& rd);

// Consume the current word: it becomes the previous word, and the next word
// of the file becomes current (empty at the end of the file).
void nextword(DataReader& rd) {
    rd.previous = rd.current;
    rd.previouskind = rd.currentkind;
    rd.previousline = rd.currentline;
    if (rd.previouskind == kindempty) endofinput(rd);
    if (rd.index < rd.lines[rd.active].count) {
        ++rd.index;
        setcurrent(rd);
    } else if (nextline(rd)) {
        setcurrent(rd);
    } else {
        rd.current = {"", 0};
        rd.currentkind = kindempty;
        rd.currentline = rd.file.reader.lineno;  // the input ended on its last line
    }
    // A failure names the line of the word just read; the readers that may
    // fail on the word itself name the word.
    atline(rd.run, rd.previousline);
}

// "LINE" of a place, for a note that points to another line.
std::string online(int32_t line) { return "on line " + wholetext(line); }

// Notes for the names taken for the failing item and the one before that
// are slips of a keyword ("begn" for "begin") or numbers that do not read
// (".5"), each once; the word at fault has notes of its own.
void slipnotes(DataReader& rd) {
    std::vector<std::string> seen;
    for (const std::vector<TakenName>& names : rd.taken) {
        for (const TakenName& t : names) {
            if (t.line == rd.run.place.line && t.column == rd.run.place.column) continue;  // the word at fault
            std::string note;
            std::string keyword = misspeltkeyword(viewof(t.name));
            if (!keyword.empty()) {
                note = quotedword(t.name) + " " + online(t.line) + ": did you mean '" + keyword + "'?";
            } else if (meantasnumber(viewof(t.name))) {
                std::vector<std::string> shape = numbernotes(viewof(t.name));
                note = quotedword(t.name) + " " + online(t.line) + " was read as a name, not a number" +
                       (shape.empty() ? std::string() : ": " + shape.front());
            } else {
                continue;
            }
            bool again = false;
            for (const std::string& s : seen) again = again || s == note;
            if (again) continue;
            seen.push_back(note);
            addnote(rd.run, note);
        }
    }
}

// Notes for a script keyword read as a line of an area: the "*" that ends
// the areas is missing.
void scriptinareanotes(DataReader& rd) {
    for (const std::vector<TakenName>& names : rd.taken)
        for (const TakenName& t : names)
            if (isscriptkeyword(viewof(t.name))) {
                addnote(rd.run, quotedword(t.name) + " " + online(t.line) +
                                    " was read as a line of an area: a line holding '*' ends the areas, and the script "
                                    "comes after it");
                return;
            }
}

// The name of a line read so far.
bool isreadline(const DataReader& rd, TextView w) {
    for (int16_t k = 1; k <= rd.linecount && k <= maxlines; ++k)
        if (sametext(rd.d.lines[k].name, cuttext(w))) return true;
    return false;
}

// The count of values on a data row, for notes.
std::string rowsize(const DataReader& rd) {
    return "each data row has " + wholetext(rd.d.nvars) + " values (the header's first number)";
}

// Stand at the name of the item the reader is in: point, line or area k.
void atname(DataReader& rd, const std::vector<int32_t>& lines, const std::vector<int32_t>& columns, int16_t k,
            const Word& name) {
    atword(rd.run, lines[static_cast<size_t>(k)], columns[static_cast<size_t>(k)], name.len);
}

[[noreturn, gnu::cold]] void endofinput(DataReader& rd) {
    const WordList& last = rd.lines[rd.active];
    int32_t after = last.count > 0 ? last.edges[2 * static_cast<size_t>(last.count) - 1] + 1 : 0;
    atword(rd.run, rd.lineno[rd.active], after, 0);
    std::vector<std::string> notes;
    if (istext(viewof(rd.context), "point/line name"))
        notes.push_back("the points and lines end with a line holding '*'; the areas follow, ended by a second '*', "
                        "then the script");
    else if (istext(viewof(rd.context), "grayscale for area") || istext(viewof(rd.context), "points for area"))
        notes.push_back("the areas end with a line holding '*', even when there are none; the script follows it");
    else if (rd.context.len > 0 && contextphrase(rd.context).compare(0, 11, "a data row ") == 0)
        notes.push_back(rowsize(rd));
    explain(rd.run, "the file ends in the middle of " + contextphrase(rd.context), notes);
    Text what;
    settext(what, "unexpected end of input: ");
    addtext(what, rd.context);
    bombed(rd.run, "reading", what);
}

// A number where a name is expected: explained, and the run ends.
[[noreturn, gnu::cold]] void notaname(DataReader& rd, TextView word) {
    std::vector<std::string> notes;
    std::string c(rd.context.c, static_cast<size_t>(rd.context.len));
    if (c.compare(0, 16, "line limit names") == 0)
        notes.push_back("a line's name is followed by its two limits (points, 'begin' or 'end'), then its data rows");
    else if (c == "point/line name" && endedrows(rd))
        notes.push_back(rowsize(rd) + ": has a row of " + wordtext(rd.rowsof) + " one value too many?");
    else if (c == "points for area")
        notes.push_back("an area is a grayscale followed by the names of its lines");
    else if (c.compare(0, 23, "reading crossover lines") == 0)
        notes.push_back("a crossover point is followed by the names of the two lines that cross there");
    explain(rd.run, "a name was expected here (" + contextphrase(rd.context) + "), not the number " + quoted(word));
    slipnotes(rd);  // a slipped keyword first: it explains more than a guess
    for (std::string& note : notes) addnote(rd.run, std::move(note));
    if (c == "points for area") scriptinareanotes(rd);
    Text what;
    settext(what, "expecting a name; got: ");
    addtext(what, cuttext(word));
    addtext(what, " - ");
    addtext(what, rd.context);
    bombed(rd.run, "reading", what);
}

void getname(DataReader& rd, Word& destination, WordKind kind, TextView word) {
    if (kind != kindother) notaname(rd, word);
    destination = cuttext(word);
    rd.taken[1].push_back({destination, rd.previousline, rd.run.place.column});
    if (word.len > 20)
        warning(rd.run, rd.previousline, noitem,
                "the name " + quoted(word) + " is cut to its first 20 characters, " + quoted(viewof(destination)));
    warnundrawable(rd.run, rd.previousline, viewof(destination), "the name");
}

// Advance and read the consumed word as a name, an integer or a real.
void readname(DataReader& rd, Word& destination) {
    nextword(rd);
    placeat(rd, rd.previousline, rd.previous);
    getname(rd, destination, rd.previouskind, rd.previous);
}

int16_t readinteger(DataReader& rd) {
    nextword(rd);
    placeat(rd, rd.previousline, rd.previous);
    return getinteger(rd.run, rd.previouskind, rd.previous, rd.context);
}

// Notes for a name met where a value of a data row or an area's grayscale
// was expected.
[[gnu::cold]] void explainname(DataReader& rd) {
    TextView w = rd.previous;
    bool grayscale = istext(viewof(rd.context), "grayscale for area");
    slipnotes(rd);  // a slipped keyword or number first: it explains more than a guess
    if (grayscale && isscriptkeyword(w)) {
        addnote(rd.run, "the areas end with a line holding '*', even when there are none; the script follows it");
    } else if (isscriptkeyword(w)) {
        addnote(rd.run, "the script comes after two lines holding '*': one ends the points and lines, one the areas");
    } else if (!grayscale && isreadline(rd, w)) {
        addnote(rd.run, "if the areas begin here, a line holding '*' must come before them, to end the points and lines");
    } else if (!grayscale && istext(w, "*")) {
        addnote(rd.run, "'*' ends the points and lines: " + rowsize(rd) + ", and the row before it has fewer");
    } else if (!grayscale && beginsitem(w)) {
        addnote(rd.run, quoted(w) + " looks like the next item: " + rowsize(rd) + ", and the row before it has fewer");
    }
    if (istext(viewof(rd.context), "points for area") || grayscale) scriptinareanotes(rd);
}

long double readreal(DataReader& rd) {
    nextword(rd);
    placeat(rd, rd.previousline, rd.previous);
    if (rd.previouskind == kindother) explainname(rd);
    return getsingle(rd.run, rd.previouskind, rd.previous, rd.context);
}

// A whole data row that lies in the current word's line, read in one pass
// per word: only the columns used (x, y and the interpolation value) are
// converted, and each of the others is only checked as readreal checks it.
// The reader ends as readreal would leave it after the row's last word.
// False, with nothing consumed, when the row leaves the line or a word is
// not one quicksingle decides: the row is then read word by word.
bool quickrow(DataReader& rd) {
    const WordList& words = rd.lines[rd.active];
    const int32_t n = rd.d.nvars;
    if (rd.currentkind == kindempty || n < 1 || n > maxvars || rd.index + n - 1 > words.count) return false;
    uint64_t used = 1u << rd.xcol | 1u << rd.ycol | (rd.icol != 0 ? 1u << rd.icol : 0u);
    WordKind kind;
    if (!::quickrow(words, rd.index, n, used, rd.row, kind)) return false;
    rd.index += n - 1;
    rd.current = wholeword(words, rd.index);
    rd.currentkind = kind;
    nextword(rd);
    return true;
}

// One data row of nvars values.
void readrow(DataReader& rd) {
    if (quickrow(rd)) return;
    for (int j = 1; j <= rd.d.nvars; ++j) rd.row[j] = readreal(rd);
}

[[noreturn]] void failwith(DataReader& rd, const char* where, const char* what, const Word& tail) {
    Text t;
    settext(t, what);
    addtext(t, tail);
    bombed(rd.run, where, t);
}

[[noreturn]] void failwith(DataReader& rd, const char* where, const char* what, const Text& tail) {
    Text t;
    settext(t, what);
    addtext(t, tail);
    bombed(rd.run, where, t);
}

void checkcolumn(DataReader& rd, int16_t col, const char* which, const char* message) {
    if (col >= 1 && col <= rd.d.nvars) return;
    if (rd.d.nvars < 1)
        explain(rd.run, "the header's first number, the count of values on each data row, is " +
                            wholetext(rd.d.nvars) + ": there is no column " + wholetext(col),
                {"the header is NVARS SIZE XCOL YCOL, as in '2 2 1 2'"});
    else
        explain(rd.run, std::string("the column of ") + which + ", " + wholetext(col) + ", is not one of the " +
                            wholetext(rd.d.nvars) + " values of a data row",
                {"the header is NVARS SIZE XCOL YCOL: the columns count from 1 to NVARS"});
    failwith(rd, "readdata", message, real2intstr(rd.d.nvars));
}

// The header's notes when its first numbers are not a header at all.
const char* const headernote = "a data file begins with its header, NVARS SIZE XCOL YCOL, as in '2 2 1 2'";

void readheader(DataReader& rd) {
    setcontext(rd, "no of variables in each point");
    if (rd.currentkind != kindinteger) addnote(rd.run, headernote);
    rd.d.nvars = readinteger(rd);
    explain(rd.run, "");  // the note above was for a failure of that word only
    if (rd.d.nvars > maxvars) {
        explain(rd.run, "a data row has at most 20 values, not " + wholetext(rd.d.nvars), {headernote});
        bombed(rd.run, "readdata", "too many variables in each line of input: max = 20");
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
            bombed(rd.run, "readdata", "icol same as xcol or ycol");
        }
        setcontext(rd, "interpolation value");
        rd.a = readreal(rd);
        if (!currentisname(rd)) rd.b = readreal(rd);
    }
}

// " (did you mean ...?)" for the last phase of a list that is a slip of a
// keyword, which would have ended the list; else "".
std::string slipinlist(const Word* phases, int16_t count) {
    if (count < 1) return "";
    if (meantasnumber(viewof(phases[count]))) return " (" + quotedword(phases[count]) + " is not a number)";
    std::string keyword = misspeltkeyword(viewof(phases[count]));
    if (keyword.empty()) return "";
    return " (is " + quotedword(phases[count]) + " meant as \"" + keyword + "\"?)";
}

// "invariant", "point" or "crossover", or not a name: the end of a point's
// phase list.
bool endsphaselist(DataReader& rd) {
    return !currentisname(rd) || currentis(rd, "invariant") || currentis(rd, "point") || currentis(rd, "crossover");
}

// A point's or line's list of phase names, read into phases[1..k] until
// the current word is "-" or ends the list; returns k.
template <typename EndsList>
int16_t readphases(DataReader& rd, const Word& name, Word* phases, EndsList endslist) {
    setcontext(rd, "nonzero-mode phases for ", name);
    int16_t k = 0;
    do {
        ++k;
        if (k > maxphases) {
            explain(rd.run, "the phase list of " + wordtext(name) + " has more than 20 names",
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
        warning(rd.run, itemline, p.name,
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
        warning(rd.run, itemline, p.name, "its phase list is dropped by \"point\"");
    } else {  // "-": the zero-mode phases follow
        nextword(rd);
        setcontext(rd, "zero-mode phases for ", p.name);
        if (endsphaselist(rd)) {
            settext(p.zeromode1, "none");
            settext(p.zeromode2, "none");
        } else {
            readname(rd, p.zeromode1);
            if (endsphaselist(rd))
                settext(p.zeromode2, "none");
            else
                readname(rd, p.zeromode2);
        }
        if (currentis(rd, "invariant") || currentis(rd, "point")) nextword(rd);
    }
}

// An item beyond the capacity of its table.
[[noreturn, gnu::cold]] void toomany(DataReader& rd, const char* items, const char* where, const char* what) {
    explain(rd.run, std::string("the diagram has more ") + items + " than gridel holds");
    bombed(rd.run, where, what);
}

// An interpolated point with too many rows, or rows that never meet the
// target: explained, and the run ends.
[[noreturn, gnu::cold]] void interpolationfailure(DataReader& rd, const InvariantPoint& p, bool toomanyrows) {
    atname(rd, rd.d.pointlines, rd.d.pointcolumns, rd.pointcount, p.name);
    if (toomanyrows) {
        explain(rd.run, wordtext(p.name) + " has more than 200 data rows");
        bombed(rd.run, "read data", "too much data for line: max = 200");
    }
    explain(rd.run, "the data rows of " + wordtext(p.name) + " never meet the interpolation target",
            {"check the column to interpolate in and the target in the header, and that the rows reach the target"});
    failwith(rd, "read data", "interpolation failed for ", p.name);
}

void readpoint(DataReader& rd, const Word& name) {
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
bool islimitword(TextView w, WordKind kind) {
    if (kind != kindother) return false;
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
        warning(rd.run, itemline, l.name, "its phase list is dropped by \"line\"");
    } else if (currentislimit(rd)) {
        std::string slip = slipinlist(l.phases, l.nphases);
        l.lineword = true;
        l.nphases = 0;
        warning(rd.run, itemline, l.name,
                "its phase list is dropped: before its limits a list ends with \"-\" or \"univariant\"" + slip);
    } else {  // "-": the zero-mode phase follows
        nextword(rd);
        setcontext(rd, "zero-mode phase for ", l.name);
        if (currentis(rd, "univariant") || currentis(rd, "line") || currentislimit(rd))
            settext(l.zeromode, "none");
        else
            readname(rd, l.zeromode);
        if (currentis(rd, "univariant") || currentis(rd, "line")) nextword(rd);
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
                warning(rd.run, rd.previousline, l.name,
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

// More than maxrows rows for line l: explained, and the run ends.
[[noreturn, gnu::cold]] void toomanyrows(DataReader& rd, const UnivariantLine& l) {
    atname(rd, rd.d.linelines, rd.d.linecolumns, rd.linecount, l.name);
    explain(rd.run, wordtext(l.name) + " has more than 200 data rows",
            {"a missing '*' can make the rows of several lines, or the areas, run together"});
    failwith(rd, "readdata", "too much data for line in ", rd.context);
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

bool isbeginorend(const Word& w) { return istext(w, "begin") || istext(w, "end"); }

// Explain a line with a single data row and the limits begin and end: the
// word that ended its rows when that cannot begin an item (a number with a
// decimal comma, say), else the line itself.
void onerow(DataReader& rd, const UnivariantLine& l) {
    const std::string rowsnote = "a line from 'begin' to 'end' needs at least two data rows";
    if (rd.currentkind != kindempty && !beginsitem(rd.current)) {
        placeat(rd, rd.currentline, rd.current);
        std::vector<std::string> notes = numbernotes(rd.current);
        notes.push_back(rowsnote);
        if (commentslip(rd.current))
            explain(rd.run, quoted(rd.current) + " does not begin a comment: it ends the data rows of " +
                                wordtext(l.name) + " after one row", notes);
        else if (meantasnumber(rd.current) || notes.size() > 1)
            explain(rd.run, quoted(rd.current) + " is not a number, so the data rows of " + wordtext(l.name) +
                                " end before it, after one row", notes);
        else
            explain(rd.run, quoted(rd.current) + " ends the data rows of " + wordtext(l.name) + " after one row", notes);
        return;
    }
    atname(rd, rd.d.linelines, rd.d.linecolumns, rd.linecount, l.name);
    explain(rd.run, wordtext(l.name) + " has one data row, and its limits are 'begin' and 'end'", {rowsnote});
}

// A line with one data row or none, which its limits "begin" or "end"
// cannot have.
[[gnu::cold]] void checkfewrows(DataReader& rd, const UnivariantLine& l) {
    bool beginend = isbeginorend(l.beginname), endend = isbeginorend(l.endname);
    if (l.npts == 0 && (beginend || endend)) {
        atname(rd, rd.d.linelines, rd.d.linecolumns, rd.linecount, l.name);
        explain(rd.run, "no data row of " + wordtext(l.name) + " lies on the interpolation target, and its limit '" +
                            wordtext(beginend ? l.beginname : l.endname) + "' needs data",
                {"give it rows on the target, or two points as its limits"});
        failwith(rd, "readdata", "default connect with begin/end: ", rd.context);
    }
    if (l.npts == 1 && beginend && endend) {
        onerow(rd, l);
        failwith(rd, "readdata", "one point with begin end: ", rd.context);
    }
}

void readunivariant(DataReader& rd, const Word& name) {
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

// The names taken for the item before are kept, the older ones dropped.
void nextitem(DataReader& rd) {
    rd.taken[0].swap(rd.taken[1]);
    rd.taken[1].clear();
}

// Explain a name that begins neither a point nor a line.
void explainitemname(DataReader& rd, const Word& mark) {
    TextView w = rd.previous;
    std::vector<std::string> notes = numbernotes(w);
    std::string plain;
    if (commentslip(w)) {
        plain = quoted(w) + " does not begin a comment: it is read as the name of the next point or line";
    } else if (endedrows(rd) && (meantasnumber(w) || !notes.empty())) {
        plain = quoted(w) + " is not a number, so the data rows of " + wordtext(rd.rowsof) + " end before it";
    } else if (endedrows(rd)) {
        plain = quoted(w) + " ends the data rows of " + wordtext(rd.rowsof) +
                ", but a point's name begins with 'i' and a line's with 'u'";
    } else {
        plain = quoted(w) + " stands where the name of a point or a line is expected, but a point's name begins with "
                "'i' and a line's with 'u'";
    }
    if (mark.len > 1)
        notes.push_back("the mark " + quotedword(mark) + " before it drops the item named by the word after it: write '" +
                        wordtext(mark).substr(0, 1) + " " + wordtext(mark).substr(1) + "'");
    if (isscriptkeyword(w))
        notes.push_back("the points and lines end with a line holding '*'; the areas follow, ended by a second '*', "
                        "then the script");
    explain(rd.run, plain, notes);
    slipnotes(rd);
}

void readitems(DataReader& rd) {
    do {
        nextitem(rd);
        rd.hashmark = false;
        setcontext(rd, "point/line name");
        Word name, mark = noitem;
        readname(rd, name);
        if (name.c[0] == '#') {  // "#" before a name: read and list the item, then drop a line
            rd.hashmark = true;
            mark = name;
            readname(rd, name);
        }
        if (name.len >= 2 && name.c[1] == '<') {
            explain(rd.run, quoted(rd.previous) + " is a template's placeholder: give the item its real name");
            bombed(rd.run, "read data", "< in name: line/point name unassigned?");
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

void readareas(DataReader& rd) {
    nextword(rd);  // the "*" that ends the items
    while (!currentis(rd, "*")) {
        ++rd.areacount;
        nextitem(rd);
        if (rd.areacount > maxareas) toomany(rd, "areas (300)", "readdata", "too many areas: max = 300");
        ShadedArea& area = rd.d.areas[rd.areacount];
        setcontext(rd, "grayscale for area");
        area.grayscale = static_cast<double>(readreal(rd));
        rd.d.arealines[rd.areacount] = rd.previousline;
        rd.d.areacolumns[rd.areacount] = columnat(rd, rd.previous);
        if (!(area.grayscale >= 0 && area.grayscale <= 1))
            warning(rd.run, rd.previousline, areaname(rd.areacount),
                    "its grayscale " + quoted(rd.previous) + " lies outside 0..1 and is taken as " +
                        (area.grayscale > 0 ? "1" : "0"));
        setcontext(rd, "points for area");
        int16_t k = 0;
        do {
            ++k;
            if (k > maxareanames) {
                atname(rd, rd.d.arealines, rd.d.areacolumns, rd.areacount, areaname(rd.areacount));
                rd.run.place.width = 0;  // an area has no name: its place is its grayscale
                explain(rd.run, wordtext(areaname(rd.areacount)) + " lists more than 15 lines",
                        {"an area is a grayscale followed by its lines: is the grayscale of the next area missing?"});
                scriptinareanotes(rd);
                bombed(rd.run, "readdata", "too many points in area: max = 15");
            }
            readname(rd, area.linenames[k]);
        } while (!currentis(rd, "*") && currentisname(rd));
        area.nnames = k;
        // The comment after the area's last name, when that name ends its
        // text line (the lookahead has moved on to a later line).
        if (rd.current.len > 0 && rd.currentline != rd.previousline) {
            Text comment = commenttext(rd.lines[1 - rd.active]);
            if (comment.len > 0) {
                rd.d.areacomments.resize(static_cast<size_t>(maxareas) + 1, Text{0, {}});
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

void readdata(Run& run, Diagram& d, ReadProgress& progress) {
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
