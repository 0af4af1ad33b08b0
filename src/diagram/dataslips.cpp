// dataslips.cpp - what the data reader says when a word stops it: the
// plain text of the failure and the notes that hint at the fix, looking
// back at the names taken for the last two items.
#include "diagram/dataslips.h"

#include <vector>

#include "diagram/scriptkeywords.h"
#include "diagram/slips.h"
#include "run/diagnostics.h"
#include "run/failure.h"
#include "text/numfmt.h"

namespace gridel::diagram {

namespace datareading {

namespace {

std::string quoted(text::TextView w) { return run::quotedword(w); }

}  // namespace

// Warn of a point or line whose name clashes with one read before: the
// same name (lookups find only the first), or names that differ only after
// their 20th character.  `seen` maps the names kept to the names as
// written when they were cut (else to "").
void checkname(DataReader& rd, NameSet& seen, const text::Word& name, text::TextView written, const char* kind) {
    std::string whole = written.len > name.len ? std::string(written.c, static_cast<size_t>(written.len)) : "";
    auto [at, fresh] = seen.try_emplace(std::string(name.c, static_cast<size_t>(name.len)), whole);
    if (fresh) return;
    if (at->second == whole) {
        run::warning(rd.run, rd.previousline, name, std::string("a second ") + kind + " of this name: the first is the one used");
    } else {
        const std::string& first = at->second.empty() ? at->first : at->second;
        run::warning(rd.run, rd.previousline, name,
                "the names " + quoted({first.data(), static_cast<int32_t>(first.size())}) + " and " + quoted(written) +
                    " are the same in their first 20 characters");
    }
}

std::string edgeslip(text::TextView word) {
    static const char* const edges[] = {"top", "bottom", "left", "right"};
    // Words of the same sense as an edge word, with the edge they mean.
    static const char* const likewords[][2] = {{"above", "top"},   {"over", "top"},      {"upper", "top"},
                                               {"up", "top"},      {"below", "bottom"},  {"under", "bottom"},
                                               {"lower", "bottom"}, {"down", "bottom"}, {"beneath", "bottom"}};
    std::string lower(word.c, static_cast<size_t>(word.len));
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (const char* edge : edges)
        if (lower == edge) return edge;
    for (const auto& like : likewords)
        if (lower == like[0]) return like[1];
    std::string near = run::nearestword(lower, edges, 4);
    if (near.empty() && lower.size() >= 3) {
        // Two letters swapped ("tpo", "rigth") count as one slip.
        for (const char* edge : edges) {
            std::string e = edge;
            if (e.size() != lower.size()) continue;
            for (size_t i = 0; i + 1 < e.size(); ++i) {
                std::string swapped = lower;
                std::swap(swapped[i], swapped[i + 1]);
                if (swapped == e) return edge;
            }
        }
    }
    return near;
}

// "LINE" of a place, for a note that points to another line.
std::string online(int32_t line) { return "on line " + run::wholetext(line); }

// Notes for the names taken for the failing item and the one before that
// are slips of a keyword ("begn" for "begin") or numbers that do not read
// (".5"), each once; the word at fault has notes of its own.
void slipnotes(DataReader& rd) {
    std::vector<std::string> seen;
    for (const std::vector<TakenName>& names : rd.taken) {
        for (const TakenName& t : names) {
            if (t.line == rd.run.place.line && t.column == rd.run.place.column) continue;  // the word at fault
            std::string note;
            std::string keyword = misspeltkeyword(text::viewof(t.name));
            if (!keyword.empty()) {
                note = run::quotedword(t.name) + " " + online(t.line) + ": did you mean '" + keyword + "'?";
            } else if (meantasnumber(viewof(t.name))) {
                std::vector<std::string> shape = numbernotes(viewof(t.name));
                note = run::quotedword(t.name) + " " + online(t.line) + " was read as a name, not a number" +
                       (shape.empty() ? std::string() : ": " + shape.front());
            } else {
                continue;
            }
            bool again = false;
            for (const std::string& s : seen) again = again || s == note;
            if (again) continue;
            seen.push_back(note);
            run::addnote(rd.run, note);
        }
    }
}

// Notes for a script keyword read as a line of an area: the "*" that ends
// the areas is missing.
void scriptinareanotes(DataReader& rd) {
    for (const std::vector<TakenName>& names : rd.taken)
        for (const TakenName& t : names)
            if (isscriptkeyword(text::viewof(t.name))) {
                run::addnote(rd.run, run::quotedword(t.name) + " " + online(t.line) +
                                    " was read as a line of an area: a line holding '*' ends the areas, and the script "
                                    "comes after it");
                return;
            }
}

// The name of a line read so far.
bool isreadline(const DataReader& rd, text::TextView w) {
    for (int16_t k = 1; k <= rd.linecount && k <= maxlines; ++k)
        if (text::sametext(rd.d.lines[k].name, text::cuttext(w))) return true;
    return false;
}

// A number where a name is expected: explained, and the run ends.
[[noreturn, gnu::cold]] void notaname(DataReader& rd, text::TextView word) {
    std::vector<std::string> notes;
    std::string c(rd.context.c, static_cast<size_t>(rd.context.len));
    if (c.compare(0, 16, "line limit names") == 0)
        notes.push_back("a line's name is followed by its two limits (points, 'begin' or 'end'), then its data rows");
    else if (c == "point/line name" && endedrows(rd))
        notes.push_back(rowsize(rd) + ": has a row of " + run::wordtext(rd.rowsof) + " one value too many?");
    else if (c == "points for area")
        notes.push_back("an area is a grayscale followed by the names of its lines");
    else if (c.compare(0, 23, "reading crossover lines") == 0)
        notes.push_back("a crossover point is followed by the names of the two lines that cross there");
    run::explain(rd.run, "a name was expected here (" + contextphrase(rd.context) + "), not the number " + quoted(word));
    slipnotes(rd);  // a slipped keyword first: it explains more than a guess
    for (std::string& note : notes) run::addnote(rd.run, std::move(note));
    if (c == "points for area") scriptinareanotes(rd);
    text::Text what;
    text::settext(what, "expecting a name; got: ");
    text::addtext(what, text::cuttext(word));
    addtext(what, " - ");
    addtext(what, rd.context);
    run::bombed(rd.run, "reading", what);
}

// Notes for a name met where a value of a data row or an area's grayscale
// was expected.
[[gnu::cold]] void explainname(DataReader& rd) {
    text::TextView w = rd.previous;
    bool grayscale = text::istext(text::viewof(rd.context), "grayscale for area");
    slipnotes(rd);  // a slipped keyword or number first: it explains more than a guess
    if (grayscale && isscriptkeyword(w)) {
        run::addnote(rd.run, "the areas end with a line holding '*', even when there are none; the script follows it");
    } else if (isscriptkeyword(w)) {
        run::addnote(rd.run, "the script comes after two lines holding '*': one ends the points and lines, one the areas");
    } else if (!grayscale && isreadline(rd, w)) {
        run::addnote(rd.run, "if the areas begin here, a line holding '*' must come before them, to end the points and lines");
    } else if (!grayscale && istext(w, "*")) {
        run::addnote(rd.run, "'*' ends the points and lines: " + rowsize(rd) + ", and the row before it has fewer");
    } else if (!grayscale && beginsitem(w)) {
        run::addnote(rd.run, quoted(w) + " looks like the next item: " + rowsize(rd) + ", and the row before it has fewer");
    }
    if (istext(viewof(rd.context), "points for area") || grayscale) scriptinareanotes(rd);
}

void checkcolumn(DataReader& rd, int16_t col, const char* which, const char* message) {
    if (col >= 1 && col <= rd.d.nvars) return;
    if (rd.d.nvars < 1)
        run::explain(rd.run, "the header's first number, the count of values on each data row, is " +
                            run::wholetext(rd.d.nvars) + ": there is no column " + run::wholetext(col),
                {"the header is NVARS SIZE XCOL YCOL, as in '2 2 1 2'"});
    else
        run::explain(rd.run, std::string("the column of ") + which + ", " + run::wholetext(col) + ", is not one of the " +
                            run::wholetext(rd.d.nvars) + " values of a data row",
                {"the header is NVARS SIZE XCOL YCOL: the columns count from 1 to NVARS"});
    failwith(rd, "readdata", message, text::real2intstr(rd.d.nvars));
}

// The header's notes when its first numbers are not a header at all.
const char* const headernote = "a data file begins with its header, NVARS SIZE XCOL YCOL, as in '2 2 1 2'";

// " (did you mean ...?)" for the last phase of a list that is a slip of a
// keyword, which would have ended the list; else "".
std::string slipinlist(const text::Word* phases, int16_t count) {
    if (count < 1) return "";
    if (meantasnumber(text::viewof(phases[count]))) return " (" + run::quotedword(phases[count]) + " is not a number)";
    std::string keyword = misspeltkeyword(text::viewof(phases[count]));
    if (keyword.empty()) return "";
    return " (is " + run::quotedword(phases[count]) + " meant as \"" + keyword + "\"?)";
}

// An interpolated point with too many rows, or rows that never meet the
// target: explained, and the run ends.
[[noreturn, gnu::cold]] void interpolationfailure(DataReader& rd, const InvariantPoint& p, bool toomanyrows) {
    atname(rd, rd.d.pointlines, rd.d.pointcolumns, rd.pointcount, p.name);
    if (toomanyrows) {
        run::explain(rd.run, run::wordtext(p.name) + " has more than 200 data rows");
        run::bombed(rd.run, "read data", "too much data for line: max = 200");
    }
    run::explain(rd.run, "the data rows of " + run::wordtext(p.name) + " never meet the interpolation target",
            {"check the column to interpolate in and the target in the header, and that the rows reach the target"});
    failwith(rd, "read data", "interpolation failed for ", p.name);
}

// More than maxrows rows for line l: explained, and the run ends.
[[noreturn, gnu::cold]] void toomanyrows(DataReader& rd, const UnivariantLine& l) {
    atname(rd, rd.d.linelines, rd.d.linecolumns, rd.linecount, l.name);
    run::explain(rd.run, run::wordtext(l.name) + " has more than 200 data rows",
            {"a missing '*' can make the rows of several lines, or the areas, run together"});
    failwith(rd, "readdata", "too much data for line in ", rd.context);
}

bool isbeginorend(const text::Word& w) { return text::istext(w, "begin") || istext(w, "end"); }

// Explain a line with a single data row and the limits begin and end: the
// word that ended its rows when that cannot begin an item (a number with a
// decimal comma, say), else the line itself.
void onerow(DataReader& rd, const UnivariantLine& l) {
    const std::string rowsnote = "a line from 'begin' to 'end' needs at least two data rows";
    if (rd.currentkind != text::kindempty && !beginsitem(rd.current)) {
        placeat(rd, rd.currentline, rd.current);
        std::vector<std::string> notes = numbernotes(rd.current);
        notes.push_back(rowsnote);
        if (commentslip(rd.current))
            run::explain(rd.run, quoted(rd.current) + " does not begin a comment: it ends the data rows of " +
                                run::wordtext(l.name) + " after one row", notes);
        else if (meantasnumber(rd.current) || notes.size() > 1)
            run::explain(rd.run, quoted(rd.current) + " is not a number, so the data rows of " + run::wordtext(l.name) +
                                " end before it, after one row", notes);
        else
            run::explain(rd.run, quoted(rd.current) + " ends the data rows of " + run::wordtext(l.name) + " after one row", notes);
        return;
    }
    atname(rd, rd.d.linelines, rd.d.linecolumns, rd.linecount, l.name);
    run::explain(rd.run, run::wordtext(l.name) + " has one data row, and its limits are 'begin' and 'end'", {rowsnote});
}

// A line with one data row or none, which its limits "begin" or "end"
// cannot have.
[[gnu::cold]] void checkfewrows(DataReader& rd, const UnivariantLine& l) {
    bool beginend = isbeginorend(l.beginname), endend = isbeginorend(l.endname);
    if (l.npts == 0 && (beginend || endend)) {
        atname(rd, rd.d.linelines, rd.d.linecolumns, rd.linecount, l.name);
        run::explain(rd.run, "no data row of " + run::wordtext(l.name) + " lies on the interpolation target, and its limit '" +
                            run::wordtext(beginend ? l.beginname : l.endname) + "' needs data",
                {"give it rows on the target, or two points as its limits"});
        failwith(rd, "readdata", "default connect with begin/end: ", rd.context);
    }
    if (l.npts == 1 && beginend && endend) {
        onerow(rd, l);
        failwith(rd, "readdata", "one point with begin end: ", rd.context);
    }
}

// Explain a name that begins neither a point nor a line.
void explainitemname(DataReader& rd, const text::Word& mark) {
    text::TextView w = rd.previous;
    std::vector<std::string> notes = numbernotes(w);
    std::string plain;
    if (commentslip(w)) {
        plain = quoted(w) + " does not begin a comment: it is read as the name of the next point or line";
    } else if (mark.len == 1) {  // "# some words": a comment written as in other programs
        plain = quoted(text::viewof(mark)) + " does not begin a comment: it drops the item named by the word after it, and " +
                quoted(w) + " names no point or line";
        notes = numbernotes(viewof(mark));
    } else if (endedrows(rd) && (meantasnumber(w) || !notes.empty())) {
        plain = quoted(w) + " is not a number, so the data rows of " + run::wordtext(rd.rowsof) + " end before it";
    } else if (endedrows(rd)) {
        plain = quoted(w) + " ends the data rows of " + run::wordtext(rd.rowsof) +
                ", but a point's name begins with 'i' and a line's with 'u'";
    } else {
        plain = quoted(w) + " stands where the name of a point or a line is expected, but a point's name begins with "
                "'i' and a line's with 'u'";
    }
    if (mark.len > 1)
        notes.push_back("the mark " + run::quotedword(mark) + " before it drops the item named by the word after it: write '" +
                        run::wordtext(mark).substr(0, 1) + " " + run::wordtext(mark).substr(1) + "'");
    if (isscriptkeyword(w))
        notes.push_back("the points and lines end with a line holding '*'; the areas follow, ended by a second '*', "
                        "then the script");
    run::explain(rd.run, plain, notes);
    slipnotes(rd);
}

}  // namespace datareading

}  // namespace gridel::diagram
