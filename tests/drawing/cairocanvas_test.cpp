// cairocanvas_test.cpp - the cairo canvas paints each mark where the EPS
// puts it, survives texts that are not UTF-8 and points far off the page,
// and makes pages of the right size.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>

#include "drawing/cairocanvas.h"
#include "drawing/fontmeasure.h"
#include "drawing/markedtext.h"
#include "text/utf8.h"
#include "drawing/pages.h"
#include "support/floors.h"

namespace {

// A 100 by 100 point page (page points 0..100 both ways), 4 pixels to a
// point, white, drawn on by `draw`.
struct Page {
    cairo_surface_t* surface;
    cairo_t* cr;
    explicit Page(const std::function<void(CairoCanvas&)>& draw) {
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 400, 400);
        cr = cairo_create(surface);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        CairoCanvas canvas(cr, {0, 0, 100, 100}, 4);
        PageHeader header{};
        header.fontsize = 12;
        canvas.begin(header);
        draw(canvas);
        cairo_surface_flush(surface);
    }
    ~Page() {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    // The pixel at page point (x, y), as 0xRRGGBB.
    uint32_t at(double x, double y) const {
        int px = static_cast<int>(x * 4), py = static_cast<int>((100 - y) * 4);
        const unsigned char* row = cairo_image_surface_get_data(surface) + py * cairo_image_surface_get_stride(surface);
        return *reinterpret_cast<const uint32_t*>(row + 4 * px) & 0xFFFFFF;
    }
    // The page x of the leftmost and rightmost dark pixel between page
    // heights y0 and y1.
    void inkx(double y0, double y1, double& left, double& right) const {
        left = 1e9;
        right = -1e9;
        for (double y = y0; y <= y1; y += 0.25)
            for (double x = 0.125; x < 100; x += 0.25)
                if ((at(x, y) & 0xFF) < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
    }
};

PathPoint at(long double x, long double y) { return {x, y, 0, 0, {0, {}}}; }

constexpr uint32_t white = 0xFFFFFF, black = 0;

TEST(CairoCanvas, MarksLandWhereTheEpsPutsThem) {
    Page page([](CairoCanvas& c) {
        Colour red = {1, 0, 0};
        c.areacolour(red, 1);  // a square filled, its path left open
        c.moveto(at(10, 10));
        c.lineto(at(30, 10));
        c.lineto(at(30, 30));
        c.lineto(at(10, 30));
        c.fill();
        c.black();
        c.linewidth(4);  // a thick line, butt ends
        c.moveto(at(40, 50));
        c.lineto(at(90, 50));
        c.stroke();
        c.linewidth(2);  // a dashed line: 3 on, 3 off from its start
        c.dash(true);
        c.moveto(at(10, 70));
        c.lineto(at(40, 70));
        c.stroke();
        c.dash(false);
        Colour over = {2, -1, 0.5};  // clamped to 1 0 0.5
        c.linecolour(&over);
        c.circle(70, 20, 8);
        c.stroke();
    });
    EXPECT_EQ(page.at(20, 20), 0xFF0000u);  // y upwards: low on the page is low in the image
    EXPECT_EQ(page.at(20, 80), white);
    EXPECT_EQ(page.at(35, 20), white);
    EXPECT_EQ(page.at(60, 50.5), black);
    EXPECT_EQ(page.at(60, 52.5), white);
    EXPECT_EQ(page.at(39.5, 50), white);  // butt: nothing beyond the ends
    EXPECT_EQ(page.at(91, 50), white);
    EXPECT_EQ(page.at(11.5, 70), black);
    EXPECT_EQ(page.at(14.5, 70), white);
    EXPECT_EQ(page.at(17.5, 70), black);
    EXPECT_EQ(page.at(77.9, 20), 0xFF0080u);
    EXPECT_EQ(page.at(70, 20), white);
}

TEST(CairoCanvas, LabelsAreCentredAndEndedByTheirWidth) {
    Page page([](CairoCanvas& c) {
        c.font(20);
        c.text(50, 60, {"WAW", 3}, TextRole::centred);
        c.text(95, 30, {"AW", 2}, TextRole::right);
        c.text(5.4, 5.4, {"H", 1}, TextRole::caption);  // at whole points
    });
    double left, right;
    page.inkx(61, 75, left, right);  // WAW is symmetric
    EXPECT_NEAR((left + right) / 2, 50, 0.5);
    EXPECT_GT(right - left, 40);
    page.inkx(31, 45, left, right);  // W ends 0.3 point short of its advance
    EXPECT_NEAR(right, 94.7, 0.5);
    page.inkx(6, 18, left, right);   // H starts 1.6 points after its origin
    EXPECT_NEAR(left, 6.6, 0.5);
}

// Texts that are not UTF-8, or hold what cairo refuses, leave cairo
// working: the fill after them still shows.
TEST(CairoCanvas, TextsThatAreNotUtf8) {
    Page page([](CairoCanvas& c) {
        c.font(10);
        const char bad[] = "\xFF\xFE(\xC3\0\xED\xA0\x80\xEF\xBF\xBE\xF4\x8F\xBF\xBF\n";
        for (TextRole role : {TextRole::heading, TextRole::caption, TextRole::centred, TextRole::right})
            c.text(50, 50, {bad, 16}, role);
        c.moveto(at(0, 0));
        c.lineto(at(10, 0));
        c.lineto(at(10, 10));
        c.fill();
    });
    EXPECT_EQ(cairo_status(page.cr), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(page.at(5, 5), black);
}

// A point as far off as the EPS writes (1e20) must not wrap round in
// cairo's fixed-point numbers: the line still runs straight to the right,
// and a dashed line cut to the device keeps its place in the pattern.
TEST(CairoCanvas, PointsFarOffThePage) {
    Page page([](CairoCanvas& c) {
        c.linewidth(2);
        c.moveto(at(50, 50));
        c.lineto(at(1e30L, 50));
        c.stroke();
        c.dash(true);  // 10000002 points before x = 0: a whole number of dashes
        c.moveto(at(-10000002, 90));
        c.lineto(at(100, 90));
        c.stroke();
        c.moveto(at(-1e9L, -1e9L));  // an area mostly far away
        c.lineto(at(1e9L, -1e9L));
        c.lineto(at(50, 20));
        c.fill();
    });
    EXPECT_EQ(page.at(99.5, 50), black);
    EXPECT_EQ(page.at(49.5, 50), white);
    EXPECT_EQ(page.at(1.5, 90), black);
    EXPECT_EQ(page.at(4.5, 90), white);
    EXPECT_EQ(page.at(7.5, 90), black);
    EXPECT_EQ(page.at(50, 19), black);
    EXPECT_EQ(page.at(20, 19), white);
    for (double x = 0.5; x < 100; x += 1) {
        EXPECT_EQ(page.at(x, 80), white) << x;
        EXPECT_EQ(page.at(x, 40), white) << x;
    }
}

TEST(CairoCanvas, PagesCoverTheBox) {
    auto draw = [](Canvas& c) {
        c.moveto(at(100, 200));
        c.lineto(at(300, 200));
        c.lineto(at(300, 400));
        c.fill();
        c.moveto(at(600, 100));  // off the EPS's box: no ink for cropping
        c.lineto(at(700, 100));
        c.stroke();
    };
    PageBox ink;
    ASSERT_TRUE(inkbox(draw, ink));
    EXPECT_NEAR(static_cast<double>(ink.left), 100, 0.01);
    EXPECT_NEAR(static_cast<double>(ink.bottom), 200, 0.01);
    EXPECT_NEAR(static_cast<double>(ink.right), 300, 0.01);
    EXPECT_NEAR(static_cast<double>(ink.top), 400, 0.01);

    std::string reason;
    MemorySink sink;
    std::string& bytes = sink.kept;
    const PageBox page = {4, 4, 525, 750};
    ASSERT_TRUE(pngpage(page, 150, sink, draw, reason)) << reason;
    // 521 by 746 points at 150 dpi: 1085.4 by 1554.2 pixels, rounded up.
    ASSERT_GT(bytes.size(), 24u);
    auto word = [&bytes](size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at])) << 24 |
               static_cast<unsigned char>(bytes[at + 1]) << 16 | static_cast<unsigned char>(bytes[at + 2]) << 8 |
               static_cast<unsigned char>(bytes[at + 3]);
    };
    EXPECT_EQ(word(16), 1086u);
    EXPECT_EQ(word(20), 1555u);
    bytes.clear();
    ASSERT_TRUE(pdfpage(page, 150, sink, draw, reason)) << reason;
    EXPECT_NE(bytes.find("/MediaBox [ 0 0 521 746 ]"), std::string::npos);
    EXPECT_EQ(bytes.find("/CreationDate"), std::string::npos);  // the same drawing, the same file
    bytes.clear();
    auto document = [&draw](Canvas& c) {
        c.begin(PageHeader{});
        draw(c);
        c.end();
    };
    ASSERT_TRUE(svgpage(page, 150, sink, document, reason)) << reason;
    EXPECT_NE(bytes.find("width=\"521pt\" height=\"746pt\""), std::string::npos);

