// figure.cpp - figurestyle, planfigure and phasetext.
#include "geometry/figure.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "geometry/axisnumbers.h"
#include "geometry/linepoints.h"
#include "text/numfmt.h"
#include "text/tokens.h"

namespace {

// The size of the frame's texts when no font size is given.
constexpr long double framesize = 12;

// The least size a field's name is made before it is numbered instead, and
// the step it is made smaller by.
constexpr long double leastlegible = 6;
constexpr long double fieldstep = 0.5L;

// Most lines a field's name is broken into.
constexpr int maxfieldlines = 3;

// Proportions of the font size: the halo's width; the gap between a point's
// circle and its number; the room kept round a field's name; the leading
// of a field's lines; the gaps of the frame (axis to numbers, numbers to
// axis title); and the key's leading, gaps and distance from the plot.
constexpr long double halofactor = 0.3L;
constexpr long double pointgap = 0.25L;
constexpr long double fieldpad = 0.2L;
constexpr long double fieldleading = 1.15L;
constexpr long double numbergap = 0.4L;
constexpr long double titlegap = 0.5L;
constexpr long double keyleading = 1.3L;
constexpr long double keyspace = 0.5L;   // between a number and its text
constexpr long double keycolumns = 1.5L; // between columns
constexpr long double keydistance = 1.2L;

// The frame's old places: axis numbers 3 (x) and 2 (y) tick lengths from
// the axis, a tick being a 60th of the window; y numbers 4 points below
// their ticks.
constexpr long double oldydrop = 4;

// How a candidate place for a label is marked down: off the window, on
// another label, on a point's circle, across a line.
constexpr int offwindow = 1000;
constexpr int onlabel = 100;
constexpr int oncircle = 50;
constexpr int acrossline = 10;

// The segments of the visible lines, filed by the cells of a grid over the
// plot box, so that what lies near a box is found without looking at all.
class SegmentGrid {
public:
    SegmentGrid(const Rect& area, long double cell) : area(area), cell(cell) {
        columns = std::max(1, static_cast<int>(std::min(256.0L, std::ceil((area.right - area.left) / cell))));
        rows = std::max(1, static_cast<int>(std::min(256.0L, std::ceil((area.top - area.bottom) / cell))));
        buckets.resize(static_cast<size_t>(columns * rows));
    }

    void add(const Segment& s, int16_t line) {
        int index = static_cast<int>(segments.size());
        segments.push_back(s);
        owners.push_back(line);
        seen.push_back(0);
        Rect r = {std::min(s.a.x, s.b.x), std::min(s.a.y, s.b.y), std::max(s.a.x, s.b.x), std::max(s.a.y, s.b.y)};
        visitcells(r, [&](int k) { buckets[static_cast<size_t>(k)].push_back(index); });
    }

    // Each segment whose cells meet the rectangle, once: visit(segment, line).
    template <class Visit>
    void near(const Rect& r, const Visit& visit) const {
        ++stamp;
        visitcells(r, [&](int k) {
            for (int i : buckets[static_cast<size_t>(k)]) {
                if (seen[static_cast<size_t>(i)] == stamp) continue;
                seen[static_cast<size_t>(i)] = stamp;
                visit(segments[static_cast<size_t>(i)], owners[static_cast<size_t>(i)]);
            }
        });
    }

private:
    template <class Visit>
    void visitcells(const Rect& r, const Visit& visit) const {
        auto at = [&](long double v, long double low, int count) {
            long double k = std::floor((v - low) / cell);
            if (!(k >= 0)) return 0;  // below, or not a number
            return k >= count ? count - 1 : static_cast<int>(k);
        };
        int c0 = at(r.left, area.left, columns), c1 = at(r.right, area.left, columns);
        int r0 = at(r.bottom, area.bottom, rows), r1 = at(r.top, area.bottom, rows);
        for (int c = c0; c <= c1; ++c)
            for (int w = r0; w <= r1; ++w) visit(w * columns + c);
    }

