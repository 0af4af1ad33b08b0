// fontmeasure.h - the widths of texts in the fonts the outputs draw them
// with, for the geometry's places.
#pragma once

#include "drawing/fonts.h"
#include "geometry/textmeasure.h"

class FontMeasure final : public TextMeasure {
public:
    long double width(TextView text, TextFace face, long double size) const override;

private:
    mutable TextSetter setter;  // one Pango context for every text measured
};
