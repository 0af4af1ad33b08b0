// cairocanvas.h - the canvas painted with cairo, and the pages it makes:
// the drawing as PDF, SVG or PNG.
//
// The canvas paints what a PostScript interpreter paints for the EPS of
// the same calls: page points with y upwards, PostScript's default line
// caps, joins and miter limit, the 3-on 3-off dash, colours clamped to
// 0..1, non-zero fills, Helvetica (whatever face fontconfig gives for that
// name, a metric-compatible one where the standard fonts are installed)
// with labels centred or ended by the face's real advance widths, and of
// each text the bytes the EPS shows.  Texts are UTF-8; a byte that is not
// part of a valid UTF-8 sequence stands for the Latin-1 character of its
// code.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "drawing/canvas.h"

enum class PageFormat { pdf, svg, png };

// A part of the page, in points, y upwards.
struct PageBox {
    long double left;
    long double bottom;
    long double right;
    long double top;
};

class CairoCanvas final : public Canvas {
public:
    // Paint on `cr`, the page box `box` covering its surface from the top
    // left corner, `scale` device units to a point.  The box given to
    // begin() is the EPS's business: the page is the one given here.
    CairoCanvas(cairo_t* cr, const PageBox& box, double scale);

    // Paint nothing: only gather the extents of the ink every stroke, fill
    // and text would put inside `within`.
    void measure(const PageBox& within);
    // The extents gathered while measuring; false when there is no ink.
    bool ink(PageBox& box) const;

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
    void text(long double px, long double py, TextView text, TextRole role) override;
    void styledtext(long double px, long double py, TextView text, TextRole role, const TextStyle& style) override;

    // A point in page points.
    struct Point {
        long double x;
        long double y;
    };

private:
    // One subpath as PostScript builds it: points joined by straight
    // segments, or a whole circle.
    struct Subpath {
        std::vector<Point> points;  // a circle: its start, at angle 0
        bool closed = false;
        bool circle = false;
        Point centre = {0, 0};
        long double radius = 0;
    };

    void colour(long double red, long double green, long double blue);
    void addpoint(long double px, long double py, bool start);
    bool safe(const Point& p) const;
    bool circlesafe(const Subpath& s) const;
    void addcircle(const Subpath& s);
    // The points of a subpath to paint as a polygon, and whether all lie
    // within the device's reach; false when there is none to paint (a
    // circle of radius 0, or one added to the path as an arc).
    bool polygonof(const Subpath& s, std::vector<Point>& points, bool& inside);
    void paint(bool filling);
    void addink(double x1, double y1, double x2, double y2);

    cairo_t* cr;
    // The part of the page whose device coordinates cairo holds with room
    // to spare; paths are cut to it, far outside every page.
    Point safelow;
    Point safehigh;
    int16_t fontsize = 0;
    bool dashed = false;
    std::vector<Subpath> path;  // the path being built

    bool measuring = false;
    PageBox within = {0, 0, 0, 0};
    bool inked = false;
    PageBox extent = {0, 0, 0, 0};  // of the ink found
};

// The text cairo is given for `len` bytes of a text: each valid UTF-8
// sequence as it is, any other byte as the Latin-1 character of its code
// (NUL bytes, which cairo cannot take, are left out).
std::string utf8text(const char* text, int32_t len);

// Make the font of a face at a size in points the one cairo sets texts in,
// its y axis pointing up the page.
void selectface(cairo_t* cr, TextFace face, long double size);

// Paint the page `box` with `draw` in the format `format` (a PNG at `dpi`
// pixels per inch, antialiased, on white) and hand its bytes to `write`,
// which says false when it could not write them (errno set).  A PDF or SVG
// page is exactly the box in points; a PNG is ceil(width * dpi / 72) by
// ceil(height * dpi / 72) pixels with the box at its top left corner.
// False, with the reason, when the page could not be made or written.
bool renderpage(PageFormat format, const PageBox& box, int dpi,
                const std::function<bool(const unsigned char*, size_t)>& write,
                const std::function<void(Canvas&)>& draw, std::string& reason);

// The extents of the ink `draw` puts on the EPS's page box, or within
// `within` (ink outside counts for nothing): false when it puts none there.
bool inkbox(const std::function<void(Canvas&)>& draw, PageBox& box);
bool inkbox(const std::function<void(Canvas&)>& draw, const PageBox& within, PageBox& box);