    Rect area;
    long double cell;
    int columns;
    int rows;
    std::vector<std::vector<int>> buckets;
    std::vector<Segment> segments;
    std::vector<int16_t> owners;
    mutable std::vector<unsigned> seen;
    mutable unsigned stamp = 0;
};

Rect grown(const Rect& r, long double by) { return {r.left - by, r.bottom - by, r.right + by, r.top + by}; }

bool within(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.bottom >= outer.bottom &&
           inner.top <= outer.top;
}

// The label text of a point or line: its name without the first letter.
TextView labeltext(const Word& name) {
    return {name.c + (name.len > 1 ? 1 : 0), name.len > 1 ? name.len - 1 : 0};
}

// Everything the planning steps share.
struct Planner {
    const Diagram& d;
    const TextMeasure& measure;
    FigurePlan& plan;
    Rect window;                 // the plot box
    SegmentGrid grid;            // the visible lines
    std::vector<Rect> circles;   // the drawn points' circles
    std::vector<Rect> taken;     // every label placed so far

    long double width(TextView t, TextFace face, long double size) const { return measure.width(t, face, size); }

    // A label on its point as of old: centred, its baseline a third of its
    // size below.  When field names are placed it is in their way.
    PlacedLabel oldlabel(int16_t item, TextView text, Spot c) {
        long double s = plan.style.labelsize, baseline = c.y - s / 3;
        PlacedLabel l = {item, text, c.x, baseline, {c.x, baseline, c.x, baseline}};
        if (d.fieldnames.empty()) return l;
        long double w = width(text, TextFace::regular, s);
        l.box = {c.x - w / 2, baseline, c.x + w / 2, baseline + capheight * s};
        taken.push_back(l.box);
        return l;
    }

