// epscanvas.cpp - each canvas call as lines of PostScript.
#include "drawing/epscanvas.h"

#include <cerrno>
#include <cstring>
#include <initializer_list>

#include "drawing/epstext.h"
#include "text/numfmt.h"
#include "text/utf8.h"

namespace gridel::drawing {

namespace {

constexpr unsigned char markbyte = 0xA4;
const char markescape[] = "\\244";

// A string longer than this would not leave room on its line for the
// parentheses and the " show" after it.
constexpr int16_t captionlimit = 250 - 7;

// The number formatting writes "?" for a magnitude beyond 1e20, which no
// PostScript interpreter reads as a number.  A page coordinate that far out
// (a line point kept far outside the window, or an overflow) is written as
// 1e20 with its sign instead: just as far off the page for every purpose.
long double writablepage(long double p) {
    if (p >= -1e20L && p <= 1e20L) return p;
    return p < 0 ? -1e20L : 1e20L;
}

// writablepage for a value in memory: the value itself when it is in
// range, else its bound in `spare`.
const long double& writablepage(const long double& p, long double& spare) {
    if (p >= -1e20L && p <= 1e20L) return p;
    spare = writablepage(p);
    return spare;
}

void appendpagepoint(text::LineBuffer& line, long double px, long double py) {
    appendreal(2, true, 0, line, 255, writablepage(px));
    appendfield(" ", 0, line, 255);
    appendreal(2, true, 0, line, 255, writablepage(py));
}

// A PostScript comment ends at a line end or a form feed, and what follows
// it on the line is run as PostScript; such a byte in a name is written as
// a blank so that the whole name stays inside the comment.
text::Word commentname(const text::Word& name) {
    text::Word safe = name;
    for (int i = 0; i < safe.len; ++i)
        if (safe.c[i] == '\n' || safe.c[i] == '\r' || safe.c[i] == '\f') safe.c[i] = ' ';
    return safe;
}

void fontline(text::LineBuffer& line, int16_t width, int16_t size) {
    clearline(line);
    appendfield("/Helvetica findfont ", 0, line, 255);
    appendint(width, line, 255, size);
    appendfield(" scalefont setfont", 0, line, 255);
}

}  // namespace

namespace {

// psstring, also telling how many bytes of `text` went into the string.
text::Text psstringcut(const char* text, int32_t len, int16_t limit, int32_t& taken) {
    text::Text out;
    out.len = 0;
    if (limit > 255) limit = 255;
    taken = 0;
    for (int32_t i = 0; i < len; ++i) {
        char ch = text[i];
        char unit[4];
        int n = 0;
        if (static_cast<unsigned char>(ch) == markbyte) {
            for (n = 0; n < 4; ++n) unit[n] = markescape[n];
        } else if (ch == '(' || ch == ')' || ch == '\\') {
            unit[n++] = '\\';
            unit[n++] = ch;
        } else {
            unit[n++] = ch;
        }
        if (out.len + n > limit) break;
        text::addtext(out, unit, n);
        taken = i + 1;
    }
    return out;
}

}  // namespace

text::Text psstring(const char* text, int32_t len, int16_t limit) {
    int32_t taken;
    return psstringcut(text, len, limit, taken);
}

int32_t shownlength(text::TextView text, TextRole role) {
    if (text.len <= 0) return 0;
    if (role == TextRole::heading) return text.len > 255 ? 255 : text.len;
    int32_t taken;
    psstringcut(text.c, text.len, role == TextRole::caption ? captionlimit : 255, taken);
    return taken;
}

namespace {

// The longest line of a styled text's string, in characters.
constexpr size_t stringline = 200;

// The procedures of styled texts, defined before the first is drawn: the
// three faces re-encoded as Latin-1, and `styledshow`, which takes a
// string, the fraction of its width to move back (0 start, 0.5 centre, 1
// end) and the width of its halo, and shows it, over a white band round
// its outlines when the halo is wider than 0.
const char* const styleprocedures[] = {
    "% styled texts: Latin-1 faces and styledshow",
    "/latin1font {findfont dup length dict begin {1 index /FID ne {def} {pop pop} ifelse} forall",
    "   /Encoding ISOLatin1Encoding def currentdict end definefont pop} def",
    "/Helvetica-Latin1 /Helvetica latin1font",
    "/Helvetica-Bold-Latin1 /Helvetica-Bold latin1font",
    "/Helvetica-Oblique-Latin1 /Helvetica-Oblique latin1font",
    "/styledshow {3 1 roll 1 index stringwidth pop mul neg 0 rmoveto exch",
    "   dup 0 gt {gsave 1 setgray setlinewidth 1 setlinejoin dup false charpath stroke grestore} {pop} ifelse",
    "   show} def",
};

const char* facefont(geometry::TextFace face) {
    switch (face) {
        case geometry::TextFace::bold: return "/Helvetica-Bold-Latin1";
        case geometry::TextFace::italic: return "/Helvetica-Oblique-Latin1";
        default: return "/Helvetica-Latin1";
    }
}

void appendnumber(text::LineBuffer& line, long double v) { appendreal(2, true, 0, line, 255, writablepage(v)); }

}  // namespace

std::vector<std::string> latin1string(text::TextView text) {
    std::vector<std::string> lines(1, "(");
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text.c);
    for (int32_t i = 0; i < text.len;) {
        int n = text::utf8sequence(s + i, text.len - i);
        int32_t code = n > 0 ? text::utf8code(s + i, n) : s[i];
        i += n > 0 ? n : 1;
        if (code > 0xFF) code = '?';
        char unit[5];
        if (code == '(' || code == ')' || code == '\\') {
            unit[0] = '\\';
            unit[1] = static_cast<char>(code);
            unit[2] = '\0';
        } else if (code < 0x20 || code >= 0x7F) {
            unit[0] = '\\';
            unit[1] = static_cast<char>('0' + (code >> 6));
            unit[2] = static_cast<char>('0' + ((code >> 3) & 7));
            unit[3] = static_cast<char>('0' + (code & 7));
            unit[4] = '\0';
        } else {
            unit[0] = static_cast<char>(code);
            unit[1] = '\0';
        }
        if (lines.back().size() >= stringline) {
            lines.back() += '\\';
            lines.emplace_back();
        }
        lines.back() += unit;
    }
    lines.back() += ')';
    return lines;
}

