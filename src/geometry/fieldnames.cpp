// fieldnames.cpp - where the names of the fields go: at their visual
// centres when they fit, made smaller and broken into lines when not, and
// numbered when they fit nowhere.
#include <algorithm>
#include <cmath>

#include "geometry/planner.h"
#include "text/markup.h"
#include "text/numfmt.h"

namespace gridel::geometry {

namespace {

// The step a field's name is made smaller by, and the most lines it is
// broken into.
constexpr long double fieldstep = 0.5L;
constexpr int maxfieldlines = 3;

// In font sizes: the room kept round a field's name, the leading of its
// lines.
constexpr long double fieldpad = 0.2L;
constexpr long double fieldleading = 1.15L;

// The words of a text, split at blanks.
std::vector<text::TextView> wordsof(const text::Text& t) {
    std::vector<text::TextView> out;
    // A math stretch ("$\Delta V$") is never broken: its blanks join.
    std::vector<std::pair<int32_t, int32_t>> math = text::mathstretches(text::viewof(t));
    auto blank = [&](int i) {
        if (t.c[i] != ' ' && t.c[i] != '\t') return false;
        for (const auto& m : math)
            if (i > m.first && i < m.second) return false;
        return true;
    };
    int i = 0;
    while (i < t.len) {
        while (i < t.len && blank(i)) ++i;
        int start = i;
        while (i < t.len && !blank(i)) ++i;
        if (i > start) out.push_back({t.c + start, i - start});
    }
    return out;
}

// Words first..last-1 joined by single blanks.
text::Text joined(const std::vector<text::TextView>& words, size_t first, size_t last) {
    text::Text t;
    t.len = 0;
    for (size_t i = first; i < last; ++i) {
        if (i > first) text::addtext(t, " ");
        text::addtext(t, words[i].c, static_cast<int>(words[i].len));
    }
    return t;
}

// The text broken into n lines whose widest is as narrow as can be, the
// breaks between words; the widths are summed word by word to choose.
std::vector<text::Text> brokenlines(const std::vector<text::TextView>& words, int n, const std::vector<long double>& widths,
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
    std::vector<text::Text> lines;
    size_t from = 0;
    for (size_t cut : best) {
        lines.push_back(joined(words, from, cut));
        from = cut;
    }
    lines.push_back(joined(words, from, count));
    return lines;
}

// A field's text set at size s as `lines` at centre c.
FieldLabel fieldtext(int16_t area, const std::vector<text::Text>& lines, long double s, Spot c, long double w) {
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

// With halos, whether a field's number standing at `box` is within a
// digit's width, ink to ink, of one of the first `before` labels placed
// (the free texts and the lines' and points' numbers, whose boxes hold
// their halos): it may then be read with it.
bool neartexts(const Planner& pl, const Rect& box, size_t before) {
    long double spacing = numberspacing(pl);
    if (spacing <= 0) return false;
    long double halo = pl.plan.style.halo, digit = spacing + halo;
    bool near = false;
    pl.taken.near(grown(box, digit), pl.scan, [&](int i, const Rect& r) {
        if (static_cast<size_t>(i) < before && rectgap(box, grown(r, -halo / 2)) < digit) near = true;
    });
    return near;
}

// Where a w by h box goes in the region: at the visual centre when it fits
// there (`anywhere` false), else where it has the most room when it fits
// there; false when it does not fit.
bool fitbox(const RoomSearch& region, Spot centre, long double centreroom, long double w, long double h, bool anywhere,
            Spot& at) {
    if (2 * centreroom < std::min(w, h)) return false;  // not even the inscribed circle holds it
    if (!anywhere) {
        at = centre;
        return region.fits(centre, w, h);
    }
    long double room;
    at = region.roomiestspot(w, h, 0.01L, room, 1);
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

}  // namespace

// The field names, in area order: each at the largest size (and in the
// fewest lines at that size) at which it fits its area clear of the lines
// and the labels; a name that fits at no size down to the least gets a
// number of its own series, set at the visual centre or where it has most
// room.
void placefields(Planner& pl, const std::vector<AreaBoundary>& areas) {
    const diagram::Diagram& d = pl.d;
    FigurePlan& plan = pl.plan;
    const FigureStyle& st = plan.style;
    if (d.fieldnames.empty()) return;
    std::vector<BoundaryPoint> points;
    int16_t numbered = 0;
    const size_t numbers = pl.taken.all().size();  // the labels placed before the fields'
    // One region, filled anew for each field: its lists keep their room.
    Region region;
    for (const AreaBoundary& b : areas) {
        run::stopifinterrupted();
        if (static_cast<size_t>(b.area) >= d.fieldnames.size()) continue;
        const text::Text& name = d.fieldnames[static_cast<size_t>(b.area)];
        if (name.len == 0) continue;
        boundarypoints(d, b.pieces, points);
        region.polygon.clear();
        region.segments.clear();
        region.boxes.clear();
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
        region.boxes = pl.taken.all();
        // A digit's width from every number (and other label) to the name.
        if (long double spacing = numberspacing(pl); spacing > 0)
            for (Rect& box : region.boxes) box = grown(box, spacing);
        region.boxes.insert(region.boxes.end(), pl.circles.all().begin(), pl.circles.all().end());
        region.scan = pl.scan;
        long double centreroom;
        Spot centre = visualcentre(region, 0.25L, centreroom);
        if (centreroom <= 0) continue;
        RoomSearch room(region);

        std::vector<text::TextView> words = wordsof(name);
        int most = std::min(maxfieldlines, static_cast<int>(words.size()));
        // The name at size s in n lines: the lines, their width, and the
        // box it wants (with its padding).
        struct Setting {
            std::vector<text::Text> lines;
            long double width;
            long double boxwidth;
            long double boxheight;
        };
        auto setting = [&](long double s, int n) {
            std::vector<long double> widths;
            for (text::TextView w : words) widths.push_back(pl.width(w, TextFace::regular, s));
            long double space = pl.width({" ", 1}, TextFace::regular, s);
            Setting set{brokenlines(words, n, widths, space), 0, 0, 0};
            for (const text::Text& t : set.lines) set.width = std::max(set.width, pl.width(viewof(t), TextFace::regular, s));
            long double h = capheight * s + (n - 1) * fieldleading * s + descent * s;
            long double pad = 2 * fieldpad * s;
            set.boxwidth = set.width + pad;
            set.boxheight = h + pad;
            return set;
        };
        // The field's number, should the name fit nowhere, and the box it
        // wants at size s.
        text::Text number;
        text::settext(number, text::real2intstr(numbered + 1));
        auto numberbox = [&](long double s) {
            long double w = pl.width(text::viewof(number), TextFace::italic, s), h = (capheight + descent) * s;
            long double pad = 2 * fieldpad * s;
            return Setting{{number}, w, w + pad, h + pad};
        };
        const std::vector<long double> sizes = fieldsizes(st);
        FieldLabel label{};
        bool fitted = false;
        // Once the name does not fit at the centre at its first size, a box
        // no larger either way than any it may come to (the number's and the
        // name's in each count of lines, at the least size) is tried first.
        // Shown to fit nowhere (as in a crowded plot), it spares the search
        // of every box the name or its number may then try.
        auto tryleast = [&] {
            Setting least = numberbox(sizes.back());
            for (int n = 1; n <= most; ++n) {
                Setting set = setting(sizes.back(), n);
                least.boxwidth = std::min(least.boxwidth, set.boxwidth);
                least.boxheight = std::min(least.boxheight, set.boxheight);
            }
            Spot at;
            fitbox(room, centre, centreroom, least.boxwidth, least.boxheight, true, at);
        };
        for (size_t k = 0; k < sizes.size() && !fitted; ++k) {
            long double s = sizes[k];
            // At this size: in the fewest lines at the visual centre, else
            // in the fewest lines where the text has most room.
            for (int tries = 0; tries < 2 * most && !fitted; ++tries) {
                if (k == 0 && tries == most) tryleast();
                Setting set = setting(s, tries % most + 1);
                Spot at;
                if (fitbox(room, centre, centreroom, set.boxwidth, set.boxheight, tries >= most, at)) {
                    label = fieldtext(b.area, set.lines, s, at, set.width);
                    fitted = true;
                }
            }
        }
        if (!fitted) {
            // At the visual centre when it fits nowhere, even at the least size.
            ++numbered;
            for (long double s : sizes) {
                Setting box = numberbox(s);
                Spot at = centre;
                fitted = fitbox(room, centre, centreroom, box.boxwidth, box.boxheight, false, at) ||
                         fitbox(room, centre, centreroom, box.boxwidth, box.boxheight, true, at);
                if (!fitted) at = centre;
                if (fitted || s == st.leastsize) label = fieldtext(b.area, box.lines, s, at, box.width);
                if (fitted) break;
            }
            if (!fitted && neartexts(pl, label.box, numbers)) plan.crowded.push_back(b.area);
            label.number = numbered;
        }
        plan.fields.push_back(label);
        pl.taken.add(label.box);
    }
}

}  // namespace gridel::geometry
