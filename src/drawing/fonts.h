// fonts.h - texts set in the fonts of the PDF and PNG, and measured in
// them.
//
// A text is set with Pango in Helvetica as fontconfig finds it (Nimbus
// Sans where the standard fonts are installed, a metric-compatible face);
// a character that face lacks (subscript digits, say) comes from the next
// installed font that has it, as fontconfig orders them.  Positions are
// those of PostScript's show: glyph advances as the face gives them, no
// kerning, no ligatures, no hinting, no rounding to whole units, one line
// left to right from its start.
#pragma once

#include <cairo.h>

#include <map>
#include <string>
#include <vector>

#include "drawing/canvas.h"
#include "text/fixedtext.h"

namespace gridel::drawing {

// Where a text stands on its point: starting there, centred on it, or
// ending there.
enum class TextAnchor { start, middle, end };

// Where a text of a role stands on its point.
inline TextAnchor anchorof(TextRole role) {
    return role == TextRole::centred ? TextAnchor::middle : role == TextRole::right ? TextAnchor::end : TextAnchor::start;
}

// How a text is set.
struct TextStyle {
    long double size = 0;  // in points; 0 shows nothing
    bool bold = false;
    bool italic = false;
};

// The family the PDF and PNG ask fontconfig for, and the list the SVG
// gives its viewer: the same face under its usual names, then any sans-serif.
constexpr const char* textfamily = "Helvetica";
constexpr const char* svgfamilies = "Helvetica, Arial, 'Nimbus Sans', sans-serif";

// One step of a glyph's outline: a move, a line or a curve to a point
// (a curve after its two control points), or the closing of a contour.
struct OutlineStep {
    enum Kind : int8_t { move, line, curve, close } kind;
    long double x[3];  // the points' x: the last one used by a move or line
    long double y[3];
};

// A text set for cairo.  Each setter has its own Pango context; the fonts
// found are shared by all.
class TextSetter {
public:
    TextSetter();
    ~TextSetter();
    TextSetter(const TextSetter&) = delete;
    TextSetter& operator=(const TextSetter&) = delete;

    // Set `utf8` (as drawabletext gives it) in `style`; its advance width
    // in points.
    long double set(const std::string& utf8, const TextStyle& style);

    // The text last set on `cr` (user units of points, y upwards), its
    // baseline from (x, y), turned by `angle` degrees anticlockwise about
    // that point: painted in the current source, or added to the path
    // (`aspath`).
    void show(cairo_t* cr, long double x, long double y, long double angle, bool aspath) const;

    // The outlines of the glyphs of the text last set, from its start on
    // the baseline, in points, y upwards.
    std::vector<OutlineStep> outline() const;

    // How many characters of the text last set no installed font has.
    int missing() const;

private:
    void style(const TextStyle& style);
    struct Pango;
    Pango* pango;
};

// Advance widths of texts already set, by their bytes and style: a text
// measured while its figure was planned need not be set again to be
// measured for the crop.  Every setter gives a text in a style one width.
class SetWidths {
public:
    void add(const std::string& utf8, const TextStyle& style, long double width);
    // The width `utf8` was set to in `style`; false when it was not set.
    bool find(const std::string& utf8, const TextStyle& style, long double& width) const;

private:
    struct Key {
        long double size;
        bool bold;
        bool italic;
        std::string utf8;
        bool operator<(const Key& o) const {
            if (size != o.size) return size < o.size;
            if (bold != o.bold) return bold < o.bold;
            if (italic != o.italic) return italic < o.italic;
            return utf8 < o.utf8;
        }
    };
    std::map<Key, long double> widths;
};

// The advance width, in points, of `text` (its bytes taken as drawabletext
// takes them) set in `style` as the PDF and PNG set it; 0 for an empty
// text or a size of 0.
long double textwidth(text::TextView text, const TextStyle& style);

}  // namespace gridel::drawing