    // A sink that cannot write is a failure with its reason.
    struct FullSink final : ByteSink {
        bool write(const char*, size_t) override {
            errno = ENOSPC;
            return false;
        }
    } full;
    for (PageWriter writer : {epspage, pdfpage, svgpage, pngpage}) {
        reason.clear();
        EXPECT_FALSE(writer(page, 150, full, document, reason));
        EXPECT_EQ(reason, std::strerror(ENOSPC));
    }
    EXPECT_FALSE(pngpage(page, 5000, sink, draw, reason));
}

}  // namespace

namespace gridel_inkbox_test {

// The frame the drawings below start with, and the numbers that place
// what follows it: next(n) is one of 0 to n - 1, from the seed.
std::function<int(int)> framed(Canvas& c, unsigned seed) {
    c.linewidth(1);
    c.moveto(at(100, 100));
    c.lineto(at(400, 100));
    c.lineto(at(400, 500));
    c.lineto(at(100, 500));
    c.lineto(at(100, 100));
    c.stroke();
    return [state = seed](int n) mutable {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 8) % static_cast<unsigned>(n));
    };
}

// A frame and then many texts in every look, most inside it, some across
// its edges and some far outside, as a figure draws its numbers and key.
void framedtexts(Canvas& c, unsigned seed, int texts) {
    auto next = framed(c, seed);
    const char* words[] = {"12", "u3", "Ky", "g + bi + H$_2$O", "$P$ (kbar)", "WW", "jy", "\xc3\x85", "u1438 ru + ksp + chl + ky"};
    const TextRole roles[] = {TextRole::centred, TextRole::right, TextRole::caption, TextRole::heading};
    const TextFace faces[] = {TextFace::regular, TextFace::bold, TextFace::italic};
    for (int k = 0; k < texts; ++k) {
        const char* w = words[next(9)];
        long double x = 40 + next(420), y = 40 + next(520);
        TextLook look{static_cast<long double>(4 + next(20)), faces[next(3)], next(5) == 0,
                      next(2) == 0 ? 0.0L : static_cast<long double>(next(40)) / 10};
        c.styledtext(x, y, {w, static_cast<int32_t>(std::strlen(w))}, roles[next(4)], look);
    }
}

