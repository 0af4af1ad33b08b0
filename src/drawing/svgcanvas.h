// svgcanvas.h - the canvas written as SVG: a drawing a user can edit,
// style and script.
//
// The document is the page box in points (user units are points, y
// downwards from the box's top left corner, coordinates to 0.01 point).
// Every item of the drawing is a group `<g id=".." class="..">` with a
// `<title>` when it has one; groups with nothing drawn in them are left
// out.  Strokes and fills are `<path>` elements (a circle alone is a
// `<circle>`) with their colour, width and dash as presentation
// attributes, which a style sheet overrides; texts are `<text>` elements
// in the font list of fonts.h with their size in points, centred and
// right-aligned labels anchored by `text-anchor`, so that the viewer's own
// font metrics place them.  Each text is one `<text>` whose words stand as
// written (the viewer sets and kerns it as it does any text), with a
// `<tspan>` only where markup changes the style: italics, a sub- or
// superscript.  Texts are written as drawabletext gives them, with
// & < > " ' escaped, so any input makes well-formed XML.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <vector>

#include "drawing/canvas.h"
#include "drawing/fonts.h"
#include "drawing/markedtext.h"
#include "drawing/pagepath.h"
#include "drawing/pathcanvas.h"
#include "run/bytesink.h"

namespace gridel::drawing {

class SvgCanvas final : public PathCanvas {
public:
    // Write the page `box` to `sink`.
    SvgCanvas(const PageBox& box, run::ByteSink& sink);

    // Hand on what is left; false, with errno of the first failed write in
    // `error`, when some bytes could not be written.
    bool finish(int& error);

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
    // A text set in pieces (markedtext.h), in `style` where a piece has
    // no other.
    void showtext(long double x, long double y, const SetText& set, TextAnchor anchor, const TextStyle& style,
                  long double angle);
    void coordinate(long double v);
    void point(const PagePoint& p);
    void piece(const PathPiece& p);
    void strokepath(const std::vector<PathPiece>& pieces);
    void element(const char* open);  // opens the groups still pending, then starts an element
    void paintattributes(bool filling, const PathPiece* only);
    void flush();

    run::ByteSink& sink;
    int error = 0;        // errno of the first failed write; 0 while all went well
    PageBox box;          // the page
    Reach reach;          // paths are cut to this, far outside the page
    std::string out;      // written, not yet handed on
    long double width = 1;
    bool dashed = false;
    std::string paint = "#000000";  // the current colour
    long double halo = 0;           // while a text's halo is written: the width of its outline
    TextSetter setter;  // sets marked texts into their pieces

    // The groups open, each with its start tag; one not yet in the
    // document (nothing drawn in it yet) is written with the first mark.
    struct Group {
        std::string start;
        bool written;
    };
    std::vector<Group> groups;
    std::set<std::string> ids;  // every id given so far
};

}  // namespace gridel::drawing
