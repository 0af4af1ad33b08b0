// fontmeasure.h - the widths of texts in the fonts the outputs draw them
// with, for the geometry's places.
#pragma once

#include <cairo.h>

#include "geometry/textmeasure.h"

class FontMeasure final : public TextMeasure {
public:
    FontMeasure();
    ~FontMeasure() override;
    FontMeasure(const FontMeasure&) = delete;
    FontMeasure& operator=(const FontMeasure&) = delete;

    long double width(TextView text, TextFace face, long double size) const override;

private:
    cairo_surface_t* surface;
    cairo_t* cr;
};
