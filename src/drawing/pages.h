// pages.h - the drawing as a whole page in one of the formats besides the
// EPS: PDF and PNG painted by cairo, SVG written by gridel's own writer.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "drawing/canvas.h"

enum class PageFormat { pdf, svg, png };

// Make the page `box` in the format `format` with `draw`, which begins,
// draws and ends a document on the canvas it is given, and hand its bytes
// to `write`, which says false when it could not write them (errno set).
// A PDF or SVG page is exactly the box in points; a PNG is ceil(width *
// dpi / 72) by ceil(height * dpi / 72) pixels with the box at its top left
// corner, antialiased on white, its resolution recorded.  Every format
// carries the document's title and creator (from the header given to
// begin).  False, with the reason, when the page could not be made or
// written.
bool renderpage(PageFormat format, const PageBox& box, int dpi,
                const std::function<bool(const unsigned char*, size_t)>& write,
                const std::function<void(Canvas&)>& draw, std::string& reason);