    // How bad a label's box is where it stands; `own` is a line the label
    // may sit on (0: none).
    int badness(const Rect& box, int16_t own) const {
        int bad = within(box, window) ? 0 : offwindow;
        for (const Rect& r : taken)
            if (overlaps(box, r)) bad += onlabel;
        for (const Rect& r : circles)
            if (overlaps(box, r)) bad += oncircle;
        grid.near(box, [&](const Segment& s, int16_t line) {
            if (line != own && crosses(s, box)) bad += acrossline;
        });
        return bad;
    }
};

bool insidewindow(const PlotWindow& w, long double x, long double y) {
    return x > w.xlow && x < w.xhigh && y > w.ylow && y < w.yhigh;
}

bool pointdrawn(const Diagram& d, const InvariantPoint& p) {
    return isyes(d.options.docircles) && insidewindow(d.window, p.x, p.y);
}

// The page points of a line.
std::vector<Spot> pagepoints(const PageMap& m, const UnivariantLine& line) {
    std::vector<Spot> out;
    int n = linelength(line);
    for (int k = 1; k <= n; ++k) {
        Spot s;
        topage(m, line.x[k], line.y[k], s.x, s.y);
        out.push_back(s);
    }
    return out;
}

// The point at a fraction of a polyline's length.
Spot along(const std::vector<Spot>& pts, long double fraction) {
    long double total = 0;
    for (size_t i = 1; i < pts.size(); ++i) total += std::hypot(pts[i].x - pts[i - 1].x, pts[i].y - pts[i - 1].y);
    long double goal = fraction * total;
    for (size_t i = 1; i < pts.size(); ++i) {
        long double len = std::hypot(pts[i].x - pts[i - 1].x, pts[i].y - pts[i - 1].y);
        if (len > 0 && goal <= len) {
            long double t = goal / len;
            return {pts[i - 1].x + t * (pts[i].x - pts[i - 1].x), pts[i - 1].y + t * (pts[i].y - pts[i - 1].y)};
        }
        goal -= len;
    }
    return pts.back();
}

// A label of width w centred on c, its cap height centred on c too.
PlacedLabel centredlabel(int16_t item, TextView text, Spot c, long double w, long double h, long double margin) {
    Rect box = {c.x - w / 2, c.y - h / 2, c.x + w / 2, c.y + h / 2};
    return {item, text, c.x, box.bottom, grown(box, margin)};
}

// The point labels: on the point as of old, or with halos beside it, on
// the first side (upper right, upper left, lower right, lower left, right,
// left, above, below) where it stays in the window clear of lines, circles
// and labels, else on the side where it is least in the way.
void placepointlabels(Planner& pl) {
    const Diagram& d = pl.d;
    FigurePlan& plan = pl.plan;
    const FigureStyle& st = plan.style;
    if (!isyes(d.options.numbering)) return;
    long double s = st.labelsize, r = d.options.circlesize;
    long double h = capheight * s, margin = st.halo / 2, gap = pointgap * s;
    for (int k = 1; k <= d.npoints && k <= maxpoints; ++k) {
        const InvariantPoint& p = d.points[k];
        if (!pointdrawn(d, p)) continue;
        Spot c;
        topage(plan.map, p.x, p.y, c.x, c.y);
        TextView text = labeltext(p.name);
        if (st.halo == 0) {
            plan.pointlabels.push_back(pl.oldlabel(static_cast<int16_t>(k), text, c));
            continue;
        }
        long double w = pl.width(text, TextFace::bold, s);
        static const int sides[8][2] = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        PlacedLabel best{};
        int bestbad = -1;
        for (const auto& side : sides) {
            long double off = side[0] != 0 && side[1] != 0 ? r * std::sqrt(0.5L) + gap : r + gap;
            long double left = side[0] > 0 ? c.x + off : side[0] < 0 ? c.x - off - w : c.x - w / 2;
            long double bottom = side[1] > 0 ? c.y + off : side[1] < 0 ? c.y - off - h : c.y - h / 2;
            Rect box = grown({left, bottom, left + w, bottom + h}, margin);
            int bad = pl.badness(box, 0);
            if (bestbad < 0 || bad < bestbad) {
                best = {static_cast<int16_t>(k), text, left + w / 2, bottom, box};
                bestbad = bad;
            }
            if (bad == 0) break;
        }
        plan.pointlabels.push_back(best);
        pl.taken.push_back(best.box);
    }
}

// The line labels: at the half-way point when that lies inside the window;
// with halos moved along the line (a twentieth of its length at a time, to
// a tenth of it from either end) when they would be in the way there.
void placelinelabels(Planner& pl, const std::vector<LabelPlace>& mids) {
    const Diagram& d = pl.d;
    FigurePlan& plan = pl.plan;
    const FigureStyle& st = plan.style;
    if (!isyes(d.options.numbering)) return;
    long double s = st.labelsize, h = capheight * s, margin = st.halo / 2;
    int n = d.nlines < maxlines ? d.nlines : maxlines;
    for (int k = 1; k <= n && static_cast<size_t>(k) < mids.size(); ++k) {
        const UnivariantLine& line = d.lines[k];
        if (linelength(line) <= 0) continue;
        const LabelPlace& mid = mids[static_cast<size_t>(k)];
        if (!insidewindow(d.window, mid.x, mid.y)) continue;
        Spot c;
        topage(plan.map, mid.x, mid.y, c.x, c.y);
        TextView text = labeltext(line.name);
        if (st.halo == 0) {
            plan.linelabels.push_back(pl.oldlabel(static_cast<int16_t>(k), text, c));
            continue;
        }
        long double w = pl.width(text, TextFace::regular, s);
        std::vector<Spot> pts = pagepoints(plan.map, line);
        PlacedLabel best = centredlabel(static_cast<int16_t>(k), text, c, w, h, margin);
        int bestbad = pl.badness(best.box, static_cast<int16_t>(k));
        for (int step = 1; step <= 8 && bestbad > 0; ++step) {
            for (int sign : {-1, 1}) {
                Spot at = along(pts, 0.5L + sign * step * 0.05L);
                if (!(at.x > plan.map.left && at.x < plan.map.right && at.y > plan.map.bottom && at.y < plan.map.top))
                    continue;
                PlacedLabel here = centredlabel(static_cast<int16_t>(k), text, at, w, h, margin);
                int bad = pl.badness(here.box, static_cast<int16_t>(k));
                if (bad < bestbad) {
                    best = here;
                    bestbad = bad;
                }
            }
        }
        plan.linelabels.push_back(best);
        pl.taken.push_back(best.box);
    }
}

// The words of a text, split at blanks.
std::vector<TextView> wordsof(const Text& t) {
    std::vector<TextView> out;
    int i = 0;
    while (i < t.len) {
        while (i < t.len && (t.c[i] == ' ' || t.c[i] == '\t')) ++i;
        int start = i;
        while (i < t.len && t.c[i] != ' ' && t.c[i] != '\t') ++i;
        if (i > start) out.push_back({t.c + start, i - start});
    }
    return out;
}

// Words first..last-1 joined by single blanks.
Text joined(const std::vector<TextView>& words, size_t first, size_t last) {
    Text t;
    t.len = 0;
    for (size_t i = first; i < last; ++i) {
        if (i > first) addtext(t, " ");
        addtext(t, words[i].c, static_cast<int>(words[i].len));
    }
    return t;
}

// The text broken into n lines whose widest is as narrow as can be, the
// breaks between words; the widths are summed word by word to choose.
std::vector<Text> brokenlines(const std::vector<TextView>& words, int n, const std::vector<long double>& widths,
                              long double space) {
    size_t count = words.size();
    auto span = [&](size_t a, size_t b) {
        long double w = 0;
        for (size_t i = a; i < b; ++i) w += widths[i] + (i > a ? space : 0);
        return w;
    };
    std::vector<size_t> best;
    long double bestwidth = INFINITY;
    if (n == 1) return {joined(words, 0, count)};
    for (size_t a = 1; a < count; ++a) {
        if (n == 2) {
            long double w = std::max(span(0, a), span(a, count));
            if (w < bestwidth) {
                bestwidth = w;
                best = {a};
            }
            continue;
        }
        for (size_t b = a + 1; b < count; ++b) {
            long double w = std::max({span(0, a), span(a, b), span(b, count)});
            if (w < bestwidth) {
                bestwidth = w;
                best = {a, b};
            }
        }
    }
    std::vector<Text> lines;
    size_t from = 0;
    for (size_t cut : best) {
        lines.push_back(joined(words, from, cut));
        from = cut;
    }
    lines.push_back(joined(words, from, count));
    return lines;
}

// A field's text set at size s as `lines` at centre c.
FieldLabel fieldtext(int16_t area, const std::vector<Text>& lines, long double s, Spot c, long double w) {
    FieldLabel f;
    f.area = area;
    f.number = 0;
    f.size = s;
    f.lines = lines;
    f.leading = fieldleading * s;
    long double height = capheight * s + (static_cast<long double>(lines.size()) - 1) * f.leading + descent * s;
    f.x = c.x;
    f.baseline = c.y + height / 2 - capheight * s;
    f.box = {c.x - w / 2, c.y - height / 2, c.x + w / 2, c.y + height / 2};
    return f;
}

// Where a w by h box goes in the region: at the visual centre when it fits
// there (`anywhere` false), else where it has the most room when it fits
// there; false when it does not fit.
bool fitbox(const Region& region, Spot centre, long double centreroom, long double w, long double h, bool anywhere,
            Spot& at) {
    if (2 * centreroom < std::min(w, h)) return false;  // not even the inscribed circle holds it
    if (!anywhere) {
        at = centre;
        return boxroom(region, centre, w, h) >= 1;
    }
    long double room;
    at = roomiestspot(region, w, h, 0.01L, room);
    return room >= 1;
}

// The sizes a field's text is tried at: from the field size down to the
// least size.
std::vector<long double> fieldsizes(const FigureStyle& st) {
    std::vector<long double> sizes;
    for (long double s = st.fieldsize; s > st.leastsize; s -= fieldstep) sizes.push_back(s);
    sizes.push_back(st.leastsize);
    return sizes;
}

// The field names, in area order: each at the largest size (and in the
// fewest lines at that size) at which it fits its area clear of the lines
// and the labels; a name that fits at no size down to the least gets a
// number of its own series, set where it has most room.
void placefields(Planner& pl, const std::vector<AreaBoundary>& areas) {
    const Diagram& d = pl.d;
    FigurePlan& plan = pl.plan;
    const FigureStyle& st = plan.style;
    if (d.fieldnames.empty()) return;
    std::vector<BoundaryPoint> points;
    int16_t numbered = 0;
    for (const AreaBoundary& b : areas) {
        if (static_cast<size_t>(b.area) >= d.fieldnames.size()) continue;
        const Text& name = d.fieldnames[static_cast<size_t>(b.area)];
        if (name.len == 0) continue;
        boundarypoints(d, b.pieces, points);
        Region region;
        region.window = pl.window;
        for (const BoundaryPoint& p : points) {
            Spot s;
            topage(plan.map, p.x, p.y, s.x, s.y);
            if (region.polygon.empty() || s.x != region.polygon.back().x || s.y != region.polygon.back().y)
                region.polygon.push_back(s);
        }
        if (region.polygon.size() < 3) continue;
        Rect extent = {INFINITY, INFINITY, -INFINITY, -INFINITY};
        for (const Spot& s : region.polygon)
            extent = {std::min(extent.left, s.x), std::min(extent.bottom, s.y), std::max(extent.right, s.x),
                      std::max(extent.top, s.y)};
        pl.grid.near(extent, [&](const Segment& s, int16_t) { region.segments.push_back(s); });
        region.boxes = pl.taken;
        region.boxes.insert(region.boxes.end(), pl.circles.begin(), pl.circles.end());
        long double centreroom;
        Spot centre = visualcentre(region, 0.25L, centreroom);
        if (centreroom <= 0) continue;

        std::vector<TextView> words = wordsof(name);
        FieldLabel label{};
        bool fitted = false;
        for (long double s : fieldsizes(st)) {
            std::vector<long double> widths;
            for (TextView w : words) widths.push_back(pl.width(w, TextFace::regular, s));
            long double space = pl.width({" ", 1}, TextFace::regular, s);
            int most = std::min(maxfieldlines, static_cast<int>(words.size()));
            // At this size: in the fewest lines at the visual centre, else
            // in the fewest lines where the text has most room.
            for (int tries = 0; tries < 2 * most && !fitted; ++tries) {
                int n = tries % most + 1;
                std::vector<Text> lines = brokenlines(words, n, widths, space);
                long double w = 0;
                for (const Text& t : lines) w = std::max(w, pl.width(viewof(t), TextFace::regular, s));
                long double h = capheight * s + (n - 1) * fieldleading * s + descent * s;
                long double pad = 2 * fieldpad * s;
                Spot at;
                if (fitbox(region, centre, centreroom, w + pad, h + pad, tries >= most, at)) {
                    label = fieldtext(b.area, lines, s, at, w);
                    fitted = true;
                }
            }
            if (fitted) break;
        }
        if (!fitted) {
            // At the visual centre when it fits nowhere, even at the least size.
            Text number;
            settext(number, real2intstr(++numbered));
            for (long double s : fieldsizes(st)) {
                long double w = pl.width(viewof(number), TextFace::italic, s), h = (capheight + descent) * s;
                long double pad = 2 * fieldpad * s;
                Spot at = centre;
                fitted = fitbox(region, centre, centreroom, w + pad, h + pad, false, at) ||
                         fitbox(region, centre, centreroom, w + pad, h + pad, true, at);
                if (!fitted) at = centre;
                if (fitted || s == st.leastsize) label = fieldtext(b.area, {number}, s, at, w);
                if (fitted) break;
            }
            label.number = numbered;
        }
        plan.fields.push_back(label);
        pl.taken.push_back(label.box);
    }
}

// The frame's numbers and axis titles; returns how far down they reach
// below the plot.
long double placeframe(Planner& pl) {
    const Diagram& d = pl.d;
    FigurePlan& plan = pl.plan;
    const FigureStyle& st = plan.style;
    const PageMap& m = plan.map;
    long double fs = st.fontsize;
    if (st.metricframe) {
        plan.numbers = {m.bottom - numbergap * fs - capheight * fs, m.left - numbergap * fs, capheight * fs / 2, m.left};
    } else {
        // Where the numbers always stood: 3 and 2 tick lengths off the axes.
        const PlotWindow& w = d.window;
        long double px, py;
        topage(m, w.xlow - 2 * ((w.xhigh - w.xlow) / 60), w.ylow - 3 * ((w.yhigh - w.ylow) / 60), px, py);
        plan.numbers = {py, px, oldydrop, m.left};
    }
    const TickMarks& t = d.ticks;
    bool xnumbers = !axisvalues(t.xstart - t.xtickgap, t.xtickgap, d.window.xhigh, d.window.xlow).empty();
    long double below = xnumbers ? plan.numbers.xbaseline : m.bottom;
    const FigureOptions& f = d.figure;
    if (f.xlabel.len > 0) {
        plan.xlabel = {f.xlabel, (m.left + m.right) / 2, below - titlegap * fs - capheight * fs};
        below = plan.xlabel.y - descent * fs;
    }
    plan.numbers.yleft = m.left;
    if (f.ylabel.len > 0 || st.metricframe) {
        for (long double v : axisvalues(t.ystart - t.ytickgap, t.ytickgap, d.window.yhigh, d.window.ylow)) {
            Word label = ticklabel(v);
            plan.numbers.yleft =
                std::min(plan.numbers.yleft, plan.numbers.yright - pl.width(viewof(label), TextFace::regular, fs));
        }
    }
    if (f.ylabel.len > 0)
        plan.ylabel = {f.ylabel, plan.numbers.yleft - titlegap * fs - descent * fs, (m.bottom + m.top) / 2};
    return below;
}

// The key's entries of one kind: a number, its face and the text it
// stands for, in the order of the numbers' values (labels that are not
// whole numbers after those that are, in table order).
struct KeyItem {
    TextView number;
    Text text;
};

void addgroup(Legend& key, std::vector<KeyItem> items, TextFace face, int group) {
    auto value = [](TextView t) {
        long double v;
        return realvalue(t.c, t.len, v) && v == std::floor(v) ? v : INFINITY;
    };
    std::stable_sort(items.begin(), items.end(),
                     [&](const KeyItem& a, const KeyItem& b) { return value(a.number) < value(b.number); });
    for (const KeyItem& item : items) {
        if (item.text.len == 0) continue;
        LegendEntry e{};
        settext(e.number, item.number.c, item.number.len);
        e.face = face;
        e.text = item.text;
        e.group = group;
        key.entries.push_back(e);
    }
}

// The key: the numbered lines, the numbered points and the numbered
// fields, each kind set a half line apart from the next, in columns of
// numbers right-aligned and texts after them.  Beside the plot a column
// is at most the plot's height; below it the columns are as short as the
// plot's width lets them be.
void placelegend(Planner& pl, long double below) {
    const Diagram& d = pl.d;
    FigurePlan& plan = pl.plan;
    Legend& key = plan.legend;
    if (d.figure.legend == LegendPlace::none) return;
    std::vector<KeyItem> lines, points, fields;
    for (const PlacedLabel& l : plan.linelabels) lines.push_back({l.text, phasetext(d.lines[l.item])});
    for (const PlacedLabel& l : plan.pointlabels) points.push_back({l.text, phasetext(d.points[l.item])});
    for (const FieldLabel& f : plan.fields)
        if (f.number > 0) fields.push_back({viewof(f.lines[0]), d.fieldnames[static_cast<size_t>(f.area)]});
    addgroup(key, lines, TextFace::regular, 0);
    addgroup(key, points, plan.style.halo > 0 ? TextFace::bold : TextFace::regular, 1);
    addgroup(key, fields, TextFace::italic, 2);
    size_t n = key.entries.size();
    if (n == 0) return;

    long double fs = plan.style.fontsize, leading = keyleading * fs, rowheight = (capheight + descent) * fs;
    std::vector<long double> numw(n), textw(n);
    for (size_t i = 0; i < n; ++i) {
        numw[i] = pl.width(viewof(key.entries[i].number), key.entries[i].face, fs);
        textw[i] = pl.width(viewof(key.entries[i].text), TextFace::regular, fs);
    }
    // The entries in columns no taller than `height`: each entry's column
    // and its drop below the column's top; the columns' widths.
    std::vector<size_t> column(n);
    std::vector<long double> drop(n), numcol, widths;
    auto setcolumns = [&](long double height) {
        numcol.assign(1, 0);
        widths.assign(1, 0);
        long double y = 0;
        for (size_t i = 0; i < n; ++i) {
            if (i > 0) {
                long double next = y + leading + (key.entries[i].group != key.entries[i - 1].group ? leading / 2 : 0);
                if (next + rowheight > height) {
                    numcol.push_back(0);
                    widths.push_back(0);
                    next = 0;
                }
                y = next;
            }
            column[i] = numcol.size() - 1;
            drop[i] = y;
            numcol.back() = std::max(numcol.back(), numw[i]);
            widths.back() = std::max(widths.back(), textw[i]);
        }
        long double total = 0;
        for (size_t c = 0; c < widths.size(); ++c) {
            widths[c] += numcol[c] + keyspace * fs;
            total += widths[c] + (c > 0 ? keycolumns * fs : 0);
        }
        return total;
    };
    const PageMap& m = plan.map;
    long double left, top;
    if (d.figure.legend == LegendPlace::right) {
        left = m.right + keydistance * fs;
        top = m.top;
        setcolumns(m.top - m.bottom);
    } else {
        left = m.left;
        top = below - keydistance * fs;
        for (long double height = rowheight; setcolumns(height) > m.right - m.left && widths.size() > 1;
             height += leading / 2) {
        }
    }
    std::vector<long double> columnleft(widths.size(), left);
    for (size_t c = 1; c < widths.size(); ++c) columnleft[c] = columnleft[c - 1] + widths[c - 1] + keycolumns * fs;
    key.box = {left, top, columnleft.back() + widths.back(), top};
    for (size_t i = 0; i < n; ++i) {
        LegendEntry& e = key.entries[i];
        e.numberright = columnleft[column[i]] + numcol[column[i]];
        e.textleft = e.numberright + keyspace * fs;
        e.baseline = top - capheight * fs - drop[i];
        key.box.bottom = std::min(key.box.bottom, e.baseline - descent * fs);
    }
}

// Append the zero-mode phases in parentheses, those that are not "none".
void zeromodes(Text& t, std::initializer_list<const Word*> zero) {
    Text inner;
    inner.len = 0;
    for (const Word* z : zero) {
        if (z->len == 0 || istext(*z, "none")) continue;
        if (inner.len > 0) addtext(inner, " ");
        addtext(inner, *z);
    }
    if (inner.len == 0) return;
    if (t.len > 0) addtext(t, " ");
    addtext(t, "(");
    addtext(t, inner);
    addtext(t, ")");
}

Text phaselist(const Word* phases, int16_t n) {
    Text t;
    t.len = 0;
    for (int i = 1; i <= n && i <= maxphases; ++i) {
        if (i > 1) addtext(t, " ");
        addtext(t, phases[i]);
    }
    return t;
}

}  // namespace