void EpsCanvas::styledtext(long double px, long double py, text::TextView text, TextRole role, const TextLook& look) {
    if (!styles) {
        for (const char* l : styleprocedures) writeliteral(l);
        styles = true;
    }
    if (epsmarked(text, look)) {
        if (!markedfonts) writeliteral(epsmarkedfonts);
        markedfonts = true;
        if (!setter) setter = std::make_unique<TextSetter>();
        for (const std::string& l : epsmarkedtext(px, py, text, role, look, *setter))
            put(l.data(), l.size());
        return;
    }
    writeliteral("gsave");
    text::setline(line, facefont(look.face));
    text::appendfield(" findfont ", 0, line, 255);
    appendnumber(line, look.size);
    appendfield(" scalefont setfont", 0, line, 255);
    writeline();
    text::clearline(line);
    appendpagepoint(line, px, py);
    appendfield(look.turned ? " translate 90 rotate 0 0 moveto" : " moveto", 0, line, 255);
    writeline();
    std::vector<std::string> lines = latin1string(text);
    for (size_t i = 0; i + 1 < lines.size(); ++i) put(lines[i].data(), lines[i].size());
    setline(line, lines.back().c_str());
    appendfield(role == TextRole::centred ? " 0.5 " : role == TextRole::right ? " 1 " : " 0 ", 0, line, 255);
    appendnumber(line, look.halo);
    appendfield(" styledshow", 0, line, 255);
    writeline();
    writeliteral("grestore");
}

void EpsCanvas::put(const char* text, size_t n) {
    if (error != 0) return;
    errno = 0;
    if (!sink.line(text, n)) error = errno != 0 ? errno : EIO;
}

bool EpsCanvas::finish(int& failure) const {
    failure = error;
    return error == 0;
}

void EpsCanvas::writeline() { put(line.text.c, static_cast<size_t>(line.text.len)); }

void EpsCanvas::writeliteral(const char* text) { put(text, std::strlen(text)); }

void EpsCanvas::begin(const PageHeader& header) {
    writeliteral("%!PS-Adobe-3.0 EPSF-3.0");
    text::setline(line, "%%BoundingBox: ");
    text::appendint(0, line, 255, header.boxleft);
    text::appendfield(" ", 0, line, 255);
    appendint(0, line, 255, header.boxbottom);
    appendfield(" ", 0, line, 255);
    appendint(0, line, 255, header.boxright);
    appendfield(" ", 0, line, 255);
    appendint(0, line, 255, header.boxtop);
    writeline();
    writeliteral("%%Title:  output");
    setline(line, "%%Creator: ");
    appendfield(header.creator, 0, line, 255);
    writeline();
    setline(line, "%%CreationDate: ");
    appendfield(header.created, 0, line, 255);
    writeline();
    writeliteral("%%EndComments");
    fontline(line, 2, header.fontsize);
    writeline();
    blank();
    // centreshow: x y (text) centred on x; rightshow: ending at x.
    blank();
    writeliteral("/centreshow {dup stringwidth  pop 2 div");
    writeliteral("   4 -1 roll exch sub   3 -1 roll moveto  show} def");
    blank();
    blank();
    writeliteral("/rightshow {dup stringwidth  pop");
    writeliteral("   4 -1 roll exch sub   3 -1 roll moveto  show} def");
    blank();
}

void EpsCanvas::end() {}

void EpsCanvas::comment(const char* text) {
    text::setline(line, "% ");
    text::appendfield(text, 0, line, 255);
    writeline();
}

