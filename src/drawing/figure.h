// figure.h - what a figure for print adds to the drawing: the widths of
// its lines, the names of its fields, the free texts, the line and point
// numbers over their halos, the axis titles and the key, each where the
// geometry placed it.
#pragma once

#include <vector>

#include "diagram/model.h"
#include "drawing/canvas.h"
#include "geometry/figure.h"
#include "geometry/freetexts.h"

namespace gridel::drawing {

// The widths of the drawing's lines, in points.
struct LineWeights {
    long double line;    // a plain line
    long double thick;   // a thick line
    long double box;     // the window box
    long double tick;    // ticks
    long double circle;  // the points' circles
};

// The widths of old, or those of the script's line width: thick twice
// it, the box and the ticks and circles in the old proportions.
LineWeights lineweights(const diagram::Diagram& d);

// The look of a text of the figure at a size.
TextLook textlook(long double size, geometry::TextFace face = geometry::TextFace::regular);
// The look of a text the script wrote (a title, a field name, a key's
// text): with its formulas' counts as subscripts when the script asks.
TextLook writtenlook(const diagram::Diagram& d, long double size, geometry::TextFace face = geometry::TextFace::regular);

// Whether the line and point numbers are drawn as they always were: in
// the font in force, at the numbering size, without halos.
bool plainlabels(const diagram::Diagram& d);

// One line's or point's number, as the plan placed it.
void drawlabel(const diagram::Diagram& d, const geometry::FigurePlan& plan, const geometry::PlacedLabel& label, geometry::TextFace face, Canvas& canvas);

// The field names, over the areas: black, or white on a dark field.
void drawfieldnames(const diagram::Diagram& d, const geometry::FigurePlan& plan, Canvas& canvas);

// The script's free texts, over the lines and the points, each over a
// halo when the numbers have halos, with the markup and formulas of the
// script's texts; each in a group "text-K".
void drawfreetexts(const diagram::Diagram& d, const std::vector<geometry::PlacedText>& texts, Canvas& canvas);

// With halos, every line and point number, over the lines and the points.
void drawhalolabels(const diagram::Diagram& d, const geometry::FigurePlan& plan, Canvas& canvas);

// The axis titles and the key.
void drawtitlesandkey(const diagram::Diagram& d, const geometry::FigurePlan& plan, Canvas& canvas);

}  // namespace gridel::drawing