Text phasetext(const UnivariantLine& line) {
    Text t = phaselist(line.phases, line.nphases);
    if (!line.univariantword && !line.lineword) zeromodes(t, {&line.zeromode});
    return t;
}

Text phasetext(const InvariantPoint& point) {
    Text t = phaselist(point.phases, point.nphases);
    if (!point.invariantword && !point.pointword) zeromodes(t, {&point.zeromode1, &point.zeromode2});
    return t;
}

FigureStyle figurestyle(const Diagram& d) {
    const FigureOptions& f = d.figure;
    FigureStyle st;
    st.metricframe = f.fontsize > 0 || f.widthmm > 0;
    st.fontsize = f.fontsize > 0 ? f.fontsize : framesize;
    st.labelsize = f.fontsize > 0 ? f.fontsize : d.options.numbersize;
    st.fieldsize = st.fontsize;
    st.leastsize = std::min(st.fontsize, leastlegible);
    st.halo = f.halo ? halofactor * st.labelsize : 0;
    return st;
}

namespace {

// The figure's texts planned on a map.
FigurePlan planon(const PageMap& map, const Diagram& d, const std::vector<AreaBoundary>& areas,
                  const std::vector<LabelPlace>& mids, const TextMeasure& measure) {
    FigurePlan plan{};
    plan.map = map;
    plan.style = figurestyle(d);
    const PageMap& m = plan.map;
    Rect window = {m.left, m.bottom, m.right, m.top};
    // Lines and circles matter to the places of halo labels and field names.
    bool crowded = plan.style.halo > 0 || !d.fieldnames.empty();
    Planner pl{d, measure, plan, window, SegmentGrid(window, crowded ? 16 : m.right - m.left), {}, {}};
    if (crowded) {
        for (int k = 1; k <= d.nlines && k <= maxlines; ++k) {
            std::vector<Spot> pts = pagepoints(m, d.lines[k]);
            for (size_t i = 1; i < pts.size(); ++i) pl.grid.add({pts[i - 1], pts[i]}, static_cast<int16_t>(k));
        }
        long double r = d.options.circlesize;
        for (int k = 1; k <= d.npoints && k <= maxpoints; ++k) {
            const InvariantPoint& p = d.points[k];
            if (!pointdrawn(d, p) || r <= 0) continue;
            Spot c;
            topage(m, p.x, p.y, c.x, c.y);
            pl.circles.push_back({c.x - r, c.y - r, c.x + r, c.y + r});
        }
    }
    placepointlabels(pl);
    placelinelabels(pl, mids);
    if (isyes(d.options.doareas)) placefields(pl, areas);
    placelegend(pl, placeframe(pl));
    return plan;
}

// The least distance kept between what is drawn and the page's lower and
// left edges (where its coordinates would turn negative).
constexpr long double pageorigin = 20;

}  // namespace

FigurePlan planfigure(const Diagram& d, const std::vector<AreaBoundary>& areas, const std::vector<LabelPlace>& mids,
                      const TextMeasure& measure) {
    PageMap map = pagemap(d);
    FigurePlan plan = planon(map, d, areas, mids, measure);
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
    return planon(map, d, areas, mids, measure);
}
