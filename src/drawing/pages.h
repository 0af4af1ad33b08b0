// pages.h - the drawing as a whole page in each format: the EPS written
// line by line, PDF and PNG painted by cairo, SVG written by gridel's own
// writer.  The table of formats (formats.h) names them.
#pragma once

#include <functional>
#include <string>

#include "drawing/canvas.h"
#include "run/bytesink.h"

namespace gridel::drawing {

// Make the page `box` in one format with `document`, which begins, draws
// and ends a document on the canvas it is given, and hand its bytes to
// `sink`.  An EPS page is exactly the box its header gives (the box's
// corners in whole points); a PDF or SVG page is exactly the box in
// points; a PNG is ceil(width * dpi / 72) by ceil(height * dpi / 72)
// pixels with the box at its top left corner, antialiased on white, its
// resolution recorded.  The PDF, SVG and PNG carry the document's title
// and creator (from the header given to begin).  False, with the reason,
// when the page could not be made or written; when the sink could not
// take the bytes, errno says why.
using PageWriter = bool (*)(const PageBox& box, int dpi, run::ByteSink& sink,
                            const std::function<void(Canvas&)>& document, std::string& reason);

bool epspage(const PageBox& box, int dpi, run::ByteSink& sink, const std::function<void(Canvas&)>& document,
             std::string& reason);
bool pdfpage(const PageBox& box, int dpi, run::ByteSink& sink, const std::function<void(Canvas&)>& document,
             std::string& reason);
bool svgpage(const PageBox& box, int dpi, run::ByteSink& sink, const std::function<void(Canvas&)>& document,
             std::string& reason);
bool pngpage(const PageBox& box, int dpi, run::ByteSink& sink, const std::function<void(Canvas&)>& document,
             std::string& reason);

}  // namespace gridel::drawing
