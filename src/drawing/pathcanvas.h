// pathcanvas.h - what the painted canvases (SVG, cairo) share: paths built
// in page points and drawn when stroked or filled, one current colour, and
// nothing for a written document's comments and empty lines.
#pragma once

#include <cstdint>
#include <string>

#include "drawing/canvas.h"
#include "drawing/fonts.h"
#include "drawing/pagepath.h"

namespace gridel::drawing {

class PathCanvas : public Canvas {
public:
    void comment(const char*) override {}
    void blank() override {}
    void font(int16_t size) override { fontsize = size; }
    void linecolour(const Colour* given) override {
        if (given == nullptr)
            colour(0, 0, 0);
        else
            colour(given->red, given->green, given->blue);
    }
    void areacolour(const Colour& c, int16_t) override { colour(c.red, c.green, c.blue); }
    void black() override { colour(0, 0, 0); }
    void moveto(const PathPoint& p) override { path.moveto(p.px, p.py); }
    void lineto(const PathPoint& p) override { path.lineto(p.px, p.py); }
    void circle(long double px, long double py, long double r) override { path.circle(px, py, r); }

protected:
    // The colour of what is stroked, filled or written next, each
    // component on a 0..1 scale (values outside are clamped).
    virtual void colour(long double red, long double green, long double blue) = 0;

    // A plain text as the painted formats show it: at its point (titles
    // and info lines at whole points, as the EPS places them), the bytes
    // the EPS shows as drawabletext gives them, in the current font size.
    struct PlainText {
        long double x;
        long double y;
        std::string utf8;
        TextAnchor anchor;
        TextStyle style;
    };
    PlainText plaintext(long double px, long double py, text::TextView text, TextRole role) const;

    int16_t fontsize = 0;  // the size of the plain texts, in points
    PagePath path;         // the path being built
};

}  // namespace gridel::drawing
