// lines.cpp - findmid and drawlines.
#include "drawing/lines.h"

#include "drawing/items.h"
#include "drawing/page.h"
#include "geometry/linepoints.h"

namespace {

// Between the lines' blocks in a written-out drawing.
constexpr const char* separator = "---------------------------------------------------";

constexpr long double thinwidth = 0.3L;   // a line's width
constexpr long double thickwidth = 0.6L;  // a thick line's width

// The line's number at its half-way point, when that lies inside the window.
void linelabel(const Diagram& d, const UnivariantLine& line, const LabelPlace& mid, Canvas& canvas) {
    const PlotWindow& w = d.window;
    long double xm = mid.x, ym = mid.y;
    if (!(xm > w.xlow && xm < w.xhigh && ym > w.ylow && ym < w.yhigh)) return;
    long double px, py;
    topage(w, xm, ym, px, py);
    TextView label = {line.name.c + (line.name.len > 1 ? 1 : 0), line.name.len > 1 ? line.name.len - 1 : 0};
    canvas.text(px, py - d.options.numbersize / 3.0L, label, TextRole::centred);
    canvas.blank();
}

}  // namespace

void drawlines(const Diagram& d, const std::vector<LabelPlace>& labels, Canvas& canvas) {
    const PlotWindow& w = d.window;
    bool numbering = isyes(d.options.numbering);
    if (numbering) {
        canvas.blank();
        canvas.font(d.options.numbersize);
        canvas.blank();
    }
    for (int k = 1; k <= d.nlines && k <= maxlines; ++k) {
        const UnivariantLine& line = d.lines[k];
        int n = linelength(line);
        if (n <= 0) continue;
        canvas.comment(separator);
        canvas.blank();
        ItemGroup group(canvas, itemid(line.name, "line", k),
                        std::string("line") + (line.dashed ? " dashed" : "") + (line.thick ? " thick" : ""),
                        linetitle(line));
        canvas.linewidth(line.thick ? thickwidth : thinwidth);
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
        if (numbering && static_cast<size_t>(k) < labels.size()) linelabel(d, line, labels[static_cast<size_t>(k)], canvas);
    }
    if (d.nlines <= 0) return;
    canvas.linecolour(nullptr);
    canvas.blank();
    canvas.comment(separator);
    canvas.blank();
}

bool lastlinedashed(const Diagram& d) {
    for (int k = d.nlines < maxlines ? d.nlines : maxlines; k >= 1; --k)
        if (d.lines[k].npts > 0) return d.lines[k].dashed;
    return false;
}
