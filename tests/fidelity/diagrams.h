// diagrams.h - data files made up to exercise every kind of mark the
// drawing has.
#pragma once

#include <string>

namespace fidelity {

// Lines from one invariant point to the window's edges in every style
// (thin, thick, dashed, named and given colours), shaded fields between
// them over a dark colour, numbered lines and points with circles, big and
// small ticks, an info line.  The seed varies window, angles, colours and
// sizes.
std::string fan(unsigned seed);

// Axis numbers with decimals and signs, small ticks, straight connect
// lines between points, and info lines with parentheses, backslashes and
// a long text.
std::string ticksandtext();

// UTF-8 in info lines and line names (degrees, Greek letters, umlauts).
std::string utf8text();

// A figure for print whose texts use markup and formulas: italics, sub-
// and superscripts, Greek letters, characters beyond Latin-1, on halos,
// turned, in the key.
std::string markuptext();

}  // namespace fidelity
