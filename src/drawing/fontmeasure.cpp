// fontmeasure.cpp - FontMeasure: advance widths as the outputs set texts.
#include "drawing/fontmeasure.h"

#include "drawing/markedtext.h"
#include "text/utf8.h"

namespace gridel::drawing {

long double FontMeasure::width(text::TextView text, geometry::TextFace face, long double size) const {
    if (text.len <= 0 || !(size > 0)) return 0;
    if (!setter) setter = std::make_unique<TextSetter>();
    TextLook look{size, face, false, 0, formulas};
    if (ismarked(text, look)) return setmarked(text, look, *setter).width;
    std::string utf8 = text::drawabletext(text.c, text.len);
    TextStyle style = styleof(look);
    long double w = setter->set(utf8, style);
    if (widths != nullptr) widths->add(utf8, style, w);
    return w;
}

}  // namespace gridel::drawing
