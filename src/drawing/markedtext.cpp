// markedtext.cpp - setmarked: the runs of a marked text placed piece by
// piece.
#include "drawing/markedtext.h"

#include "text/utf8.h"

TextStyle styleof(const TextLook& look) {
    return TextStyle{look.size, look.face == TextFace::bold, look.face == TextFace::italic};
}

bool ismarked(TextView text, const TextLook& look) { return hasmarkup(text, look.formulas); }

SetText setmarked(TextView text, const TextLook& look, TextSetter& setter) {
    SetText set{{}, 0};
    TextStyle base = styleof(look);
    for (const MarkRun& run : markup(text, look.formulas)) {
        SetPiece p{drawabletext(run.text.data(), static_cast<int32_t>(run.text.size())), base, run.italic, run.shift,
                   set.width, 0};
        if (run.italic) p.style.italic = true;
        if (run.shift != Shift::base) p.style.size = base.size * scriptscale;
        if (run.shift == Shift::sub) p.rise = -subdrop * base.size;
        if (run.shift == Shift::super) p.rise = superrise * base.size;
        if (p.utf8.empty() || !(p.style.size > 0)) continue;
        set.width += setter.set(p.utf8, p.style);
        set.pieces.push_back(std::move(p));
    }
    return set;
}
