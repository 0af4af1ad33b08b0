// cairocanvas.cpp - the cairo canvas and inkbox.
#include "drawing/cairocanvas.h"

#include <cairo-pdf.h>

#include <algorithm>
#include <cmath>

#include "drawing/epscanvas.h"
#include "drawing/markedtext.h"
#include "drawing/page.h"
#include "text/numfmt.h"
#include "text/utf8.h"

namespace gridel::drawing {

namespace {

// Half the side of the device square cairo is given coordinates in: its
// fixed-point numbers hold twice as much.
constexpr double devicereach = 4194304;

constexpr long double pi = 3.141592653589793238462643383279502884L;

// The dash of a dashed line: 3 points on, 3 off.
constexpr double dashlength = 3;

long double clampunit(long double v) { return v > 0 ? (v < 1 ? v : 1) : 0; }

void addcircle(cairo_t* cr, const Subpath& s) {
    // Starting at angle 0: (x + r, y), the other side for a negative r.
    double x = static_cast<double>(s.centre.x), y = static_cast<double>(s.centre.y);
    double r = static_cast<double>(s.radius);
    double start = r < 0 ? static_cast<double>(pi) : 0;
    cairo_move_to(cr, x + r, y);
    cairo_arc(cr, x, y, std::fabs(r), start, start + 2 * static_cast<double>(pi));
    cairo_close_path(cr);
}

void addpolyline(cairo_t* cr, const std::vector<PagePoint>& points, bool closed) {
    cairo_move_to(cr, static_cast<double>(points[0].x), static_cast<double>(points[0].y));
    for (size_t i = 1; i < points.size(); ++i)
        cairo_line_to(cr, static_cast<double>(points[i].x), static_cast<double>(points[i].y));
    if (closed) cairo_close_path(cr);
}

}  // namespace

CairoCanvas::CairoCanvas(cairo_t* cr, const PageBox& box, double scale) : cr(cr) {
    // Device x = (x - left) * scale, device y = (top - y) * scale.
    cairo_matrix_t m;
    cairo_matrix_init(&m, scale, 0, 0, -scale, -static_cast<double>(box.left) * scale,
                      static_cast<double>(box.top) * scale);
    cairo_set_matrix(cr, &m);
    // PostScript's initial graphics state.
    cairo_set_line_width(cr, 1);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_set_miter_limit(cr, 10);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_set_source_rgb(cr, 0, 0, 0);

    double x0 = -devicereach, y0 = -devicereach, x1 = devicereach, y1 = devicereach;
    cairo_device_to_user(cr, &x0, &y0);
    cairo_device_to_user(cr, &x1, &y1);
    reach = {{std::fmin(x0, x1), std::fmin(y0, y1)}, {std::fmax(x0, x1), std::fmax(y0, y1)}};
}

void CairoCanvas::measure(const PageBox& box, bool exact, const SetWidths* widths) {
    measuring = true;
    exactink = exact;
    within = box;
    inked = false;
    knownwidths = widths;
    aside.clear();
}

bool CairoCanvas::ink(PageBox& box) {
    measureaside();
    if (inked) box = extent;
    return inked;
}

void CairoCanvas::addink(double x1, double y1, double x2, double y2) {
    long double left = std::fmax(std::fmin(x1, x2), static_cast<double>(within.left));
    long double right = std::fmin(std::fmax(x1, x2), static_cast<double>(within.right));
    long double bottom = std::fmax(std::fmin(y1, y2), static_cast<double>(within.bottom));
    long double top = std::fmin(std::fmax(y1, y2), static_cast<double>(within.top));
    if (!(left < right && bottom < top)) return;
    if (!inked) {
        extent = {left, bottom, right, top};
        inked = true;
        return;
    }
    if (left < extent.left) extent.left = left;
    if (bottom < extent.bottom) extent.bottom = bottom;
    if (right > extent.right) extent.right = right;
    if (top > extent.top) extent.top = top;
}

// How far past its baseline, in its size, any glyph of a text may reach,
// with room to spare: the faces' tallest and deepest marks stay within
// about 1.2 of the size, and no mark reaches past its neighbour's advance
// by that much.  Sub- and superscripts stand within half a size of it.
constexpr long double glyphreach = 2.5L;

bool CairoCanvas::inkholds(const PagePoint& start, const PagePoint& end, long double size, long double halowidth) const {
    if (!measuring || exactink || !inked) return false;
    long double m = glyphreach * std::fabs(size) + std::fabs(halowidth) / 2;
    return std::fmin(start.x, end.x) - m >= extent.left && std::fmax(start.x, end.x) + m <= extent.right &&
           std::fmin(start.y, end.y) - m >= extent.bottom && std::fmax(start.y, end.y) + m <= extent.top;
}

// How far past its points, with room to spare, cairo may find the ink
// of a path: its arithmetic is fixed-point, 1/256 of a unit, and its
// curves stand within a thousandth of a circle's radius of it.
constexpr long double pathslack = 1;
constexpr long double curvebulge = 1.01L;

bool CairoCanvas::inkholdspath(long double spread) const {
    if (!measuring || exactink || !inked || !(spread >= 0)) return false;
    long double left = INFINITY, bottom = INFINITY, right = -INFINITY, top = -INFINITY;
    auto take = [&](long double x, long double y, long double r) {
        left = std::fmin(left, x - r);
        right = std::fmax(right, x + r);
        bottom = std::fmin(bottom, y - r);
        top = std::fmax(top, y + r);
    };
    for (const Subpath& s : path.parts()) {
        if (s.circle) take(s.centre.x, s.centre.y, std::fabs(s.radius) * curvebulge);
        for (const PagePoint& p : s.points) take(p.x, p.y, 0);
    }
    long double m = spread + pathslack;
    return left - m >= extent.left && right + m <= extent.right && bottom - m >= extent.bottom &&
           top + m <= extent.top;
}

void CairoCanvas::begin(const PageHeader& header) {
    given = header;
    font(header.fontsize);
    cairo_surface_t* target = cairo_get_target(cr);
    if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_PDF) return;
    cairo_pdf_surface_set_metadata(target, CAIRO_PDF_METADATA_CREATOR,
                                   text::drawabletext(header.creator.c, header.creator.len).c_str());
    cairo_pdf_surface_set_metadata(target, CAIRO_PDF_METADATA_TITLE,
                                   text::drawabletext(header.title.c, header.title.len).c_str());
}

