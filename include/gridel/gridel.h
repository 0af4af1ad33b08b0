// gridel.h - gridel as a library: draw a phase diagram given as text and
// get back its drawings, its transcript and its problems as one value.
//
// A drawing made here is the drawing the program makes of the same file,
// byte for byte, but it never touches the disk: it reads no file but the
// fonts, writes none, takes no lock, reads no keyboard, installs no signal
// handler and never ends the process.  It keeps no state between calls,
// so any number of threads may draw at once, each its own diagram.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gridel {

// Exit statuses, as the program's.
constexpr int statusnormal = 0;   // drawn (or stopped by "kill" in the file)
constexpr int statusfailed = 1;   // the file is wrong: see the diagnostics
constexpr int statusioerror = 2;  // an output could not be made

// A problem with the diagram, as the program reports it on standard error
// ("PATH:LINE:COLUMN: error: MESSAGE", then "note: NOTE" lines).
struct Diagnostic {
    std::string path;     // the file as the report names it; empty for none
    int line = 0;         // 1 for the first; 0 for the file as a whole
    int column = 0;       // the byte of the line where the word at fault begins; 0 for none
    std::string severity; // "error" (the run ended) or "warning"
    std::string message;  // the text after "error: " or "warning: "
    std::vector<std::string> notes;  // hints that go with it

    // The report's first line: "PATH:LINE:COLUMN: error: MESSAGE".
    std::string headline() const;
};

// What to draw and how.
struct DrawOptions {
    // The data file's name ("gl-basic.txt", may hold a folder): the
    // messages name it, the drawings take it as their title and the
    // outputs their stem ("gl-basic").  Empty: the classic run, whose data
    // file the preferences name (see `preferences`).
    std::string name = "gl-diagram.txt";
    // The preferences file's text (gl-prefs.txt beside the data file);
    // empty for none, when the defaults hold.
    std::string preferences;
    // Drawings besides the EPS, which is always made: "pdf", "svg", "png".
    std::vector<std::string> formats;
    int dpi = 150;      // PNG resolution, 10 to 600 pixels per inch
    bool crop = false;  // cut every drawing to the drawn content
    // Script lines read after the data file's own script, as the command
    // line's -e lines are ("-e:N" in messages), one a line.
    std::vector<std::string> style;
};

// One drawing: its format ("eps", "pdf", "svg", "png") and its bytes.
struct Output {
    std::string format;
    std::string name;   // the file the program would write it to ("gl-basic.svg")
    std::string bytes;
};

// Everything a run made.
struct Drawing {
    int status = statusnormal;       // the program's exit status
    std::vector<Output> outputs;     // the drawings, in the order the program writes them; none when it failed
    std::string logname;             // the log's file name ("gl-basic.log")
    std::string log;                 // the log's text
    std::string screen;              // what the program writes on standard output
    std::string errors;              // what it writes on standard error
    std::vector<Diagnostic> diagnostics;  // errors and warnings, in the order found

    // The bytes of the drawing in `format`; null when none was made.
    const std::string* output(std::string_view format) const;
};

// Draw the diagram of the data file whose text is `text`.  An unknown
// format or a resolution out of range throws std::invalid_argument;
// anything wrong with the text comes back as a status and diagnostics.
Drawing draw(const std::string& text, const DrawOptions& options = {});

// The formats a drawing can be made in, in the program's order.
std::vector<std::string> formats();

// The program's banner ("gridel 1.18").
std::string version();

}  // namespace gridel
