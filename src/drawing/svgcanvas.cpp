// svgcanvas.cpp - each canvas call as SVG elements.
#include "drawing/svgcanvas.h"

#include <cerrno>
#include <cmath>

#include "drawing/epscanvas.h"
#include "drawing/markedtext.h"
#include "text/numfmt.h"
#include "text/utf8.h"

namespace gridel::drawing {

namespace {

// How far round the page paths are kept, in points: far beyond anything
// shown, and well within what viewers hold in their device coordinates.
constexpr long double svgreach = 10000;

// The written document is handed on in pieces of about this size.
constexpr size_t piecesize = 65536;

// The dash of a dashed line: 3 points on, 3 off.
constexpr long double dashlength = 3;

long double clampunit(long double v) { return v > 0 ? (v < 1 ? v : 1) : 0; }

// A number with at most two decimals, without trailing zeros.
void appendnumber(std::string& out, long double v) {
    char text[24];
    int n = text::writefixed(text, v, 2);
    bool point = false;
    for (int i = 0; i < n; ++i) point = point || text[i] == '.';
    if (point) {
        while (text[n - 1] == '0') --n;
        if (text[n - 1] == '.') --n;
    }
    if (n == 2 && text[0] == '-' && text[1] == '0') {  // a small negative number rounded to zero
        text[0] = '0';
        n = 1;
    }
    out.append(text, static_cast<size_t>(n));
}

// UTF-8 text with the characters XML gives a meaning escaped.
void appendescaped(std::string& out, const std::string& utf8) {
    for (char c : utf8) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default: out += c;
        }
    }
}

void appendescaped(std::string& out, text::TextView text) { appendescaped(out, text::drawabletext(text.c, text.len)); }

// ` name="value"` with a number for a value.
void numberattribute(std::string& out, const char* name, long double v) {
    out += ' ';
    out += name;
    out += "=\"";
    appendnumber(out, v);
    out += '"';
}

}  // namespace

SvgCanvas::SvgCanvas(const PageBox& box, run::ByteSink& sink) : sink(sink), box(box) {
    reach = {{box.left - svgreach, box.bottom - svgreach}, {box.right + svgreach, box.top + svgreach}};
}

void SvgCanvas::flush() {
    if (error == 0 && !out.empty()) {
        errno = 0;
        if (!sink.write(out.data(), out.size())) error = errno != 0 ? errno : EIO;
    }
    out.clear();
}

bool SvgCanvas::finish(int& failure) {
    flush();
    failure = error;
    return error == 0;
}

void SvgCanvas::begin(const PageHeader& header) {
    long double w = box.right - box.left, h = box.top - box.bottom;
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
    appendnumber(out, w);
    out += "pt\" height=\"";
    appendnumber(out, h);
    out += "pt\" viewBox=\"0 0 ";
    appendnumber(out, w);
    out += ' ';
    appendnumber(out, h);
    // Presentation attributes every element inherits: PostScript's miter
    // limit, the text font, and texts' blanks kept as they are.
    out += "\" stroke-miterlimit=\"10\" font-family=\"";
    out += svgfamilies;  // holds no double quote and no ampersand
    out += "\" xml:space=\"preserve\">\n<title>";
    appendescaped(out, text::viewof(header.title));
    out += "</title>\n<metadata><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" "
           "xmlns:cc=\"http://creativecommons.org/ns#\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
           "<cc:Work rdf:about=\"\"><dc:format>image/svg+xml</dc:format><dc:title>";
    appendescaped(out, viewof(header.title));
    out += "</dc:title><dc:creator><cc:Agent><dc:title>";
    appendescaped(out, viewof(header.creator));
    out += "</dc:title></cc:Agent></dc:creator></cc:Work></rdf:RDF></metadata>\n";
    font(header.fontsize);
}

void SvgCanvas::end() {
    while (!groups.empty()) endgroup();
    out += "</svg>\n";
    flush();
}

void SvgCanvas::begingroup(const GroupInfo& group) {
    // An id given before gets the first free "-2", "-3", ... after it.
    std::string id = text::drawabletext(group.id.c, group.id.len);
    if (!ids.insert(id).second) {
        for (int k = 2;; ++k) {
            text::Word n = text::real2intstr(k);
            std::string next = id + "-" + std::string(n.c, static_cast<size_t>(n.len));
            if (ids.insert(next).second) {
                id = next;
                break;
            }
        }
    }
    std::string start = "<g id=\"";
    appendescaped(start, id);
    start += "\" class=\"";
    appendescaped(start, group.kind);
    start += "\">";
    if (group.title.len > 0) {
        start += "<title>";
        appendescaped(start, group.title);
        start += "</title>";
    }
    start += '\n';
    groups.push_back({start, false});
}

