// pathcanvas.cpp - plaintext: where and what a plain text shows.
#include "drawing/pathcanvas.h"

#include "drawing/epscanvas.h"
#include "text/numfmt.h"
#include "text/utf8.h"

namespace gridel::drawing {

PathCanvas::PlainText PathCanvas::plaintext(long double px, long double py, text::TextView text, TextRole role) const {
    PlainText t{pagecoord(px), pagecoord(py), text::drawabletext(text.c, shownlength(text, role)), anchorof(role),
                TextStyle{static_cast<long double>(fontsize)}};
    if (role == TextRole::heading || role == TextRole::caption) {
        t.x = text::roundint(t.x);
        t.y = text::roundint(t.y);
    }
    return t;
}

}  // namespace gridel::drawing
