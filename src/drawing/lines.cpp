// lines.cpp - findmid and drawlines.
#include "drawing/lines.h"

#include "drawing/figure.h"
#include "drawing/items.h"
#include "drawing/page.h"
#include "geometry/linepoints.h"

namespace gridel::drawing {

namespace {

// Between the lines' blocks in a written-out drawing.
constexpr const char* separator = "---------------------------------------------------";

}  // namespace

void drawlines(const diagram::Diagram& d, const geometry::FigurePlan& plan, Canvas& canvas) {
    const geometry::PageMap& w = plan.map;
    LineWeights weights = lineweights(d);
    // With halos the numbers are drawn once every line is.
    bool numbering = diagram::isyes(d.options.numbering) && plan.style.halo == 0;
    size_t nextlabel = 0;
    if (numbering) {
        canvas.blank();
        canvas.font(d.options.numbersize);
        canvas.blank();
    }
    for (int k = 1; k <= d.nlines && k <= diagram::maxlines; ++k) {
        const diagram::UnivariantLine& line = d.lines[k];
        int n = geometry::linelength(line);
        if (n <= 0) continue;
        canvas.comment(separator);
        canvas.blank();
        ItemGroup group(canvas, itemid(line.name, "line", k),
                        std::string("line") + (line.dashed ? " dashed" : "") + (line.thick ? " thick" : ""),
                        linetitle(line));
        canvas.linewidth(line.thick ? weights.thick : weights.line);
        canvas.dash(line.dashed);
        // Components on 0..255 as given, scaled in double precision.
        Colour given = {static_cast<double>(line.red) / 255.0, static_cast<double>(line.green) / 255.0,
                        static_cast<double>(line.blue) / 255.0};
        canvas.linecolour(line.rgbgiven ? &given : nullptr);
        canvas.blank();
        canvas.moveto(pathpoint(w, line.x[1], line.y[1], line.name));
        for (int j = 2; j <= n; ++j) canvas.lineto(pathpoint(w, line.x[j], line.y[j], noname));
        canvas.stroke();
        canvas.blank();
        // The line's number at its half-way point, when that lies inside the window.
        if (numbering && nextlabel < plan.linelabels.size() && plan.linelabels[nextlabel].item == k) {
            drawlabel(d, plan, plan.linelabels[nextlabel++], geometry::TextFace::regular, canvas);
            canvas.blank();
        }
    }
    if (d.nlines <= 0) return;
    canvas.linecolour(nullptr);
    canvas.blank();
    canvas.comment(separator);
    canvas.blank();
}

bool lastlinedashed(const diagram::Diagram& d) {
    for (int k = d.nlines < diagram::maxlines ? d.nlines : diagram::maxlines; k >= 1; --k)
        if (d.lines[k].npts > 0) return d.lines[k].dashed;
    return false;
}

}  // namespace gridel::drawing
