// drawing.cpp - the drawing tests' helpers.
#include "postscript/drawing.h"

#include <cstdio>
#include <cstring>

#include "diagram/startdiagram.h"
#include "postscript/drawdiagram.h"
#include "run/channels.h"
#include "run/files.h"
#include "run/settings.h"
#include "support/capture.h"

namespace pstest {

void resetmodel() {
    startdiagram();
    npoints = 0;
    nlines = 0;
    nareas = 0;
    plotwindow = {0, 1, 0, 1};
    tickmarks = {0.5L, 0, 0.5L, 0, 0, 0, false};
    drawingoptions.doareas = answeryes;
    drawingoptions.showlineinfo = answeryes;
    drawingoptions.numbering = answerno;
    drawingoptions.docircles = answeryes;
    drawingoptions.numbersize = 0;
    drawingoptions.circlesize = 0;
    drawingoptions.ninfo = 0;
    settext(runsettings.banner, "gridel 1.18");
    settext(runstamp, "9.05 on Sun 6 Dec,2026");
}

UnivariantLine& addline(const char* name, const std::vector<std::pair<long double, long double>>& xy) {
    UnivariantLine& l = lines[++nlines];
    std::memset(&l, 0, sizeof l);
    settext(l.name, name);
    settext(l.beginname, "begin");
    settext(l.endname, "end");
    for (const auto& [x, y] : xy) {
        ++l.npts;
        l.x[l.npts] = x;
        l.y[l.npts] = y;
    }
    l.connect = xy.empty();
    return l;
}

InvariantPoint& addpoint(const char* name, long double x, long double y) {
    InvariantPoint& p = points[++npoints];
    std::memset(&p, 0, sizeof p);
    settext(p.name, name);
    p.pointword = true;
    p.x = x;
    p.y = y;
    return p;
}

namespace {

// Close the drawing and give it its name, as a normal end of the run does.
void closedrawing() {
    closeoutput(channels[chps], true);
    openChannels &= ~(1u << chps);
}

}  // namespace

std::string drawn(const std::function<void()>& fn) {
    std::string dir = testsupport::enterscratch();
    channels[chps].file = std::fopen("drawing.eps", "w");
    std::snprintf(channels[chps].path, sizeof channels[chps].path, "drawing.eps");
    openChannels |= 1u << chps;
    fn();
    closedrawing();
    std::string out = testsupport::readwhole("drawing.eps");
    testsupport::leavescratch(dir);
    return out;
}

std::string drawnfile(const char* suffix) {
    std::string dir = testsupport::enterscratch();
    settext(runsettings.datafile, suffix);
    drawdiagram();
    closedrawing();
    std::string out = testsupport::readwhole(std::string("gl-") + suffix + ".eps");
    testsupport::leavescratch(dir);
    return out;
}

std::string ghostscript(const std::string& drawing) {
    std::string dir = testsupport::enterscratch();
    testsupport::writewhole("check.eps", drawing);
    std::string out;
    FILE* p = popen("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=nullpage check.eps </dev/null 2>&1; "
                    "echo \"status $?\"",
                    "r");
    if (p != nullptr) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        pclose(p);
    }
    testsupport::leavescratch(dir);
    if (out == "status 0\n") return "";
    return out;
}

}  // namespace pstest
