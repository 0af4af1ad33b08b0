// markedtext.cpp - setmarked: the runs of a marked text placed piece by
// piece.
#include "drawing/markedtext.h"

#include "text/utf8.h"

namespace gridel::drawing {

TextStyle styleof(const TextLook& look) {
    return TextStyle{look.size, look.face == geometry::TextFace::bold, look.face == geometry::TextFace::italic};
}

bool ismarked(text::TextView text, const TextLook& look) { return hasmarkup(text, look.formulas); }

SetText setmarked(text::TextView text, const TextLook& look, TextSetter& setter) {
    SetText set{{}, 0};
    TextStyle base = styleof(look);
    for (const text::MarkRun& run : markup(text, look.formulas)) {
        SetPiece p{text::drawabletext(run.text.data(), static_cast<int32_t>(run.text.size())), base, run.italic, run.shift,
                   set.width, 0};
        if (run.italic) p.style.italic = true;
        if (run.shift != text::Shift::base) p.style.size = base.size * scriptscale;
        if (run.shift == text::Shift::sub) p.rise = -subdrop * base.size;
        if (run.shift == text::Shift::super) p.rise = superrise * base.size;
        if (p.utf8.empty() || !(p.style.size > 0)) continue;
        set.width += setter.set(p.utf8, p.style);
        set.pieces.push_back(std::move(p));
    }
    return set;
}

}  // namespace gridel::drawing
