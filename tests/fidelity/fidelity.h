// fidelity.h - the same drawing in every format, rasterised and compared
// pixel by pixel with the EPS as Ghostscript paints it.
#pragma once

#include <string>
#include <vector>

#include "support/files.h"
#include "support/floors.h"

namespace fidelity {

// The resolution every raster is made at: a whole multiple of 72, so that
// a box of whole points is a whole number of pixels in every tool.
constexpr int dpi = 288;

// An RGB raster, 3 bytes a pixel, row by row from the top.
struct Raster {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// How two rasters of one drawing differ.
struct Difference {
    bool samesize = false;
    long pixels = 0;  // pixels compared
    long faint = 0;   // pixels off by more than the faint threshold
    long strong = 0;  // pixels off by more than the strong threshold
    int worst = 0;    // the largest difference
};

Difference compare(const Raster& a, const Raster& b);

// Whether a difference stays within the tolerance (see fidelity.cpp).
bool withintolerance(const Difference& d);

// One line for a test report.
std::string describe(const Difference& d);

// A PNG file loaded through cairo, on white; false when it cannot be read.
bool loadpng(const std::string& path, Raster& raster);

// Rasterise at `dpi` into the PNG file `png`; empty, or what went wrong.
std::string rasterise_eps(const std::string& eps, const std::string& png);
std::string rasterise_pdf(const std::string& pdf, const std::string& png);
std::string rasterise_svg(const std::string& svg, const std::string& png);

// The SVG with every character of its texts in a <tspan> of its own: a
// viewer sets each apart and kerns no pair of them, as the EPS and the PDF
// do not.  The SVG leaves kerning to its viewer (rsvg-convert kerns and
// takes no word against it), which moves the end of a long text by up to
// a point: the comparison allows for it this way, and so still sees a
// text that stands elsewhere or in another size.
std::string unkerned(const std::string& svg);

// The EPS as a reference for texts beyond ASCII: its strings, UTF-8 as the
// other formats read them, shown through a Helvetica whose codes 160..255
// are the Latin-1 characters and 128.. a few Greek letters.  An EPS of
// plain ASCII strings is returned as it is.
std::string utf8reference(const std::string& eps);

// Folders and files.
std::string makeworkdir();
void removetree(const std::string& dir);
using testsupport::readfile;
using testsupport::writefile;

// Run gridel on `datafile` in its folder with the clock fixed and the
// keyboard closed; empty, or what went wrong (with the screen).
std::string rungridel(const std::string& dir, const std::string& datafile,
                      const std::string& options);

}  // namespace fidelity
