// figure.cpp - lineweights and the texts of a figure for print.
#include "drawing/figure.h"

#include "drawing/areas.h"
#include "drawing/items.h"
#include "text/markup.h"

namespace gridel::drawing {

namespace {

// The widths of old, in points.
constexpr long double oldline = 0.3L;
constexpr long double oldthick = 0.6L;
constexpr long double oldbox = 0.5L;
constexpr long double oldtick = 0.2L;
constexpr long double oldcircle = 0.2L;

// A field whose colour is darker than this (its luminance, 0 black to 1
// white) gets its name in white.
constexpr long double darkfield = 0.45L;

long double luminance(const Colour& c) { return 0.2126L * c.red + 0.7152L * c.green + 0.0722L * c.blue; }

}  // namespace

LineWeights lineweights(const diagram::Diagram& d) {
    long double w = d.figure.linewidth;
    if (w == 0) return {oldline, oldthick, oldbox, oldtick, oldcircle};
    return {w, 2 * w, w * oldbox / oldline, w * oldtick / oldline, w * oldcircle / oldline};
}

TextLook textlook(long double size, geometry::TextFace face) { return {size, face, false, 0}; }

TextLook writtenlook(const diagram::Diagram& d, long double size, geometry::TextFace face) {
    TextLook look = textlook(size, face);
    look.formulas = d.figure.formulas;
    return look;
}

bool plainlabels(const diagram::Diagram& d) { return d.figure.fontsize == 0 && !d.figure.halo; }

void drawlabel(const diagram::Diagram& d, const geometry::FigurePlan& plan, const geometry::PlacedLabel& label, geometry::TextFace face, Canvas& canvas) {
    if (plainlabels(d)) {
        canvas.text(label.x, label.baseline, label.text, TextRole::centred);
        return;
    }
    TextLook style = textlook(plan.style.labelsize, face);
    style.halo = plan.style.halo;
    canvas.styledtext(label.x, label.baseline, label.text, TextRole::centred, style);
}

void drawfieldnames(const diagram::Diagram& d, const geometry::FigurePlan& plan, Canvas& canvas) {
    if (plan.fields.empty()) return;
    canvas.blank();
    canvas.comment("field names");
    for (const geometry::FieldLabel& f : plan.fields) {
        const text::Text& name = d.fieldnames[static_cast<size_t>(f.area)];
        // Its title the name as read, markup taken out ("ky + β-q").
        std::string title;
        for (const text::MarkRun& run : markup(viewof(name), false)) title += run.text;
        ItemGroup group(canvas, "field-" + std::to_string(f.area), f.number > 0 ? "field numbered" : "field", title);
        Colour fill = areacolourof(d.options, d.areas[f.area].grayscale);
        Colour white = {1, 1, 1};
        bool dark = luminance(fill) < darkfield;
        if (dark) canvas.linecolour(&white);
        TextLook style = writtenlook(d, f.size, f.number > 0 ? geometry::TextFace::italic : geometry::TextFace::regular);
        for (size_t i = 0; i < f.lines.size(); ++i)
            canvas.styledtext(f.x, f.baseline - static_cast<long double>(i) * f.leading, viewof(f.lines[i]),
                              TextRole::centred, style);
        if (dark) canvas.black();
    }
}

void drawfreetexts(const diagram::Diagram& d, const std::vector<geometry::PlacedText>& texts, Canvas& canvas) {
    if (texts.empty()) return;
    canvas.blank();
    canvas.comment("free texts");
    canvas.dash(false);
    canvas.black();
    for (size_t k = 0; k < texts.size(); ++k) {
        const geometry::PlacedText& t = texts[k];
        TextLook style = writtenlook(d, t.size);
        style.halo = t.halo;
        ItemGroup group(canvas, "text-" + std::to_string(k + 1), "text",
                        std::string(t.text.c, static_cast<size_t>(t.text.len)));
        canvas.styledtext(t.x, t.baseline, t.text, TextRole::centred, style);
    }
}

void drawhalolabels(const diagram::Diagram& d, const geometry::FigurePlan& plan, Canvas& canvas) {
    if (plan.style.halo == 0) return;
    canvas.blank();
    canvas.comment("line and point numbers");
    canvas.dash(false);
    // Each number, its halo with it, in a group named after its item
    // ("u3-label"), drawn over every line and point.
    for (const geometry::PlacedLabel& l : plan.linelabels) {
        const diagram::UnivariantLine& line = d.lines[l.item];
        ItemGroup group(canvas, itemid(line.name, "line", l.item) + "-label", "label line-label halo");
        Colour given = {line.red / 255.0L, line.green / 255.0L, line.blue / 255.0L};
        canvas.linecolour(line.rgbgiven ? &given : nullptr);
        drawlabel(d, plan, l, geometry::TextFace::regular, canvas);
    }
    canvas.black();
    for (const geometry::PlacedLabel& l : plan.pointlabels) {
        ItemGroup group(canvas, itemid(d.points[l.item].name, "point", l.item) + "-label", "label point-label halo");
        drawlabel(d, plan, l, geometry::TextFace::bold, canvas);
    }
}

void drawtitlesandkey(const diagram::Diagram& d, const geometry::FigurePlan& plan, Canvas& canvas) {
    long double fs = plan.style.fontsize;
    if (plan.xlabel.text.len > 0) {
        ItemGroup group(canvas, "xlabel", "axis-title");
        canvas.styledtext(plan.xlabel.x, plan.xlabel.y, text::viewof(plan.xlabel.text), TextRole::centred, writtenlook(d, fs));
    }
    if (plan.ylabel.text.len > 0) {
        ItemGroup group(canvas, "ylabel", "axis-title");
        TextLook turned = writtenlook(d, fs);
        turned.turned = true;
        canvas.styledtext(plan.ylabel.x, plan.ylabel.y, text::viewof(plan.ylabel.text), TextRole::centred, turned);
    }
    if (plan.legend.entries.empty()) return;
    canvas.blank();
    canvas.comment("key");
    ItemGroup group(canvas, "legend", "legend");
    for (const geometry::LegendEntry& e : plan.legend.entries) {
        canvas.styledtext(e.numberright, e.baseline, viewof(e.number), TextRole::right, textlook(fs, e.face));
        canvas.styledtext(e.textleft, e.baseline, viewof(e.text), TextRole::caption, writtenlook(d, fs));
    }
}

}  // namespace gridel::drawing