// A frame and then many paths near its edges: polylines with sharp turns
// (whose miters reach far past their points), in widths from a hairline
// to 9 points, some dashed; circles; filled polygons; a few far outside.
void framedpaths(Canvas& c, unsigned seed, int paths) {
    auto next = framed(c, seed);
    // Near an edge of the frame: within 12 points of it, on either side.
    auto nearedge = [&](long double& x, long double& y) {
        x = 100 + next(301);
        y = 100 + next(401);
        long double off = static_cast<long double>(next(241) - 120) / 10;
        switch (next(4)) {
            case 0: x = 100 + off; break;
            case 1: x = 400 + off; break;
            case 2: y = 100 + off; break;
            default: y = 500 + off; break;
        }
        if (next(20) == 0) x += 3000;
    };
    for (int k = 0; k < paths; ++k) {
        long double x, y;
        nearedge(x, y);
        c.linewidth(static_cast<long double>(1 + next(90)) / 10);
        c.dash(next(4) == 0);
        switch (next(3)) {
            case 0: {  // a zigzag turning back on itself
                c.moveto(at(x, y));
                for (int i = 0; i < 3; ++i) {
                    long double dx = static_cast<long double>(next(41) - 20) / 2, dy = static_cast<long double>(next(41) - 20) / 2;
                    c.lineto(at(x + dx, y + dy));
                    c.lineto(at(x + dx / 2 + 0.3L, y + dy / 2 - 0.2L));
                }
                c.stroke();
                break;
            }
            case 1:
                c.circle(x, y, static_cast<long double>(next(200)) / 10);
                if (next(2) == 0)
                    c.stroke();
                else
                    c.fill();
                break;
            default:
                c.moveto(at(x, y));
                c.lineto(at(x + next(21) - 10, y + next(7)));
                c.lineto(at(x + next(7), y + next(21) - 10));
                c.fill();
                break;
        }
    }
    c.dash(false);
}

}  // namespace gridel_inkbox_test

