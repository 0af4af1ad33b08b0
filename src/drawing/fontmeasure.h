// fontmeasure.h - the widths of texts in the fonts the outputs draw them
// with, for the geometry's places.
#pragma once

#include <memory>

#include "drawing/fonts.h"
#include "geometry/textmeasure.h"

namespace gridel::drawing {

class FontMeasure final : public geometry::TextMeasure {
public:
    // Texts measured with their markup, chemical formulas included when
    // `formulas`; the width of each text without markup kept in `widths`,
    // when given.
    explicit FontMeasure(bool formulas = false, SetWidths* widths = nullptr) : formulas(formulas), widths(widths) {}
    long double width(text::TextView text, geometry::TextFace face, long double size) const override;

private:
    // One Pango context for every text measured, made when the first is:
    // a drawing that measures nothing does not pay for the fonts.
    mutable std::unique_ptr<TextSetter> setter;
    bool formulas;
    SetWidths* widths;
};

}  // namespace gridel::drawing
