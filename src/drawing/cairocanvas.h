// cairocanvas.h - the canvas painted with cairo: the drawing as PDF or
// PNG, and the extents of its ink.
//
// The canvas paints what a PostScript interpreter paints for the EPS of
// the same calls: page points with y upwards, PostScript's default line
// caps, joins and miter limit, the 3-on 3-off dash, colours clamped to
// 0..1, non-zero fills, texts set as fonts.h says, with labels centred or
// ended by their real advance widths, and of each text the bytes the EPS
// shows, as drawabletext takes them.
#pragma once

#include <cairo.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drawing/canvas.h"
#include "drawing/fonts.h"
#include "drawing/pagepath.h"
#include "drawing/pathcanvas.h"

namespace gridel::drawing {

// cairo's contexts and surfaces, given back however the drawing ends: a
// failure thrown from inside a drawing (fonts that cannot be loaded, an
// ending signal) must not leave them behind.
struct CairoRelease {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using CairoContext = std::unique_ptr<cairo_t, CairoRelease>;
using CairoSurface = std::unique_ptr<cairo_surface_t, CairoRelease>;

class CairoCanvas final : public PathCanvas {
public:
    // Paint on `cr`, the page box `box` covering its surface from the top
    // left corner, `scale` device units to a point.  The box given to
    // begin() is the EPS's business: the page is the one given here.
    CairoCanvas(cairo_t* cr, const PageBox& box, double scale);

    // Paint nothing: only gather the extents of the ink every stroke, fill
    // and text would put inside `within`.  A text that surely falls inside
    // the ink found so far is passed over unless `exact` asks for the ink
    // of every text (the extents are the same either way).  The texts
    // (but those with markup) are then measured last, those whose widths
    // `widths` knows from farthest out inwards, so that the first hold
    // most of the rest, which need not be set.
    void measure(const PageBox& within, bool exact = false, const SetWidths* widths = nullptr);
    // The extents gathered while measuring; false when there is no ink.
    // The texts set aside are measured first.
    bool ink(PageBox& box);
    // The header begin() was given (the document's title and creator).
    const PageHeader& header() const { return given; }

    void begin(const PageHeader& header) override;
    void end() override;
    void linewidth(long double width) override;
    void dash(bool dashed) override;
    void stroke() override;
    void fill() override;
    void text(long double px, long double py, text::TextView text, TextRole role) override;
    void styledtext(long double px, long double py, text::TextView text, TextRole role, const TextLook& look) override;
    void begingroup(const GroupInfo& group) override;
    void endgroup() override;

private:
    void colour(long double red, long double green, long double blue) override;
    // A text (UTF-8 as drawabletext gives it) at page point (x, y), turned
    // by `angle` degrees anticlockwise about it.
    void showtext(long double x, long double y, const std::string& utf8, TextAnchor anchor, const TextStyle& style,
                  long double angle);
    // Set such a text and find where it starts and ends; false when it
    // shows nothing or reaches past what cairo holds.
    bool placetext(long double x, long double y, const std::string& utf8, TextAnchor anchor, const TextStyle& style,
                   long double angle, PagePoint& start, PagePoint& end);
    // The text set last, painted (or, while measuring, its ink gathered)
    // from `start`, turned by `angle` degrees.
    void glyphs(const PagePoint& start, long double angle);
    // The path built, stroked in white `width` wide with round joins: a
    // text's halo.
    void halo(long double width);
    // A text with markup, from page point (x, y) as `role` places it.
    void markedtext(long double x, long double y, text::TextView text, TextRole role, const TextLook& look);
    void addpieces(const std::vector<PathPiece>& pieces, bool cut);
    void paint(bool filling);
    void addink(double x1, double y1, double x2, double y2);
    // While measuring: whether the ink found so far holds every mark a
    // text from `start` to `end`, `size` points, with a halo `halowidth`
    // wide, can make.
    bool inkholds(const PagePoint& start, const PagePoint& end, long double size, long double halowidth) const;
    // While measuring: whether the ink found so far holds every mark the
    // path makes, painted `spread` past its points (a stroke's joins and
    // ends), so that it need not be painted.
    bool inkholdspath(long double spread) const;
    // A text without markup, from page point (x, y) as `role` places it,
    // measured or painted now.
    void textnow(long double x, long double y, text::TextView text, TextRole role, const TextLook& look);
    // The texts set aside while measuring, measured.
    void measureaside();

    cairo_t* cr;
    // The part of the page whose device coordinates cairo holds with room
    // to spare; paths are cut to it, far outside every page.
    Reach reach;
    bool dashed = false;
    TextSetter setter;
    PageHeader given{};

    bool measuring = false;
    bool exactink = false;  // measure every text and path, even one the ink found holds
    PageBox within = {0, 0, 0, 0};
    bool inked = false;
    PageBox extent = {0, 0, 0, 0};  // of the ink found
    // The texts set aside while measuring, and the widths known.
    struct Aside {
        long double x, y;
        std::string text;
        TextRole role;
        TextLook look;
    };
    std::vector<Aside> aside;
    const SetWidths* knownwidths = nullptr;
};

// The extents of the ink `draw` puts on the EPS's page box, or within
// `within` (ink outside counts for nothing): false when it puts none there.
bool inkbox(const std::function<void(Canvas&)>& draw, PageBox& box);
bool inkbox(const std::function<void(Canvas&)>& draw, const PageBox& within, PageBox& box, bool exact = false,
            const SetWidths* widths = nullptr);

}  // namespace gridel::drawing