void CairoCanvas::end() {}

void CairoCanvas::begingroup(const GroupInfo&) {}

void CairoCanvas::endgroup() {}

void CairoCanvas::linewidth(long double width) {
    if (std::isfinite(width)) cairo_set_line_width(cr, static_cast<double>(std::fabs(width)));
}

void CairoCanvas::dash(bool on) {
    dashed = on;
    if (on)
        cairo_set_dash(cr, &dashlength, 1, 0);
    else
        cairo_set_dash(cr, nullptr, 0, 0);
}

void CairoCanvas::colour(long double red, long double green, long double blue) {
    cairo_set_source_rgb(cr, static_cast<double>(clampunit(red)), static_cast<double>(clampunit(green)),
                         static_cast<double>(clampunit(blue)));
}

void CairoCanvas::paint(bool filling) {
    if (!measuring) {
        if (filling)
            cairo_fill(cr);
        else
            cairo_stroke(cr);
        return;
    }
    double x1, y1, x2, y2;
    if (filling)
        cairo_fill_extents(cr, &x1, &y1, &x2, &y2);
    else
        cairo_stroke_extents(cr, &x1, &y1, &x2, &y2);
    addink(x1, y1, x2, y2);
    cairo_new_path(cr);
}

// The pieces that are cut (or those that are not) added to cairo's path.
void CairoCanvas::addpieces(const std::vector<PathPiece>& pieces, bool cut) {
    for (const PathPiece& p : pieces) {
        if (p.cut != cut) continue;
        if (p.circle != nullptr)
            addcircle(cr, *p.circle);
        else
            addpolyline(cr, p.points, p.closed);
    }
}

