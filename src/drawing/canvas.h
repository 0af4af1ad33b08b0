// canvas.h - the one interface everything drawn goes through.
//
// The drawing of a diagram is a sequence of calls on a Canvas: page
// coordinates in PostScript points (1/72 inch, y upwards, the page's origin
// at its lower left corner), paths built point by point and then stroked or
// filled, texts placed at a point.  Each output format implements it: the
// EPS writer, which writes every call as a line of text, the SVG writer,
// which writes the page as elements grouped by item, and the cairo
// renderer, which paints PDF and PNG pages.  The writers hand their bytes
// to a byte sink (run/bytesink.h): a run's output file, or memory.
//
// Some calls carry what only a written-out document shows (comments, empty
// lines, the data point a path point was made from, the way a colour was
// given): a renderer simply ignores them.
#pragma once

#include <cstdint>

#include "geometry/textmeasure.h"
#include "text/fixedtext.h"

namespace gridel::drawing {

// What the document says of itself before anything is drawn.
struct PageHeader {
    int16_t boxleft;    // the part of the page that holds the drawing,
    int16_t boxbottom;  // in whole points
    int16_t boxright;
    int16_t boxtop;
    text::Text creator;       // the program that drew it
    text::Text created;       // when it was drawn
    int16_t fontsize;   // the font in force at the start
    text::Text title;         // the document's title (the data file's name); the EPS keeps its own
};

// A part of the page, in points, y upwards.
struct PageBox {
    long double left;
    long double bottom;
    long double right;
    long double top;
};

// One item of the drawing: the marks drawn between begingroup and the
// matching endgroup (groups nest).  A format that keeps items apart makes
// them one group that a user can select, style or script by its id and
// its classes.
struct GroupInfo {
    text::TextView id;     // unique in the drawing and the same from run to run: "u3", "area-4", "frame"
    text::TextView kind;   // its classes, words separated by blanks: "line", "line dashed", "point"
    text::TextView title;  // what a viewer shows for it ("u3: ky sill (and)"); may be empty
};

// A colour, each component on a 0..1 scale (values outside are the
// writer's to clamp).
struct Colour {
    long double red;
    long double green;
    long double blue;
};

// One point of a path: where it goes on the page, and the data point it
// was made from with an optional name (a written document notes both).
struct PathPoint {
    long double px;  // page x, in points
    long double py;  // page y
    long double x;   // data x
    long double y;   // data y
    text::Word name;       // a line's name at its first point; empty elsewhere
};

// How a text sits at its point.
enum class TextRole {
    heading,  // a title line of the program's own text, starting at the point
    caption,  // a line of the user's text, starting at the point
    centred,  // a label centred on the point (its baseline through the point)
    right,    // a label ending at the point
};

// A text's own look, apart from the font in force.
struct TextLook {
    long double size;  // in points
    geometry::TextFace face;     // regular, bold or italic (oblique)
    bool turned;       // turned a quarter anticlockwise about its point: it reads upwards
    long double halo;  // width of a white band drawn round the glyphs' outlines first; 0: none
    bool formulas = false;  // chemical formulas in the text get their counts as subscripts
};

class Canvas {
public:
    virtual ~Canvas() = default;

    // Start the document; every other call comes after this one.
    virtual void begin(const PageHeader& header) = 0;
    // Finish the document.
    virtual void end() = 0;

    // A comment line, and an empty line, in a written-out document.
    virtual void comment(const char* text) = 0;
    virtual void blank() = 0;

    // The state every later stroke, fill or text uses.
    virtual void font(int16_t size) = 0;           // Helvetica of this size, in points
    virtual void linewidth(long double width) = 0;  // in points
    virtual void dash(bool dashed) = 0;            // dashed (3 on, 3 off) or solid
    // A line's colour: its own given colour, or (null) the plain black of
    // a line that was given none.
    virtual void linecolour(const Colour* given) = 0;
    // The colour of shaded area `area` (its number, which a written-out
    // document notes).
    virtual void areacolour(const Colour& colour, int16_t area) = 0;
    // Back to black after the areas.
    virtual void black() = 0;

    // Paths: a new path at a point, straight on to a point, a closed circle
    // of radius r about a centre (a path of its own); then stroke or fill
    // what was built, which also clears it.
    virtual void moveto(const PathPoint& p) = 0;
    virtual void lineto(const PathPoint& p) = 0;
    virtual void circle(long double px, long double py, long double r) = 0;
    virtual void stroke() = 0;
    virtual void fill() = 0;

    // A text in the current font.  Texts from the data file are UTF-8;
    // a written-out document keeps their bytes.
    virtual void text(long double px, long double py, text::TextView text, TextRole role) = 0;
    // A text in a look of its own, in the current colour: starting at the
    // point (heading, caption), centred on it or ending at it, along its
    // baseline; the whole text, UTF-8, with its markup (text/markup.h) in
    // italics, sub- and superscripts.  The font in force stays as it was.
    virtual void styledtext(long double px, long double py, text::TextView text, TextRole role, const TextLook& look) = 0;

    // The marks drawn from here to the matching endgroup make up one item.
    // The texts of `group` are read during the call only.
    virtual void begingroup(const GroupInfo& group) = 0;
    virtual void endgroup() = 0;
};

}  // namespace gridel::drawing
