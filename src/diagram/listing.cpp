// listing.cpp - listitem: each item as one log line, built piece by piece in
// `listline` so that an overlong listing gets its overflow mark where the
// first piece no longer fits.
#include "diagram/listing.h"

#include "diagram/model.h"
#include "run/channels.h"
#include "run/settings.h"

namespace {

void piece(const char* s) { appendfield(s, 0, listline, 255); }
void piece(const Word& w) { appendfield(w, 0, listline, 255); }

// Two blanks, the name, ") ", then each phase followed by a blank.
void heading(const Word& name, const Word* phases, int16_t nphases) {
    clearline(listline);
    piece("  ");
    piece(name);
    piece(") ");
    for (int i = 1; i <= nphases; ++i) {
        piece(phases[i]);
        piece(" ");
    }
}

void listpoint(const InvariantPoint& p) {
    heading(p.name, p.phases, p.nphases);
    if (p.invariantword) {
        piece("invariant");
    } else if (p.pointword) {
        piece("point");
    } else if (p.zeromode1.len > 0) {
        piece("(");
        piece(p.zeromode1);
        piece(" ");
        piece(p.zeromode2);
        piece(")");
    }
    if (p.crossover) piece(" - crossover");
}

void listunivariant(const UnivariantLine& l) {
    heading(l.name, l.phases, l.nphases);
    if (l.univariantword) {
        piece("univariant");
    } else if (l.lineword) {
        piece("line");
    } else if (l.zeromode.len > 0) {
        piece("(");
        piece(l.zeromode);
        piece(")");
    }
    if (l.connect) {
        piece(" - connect");
    } else {
        piece(" - ");
        appendint(0, listline, 255, l.npts);
        piece(" data points");
    }
}

void listarea(int16_t k) {
    if (k == 1) putstr(1, "areas", 1, setlog);  // a heading before the first area only
    const ShadedArea& a = areas[k];
    clearline(listline);
    piece("  ");
    appendint(0, listline, 255, k);
    piece(k < 10 ? ")  " : ") ");
    for (int i = 1; i <= a.nnames; ++i) {
        piece(a.linenames[i]);
        piece(" ");
    }
}

}  // namespace

void listitem(int16_t kind, int16_t k) {
    if (kind == itempoint)
        listpoint(points[k]);
    else if (kind == itemline)
        listunivariant(lines[k]);
    else if (kind == itemarea)
        listarea(k);
    else
        return;
    putstr(0, listline, 1, setlog);
}
