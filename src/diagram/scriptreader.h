// scriptreader.h - what the readers of the script's keywords share: the
// reader's state, a keyword line as the reader hands it on, the row of a
// keyword table ({name, arguments, handler}) and the checks and warnings
// every keyword's reader uses.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "diagram/model.h"
#include "diagram/readscript.h"
#include "run/prefs.h"
#include "run/run.h"
#include "text/fixedtext.h"
#include "text/tokens.h"

namespace gridel::diagram {

namespace scriptreading {

// The script reader's state while it reads.
struct ScriptReader {
    run::Run& run;              // the run: its transcript and its failure path
    Diagram& d;            // the diagram whose settings it fills
    const DataFile& file;  // the data file it reads
    text::WordList words;        // the words of the current line
    bool windowgiven;      // a "window" line was read
    bool bigticksgiven;    // a "bigticks" line was read
    bool titlegiven;       // a "title" line was read ("style paper" leaves it as it is)
    bool labelsgiven;      // a "labels" line was read
    std::vector<std::string> slips;  // notes on unknown keywords that are slips of "window" or "bigticks"
    bool windowfailed = false;       // a "window" line stood in the script but could not be read (a check)
    bool bigticksfailed = false;     // the same for "bigticks"
};

// What may follow a keyword's answer word.
enum class Takes : uint8_t {
    nothing,     // no word
    numbers,     // `least` to `most` numbers
    text,        // any words: the rest of the line
    word,        // one of `words` (none when `least` is 0)
    numbertext,  // a whole number, then at least one word
    words,       // `least` to `most` of `words`, in any order
};

// A keyword's arguments: as the reference writes them, and their shape.
struct Arguments {
    const char* shown;
    Takes takes;
    int8_t least;
    int8_t most;
    const char* words;  // for Takes::word and Takes::words: the words it takes, '|' between them
};

// A keyword line as its reader gets it: the keyword, the answer, the last
// word the keyword and its answer take, and the first word after it that
// does not fit the keyword's arguments (the line's word count plus one when
// words are missing; 0 when all fit).
struct KeywordLine {
    const Arguments& arguments;  // what the keyword takes
    text::Word key;
    run::YesAskNo answer;
    int32_t last;
    int32_t misfit;
};

using KeywordReader = void (*)(ScriptReader&, const KeywordLine&);

// One row of a keyword table.
struct ScriptKeyword {
    const char* name;
    Arguments arguments;
    KeywordReader read;
};

// The keywords of a figure for print, in the order the reference lists them.
std::span<const ScriptKeyword> figurekeywordtable();

// Once the script is read: what "style paper" gives where nothing was
// given, and the names of the areas.
void finishfigure(ScriptReader& sr);

// The first word after `last` that does not fit `arguments`, as KeywordLine
// counts it.
int32_t firstmisfit(const text::WordList& words, int32_t last, const Arguments& arguments);

// Under --check, what an answer "ask" does to a keyword's setting.
void warnask(ScriptReader& sr, const text::Word& key, run::YesAskNo answer, const char* becomes);

// Under --check, a line that is ignored, and why.
void ignored(ScriptReader& sr, const std::string& why);

// A warning for a line whose words after its arguments are not read.
void warnextra(ScriptReader& sr, const KeywordLine& line);

// The words of the line from word `first` to its last word, as written
// (the blanks between them kept); empty when the line has no such word.
// A text that does not fit `room` bytes once written as a PostScript
// string (where "(", ")" and "\\" take two bytes and the byte 0xA4 four,
// as the EPS writes them) is cut between characters, with a warning that
// names it as `what`: every drawing then shows it as the EPS does.
text::Text textfrom(ScriptReader& sr, int32_t first, const char* what, int32_t room);

// The room of a title, which the EPS writes on a line with its "show",
// and of the other texts (axis titles, field names).
constexpr int32_t titleroom = 250 - 7;
constexpr int32_t textroom = 255;

// A bound as a message writes it: with the decimals it needs.
std::string numbertext(long double v);

extern const text::Word noitem;

}  // namespace scriptreading

}  // namespace gridel::diagram
