// pages.cpp - the page writers: the EPS writer, cairo's PDF and PNG
// surfaces, the SVG writer, and the chunks the PNG gets besides cairo's.
#include "drawing/pages.h"

#include <cairo-pdf.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "drawing/cairocanvas.h"
#include "drawing/epscanvas.h"
#include "drawing/svgcanvas.h"
#include "text/utf8.h"

namespace gridel::drawing {

namespace {

// The largest page side, in points, and the largest PNG side, in pixels.
constexpr long double largestpage = 14400;
constexpr long double largestpng = 32767;

// A PNG file starts with its signature and its header chunk (IHDR, 13
// bytes of data); the chunks gridel adds come right after them.
constexpr size_t pngheaderlength = 8 + 4 + 4 + 13 + 4;

// Where the bytes of a page go, and the first error in writing them.
struct Sink {
    run::ByteSink* bytes;
    int error;  // errno of the failed write; 0 while all went well
};

cairo_status_t writebytes(void* closure, const unsigned char* data, unsigned int length) {
    Sink* sink = static_cast<Sink*>(closure);
    if (sink->error != 0) return CAIRO_STATUS_WRITE_ERROR;
    errno = 0;
    if (sink->bytes->write(reinterpret_cast<const char*>(data), length)) return CAIRO_STATUS_SUCCESS;
    sink->error = errno != 0 ? errno : EIO;
    return CAIRO_STATUS_WRITE_ERROR;
}

// The CRC of a PNG chunk's type and data.
uint32_t crc32(const std::string& bytes) {
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        c ^= b;
        for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return c ^ 0xFFFFFFFFu;
}

void appendbigendian(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(v >> shift & 0xFF);
}

// A whole chunk: length, type, data, CRC.
std::string pngchunk(const char* type, const std::string& data) {
    std::string body = type + data;
    std::string chunk;
    appendbigendian(chunk, static_cast<uint32_t>(data.size()));
    chunk += body;
    appendbigendian(chunk, crc32(body));
    return chunk;
}

// A text chunk: tEXt for printable ASCII, else iTXt, which holds UTF-8.
std::string pngtext(const char* keyword, const text::Text& text) {
    std::string value = text::drawabletext(text.c, text.len);
    bool ascii = true;
    for (char c : value) ascii = ascii && static_cast<unsigned char>(c) < 0x7F;
    std::string data = keyword;
    data += '\0';
    if (ascii) return pngchunk("tEXt", data + value);
    data.append("\0\0\0\0", 4);  // not compressed, no language, no translated keyword
    return pngchunk("iTXt", data + value);
}

// The chunks after the header: the resolution (pHYs, in pixels per metre)
// and the document's title and creator.
std::string pngchunks(int dpi, const PageHeader& header) {
    std::string phys;
    uint32_t permetre = static_cast<uint32_t>((static_cast<int64_t>(dpi) * 10000 + 127) / 254);
    appendbigendian(phys, permetre);
    appendbigendian(phys, permetre);
    phys += '\1';  // the unit is the metre
    return pngchunk("pHYs", phys) + pngtext("Title", header.title) + pngtext("Software", header.creator);
}

// Hand on cairo's PNG with `chunks` put in after its header.
struct PngSink {
    Sink* sink;
    std::string chunks;
    size_t passed;  // bytes of cairo's PNG handed on so far
};

cairo_status_t writepng(void* closure, const unsigned char* data, unsigned int length) {
    PngSink* png = static_cast<PngSink*>(closure);
    if (png->passed < pngheaderlength && png->passed + length >= pngheaderlength) {
        unsigned int head = static_cast<unsigned int>(pngheaderlength - png->passed);
        cairo_status_t status = writebytes(png->sink, data, head);
        if (status == CAIRO_STATUS_SUCCESS)
            status = writebytes(png->sink, reinterpret_cast<const unsigned char*>(png->chunks.data()),
                                static_cast<unsigned int>(png->chunks.size()));
        png->passed += head;
        data += head;
        length -= head;
        if (status != CAIRO_STATUS_SUCCESS) return status;
        if (length == 0) return status;
    }
    png->passed += length;
    return writebytes(png->sink, data, length);
}

bool failed(const Sink& sink, cairo_status_t status, std::string& reason) {
    if (sink.error != 0) {
        reason = std::strerror(sink.error);
        errno = sink.error;
        return true;
    }
    if (status != CAIRO_STATUS_SUCCESS) {
        reason = cairo_status_to_string(status);
        return true;
    }
    return false;
}

// False, with the reason, for a page box that no page of a painted format
// can have.
bool paintable(const PageBox& box, std::string& reason) {
    long double width = box.right - box.left, height = box.top - box.bottom;
    if (width > 0 && height > 0 && width <= largestpage && height <= largestpage) return true;
    reason = "the page box is empty or too large";
    return false;
}

// The page painted by cairo as PDF or PNG.
bool cairopage(bool png, const PageBox& box, int dpi, run::ByteSink& bytes, const std::function<void(Canvas&)>& document,
               std::string& reason) {
    if (!paintable(box, reason)) return false;
    long double width = box.right - box.left, height = box.top - box.bottom;
    Sink sink = {&bytes, 0};
    double scale = 1;
    CairoSurface surface;
    if (!png) {
        surface.reset(cairo_pdf_surface_create_for_stream(writebytes, &sink, static_cast<double>(width),
                                                            static_cast<double>(height)));
        // No date of its own: the same drawing makes the same file.
        cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATE_DATE, "");
    } else {
        long double columns = std::ceil(width * dpi / 72), rows = std::ceil(height * dpi / 72);
        if (!(dpi > 0 && columns <= largestpng && rows <= largestpng)) {
            reason = "the PNG would be too large at this resolution";
            return false;
        }
        surface.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(columns), static_cast<int>(rows)));
        scale = dpi / 72.0;
    }
    CairoContext cr(cairo_create(surface.get()));
    if (png) {
        cairo_set_source_rgb(cr.get(), 1, 1, 1);
        cairo_paint(cr.get());
    }
    PageHeader header{};
    {
        CairoCanvas canvas(cr.get(), box, scale);
        document(canvas);
        header = canvas.header();
    }
    cairo_status_t status = cairo_status(cr.get());
    cr.reset();
    if (status == CAIRO_STATUS_SUCCESS && png) {
        PngSink pngsink = {&sink, pngchunks(dpi, header), 0};
        status = cairo_surface_write_to_png_stream(surface.get(), writepng, &pngsink);
    }
    cairo_surface_finish(surface.get());
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface.get());
    surface.reset();
    return !failed(sink, status, reason);
}