void CairoCanvas::stroke() {
    // While measuring, a stroke the ink found holds is passed over: no
    // mark of it lies farther from its points than a miter's tip, the
    // miter limit times half the width (a butt end or a bevel lies
    // nearer).
    if (inkholdspath(std::fmax(cairo_get_miter_limit(cr), 1.0) * cairo_get_line_width(cr) / 2)) {
        path.clear();
        return;
    }
    std::vector<PathPiece> pieces = strokepieces(path, reach);
    cairo_new_path(cr);
    addpieces(pieces, false);
    if (!dashed) addpieces(pieces, true);
    paint(false);
    if (dashed) {
        // A piece cut out of its subpath keeps its place in the pattern.
        for (const PathPiece& p : pieces) {
            if (!p.cut) continue;
            double phase = static_cast<double>(std::fmod(p.phase, 2 * static_cast<long double>(dashlength)));
            cairo_set_dash(cr, &dashlength, 1, std::isfinite(phase) ? phase : 0);
            addpolyline(cr, p.points, false);
            paint(false);
        }
        cairo_set_dash(cr, &dashlength, 1, 0);
    }
    path.clear();
}

void CairoCanvas::fill() {
    if (inkholdspath(0)) {  // a fill lies within its points' box
        path.clear();
        return;
    }
    std::vector<PathPiece> pieces = fillpieces(path, reach);
    cairo_new_path(cr);
    addpieces(pieces, false);
    addpieces(pieces, true);
    paint(true);
    path.clear();
}

void CairoCanvas::text(long double px, long double py, text::TextView text, TextRole role) {
    PlainText t = plaintext(px, py, text, role);
    showtext(t.x, t.y, t.utf8, t.anchor, t.style, 0);
}

bool CairoCanvas::placetext(long double x, long double y, const std::string& utf8, TextAnchor anchor,
                            const TextStyle& style, long double angle, PagePoint& start, PagePoint& end) {
    bool shows = style.size > 0 && !utf8.empty();
    long double width = shows ? setter.set(utf8, style) : 0;  // PostScript's stringwidth
    long double back = anchor == TextAnchor::middle ? width / 2 : anchor == TextAnchor::end ? width : 0;
    long double along = angle * pi / 180, dx = std::cos(along), dy = std::sin(along);
    start = {x - back * dx, y - back * dy};
    end = {start.x + width * dx, start.y + width * dy};
    return shows && reach.holds(start) && reach.holds(end);
}

void CairoCanvas::glyphs(const PagePoint& start, long double angle) {
    cairo_new_path(cr);
    setter.show(cr, start.x, start.y, angle, measuring);
    if (measuring)
        paint(true);
    else
        cairo_new_path(cr);
}

void CairoCanvas::showtext(long double x, long double y, const std::string& utf8, TextAnchor anchor,
                           const TextStyle& style, long double angle) {
    PagePoint start, end;
    if (placetext(x, y, utf8, anchor, style, angle, start, end)) glyphs(start, angle);
    // As after PostScript's show: a new subpath at the end of the text.
    path.moveto(end.x, end.y);
}

void CairoCanvas::styledtext(long double px, long double py, text::TextView text, TextRole role, const TextLook& look) {
    if (ismarked(text, look)) {
        markedtext(pagecoord(px), pagecoord(py), text, role, look);
        return;
    }
    if (measuring && !exactink) {
        aside.push_back({px, py, std::string(text.c, static_cast<size_t>(text.len > 0 ? text.len : 0)), role, look});
        return;
    }
    textnow(px, py, text, role, look);
}

void CairoCanvas::measureaside() {
    std::vector<Aside> texts = std::move(aside);
    aside.clear();
    // Where each text whose width is known starts and ends (as placetext
    // finds them), and how far the marks it may make could reach past the
    // ink found before the texts.
    struct Known {
        size_t index;
        bool known;
        PagePoint start, end;
        long double out;
    };
    std::vector<Known> order;
    for (size_t i = 0; i < texts.size(); ++i) {
        const Aside& t = texts[i];
        Known k{i, false, {0, 0}, {0, 0}, 0};
        TextStyle style = styleof(t.look);
        std::string utf8 = text::drawabletext(t.text.data(), static_cast<int>(t.text.size()));
        long double width;
        if (knownwidths != nullptr && style.size > 0 && !utf8.empty() && knownwidths->find(utf8, style, width)) {
            TextAnchor anchor = anchorof(t.role);
            long double back = anchor == TextAnchor::middle ? width / 2 : anchor == TextAnchor::end ? width : 0;
            long double along = (t.look.turned ? 90 : 0) * pi / 180, dx = std::cos(along), dy = std::sin(along);
            long double x = pagecoord(t.x), y = pagecoord(t.y);
            k.known = true;
            k.start = {x - back * dx, y - back * dy};
            k.end = {k.start.x + width * dx, k.start.y + width * dy};
            if (!(reach.holds(k.start) && reach.holds(k.end))) continue;  // it is not shown
            long double m = glyphreach * std::fabs(style.size) + std::fabs(t.look.halo) / 2;
            if (inked)
                k.out = std::max({extent.left - (std::fmin(k.start.x, k.end.x) - m),
                                  std::fmax(k.start.x, k.end.x) + m - extent.right,
                                  extent.bottom - (std::fmin(k.start.y, k.end.y) - m),
                                  std::fmax(k.start.y, k.end.y) + m - extent.top});
        }
        order.push_back(k);
    }
    // The texts not known first, as they came; then from farthest out in.
    std::stable_sort(order.begin(), order.end(), [](const Known& a, const Known& b) {
        if (a.known != b.known) return !a.known;
        return a.out > b.out;
    });
    for (const Known& k : order) {
        const Aside& t = texts[k.index];
        TextStyle style = styleof(t.look);
        if (k.known && inkholds(k.start, k.end, style.size, t.look.halo)) continue;
        textnow(t.x, t.y, {t.text.data(), static_cast<int32_t>(t.text.size())}, t.role, t.look);
    }
}