void EpsCanvas::blank() { put("", 0); }

void EpsCanvas::font(int16_t size) {
    fontline(line, 0, size);
    writeline();
}

void EpsCanvas::linewidth(long double width) {
    // A whole number of points is written without decimals.
    text::clearline(line);
    if (width == static_cast<long double>(text::roundint(width)))
        text::appendint(0, line, 255, width);
    else
        text::appendreal(2, true, 0, line, 255, width);
    text::appendfield(" setlinewidth", 0, line, 255);
    writeline();
}

void EpsCanvas::dash(bool dashed) { writeliteral(dashed ? "[3]  0  setdash" : "[]  0 setdash"); }

void EpsCanvas::linecolour(const Colour* given) {
    text::clearline(line);
    if (given != nullptr) {
        // Each component right-aligned in six characters, written as a blank
        // and a field of five: the same for every text of up to five
        // characters, and a wider one (a component far out of range) keeps
        // the blank before it instead of running into its neighbour.
        for (long double v : {given->red, given->green, given->blue}) {
            text::appendfield(" ", 0, line, 255);
            text::appendreal(2, true, 5, line, 255, v);
        }
    } else {
        text::appendfield("0  0  0 ", 0, line, 255);
    }
    text::appendfield(" setrgbcolor", 0, line, 255);
    writeline();
}

void EpsCanvas::areacolour(const Colour& colour, int16_t area) {
    text::clearline(line);
    text::appendreal(2, true, 0, line, 255, colour.red);
    text::appendfield(" ", 0, line, 255);
    appendreal(2, true, 0, line, 255, colour.green);
    appendfield(" ", 0, line, 255);
    appendreal(2, true, 0, line, 255, colour.blue);
    appendfield(" setrgbcolor", 0, line, 255);
    appendfield("  % for area ", 0, line, 255);
    text::appendint(0, line, 255, area);
    writeline();
}

void EpsCanvas::black() { writeliteral("0 setgray"); }

void EpsCanvas::pathpoint(const char* op, const PathPoint& p) {
    // The most frequent line of a drawing, written straight into place: at
    // most four numbers of 20 characters, the fixed texts and a name of 20
    // stay far below the 250 characters where a line buffer would close, so
    // the bytes are those the line buffer would hold.
    char text[160];
    long double spare;
    int n = text::writefixed(text, writablepage(p.px, spare), 2);
    text[n++] = ' ';
    n += text::writefixed(text + n, writablepage(p.py, spare), 2);
    auto add = [&](const char* s, size_t len) {
        std::memcpy(text + n, s, len);
        n += static_cast<int>(len);
    };
    add(op, std::strlen(op));
    add("  %  {", 6);
    n += text::writefixed(text + n, p.x, 3);
    text[n++] = ',';
    n += text::writefixed(text + n, p.y, 3);
    add("}  ", 3);
    text::Word name = commentname(p.name);
    add(name.c, static_cast<size_t>(name.len));
    put(text, static_cast<size_t>(n));
}

void EpsCanvas::moveto(const PathPoint& p) { pathpoint(" moveto", p); }

void EpsCanvas::lineto(const PathPoint& p) { pathpoint(" lineto", p); }

void EpsCanvas::circle(long double px, long double py, long double r) {
    // The path starts on the circle at angle 0, so the arc needs no
    // joining segment.
    text::clearline(line);
    appendpagepoint(line, px + r, py);
    text::appendfield(" moveto", 0, line, 255);
    writeline();
    clearline(line);
    appendpagepoint(line, px, py);
    appendfield(" ", 0, line, 255);
    text::appendreal(2, true, 0, line, 255, r);
    appendfield(" 0 360 arc", 0, line, 255);
    writeline();
    writeliteral("closepath");
}

void EpsCanvas::stroke() { writeliteral("stroke"); }

void EpsCanvas::fill() { writeliteral("fill"); }

void EpsCanvas::text(long double px, long double py, text::TextView text, TextRole role) {
    text::clearline(line);
    if (role == TextRole::heading || role == TextRole::caption) {
        text::appendint(-4, line, 255, px);
        appendint(-4, line, 255, py);
        text::appendfield(" moveto", 0, line, 255);
        writeline();
        clearline(line);
        appendfield("(", 0, line, 255);
        if (role == TextRole::heading)  // the program's own text, its parentheses balanced
            appendfield(text.c, text.len > 255 ? 255 : static_cast<int>(text.len), 0, line, 255);
        else
            appendfield(psstring(text.c, text.len, captionlimit), 0, line, 255);
        appendfield(") show", 0, line, 255);
    } else {
        appendpagepoint(line, px, py);
        text::appendfield(" (", 0, line, 255);
        appendfield(psstring(text.c, text.len, 255), 0, line, 255);
        appendfield(role == TextRole::centred ? ") centreshow" : ") rightshow", 0, line, 255);
    }
    writeline();
}

}  // namespace gridel::drawing
