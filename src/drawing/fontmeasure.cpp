// fontmeasure.cpp - FontMeasure: advance widths as the outputs set texts.
#include "drawing/fontmeasure.h"

#include "drawing/markedtext.h"
#include "text/utf8.h"

long double FontMeasure::width(TextView text, TextFace face, long double size) const {
    if (text.len <= 0 || !(size > 0)) return 0;
    if (!setter) setter = std::make_unique<TextSetter>();
    TextLook look{size, face, false, 0, formulas};
    if (ismarked(text, look)) return setmarked(text, look, *setter).width;
    return setter->set(drawabletext(text.c, text.len), styleof(look));
}