void CairoCanvas::textnow(long double px, long double py, text::TextView text, TextRole role, const TextLook& look) {
    TextStyle style = styleof(look);
    long double angle = look.turned ? 90 : 0;
    PagePoint start, end;
    if (!placetext(pagecoord(px), pagecoord(py), text::drawabletext(text.c, text.len), anchorof(role), style, angle, start,
                   end))
        return;
    if (inkholds(start, end, style.size, look.halo)) return;  // it would add no ink to what is found
    // The halo: the glyphs' outlines stroked in white, under the glyphs.
    if (look.halo > 0) {
        cairo_new_path(cr);
        setter.show(cr, start.x, start.y, angle, true);
        halo(look.halo);
    }
    glyphs(start, angle);
}

void CairoCanvas::halo(long double width) {
    cairo_save(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, static_cast<double>(width));
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_dash(cr, nullptr, 0, 0);
    paint(false);
    cairo_restore(cr);
}

void CairoCanvas::markedtext(long double x, long double y, text::TextView text, TextRole role, const TextLook& look) {
    SetText set = setmarked(text, look, setter);
    if (set.pieces.empty()) return;
    long double angle = look.turned ? 90 : 0, dx = look.turned ? 0 : 1, dy = look.turned ? 1 : 0;
    TextAnchor anchor = anchorof(role);
    long double back = anchor == TextAnchor::middle ? set.width / 2 : anchor == TextAnchor::end ? set.width : 0;
    PagePoint start = {x - back * dx, y - back * dy}, end = {start.x + set.width * dx, start.y + set.width * dy};
    if (!reach.holds(start) || !reach.holds(end)) return;
    if (inkholds(start, end, look.size, look.halo)) return;  // it would add no ink to what is found
    // Each piece from its place along the baseline, raised or lowered
    // across it.
    auto origin = [&](const SetPiece& p) {
        return PagePoint{start.x + p.x * dx - p.rise * dy, start.y + p.x * dy + p.rise * dx};
    };
    if (look.halo > 0) {
        cairo_new_path(cr);
        for (const SetPiece& p : set.pieces) {
            setter.set(p.utf8, p.style);
            PagePoint o = origin(p);
            setter.show(cr, o.x, o.y, angle, true);
        }
        halo(look.halo);
    }
    for (const SetPiece& p : set.pieces) {
        setter.set(p.utf8, p.style);
        glyphs(origin(p), angle);
    }
}

bool inkbox(const std::function<void(Canvas&)>& draw, PageBox& box) {
    return inkbox(draw, {pageboxleft, pageboxbottom, pageboxright, pageboxtop}, box);
}

bool inkbox(const std::function<void(Canvas&)>& draw, const PageBox& within, PageBox& box, bool exact,
            const SetWidths* widths) {
    CairoSurface surface(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr));
    CairoContext cr(cairo_create(surface.get()));
    CairoCanvas canvas(cr.get(), {0, 0, 0, 0}, 1);
    canvas.measure(within, exact, widths);
    draw(canvas);
    return canvas.ink(box) && cairo_status(cr.get()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace gridel::drawing