void SvgCanvas::endgroup() {
    if (groups.empty()) return;
    if (groups.back().written) out += "</g>\n";
    groups.pop_back();
}

void SvgCanvas::element(const char* open) {
    if (out.size() >= piecesize) flush();
    for (Group& g : groups) {
        if (g.written) continue;
        out += g.start;
        g.written = true;
    }
    out += open;
}

void SvgCanvas::linewidth(long double w) {
    if (std::isfinite(w)) width = std::fabs(w);
}

void SvgCanvas::dash(bool on) { dashed = on; }

void SvgCanvas::colour(long double red, long double green, long double blue) {
    char text[8] = "#";
    int n = 1;
    for (long double v : {red, green, blue})
        n += text::writehex(text + n, static_cast<uint32_t>(text::roundint(clampunit(v) * 255)), 2);
    paint.assign(text, static_cast<size_t>(n));
}

void SvgCanvas::coordinate(long double v) { appendnumber(out, v); }

void SvgCanvas::point(const PagePoint& p) {
    appendnumber(out, p.x - box.left);
    out += ' ';
    appendnumber(out, box.top - p.y);
}

// One piece as path data: a polyline, or a circle as two half arcs from
// where it starts, turning the way PostScript's arc turns.
void SvgCanvas::piece(const PathPiece& p) {
    if (p.circle != nullptr) {
        const Subpath& s = *p.circle;
        long double r = std::fabs(s.radius), start = s.radius < 0 ? -r : r;
        out += 'M';
        point({s.centre.x + start, s.centre.y});
        for (long double end : {-start, start}) {
            out += 'A';
            coordinate(r);
            out += ' ';
            coordinate(r);
            out += " 0 1 0 ";
            point({s.centre.x + end, s.centre.y});
        }
        out += 'Z';
        return;
    }
    for (size_t i = 0; i < p.points.size(); ++i) {
        out += i == 0 ? "M" : i == 1 ? "L" : " ";
        point(p.points[i]);
    }
    if (p.closed) out += 'Z';
}

// The attributes of a stroke (with the dash offset of `only`, a piece cut
// out of its subpath, when given) or of a fill.
void SvgCanvas::paintattributes(bool filling, const PathPiece* only) {
    if (filling) {
        out += " fill=\"" + paint + '"';
        return;
    }
    out += " fill=\"none\" stroke=\"" + paint + '"';
    numberattribute(out, "stroke-width", width);
    if (!dashed) return;
    out += " stroke-dasharray=\"3\"";
    if (only == nullptr) return;
    long double phase = std::fmod(only->phase, 2 * dashlength);
    if (std::isfinite(phase) && phase != 0) numberattribute(out, "stroke-dashoffset", phase);
}

void SvgCanvas::stroke() {
    strokepath(strokepieces(path, reach));
    path.clear();
}

// The elements of a stroke.  Its pieces point into the path, which is
// cleared only after them.
void SvgCanvas::strokepath(const std::vector<PathPiece>& pieces) {
    if (pieces.empty()) return;
    if (pieces.size() == 1 && pieces[0].circle != nullptr && !dashed) {
        // A circle alone, as users expect to find it.
        const Subpath& s = *pieces[0].circle;
        element("<circle");
        numberattribute(out, "cx", s.centre.x - box.left);
        numberattribute(out, "cy", box.top - s.centre.y);
        numberattribute(out, "r", std::fabs(s.radius));
        paintattributes(false, nullptr);
        out += "/>\n";
        return;
    }
    // The pieces that are whole subpaths in one element; when dashed, each
    // piece cut out of its subpath in one of its own, keeping its place in
    // the pattern.
    bool together = false;
    for (const PathPiece& p : pieces) together = together || !p.cut || !dashed;
    if (together) {
        element("<path");
        paintattributes(false, nullptr);
        out += " d=\"";
        for (const PathPiece& p : pieces)
            if (!p.cut || !dashed) piece(p);
        out += "\"/>\n";
    }
    if (!dashed) return;
    for (const PathPiece& p : pieces) {
        if (!p.cut) continue;
        element("<path");
        paintattributes(false, &p);
        out += " d=\"";
        piece(p);
        out += "\"/>\n";
    }
}

