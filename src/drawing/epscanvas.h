// epscanvas.h - the canvas written out as Encapsulated PostScript.
//
// Every call becomes one line of the drawing file (a circle three), in the
// program's fixed number forms: page coordinates with two decimals, data
// coordinates with three in a comment after each path point.  Texts go
// into PostScript strings with "(", ")" and "\" escaped; labels are shown
// by the two procedures the document defines at its start, `centreshow`
// and `rightshow`.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "drawing/canvas.h"
#include "drawing/fonts.h"
#include "run/bytesink.h"
#include "text/linebuffer.h"

namespace gridel::drawing {

class EpsCanvas final : public Canvas {
public:
    // Every line goes to `sink`, whole, as it is made.  After the first
    // line the sink could not take, nothing more is written.
    explicit EpsCanvas(run::ByteSink& sink) : sink(sink) {}

    // False, with errno of the first failed write in `error`, when some
    // lines could not be written.
    bool finish(int& error) const;

    void begin(const PageHeader& header) override;
    void end() override;
    void comment(const char* text) override;
    void blank() override;
    void font(int16_t size) override;
    void linewidth(long double width) override;
    void dash(bool dashed) override;
    void linecolour(const Colour* given) override;
    void areacolour(const Colour& colour, int16_t area) override;
    void black() override;
    void moveto(const PathPoint& p) override;
    void lineto(const PathPoint& p) override;
    void circle(long double px, long double py, long double r) override;
    void stroke() override;
    void fill() override;
    void text(long double px, long double py, text::TextView text, TextRole role) override;
    void styledtext(long double px, long double py, text::TextView text, TextRole role, const TextLook& look) override;
    // The document keeps no items: nothing is written for them.
    void begingroup(const GroupInfo&) override {}
    void endgroup() override {}

private:
    void writeline();                                   // `line`, then a line end
    void writeliteral(const char* text);                 // a fixed line
    void put(const char* text, size_t n);                // any line
    void pathpoint(const char* op, const PathPoint& p);  // one moveto or lineto line

    run::ByteSink& sink;   // where the lines go
    int error = 0;    // errno of the first failed write; 0 while all went well
    text::LineBuffer line;  // the line being assembled
    bool styles = false;  // the procedures of styled texts are defined
    bool markedfonts = false;  // so is the last face of texts in pieces (epstext.h)
    std::unique_ptr<TextSetter> setter;  // sets texts in pieces; made for the first
};

// The contents of a PostScript string holding `len` bytes of `text`: "(",
// ")" and "\" get a backslash in front, and the byte 0xA4 is written as the
// octal escape \244 (the same character), as the drawing has always
// written it.  The result holds at most `limit` characters (at most 255)
// and is cut between whole escapes, never inside one.
text::Text psstring(const char* text, int32_t len, int16_t limit);

// A UTF-8 text as the lines of a PostScript string in the Latin-1 fonts of
// styled texts: "(" and the contents of the string, then ")" after the last
// line; each line but the last ends with a backslash (the string goes on
// on the next line).  A character beyond Latin-1 is written "?"; a byte
// that is not part of a valid UTF-8 sequence stands for the Latin-1
// character of its code.
std::vector<std::string> latin1string(text::TextView text);

// How many leading bytes of `text` the drawing shows for a text in `role`:
// a string is cut where it would no longer fit on its line.  Other
// renderings of the same drawing show the same bytes.
int32_t shownlength(text::TextView text, TextRole role);

}  // namespace gridel::drawing
