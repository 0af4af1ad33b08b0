// cairocanvas.cpp - the cairo canvas, renderpage and inkbox.
#include "drawing/cairocanvas.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>

#include <cerrno>
#include <cmath>
#include <cstring>

#include "drawing/epscanvas.h"
#include "drawing/page.h"
#include "text/numfmt.h"

namespace {

// Half the side of the device square cairo is given coordinates in: its
// fixed-point numbers hold twice as much.
constexpr double devicereach = 4194304;

// A circle too large for the device is drawn as a polygon of this many
// sides (it can then be cut like any path).
constexpr int circlesides = 720;

constexpr long double pi = 3.141592653589793238462643383279502884L;

// The dash of a dashed line: 3 points on, 3 off.
constexpr double dashlength = 3;

// A page coordinate as the EPS writes it: beyond 1e20 (or not a number)
// it is 1e20 with its sign.
long double pagecoord(long double p) {
    if (p >= -1e20L && p <= 1e20L) return p;
    return p < 0 ? -1e20L : 1e20L;
}

long double clampunit(long double v) { return v > 0 ? (v < 1 ? v : 1) : 0; }

using Point = CairoCanvas::Point;

// The part t0..t1 of the segment a-b inside the box lo..hi; false when
// none of it is.
bool cutsegment(const Point& a, const Point& b, const Point& lo, const Point& hi, long double& t0,
                long double& t1) {
    t0 = 0;
    t1 = 1;
    long double dx = b.x - a.x, dy = b.y - a.y;
    auto edge = [&](long double p, long double q) {  // keeps the t with p * t <= q
        if (p == 0) return q >= 0;
        long double r = q / p;
        if (p < 0) {
            if (r > t1) return false;
            if (r > t0) t0 = r;
        } else {
            if (r < t0) return false;
            if (r < t1) t1 = r;
        }
        return true;
    };
    return edge(-dx, a.x - lo.x) && edge(dx, hi.x - a.x) && edge(-dy, a.y - lo.y) && edge(dy, hi.y - a.y);
}

Point along(const Point& a, const Point& b, long double t) {
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

// A polygon cut to the box lo..hi, edge by edge; inside the box every
// point keeps the winding number it had.
std::vector<Point> cutpolygon(std::vector<Point> poly, const Point& lo, const Point& hi) {
    for (int edge = 0; edge < 4 && !poly.empty(); ++edge) {
        auto inside = [&](const Point& p) {
            switch (edge) {
                case 0: return p.x >= lo.x;
                case 1: return p.x <= hi.x;
                case 2: return p.y >= lo.y;
                default: return p.y <= hi.y;
            }
        };
        auto cross = [&](const Point& p, const Point& q) {
            long double c = edge == 0 ? lo.x : edge == 1 ? hi.x : edge == 2 ? lo.y : hi.y;
            long double t = edge < 2 ? (c - p.x) / (q.x - p.x) : (c - p.y) / (q.y - p.y);
            Point r = along(p, q, t);
            if (edge < 2) r.x = c; else r.y = c;
            return r;
        };
        std::vector<Point> out;
        for (size_t i = 0; i < poly.size(); ++i) {
            const Point& prev = poly[i == 0 ? poly.size() - 1 : i - 1];
            const Point& cur = poly[i];
            bool curin = inside(cur), previn = inside(prev);
            if (curin != previn) out.push_back(cross(prev, cur));
            if (curin) out.push_back(cur);
        }
        poly = out;
    }
    return poly;
}

// The length of a valid UTF-8 sequence at s[0..n), 0 when none starts there.
int utf8sequence(const unsigned char* s, int32_t n) {
    unsigned char b = s[0];
    if (b < 0x80) return 1;
    int len;
    unsigned char lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        if (b == 0xE0) lo = 0xA0;  // no overlong form
        if (b == 0xED) hi = 0x9F;  // no surrogate
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        if (b == 0xF0) lo = 0x90;  // no overlong form
        if (b == 0xF4) hi = 0x8F;  // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (n < len) return 0;
    if (s[1] < lo || s[1] > hi) return 0;
    for (int k = 2; k < len; ++k)
        if (s[k] < 0x80 || s[k] > 0xBF) return 0;
    return len;
}

// Where the bytes of a page go, and the first error in writing them.
struct Sink {
    const std::function<bool(const unsigned char*, size_t)>* write;
    int error;  // errno of the failed write; 0 while all went well
};

cairo_status_t writebytes(void* closure, const unsigned char* data, unsigned int length) {
    Sink* sink = static_cast<Sink*>(closure);
    if (sink->error != 0) return CAIRO_STATUS_WRITE_ERROR;
    errno = 0;
    if ((*sink->write)(data, length)) return CAIRO_STATUS_SUCCESS;
    sink->error = errno != 0 ? errno : EIO;
    return CAIRO_STATUS_WRITE_ERROR;
}

}  // namespace

std::string utf8text(const char* text, int32_t len) {
    std::string out;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    for (int32_t i = 0; i < len;) {
        int n = utf8sequence(s + i, len - i);
        if (n > 0) {
            if (s[i] != 0) out.append(text + i, static_cast<size_t>(n));
            i += n;
            continue;
        }
        // A Latin-1 character of code 0x80..0xFF in two bytes.
        out.push_back(static_cast<char>(0xC0 | (s[i] >> 6)));
        out.push_back(static_cast<char>(0x80 | (s[i] & 0x3F)));
        ++i;
    }
    return out;
}

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
    // Glyphs where the outlines put them and advances as the face gives
    // them: no grid fitting, which would move labels off their centres.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    cairo_select_font_face(cr, "Helvetica", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);