void SvgCanvas::fill() {
    std::vector<PathPiece> pieces = fillpieces(path, reach);
    if (!pieces.empty()) {
        element("<path");
        paintattributes(true, nullptr);
        out += " d=\"";
        for (const PathPiece& p : pieces) piece(p);
        out += "\"/>\n";
    }
    path.clear();
}

void SvgCanvas::text(long double px, long double py, text::TextView text, TextRole role) {
    PlainText t = plaintext(px, py, text, role);
    showtext(t.x, t.y, t.utf8, t.anchor, t.style, 0);
    // As after PostScript's show, a new subpath: where its text ends is the
    // viewer's to find, so it starts at the text's point.  The drawing
    // begins every path after a text with a moveto anyway.
    path.moveto(t.x, t.y);
}

void SvgCanvas::styledtext(long double px, long double py, text::TextView text, TextRole role, const TextLook& look) {
    TextStyle style = styleof(look);
    long double x = pagecoord(px), y = pagecoord(py), angle = look.turned ? 90 : 0;
    SetText set;
    if (ismarked(text, look))
        set = setmarked(text, look, setter);
    else
        set.pieces.push_back({text::drawabletext(text.c, text.len), style, false, text::Shift::base, 0, 0});
    if (look.halo > 0) {
        // The halo: a white copy of the text, its outlines stroked, under it.
        std::string kept = paint;
        paint = "#ffffff";
        halo = look.halo;
        showtext(x, y, set, anchorof(role), style, angle);
        paint = kept;
        halo = 0;
    }
    showtext(x, y, set, anchorof(role), style, angle);
}

void SvgCanvas::showtext(long double x, long double y, const std::string& utf8, TextAnchor anchor,
                         const TextStyle& style, long double angle) {
    SetText set;
    set.pieces.push_back({utf8, style, false, text::Shift::base, 0, 0});
    showtext(x, y, set, anchor, style, angle);
}

void SvgCanvas::showtext(long double x, long double y, const SetText& set, TextAnchor anchor, const TextStyle& style,
                         long double angle) {
    bool shows = false;
    for (const SetPiece& p : set.pieces) shows = shows || !p.utf8.empty();
    if (!shows || !(style.size > 0) || !reach.holds({x, y})) return;
    element("<text");
    numberattribute(out, "x", x - box.left);
    numberattribute(out, "y", box.top - y);
    numberattribute(out, "font-size", style.size);
    if (style.bold) out += " font-weight=\"bold\"";
    if (style.italic) out += " font-style=\"italic\"";
    if (anchor != TextAnchor::start)
        out += anchor == TextAnchor::middle ? " text-anchor=\"middle\"" : " text-anchor=\"end\"";
    if (angle != 0) {
        // Anticlockwise on the page is a negative angle with y downwards.
        out += " transform=\"rotate(";
        coordinate(-angle);
        out += ' ';
        point({x, y});
        out += ")\"";
    }
    if (paint != "#000000") out += " fill=\"" + paint + '"';
    if (halo > 0) {
        out += " stroke=\"" + paint + "\" stroke-linejoin=\"round\"";
        numberattribute(out, "stroke-width", halo);
    }
    out += '>';
    // The text whole, for the viewer to set (and kern) as it sets any
    // text, so that its words can be found as written; a piece in another
    // style than the text's is a <tspan>, moved off the baseline by dy, and
    // so is the first piece back on it.
    long double risen = 0;
    for (const SetPiece& p : set.pieces) {
        bool sized = p.style.size != style.size, slanted = p.style.italic != style.italic;
        long double dy = risen - p.rise;
        if (!sized && !slanted && dy == 0) {
            appendescaped(out, p.utf8);
            continue;
        }
        out += "<tspan";
        if (sized) numberattribute(out, "font-size", p.style.size);
        if (slanted) out += p.style.italic ? " font-style=\"italic\"" : " font-style=\"normal\"";
        if (dy != 0) numberattribute(out, "dy", dy);
        out += '>';
        appendescaped(out, p.utf8);
        out += "</tspan>";
        risen = p.rise;
    }
    out += "</text>\n";
}

}  // namespace gridel::drawing
