// listing.cpp - listitem: each item as one log line, built piece by piece in
// a line buffer so that an overlong listing gets its overflow mark where
// the first piece no longer fits.
#include "diagram/listing.h"

#include "diagram/model.h"
#include "run/channels.h"
#include "run/run.h"
#include "text/numfmt.h"

namespace gridel::diagram {

namespace {

void piece(text::LineBuffer& line, const char* s) { appendfield(s, 0, line, 255); }
void piece(text::LineBuffer& line, const text::Word& w) { appendfield(w, 0, line, 255); }

// Two blanks, the name, ") ", then each phase followed by a blank.
void heading(text::LineBuffer& line, const text::Word& name, const text::Word* phases, int16_t nphases) {
    clearline(line);
    piece(line, "  ");
    piece(line, name);
    piece(line, ") ");
    for (int i = 1; i <= nphases; ++i) {
        piece(line, phases[i]);
        piece(line, " ");
    }
}

void listpoint(text::LineBuffer& line, const InvariantPoint& p) {
    heading(line, p.name, p.phases, p.nphases);
    if (p.invariantword) {
        piece(line, "invariant");
    } else if (p.pointword) {
        piece(line, "point");
    } else if (p.zeromode1.len > 0) {
        piece(line, "(");
        piece(line, p.zeromode1);
        piece(line, " ");
        piece(line, p.zeromode2);
        piece(line, ")");
    }
    if (p.crossover) piece(line, " - crossover");
}

void listunivariant(text::LineBuffer& line, const UnivariantLine& l) {
    heading(line, l.name, l.phases, l.nphases);
    if (l.univariantword) {
        piece(line, "univariant");
    } else if (l.lineword) {
        piece(line, "line");
    } else if (l.zeromode.len > 0) {
        piece(line, "(");
        piece(line, l.zeromode);
        piece(line, ")");
    }
    if (l.connect) {
        piece(line, " - connect");
    } else {
        piece(line, " - ");
        appendint(0, line, 255, l.npts);
        piece(line, " data points");
    }
}

void listarea(run::Run& run, text::LineBuffer& line, const ShadedArea& a, int16_t k) {
    if (k == 1) putstr(run, 1, "areas", 1, run::setlog);  // a heading before the first area only
    clearline(line);
    piece(line, "  ");
    appendint(0, line, 255, k);
    piece(line, k < 10 ? ")  " : ") ");
    for (int i = 1; i <= a.nnames; ++i) {
        piece(line, a.linenames[i]);
        piece(line, " ");
    }
    if (a.edge != 0) {
        piece(line, areaedgeword(a.edge));
        piece(line, " ");
    }
}

// The edge words, by edge code 1..4.
const char* const edgewords[] = {"", "bottom", "left", "top", "right"};

}  // namespace

int16_t areaedgeof(text::TextView word) {
    for (int16_t e = areaedgebottom; e <= areaedgeright; ++e)
        if (istext(word, edgewords[e])) return e;
    return 0;
}

const char* areaedgeword(int16_t edge) {
    return edge >= areaedgebottom && edge <= areaedgeright ? edgewords[edge] : "";
}

std::string arealinetext(const ShadedArea& a, int16_t edge) {
    std::string out(a.grayword.c, static_cast<size_t>(a.grayword.len));
    int16_t n = a.written > maxareanames ? maxareanames : a.written;
    for (int16_t i = 1; i <= n; ++i) {
        out += ' ';
        out.append(a.linenames[i].c, static_cast<size_t>(a.linenames[i].len));
    }
    if (edge != 0) {
        out += ' ';
        out += areaedgeword(edge);
    }
    return out;
}

text::Word areaname(int16_t k) {
    text::Word name;
    text::settext(name, "area ");
    text::addtext(name, text::real2intstr(k));
    return name;
}

void listitem(run::Run& run, const Diagram& d, int16_t kind, int16_t k) {
    text::LineBuffer line;
    if (kind == itempoint)
        listpoint(line, d.points[k]);
    else if (kind == itemline)
        listunivariant(line, d.lines[k]);
    else if (kind == itemarea)
        listarea(run, line, d.areas[k], k);
    else
        return;
    putstr(run, 0, line, 1, run::setlog);
}

}  // namespace gridel::diagram
