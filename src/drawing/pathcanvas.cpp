// pathcanvas.cpp - plaintext: where and what a plain text shows.
#include "drawing/pathcanvas.h"

#include "drawing/epscanvas.h"
#include "text/numfmt.h"
#include "text/utf8.h"

PathCanvas::PlainText PathCanvas::plaintext(long double px, long double py, TextView text, TextRole role) const {
    PlainText t{pagecoord(px), pagecoord(py), drawabletext(text.c, shownlength(text, role)), anchorof(role),
                TextStyle{static_cast<long double>(fontsize)}};
    if (role == TextRole::heading || role == TextRole::caption) {
        t.x = roundint(t.x);
        t.y = roundint(t.y);
    }
    return t;
}