// A written canvas's end: false, with errno and the reason, when it could
// not write every byte.
bool written(int error, std::string& reason) {
    if (error == 0) return true;
    reason = std::strerror(error);
    errno = error;
    return false;
}

}  // namespace

bool epspage(const PageBox&, int, run::ByteSink& sink, const std::function<void(Canvas&)>& document,
             std::string& reason) {
    EpsCanvas canvas(sink);
    document(canvas);
    int error;
    canvas.finish(error);
    return written(error, reason);
}

bool pdfpage(const PageBox& box, int dpi, run::ByteSink& sink, const std::function<void(Canvas&)>& document,
             std::string& reason) {
    return cairopage(false, box, dpi, sink, document, reason);
}

bool svgpage(const PageBox& box, int, run::ByteSink& sink, const std::function<void(Canvas&)>& document,
             std::string& reason) {
    if (!paintable(box, reason)) return false;
    SvgCanvas canvas(box, sink);
    document(canvas);
    int error;
    canvas.finish(error);
    return written(error, reason);
}

bool pngpage(const PageBox& box, int dpi, run::ByteSink& sink, const std::function<void(Canvas&)>& document,
             std::string& reason) {
    return cairopage(true, box, dpi, sink, document, reason);
}

}  // namespace gridel::drawing
