// datacursor.cpp - the look-ahead cursor of the data section: moving from
// word to word over the file's text lines, the places of words for
// messages, and the end of the file in the middle of an item.
#include "diagram/datacursor.h"

#include "diagram/slips.h"
#include "run/diagnostics.h"
#include "run/failure.h"
#include "run/lineinput.h"

namespace gridel::diagram {

namespace datareading {

void setcontext(DataReader& rd, const char* s) { text::settext(rd.context, s); }

void setcontext(DataReader& rd, const char* s, const text::Word& name) {
    text::settext(rd.context, s);
    text::addtext(rd.context, name);
}

bool currentis(DataReader& rd, const char* word) { return text::istext(rd.current, word); }

bool currentisname(DataReader& rd) { return rd.currentkind == text::kindother; }

// The next text line with at least one word becomes the source of words,
// read into the line not in use; false at the end of the file.
bool nextline(DataReader& rd) {
    int spare = 1 - rd.active;
    while (!run::atend(rd.file.reader)) {
        run::rstrings(rd.run, rd.file.reader, rd.lines[spare]);
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
int32_t columnat(const DataReader& rd, text::TextView w) {
    for (const text::WordList& l : rd.lines) {
        const char* start = l.line.data();
        if (w.c >= start && w.c < start + l.line.size()) return static_cast<int32_t>(w.c - start) + 1;
    }
    return 0;
}

// Stand at a word of the file, for a failure that names it.
void placeat(DataReader& rd, int32_t line, text::TextView w) { run::atword(rd.run, line, columnat(rd, w), w.len); }

// The data rows of an item ended before the current word.
void rowsended(DataReader& rd, const text::Word& name) {
    rd.rowsof = name;
    rd.rowsendline = rd.currentline;
    rd.rowsendcolumn = columnat(rd, rd.current);
}

// The word just read is the one that ended the last item's rows.
bool endedrows(const DataReader& rd) {
    return rd.rowsof.len > 0 && rd.previousline == rd.rowsendline && columnat(rd, rd.previous) == rd.rowsendcolumn;
}

void setcurrent(DataReader& rd) {
    rd.current = text::wholeword(rd.lines[rd.active], rd.index);
    rd.currentkind = text::wordkind(rd.lines[rd.active], rd.index);
    rd.currentline = rd.lineno[rd.active];
}

// Consume the current word: it becomes the previous word, and the next word
// of the file becomes current (empty at the end of the file).
void nextword(DataReader& rd) {
    rd.previous = rd.current;
    rd.previouskind = rd.currentkind;
    rd.previousline = rd.currentline;
    if (rd.previouskind == text::kindempty) endofinput(rd);
    if (rd.index < rd.lines[rd.active].count) {
        ++rd.index;
        setcurrent(rd);
    } else if (nextline(rd)) {
        setcurrent(rd);
    } else {
        rd.current = {"", 0};
        rd.currentkind = text::kindempty;
        rd.currentline = rd.file.reader.lineno;  // the input ended on its last line
    }
    // A failure names the line of the word just read; the readers that may
    // fail on the word itself name the word.
    run::atline(rd.run, rd.previousline);
}

// The count of values on a data row, for notes.
std::string rowsize(const DataReader& rd) {
    return "each data row has " + run::wholetext(rd.d.nvars) + " values (the header's first number)";
}

// Stand at the name of the item the reader is in: point, line or area k.
void atname(DataReader& rd, const std::vector<int32_t>& lines, const std::vector<int32_t>& columns, int16_t k,
            const text::Word& name) {
    run::atword(rd.run, lines[static_cast<size_t>(k)], columns[static_cast<size_t>(k)], name.len);
}

[[noreturn, gnu::cold]] void endofinput(DataReader& rd) {
    const text::WordList& last = rd.lines[rd.active];
    int32_t after = last.count > 0 ? last.edges[2 * static_cast<size_t>(last.count) - 1] + 1 : 0;
    run::atword(rd.run, rd.lineno[rd.active], after, 0);
    std::vector<std::string> notes;
    if (text::istext(text::viewof(rd.context), "point/line name"))
        notes.push_back("the points and lines end with a line holding '*'; the areas follow, ended by a second '*', "
                        "then the script");
    else if (istext(viewof(rd.context), "grayscale for area") || istext(viewof(rd.context), "points for area"))
        notes.push_back("the areas end with a line holding '*', even when there are none; the script follows it");
    else if (rd.context.len > 0 && contextphrase(rd.context).compare(0, 11, "a data row ") == 0)
        notes.push_back(rowsize(rd));
    run::explain(rd.run, "the file ends in the middle of " + contextphrase(rd.context), notes);
    text::Text what;
    text::settext(what, "unexpected end of input: ");
    text::addtext(what, rd.context);
    run::bombed(rd.run, "reading", what);
}

[[noreturn]] void failwith(DataReader& rd, const char* where, const char* what, const text::Word& tail) {
    text::Text t;
    text::settext(t, what);
    text::addtext(t, tail);
    run::bombed(rd.run, where, t);
}

[[noreturn]] void failwith(DataReader& rd, const char* where, const char* what, const text::Text& tail) {
    text::Text t;
    text::settext(t, what);
    text::addtext(t, tail);
    run::bombed(rd.run, where, t);
}

// An item beyond the capacity of its table.
[[noreturn, gnu::cold]] void toomany(DataReader& rd, const char* items, const char* where, const char* what) {
    run::explain(rd.run, std::string("the diagram has more ") + items + " than gridel holds");
    run::bombed(rd.run, where, what);
}

// The names taken for the item before are kept, the older ones dropped.
void nextitem(DataReader& rd) {
    rd.taken[0].swap(rd.taken[1]);
    rd.taken[1].clear();
}

}  // namespace datareading

}  // namespace gridel::diagram
