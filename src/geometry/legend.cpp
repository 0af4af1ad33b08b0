// legend.cpp - the key: what each number on the plot stands for, in
// columns beside or below the plot, and the phases of lines and points as
// the key writes them.
#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "geometry/planner.h"
#include "text/tokens.h"

namespace gridel::geometry {

namespace {

// In font sizes: the key's leading, the gap between a number and its
// text, the gap between columns and the key's distance from the plot.
constexpr long double keyleading = 1.3L;
constexpr long double keyspace = 0.5L;
constexpr long double keycolumns = 1.5L;
constexpr long double keydistance = 1.2L;

// The key's entries of one kind: a number, its face and the text it
// stands for, in the order of the numbers' values (labels that are not
// whole numbers after those that are, in table order).
struct KeyItem {
    text::TextView number;
    text::Text text;
};

void addgroup(Legend& key, std::vector<KeyItem> items, TextFace face, int group) {
    auto value = [](text::TextView t) {
        long double v;
        return text::realvalue(t.c, t.len, v) && v == std::floor(v) ? v : INFINITY;
    };
    std::stable_sort(items.begin(), items.end(),
                     [&](const KeyItem& a, const KeyItem& b) { return value(a.number) < value(b.number); });
    for (const KeyItem& item : items) {
        if (item.text.len == 0) continue;
        LegendEntry e{};
        text::settext(e.number, item.number.c, item.number.len);
        e.face = face;
        e.text = item.text;
        e.group = group;
        key.entries.push_back(e);
    }
}

// Append the zero-mode phases in parentheses, those that are not "none".
void zeromodes(text::Text& t, std::initializer_list<const text::Word*> zero) {
    text::Text inner;
    inner.len = 0;
    for (const text::Word* z : zero) {
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

text::Text phaselist(const text::Word* phases, int16_t n) {
    text::Text t;
    t.len = 0;
    for (int i = 1; i <= n && i <= diagram::maxphases; ++i) {
        if (i > 1) text::addtext(t, " ");
        text::addtext(t, phases[i]);
    }
    return t;
}

}  // namespace

// The key: the numbered lines, the numbered points and the numbered
// fields (those of them the script names), each kind set a half line
// apart from the next, in columns of numbers right-aligned and texts after
// them.  Beside the plot the columns are as few as the plot's height
// allows and, so many, as short as they can be; below it the columns are
// as short as the plot's width lets them be.
void placelegend(Planner& pl, long double below) {
    const diagram::Diagram& d = pl.d;
    FigurePlan& plan = pl.plan;
    Legend& key = plan.legend;
    if (d.figure.legend == diagram::LegendPlace::none) return;
    std::vector<KeyItem> lines, points, fields;
    for (const PlacedLabel& l : plan.linelabels) lines.push_back({l.text, phasetext(d.lines[l.item])});
    for (const PlacedLabel& l : plan.pointlabels) points.push_back({l.text, phasetext(d.points[l.item])});
    for (const FieldLabel& f : plan.fields)
        if (f.number > 0) fields.push_back({text::viewof(f.lines[0]), d.fieldnames[static_cast<size_t>(f.area)]});
    // Only the kinds the script names, every kind when it names none.
    uint8_t kinds = d.figure.legendkinds == 0 ? diagram::legendlines | diagram::legendpoints | diagram::legendfields : d.figure.legendkinds;
    if (kinds & diagram::legendlines) addgroup(key, lines, TextFace::regular, 0);
    if (kinds & diagram::legendpoints) addgroup(key, points, plan.style.halo > 0 ? TextFace::bold : TextFace::regular, 1);
    if (kinds & diagram::legendfields) addgroup(key, fields, TextFace::italic, 2);
    size_t n = key.entries.size();
    if (n == 0) return;

    long double fs = plan.style.fontsize, leading = keyleading * fs, rowheight = (capheight + descent) * fs;
    std::vector<long double> numw(n), textw(n);
    for (size_t i = 0; i < n; ++i) {
        numw[i] = pl.width(text::viewof(key.entries[i].number), key.entries[i].face, fs);
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
    if (d.figure.legend == diagram::LegendPlace::right) {
        left = m.right + keydistance * fs;
        top = m.top;
        // As few columns as the plot's height allows, and those as short
        // as that many columns can be: balanced, not one full and one short.
        setcolumns(m.top - m.bottom);
        size_t fewest = widths.size();
        for (long double height = rowheight; setcolumns(height), widths.size() > fewest; height += leading / 2) {
        }
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

text::Text phasetext(const diagram::UnivariantLine& line) {
    text::Text t = phaselist(line.phases, line.nphases);
    if (!line.univariantword && !line.lineword) zeromodes(t, {&line.zeromode});
    return t;
}

text::Text phasetext(const diagram::InvariantPoint& point) {
    text::Text t = phaselist(point.phases, point.nphases);
    if (!point.invariantword && !point.pointword) zeromodes(t, {&point.zeromode1, &point.zeromode2});
    return t;
}

}  // namespace gridel::geometry
