// fontmeasure.cpp - FontMeasure: advance widths as cairo sets the glyphs.
#include "drawing/fontmeasure.h"

#include <string>

#include "drawing/cairocanvas.h"

FontMeasure::FontMeasure() {
    surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cr = cairo_create(surface);
    // As the canvas sets them: no grid fitting of outlines or advances.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

FontMeasure::~FontMeasure() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

long double FontMeasure::width(TextView text, TextFace face, long double size) const {
    std::string s = utf8text(text.c, text.len);
    if (s.empty() || !(size > 0)) return 0;
    selectface(cr, face, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, s.c_str(), &e);
    return e.x_advance;
}
