// svgcanvas_test.cpp - the SVG writer: its document for a short sequence
// of calls, word for word, and its failures to write.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "drawing/svgcanvas.h"
#include "support/floors.h"

namespace {

PathPoint at(long double x, long double y) { return {x, y, 0, 0, {0, {}}}; }

GroupInfo group(const char* id, const char* kind, const char* title) {
    return {{id, static_cast<int32_t>(std::strlen(id))},
            {kind, static_cast<int32_t>(std::strlen(kind))},
            {title, static_cast<int32_t>(std::strlen(title))}};
}

// The document written for `draw` on the page 10 10 110 60, without its
// first lines (the declaration, the root, the title and the metadata).
std::string drawn(const std::function<void(Canvas&)>& draw) {
    MemorySink sink;
    std::string& bytes = sink.kept;
    SvgCanvas svg({10, 10, 110, 60}, sink);
    PageHeader header{};
    header.fontsize = 12;
    settext(header.title, "gl-<a&b>.txt");
    settext(header.creator, "gridel");
    svg.begin(header);
    draw(svg);
    svg.end();
    int error;
    EXPECT_TRUE(svg.finish(error));
    EXPECT_NE(bytes.find("<title>gl-&lt;a&amp;b&gt;.txt</title>"), std::string::npos);
    EXPECT_NE(bytes.find("width=\"100pt\" height=\"50pt\" viewBox=\"0 0 100 50\""), std::string::npos);
    size_t body = bytes.find("</metadata>\n");
    return body == std::string::npos ? bytes : bytes.substr(body + 12);
}

TEST(SvgCanvas, ItemsAsGroupsOfPathsAndTexts) {
    std::string svg = drawn([](Canvas& c) {
        c.begingroup(group("area-1", "area", ""));  // page y 60 is the top
        c.areacolour({1, 0.5L, -1}, 1);
        c.moveto(at(10, 60));
        c.lineto(at(20.004L, 60));
        c.lineto(at(20, 50.125L));
        c.fill();
        c.black();
        c.endgroup();
        c.begingroup(group("empty", "nothing", "drawn"));  // left out
        c.endgroup();
        c.begingroup(group("u1", "line dashed", "u1: a \"b\" <c> & 'd'"));
        c.linewidth(0.3L);
        c.dash(true);
        c.moveto(at(-100000, 30));  // cut far off the page, keeping its place in the dash
        c.lineto(at(50, 30));
        c.lineto(at(60, 40));
        c.stroke();
        Colour red = {1, 0, 0};
        c.linecolour(&red);
        c.font(9);
        c.text(50, 20, {"1&2", 3}, TextRole::centred);
        c.endgroup();
        c.begingroup(group("u1", "line", ""));  // the same id again
        c.dash(false);
        c.linecolour(nullptr);
        c.circle(30, 30, -4);  // a circle alone
        c.stroke();
        c.circle(30, 30, 0);  // draws nothing
        c.stroke();
        // The face kerns "AV": the pieces are set apart.
        c.text(99.6L, 20.4L, {"AVE <\x01\xFF>", 8}, TextRole::caption);
        c.text(100, 20, {"x", 1}, TextRole::right);
        c.endgroup();
    });
    EXPECT_EQ(svg,
              "<g id=\"area-1\" class=\"area\">\n"
              "<path fill=\"#ff8000\" d=\"M0 0L10 0 10 9.88Z\"/>\n"
              "</g>\n"
              "<g id=\"u1\" class=\"line dashed\"><title>u1: a &quot;b&quot; &lt;c&gt; &amp; &apos;d&apos;</title>\n"
              "<path fill=\"none\" stroke=\"#000000\" stroke-width=\"0.3\" stroke-dasharray=\"3\" "
              "stroke-dashoffset=\"4\" d=\"M-10000 30L40 30 50 20\"/>\n"
              "<text x=\"40\" y=\"40\" font-size=\"9\" text-anchor=\"middle\" fill=\"#ff0000\">1&amp;2</text>\n"
              "</g>\n"
              "<g id=\"u1-2\" class=\"line\">\n"
              "<circle cx=\"20\" cy=\"30\" r=\"4\" fill=\"none\" stroke=\"#000000\" stroke-width=\"0.3\"/>\n"
              "<text x=\"90\" y=\"40\" font-size=\"9\">AVE &lt;\xEF\xBF\xBD\xEF\xBF\xBD&gt;</text>\n"
              "<text x=\"90\" y=\"40\" font-size=\"9\" text-anchor=\"end\">x</text>\n"
              "</g>\n"
              "</svg>\n");
}

TEST(SvgCanvas, WriteFailuresAreReported) {
    struct FullSink final : ByteSink {
        int calls = 0;
        bool write(const char*, size_t) override {
            ++calls;
            errno = ENOSPC;
            return false;
        }
    } full;
    int& calls = full.calls;
    SvgCanvas svg({0, 0, 100, 100}, full);
    svg.begin(PageHeader{});
    for (int k = 0; k < 5000; ++k) {  // several pieces' worth
        svg.moveto(at(k, 0));
        svg.lineto(at(k, 100));
        svg.stroke();
    }
    svg.end();
    int error = 0;
    EXPECT_FALSE(svg.finish(error));
    EXPECT_EQ(error, ENOSPC);
    EXPECT_EQ(calls, 1);  // nothing more is tried after a failure
}

}  // namespace
