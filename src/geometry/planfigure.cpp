// planfigure.cpp - figurestyle and planfigure: the figure's texts planned
// step by step, and the frame's numbers and axis titles.
#include "geometry/figure.h"

#include <algorithm>
#include <cmath>

#include "geometry/axisnumbers.h"
#include "geometry/linepoints.h"
#include "geometry/planner.h"

namespace gridel::geometry {

namespace {

// The size of the frame's texts when no font size is given, and the least
// size a field's name is made before it is numbered instead.
constexpr long double framesize = 12;

// A circle's line is this share of a plain line's width, and its radius
// is at least this many of its line's widths.
constexpr long double circlelineshare = 2.0L / 3;
constexpr long double circlerings = 2;
constexpr long double leastlegible = 6;

// In font sizes: the halo's width, the gap between an axis and its numbers
// (with a size or a font size), the gap between the numbers and the axis
// title.
constexpr long double halofactor = 0.3L;
constexpr long double numbergap = 0.4L;
constexpr long double titlegap = 0.5L;
// The least gap between the first numbers of the two axes, near the
// plot's corner.
constexpr long double cornergap = 0.4L;

// The y axis numbers' baselines stood 4 points below their ticks.
constexpr long double oldydrop = 4;

}  // namespace

bool pointdrawn(const diagram::Diagram& d, const diagram::InvariantPoint& p) {
    return diagram::isyes(d.options.docircles) && insidewindow(d.window, p.x, p.y);
}

// The page points of a line.
std::vector<Spot> pagepoints(const PageMap& m, const diagram::UnivariantLine& line) {
    std::vector<Spot> out;
    int n = linelength(line);
    for (int k = 1; k <= n; ++k) {
        Spot s;
        topage(m, line.x[k], line.y[k], s.x, s.y);
        out.push_back(s);
    }
    return out;
}

// The frame's numbers and axis titles; returns how far down they reach
// below the plot.
long double placeframe(Planner& pl) {
    const diagram::Diagram& d = pl.d;
    FigurePlan& plan = pl.plan;
    const FigureStyle& st = plan.style;
    const PageMap& m = plan.map;
    long double fs = st.fontsize;
    if (st.metricframe) {
        plan.numbers = {m.bottom - numbergap * fs - capheight * fs, m.left - numbergap * fs, capheight * fs / 2, m.left};
    } else {
        // Where the numbers always stood: 3 and 2 tick lengths off the axes.
        const diagram::PlotWindow& w = d.window;
        long double px, py;
        topage(m, w.xlow - 2 * ((w.xhigh - w.xlow) / 60), w.ylow - 3 * ((w.yhigh - w.ylow) / 60), px, py);
        plan.numbers = {py, px, oldydrop, m.left};
    }
    const diagram::TickMarks& t = d.ticks;
    std::vector<long double> xvalues = axisvalues(t.xstart - t.xtickgap, t.xtickgap, d.window.xhigh, d.window.xlow);
    std::vector<long double> yvalues = axisvalues(t.ystart - t.ytickgap, t.ytickgap, d.window.yhigh, d.window.ylow);
    if (st.metricframe && !xvalues.empty() && !yvalues.empty()) {
        // The first y number sits beside the axis, centred on its tick; the
        // first x number, below it, may reach under it near the corner.
        // Where the two would touch, the x numbers go down to clear it.
        long double xpx, xpy, ypx, ypy;
        topage(m, xvalues.front(), d.window.ylow, xpx, xpy);
        topage(m, d.window.xlow, yvalues.front(), ypx, ypy);
        text::Word xfirst = ticklabel(xvalues.front());
        long double xleft = xpx - pl.width(text::viewof(xfirst), TextFace::regular, fs) / 2;
        long double ybottom = ypy - plan.numbers.ydrop;
        long double clear = ybottom - cornergap * fs;
        if (xleft < plan.numbers.yright + cornergap * fs && plan.numbers.xbaseline + capheight * fs > clear)
            plan.numbers.xbaseline = clear - capheight * fs;
    }
    bool xnumbers = !xvalues.empty();
    long double below = xnumbers ? plan.numbers.xbaseline : m.bottom;
    const diagram::FigureOptions& f = d.figure;
    if (f.xlabel.len > 0) {
        plan.xlabel = {f.xlabel, (m.left + m.right) / 2, below - titlegap * fs - capheight * fs};
        below = plan.xlabel.y - descent * fs;
    }
    plan.numbers.yleft = m.left;
    if (f.ylabel.len > 0 || st.metricframe) {
        for (long double v : yvalues) {
            text::Word label = ticklabel(v);
            plan.numbers.yleft =
                std::min(plan.numbers.yleft, plan.numbers.yright - pl.width(text::viewof(label), TextFace::regular, fs));
        }
    }
    if (f.ylabel.len > 0)
        plan.ylabel = {f.ylabel, plan.numbers.yleft - titlegap * fs - descent * fs, (m.bottom + m.top) / 2};
    return below;
}

FigureStyle figurestyle(const diagram::Diagram& d) {
    const diagram::FigureOptions& f = d.figure;
    FigureStyle st;
    st.metricframe = f.fontsize > 0 || f.widthmm > 0;
    st.fontsize = f.fontsize > 0 ? f.fontsize : framesize;
    st.labelsize = f.fontsize > 0 ? f.fontsize : d.options.numbersize;
    st.fieldsize = st.fontsize;
    st.leastsize = std::min(st.fontsize, leastlegible);
    st.halo = f.halo ? halofactor * st.labelsize : 0;
    // A circle grows and shrinks with the figure's text, and stays round
    // with room inside whatever its line's width; without a font size or
    // line width it is the size the script gave, in points.
    st.circle = d.options.circlesize;
    if (f.fontsize > 0 || f.linewidth > 0) {
        if (f.fontsize > 0) st.circle *= f.fontsize / framesize;
        st.circle = std::max(st.circle, circlerings * circlelineshare * f.linewidth);
    }
    return st;
}

namespace {

// The side of the cells the lines, circles and labels are filed by, in
// points, when labels or names are placed clear of them.
constexpr long double gridcell = 16;

// The figure's texts planned on a map.
FigurePlan planon(const PageMap& map, const diagram::Diagram& d, const std::vector<AreaBoundary>& areas,
                  const std::vector<LabelPlace>& mids, const TextMeasure& measure, PlanSearch search) {
    FigurePlan plan{};
    plan.map = map;
    plan.style = figurestyle(d);
    const PageMap& m = plan.map;
    Rect window = {m.left, m.bottom, m.right, m.top};
    // Lines and circles matter to the places of halo labels and field names.
    bool crowded = plan.style.halo > 0 || !d.fieldnames.empty();
    long double cell = crowded ? gridcell : m.right - m.left;
    Planner pl{d, measure, plan, window, SegmentGrid(window, cell), BoxGrid(window, cell), BoxGrid(window, cell),
               search == PlanSearch::scan};
    if (crowded) {
        for (int k = 1; k <= d.nlines && k <= diagram::maxlines; ++k) {
            std::vector<Spot> pts = pagepoints(m, d.lines[k]);
            for (size_t i = 1; i < pts.size(); ++i) pl.grid.add({pts[i - 1], pts[i]}, static_cast<int16_t>(k));
        }
        pl.grid.seal();
        long double r = plan.style.circle;
        for (int k = 1; k <= d.npoints && k <= diagram::maxpoints; ++k) {
            const diagram::InvariantPoint& p = d.points[k];
            if (!pointdrawn(d, p) || r <= 0) continue;
            Spot c;
            topage(m, p.x, p.y, c.x, c.y);
            pl.circles.add({c.x - r, c.y - r, c.x + r, c.y + r});
            pl.circlepoints.push_back(static_cast<int16_t>(k));
        }
    }
    // The free texts first: the numbers and names are placed clear of them.
    plan.texts = placefreetexts(d, m, plan.style.fontsize, d.figure.halo ? halofactor * plan.style.fontsize : 0, measure);
    for (const PlacedText& t : plan.texts) pl.taken.add(t.box);
    placepointlabels(pl);
    placelinelabels(pl, mids);
    if (diagram::isyes(d.options.doareas)) placefields(pl, areas);
    placelegend(pl, placeframe(pl));
    return plan;
}

// The least distance kept between what is drawn and the page's lower and
// left edges (where its coordinates would turn negative).
constexpr long double pageorigin = 20;

}  // namespace

FigurePlan planfigure(const diagram::Diagram& d, const std::vector<AreaBoundary>& areas, const std::vector<LabelPlace>& mids,
                      const TextMeasure& measure, PlanSearch search) {
    PageMap map = pagemap(d);
    FigurePlan plan = planon(map, d, areas, mids, measure, search);
    // A key below a small plot, the axis titles, or large axis numbers may
    // reach past the page's origin: the plot then moves up and right, and all is planned
    // again.
    long double fs = plan.style.fontsize, low = INFINITY, left = INFINITY;
    if (plan.style.metricframe) {
        low = plan.numbers.xbaseline - descent * fs;
        left = plan.numbers.yleft;
    }
    if (plan.xlabel.text.len > 0) low = std::min(low, plan.xlabel.y - descent * fs);
    if (!plan.legend.entries.empty()) low = std::min(low, plan.legend.box.bottom);
    if (plan.ylabel.text.len > 0) left = std::min(left, plan.ylabel.x - capheight * fs);
    long double up = std::max(0.0L, pageorigin - low), right = std::max(0.0L, pageorigin - left);
    if (up == 0 && right == 0) return plan;
    map.left += right;
    map.right += right;
    map.bottom += up;
    map.top += up;
    return planon(map, d, areas, mids, measure, search);
}

}  // namespace gridel::geometry