// Texts that the ink found so far surely holds are passed over while
// measuring: the extents are those of measuring every text, to the bit;
// also when the widths of most texts are known from the measure of a
// figure's places, and the texts are measured from the outermost in
// without being set.
TEST(CairoCanvas, InkPassesOverTextsItHoldsWithTheSameExtents) {
    SetWidths widths;
    FontMeasure measure(false, &widths);
    for (const char* w : {"12", "u3", "Ky", "WW", "jy", "\xc3\x85", "u1438 ru + ksp + chl + ky"})
        for (TextFace face : {TextFace::regular, TextFace::bold, TextFace::italic})
            for (int size = 4; size < 24; ++size)
                measure.width({w, static_cast<int32_t>(std::strlen(w))}, face, size);
    for (unsigned seed = 1; seed <= 40; ++seed) {
        auto draw = [seed](Canvas& c) { gridel_inkbox_test::framedtexts(c, seed, 60); };
        for (const PageBox& within : {PageBox{0, 0, 612, 792}, PageBox{-20000, -20000, 20000, 20000}}) {
            PageBox quick{}, known{}, exact{};
            bool inked = inkbox(draw, within, exact, true);
            ASSERT_EQ(inkbox(draw, within, quick), inked) << seed;
            ASSERT_EQ(inkbox(draw, within, known, false, &widths), inked) << seed;
            for (const PageBox& b : {quick, known})
                EXPECT_TRUE(b.left == exact.left && b.bottom == exact.bottom && b.right == exact.right &&
                            b.top == exact.top)
                    << "seed " << seed << ": " << static_cast<double>(b.left) << " " << static_cast<double>(exact.left)
                    << " / " << static_cast<double>(b.top) << " " << static_cast<double>(exact.top);
        }
    }
}

// Paths that the ink found so far surely holds are passed over while
// measuring: the extents are those of painting every path, to the bit.
TEST(CairoCanvas, InkPassesOverPathsItHoldsWithTheSameExtents) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        auto draw = [seed](Canvas& c) { gridel_inkbox_test::framedpaths(c, seed, 40); };
        for (const PageBox& within : {PageBox{0, 0, 612, 792}, PageBox{-20000, -20000, 20000, 20000}}) {
            PageBox quick{}, exact{};
            bool inked = inkbox(draw, within, exact, true);
            ASSERT_EQ(inkbox(draw, within, quick), inked) << seed;
            EXPECT_TRUE(quick.left == exact.left && quick.bottom == exact.bottom && quick.right == exact.right &&
                        quick.top == exact.top)
                << "seed " << seed << ": " << static_cast<double>(quick.left) << " " << static_cast<double>(exact.left)
                << " / " << static_cast<double>(quick.top) << " " << static_cast<double>(exact.top);
        }
    }
}

// A text's width kept while measuring a figure's places is the width it
// is set to again for the crop and the outputs, to the bit.
TEST(CairoCanvas, KeptWidthsAreTheWidthsTextsAreSetTo) {
    SetWidths widths;
    FontMeasure measure(false, &widths);
    TextSetter setter;
    int kept = 0;
    for (const char* w : {"12", "u3", "1438", "ru + ksp + chl + ky", "\xc3\x85ngstr\xc3\xb6m", "T (\xc2\xb0" "C)"})
        for (TextFace face : {TextFace::regular, TextFace::bold, TextFace::italic})
            for (long double size : {5.0L, 7.0L, 8.5L, 12.0L, 16.0L}) {
                gridel::text::TextView t{w, static_cast<int32_t>(std::strlen(w))};
                long double planned = measure.width(t, face, size), found = -1;
                TextStyle style = styleof(TextLook{size, face, false, 0});
                std::string utf8 = gridel::text::drawabletext(t.c, t.len);
                ASSERT_TRUE(widths.find(utf8, style, found)) << w;
                EXPECT_EQ(found, planned) << w;
                EXPECT_EQ(setter.set(utf8, style), found) << w << " " << static_cast<double>(size);
                ++kept;
            }
    EXPECT_EQ(kept, 90);
}
