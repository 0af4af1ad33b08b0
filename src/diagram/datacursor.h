// datacursor.h - the data section's look-ahead cursor: the reader's state
// while it reads the data section (the word to be read next, the word just
// read, the two text lines they stand on, what is being read), and the
// steps that move it on word by word and stand at a word for a message.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "diagram/model.h"
#include "diagram/readscript.h"
#include "run/run.h"
#include "text/fixedtext.h"
#include "text/tokens.h"

namespace gridel::diagram {

namespace datareading {

// A name the reader took, and where it stands: the names of the last two
// items are kept, to look for a slipped keyword among them when one of
// them fails.
struct TakenName {
    text::Word name;
    int32_t line;
    int32_t column;
};

// Names as kept, each with the name as written when it was cut.
using NameSet = std::unordered_map<std::string, std::string>;

// The reader's own state for one reading.
struct DataReader {
    DataReader(run::Run& r, Diagram& diagram, DataFile& f) : run(r), d(diagram), file(f) {}
    run::Run& run;                  // the run: its transcript and its failure path
    Diagram& d;                // the diagram being filled
    DataFile& file;            // the data file being read
    // The text line of the current word and the line before it, by turns:
    // the word just consumed may lie on the line before the lookahead's, and
    // stays readable until the lookahead moves on to a later line.
    text::WordList lines[2] = {};
    int active = 0;                  // which of the two holds the current word
    int32_t lineno[2] = {0, 0};      // line number of each in the file
    int32_t index = 0;               // position of the current word in its line
    text::TextView current = {"", 0};      // the lookahead: the word to be read next, whole
    text::WordKind currentkind = text::kindempty;  // its kind
    int32_t currentline = 0;         // the line it stands on
    text::TextView previous = {"", 0};     // the word just consumed, whole
    text::WordKind previouskind = text::kindempty;  // its kind
    int32_t previousline = 0;        // the line it stood on
    text::Text context = {0, {}};          // what is being read, quoted by failure messages
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
    text::Word rowsof = {0, {}};           // the item whose data rows ended last
    int32_t rowsendline = 0;         // the word that ended them: its line
    int32_t rowsendcolumn = 0;       // and its column
};

// What is being read, for the failure messages: a fixed text, or one
// followed by an item's name.
void setcontext(DataReader& rd, const char* s);
void setcontext(DataReader& rd, const char* s, const text::Word& name);

// The look-ahead word is `word`; it is a name (not a number).
bool currentis(DataReader& rd, const char* word);
bool currentisname(DataReader& rd);

// The next text line with at least one word becomes the source of words;
// false at the end of the file.
bool nextline(DataReader& rd);

// The column of word i of the active line; of a word of either line held
// (0 for none).
int32_t columnof(const DataReader& rd, int32_t i);
int32_t columnat(const DataReader& rd, text::TextView w);

// Stand at a word of the file, for a failure that names it.
void placeat(DataReader& rd, int32_t line, text::TextView w);

// Stand at the name of point, line or area k.
void atname(DataReader& rd, const std::vector<int32_t>& lines, const std::vector<int32_t>& columns, int16_t k,
            const text::Word& name);

// The data rows of an item ended before the look-ahead word; the word just
// read is the one that ended them.
void rowsended(DataReader& rd, const text::Word& name);
bool endedrows(const DataReader& rd);

// The word at the cursor's index becomes the look-ahead.
void setcurrent(DataReader& rd);

// Consume the look-ahead word; at the end of the file, the run ends.
void nextword(DataReader& rd);

// The names taken for the item before are kept, the older ones dropped.
void nextitem(DataReader& rd);

// The count of values on a data row, for notes.
std::string rowsize(const DataReader& rd);

// The file ended in the middle of an item: explained, and the run ends.
[[noreturn, gnu::cold]] void endofinput(DataReader& rd);

// The failure report WHAT followed by a name or a context.
[[noreturn]] void failwith(DataReader& rd, const char* where, const char* what, const text::Word& tail);
[[noreturn]] void failwith(DataReader& rd, const char* where, const char* what, const text::Text& tail);

// An item beyond the capacity of its table.
[[noreturn, gnu::cold]] void toomany(DataReader& rd, const char* items, const char* where, const char* what);

}  // namespace datareading

}  // namespace gridel::diagram
