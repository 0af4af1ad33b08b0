// textmeasure.h - how much room a text takes on the page: its width from
// the fonts the outputs use (the drawing floor measures it), its height
// from the font's design, so that the geometry can place texts without
// drawing them.
#pragma once

#include <cstdint>

#include "text/fixedtext.h"

namespace gridel::geometry {

// The three faces of the one font family every output uses.
enum class TextFace : int8_t { regular, bold, italic };

// Heights of the font, as fractions of its size: capitals and digits rise
// to the cap height above the baseline, descenders reach the descent below.
constexpr long double capheight = 0.718L;
constexpr long double descent = 0.207L;

class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    // The advance width of a UTF-8 text in a face at a size in points, as
    // the outputs draw it.
    virtual long double width(text::TextView text, TextFace face, long double size) const = 0;
};

}  // namespace gridel::geometry