    double x0 = -devicereach, y0 = -devicereach, x1 = devicereach, y1 = devicereach;
    cairo_device_to_user(cr, &x0, &y0);
    cairo_device_to_user(cr, &x1, &y1);
    safelow = {std::fmin(x0, x1), std::fmin(y0, y1)};
    safehigh = {std::fmax(x0, x1), std::fmax(y0, y1)};
}

void CairoCanvas::measure(const PageBox& box) {
    measuring = true;
    within = box;
    inked = false;
}

bool CairoCanvas::ink(PageBox& box) const {
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

void CairoCanvas::begin(const PageHeader& header) {
    font(header.fontsize);
    cairo_surface_t* target = cairo_get_target(cr);
    if (cairo_surface_get_type(target) == CAIRO_SURFACE_TYPE_PDF)
        cairo_pdf_surface_set_metadata(target, CAIRO_PDF_METADATA_CREATOR,
                                       utf8text(header.creator.c, header.creator.len).c_str());
}

void CairoCanvas::end() {}

void CairoCanvas::comment(const char*) {}

void CairoCanvas::blank() {}

void CairoCanvas::font(int16_t size) {
    fontsize = size;
    if (size == 0) return;  // no text shows: cairo takes no singular font matrix
    // y upwards on the page: the glyphs' y downwards is turned over.
    cairo_matrix_t m;
    cairo_matrix_init(&m, size, 0, 0, -size, 0, 0);
    cairo_set_font_matrix(cr, &m);
}

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

void CairoCanvas::linecolour(const Colour* given) {
    if (given == nullptr)
        colour(0, 0, 0);
    else
        colour(given->red, given->green, given->blue);
}

void CairoCanvas::areacolour(const Colour& c, int16_t) { colour(c.red, c.green, c.blue); }

void CairoCanvas::black() { colour(0, 0, 0); }

void CairoCanvas::addpoint(long double px, long double py, bool start) {
    Point p = {pagecoord(px), pagecoord(py)};
    if (start || path.empty()) {
        path.push_back(Subpath{});
    } else if (path.back().closed) {
        // After a closed subpath a new one starts where that one started.
        Point from = path.back().points.front();
        path.push_back(Subpath{});
        path.back().points.push_back(from);
    }
    path.back().points.push_back(p);
}

void CairoCanvas::moveto(const PathPoint& p) { addpoint(p.px, p.py, true); }

void CairoCanvas::lineto(const PathPoint& p) { addpoint(p.px, p.py, false); }

void CairoCanvas::circle(long double px, long double py, long double r) {
    Subpath s;
    s.circle = true;
    s.closed = true;
    s.centre = {pagecoord(px), pagecoord(py)};
    s.radius = pagecoord(r);
    s.points.push_back({pagecoord(s.centre.x + s.radius), s.centre.y});
    path.push_back(s);
}

bool CairoCanvas::safe(const Point& p) const {
    return p.x >= safelow.x && p.x <= safehigh.x && p.y >= safelow.y && p.y <= safehigh.y;
}

bool CairoCanvas::circlesafe(const Subpath& s) const {
    long double r = std::fabs(s.radius);
    return safe({s.centre.x - r, s.centre.y - r}) && safe({s.centre.x + r, s.centre.y + r});
}

void CairoCanvas::addcircle(const Subpath& s) {
    // Starting at angle 0: (x + r, y), the other side for a negative r.
    double x = static_cast<double>(s.centre.x), y = static_cast<double>(s.centre.y);
    double r = static_cast<double>(s.radius);
    double start = r < 0 ? static_cast<double>(pi) : 0;
    cairo_move_to(cr, x + r, y);
    cairo_arc(cr, x, y, std::fabs(r), start, start + 2 * static_cast<double>(pi));
    cairo_close_path(cr);
}

namespace {

// The corners of a circle as a polygon, from angle 0 on.
std::vector<Point> circlepolygon(const Point& centre, long double r) {
    std::vector<Point> poly;
    for (int k = 0; k < circlesides; ++k) {
        long double a = 2 * pi * k / circlesides;
        poly.push_back({centre.x + r * std::cos(a), centre.y + r * std::sin(a)});
    }
    return poly;
}

void addpolyline(cairo_t* cr, const std::vector<Point>& points, bool closed) {
    cairo_move_to(cr, static_cast<double>(points[0].x), static_cast<double>(points[0].y));
    for (size_t i = 1; i < points.size(); ++i)
        cairo_line_to(cr, static_cast<double>(points[i].x), static_cast<double>(points[i].y));
    if (closed) cairo_close_path(cr);
}

}  // namespace

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

bool CairoCanvas::polygonof(const Subpath& s, std::vector<Point>& points, bool& inside) {
    if (s.circle && s.radius == 0) return false;
    if (s.circle && circlesafe(s)) {
        addcircle(s);
        return false;
    }
    points = s.circle ? circlepolygon(s.centre, s.radius) : s.points;
    inside = true;
    for (const Point& p : points) inside = inside && safe(p);
    return true;
}

void CairoCanvas::stroke() {
    // What lies beyond the device's reach is cut off; a dashed piece that
    // starts past the start of its subpath keeps its place in the pattern.
    struct Piece {
        std::vector<Point> points;
        long double phase = 0;
    };
    std::vector<Piece> pieces;
    cairo_new_path(cr);
    for (const Subpath& s : path) {
        std::vector<Point> points;
        bool inside;
        if (!polygonof(s, points, inside) || points.size() < 2) continue;
        if (inside) {
            addpolyline(cr, points, s.closed);
            continue;
        }
        if (s.closed) points.push_back(points.front());
        long double walked = 0;  // length of the subpath up to the segment
        Piece piece;
        for (size_t i = 0; i + 1 < points.size(); ++i) {
            const Point& a = points[i];
            const Point& b = points[i + 1];
            long double length = std::hypot(b.x - a.x, b.y - a.y);
            long double t0, t1;
            if (cutsegment(a, b, safelow, safehigh, t0, t1)) {
                if (piece.points.empty() || t0 > 0) {
                    if (piece.points.size() >= 2) pieces.push_back(piece);
                    piece.points.assign(1, along(a, b, t0));
                    piece.phase = walked + t0 * length;
                }
                piece.points.push_back(along(a, b, t1));
                if (t1 < 1) {
                    pieces.push_back(piece);
                    piece.points.clear();
                }
            } else if (!piece.points.empty()) {
                if (piece.points.size() >= 2) pieces.push_back(piece);
                piece.points.clear();
            }
            walked += length;
        }
        if (piece.points.size() >= 2) pieces.push_back(piece);
    }
    if (!dashed)
        for (const Piece& p : pieces) addpolyline(cr, p.points, false);
    paint(false);
    if (dashed) {
        for (const Piece& p : pieces) {
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
    cairo_new_path(cr);
    for (const Subpath& s : path) {
        std::vector<Point> points;
        bool inside;
        if (!polygonof(s, points, inside)) continue;
        if (!inside) points = cutpolygon(points, safelow, safehigh);
        if (points.size() >= 3) addpolyline(cr, points, true);
    }
    paint(true);
    path.clear();
}

void CairoCanvas::text(long double px, long double py, TextView text, TextRole role) {
    std::string s = utf8text(text.c, shownlength(text, role));
    long double x = pagecoord(px), y = pagecoord(py);
    if (role == TextRole::heading || role == TextRole::caption) {
        // These are placed at whole points.
        x = roundint(x);
        y = roundint(y);
    }
    bool shows = fontsize != 0 && !s.empty();
    long double width = 0;  // PostScript's stringwidth
    if (shows) {
        cairo_text_extents_t e;
        cairo_text_extents(cr, s.c_str(), &e);
        width = e.x_advance;
    }
    long double start = role == TextRole::centred ? x - width / 2 : role == TextRole::right ? x - width : x;
    if (shows && safe({start, y}) && safe({start + width, y})) {
        cairo_new_path(cr);
        cairo_move_to(cr, static_cast<double>(start), static_cast<double>(y));
        if (measuring) {
            cairo_text_path(cr, s.c_str());
            paint(true);
        } else {
            cairo_show_text(cr, s.c_str());
            cairo_new_path(cr);
        }
    }
    // As after PostScript's show: a new subpath at the end of the text.
    path.push_back(Subpath{});
    path.back().points.push_back({start + width, y});
}

void selectface(cairo_t* cr, TextFace face, long double size) {
    cairo_select_font_face(cr, "Helvetica", face == TextFace::italic ? CAIRO_FONT_SLANT_OBLIQUE : CAIRO_FONT_SLANT_NORMAL,
                           face == TextFace::bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_matrix_t m;
    cairo_matrix_init(&m, static_cast<double>(size), 0, 0, -static_cast<double>(size), 0, 0);
    cairo_set_font_matrix(cr, &m);
}

void CairoCanvas::styledtext(long double px, long double py, TextView text, TextRole role, const TextStyle& style) {
    std::string s = utf8text(text.c, text.len);
    long double x = pagecoord(px), y = pagecoord(py);
    if (s.empty() || !(style.size > 0) || !safe({x, y})) return;
    // The glyphs are set in a space moved to the point (and turned); the
    // path they make is kept in device space, so it is stroked and filled,
    // and its extents found, back on the page.
    auto set = [&](bool outline) {
        cairo_save(cr);
        selectface(cr, style.face, style.size);
        cairo_text_extents_t e;
        cairo_text_extents(cr, s.c_str(), &e);
        double back = role == TextRole::centred ? e.x_advance / 2 : role == TextRole::right ? e.x_advance : 0;
        cairo_translate(cr, static_cast<double>(x), static_cast<double>(y));
        if (style.turned) cairo_rotate(cr, static_cast<double>(pi) / 2);
        cairo_move_to(cr, -back, 0);
        if (outline)
            cairo_text_path(cr, s.c_str());
        else
            cairo_show_text(cr, s.c_str());
        cairo_restore(cr);
    };
    cairo_new_path(cr);
    if (style.halo > 0) {
        set(true);
        cairo_save(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_set_line_width(cr, static_cast<double>(style.halo));
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_dash(cr, nullptr, 0, 0);
        paint(false);
        cairo_restore(cr);
    }
    if (measuring) {
        set(true);
        paint(true);
    } else {
        set(false);
    }
    cairo_new_path(cr);
}

bool renderpage(PageFormat format, const PageBox& box, int dpi,
                const std::function<bool(const unsigned char*, size_t)>& write,
                const std::function<void(Canvas&)>& draw, std::string& reason) {
    long double width = box.right - box.left, height = box.top - box.bottom;
    if (!(width > 0 && height > 0 && width <= 14400 && height <= 14400)) {
        reason = "the page box is empty or too large";
        return false;
    }
    Sink sink = {&write, 0};
    double scale = 1;
    cairo_surface_t* surface;
    switch (format) {
        case PageFormat::pdf:
            surface = cairo_pdf_surface_create_for_stream(writebytes, &sink, static_cast<double>(width),
                                                          static_cast<double>(height));
            // No date of its own: the same drawing makes the same file.
            cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATE_DATE, "");
            break;
        case PageFormat::svg:
            surface = cairo_svg_surface_create_for_stream(writebytes, &sink, static_cast<double>(width),
                                                          static_cast<double>(height));
            cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PT);
            break;
        default: {
            long double columns = std::ceil(width * dpi / 72), rows = std::ceil(height * dpi / 72);
            if (!(dpi > 0 && columns <= 32767 && rows <= 32767)) {
                reason = "the PNG would be too large at this resolution";
                return false;
            }
            surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(columns),
                                                 static_cast<int>(rows));
            scale = dpi / 72.0;
            break;
        }
    }
    cairo_t* cr = cairo_create(surface);
    if (format == PageFormat::png) {
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
    }
    {
        CairoCanvas canvas(cr, box, scale);
        draw(canvas);
    }
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    if (status == CAIRO_STATUS_SUCCESS && format == PageFormat::png)
        status = cairo_surface_write_to_png_stream(surface, writebytes, &sink);
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (sink.error != 0) {
        reason = std::strerror(sink.error);
        errno = sink.error;
        return false;
    }
    if (status != CAIRO_STATUS_SUCCESS) {
        reason = cairo_status_to_string(status);
        return false;
    }
    return true;
}

bool inkbox(const std::function<void(Canvas&)>& draw, PageBox& box) {
    return inkbox(draw, {pageboxleft, pageboxbottom, pageboxright, pageboxtop}, box);
}

bool inkbox(const std::function<void(Canvas&)>& draw, const PageBox& within, PageBox& box) {
    cairo_surface_t* surface = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr);
    cairo_t* cr = cairo_create(surface);
    bool found;
    {
        CairoCanvas canvas(cr, {0, 0, 0, 0}, 1);
        canvas.measure(within);
        draw(canvas);
        found = canvas.ink(box) && cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return found;
}
