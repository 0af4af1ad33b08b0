// labels.cpp - findmid and placelabels.
#include "geometry/labels.h"

#include <cmath>

#include "geometry/linepoints.h"
#include "run/diagnostics.h"
#include "run/failure.h"

namespace gridel::geometry {

void findmid(run::Run& run, const diagram::PlotWindow& w, const diagram::UnivariantLine& line, long double& xm, long double& ym) {
    long double width = w.xhigh - w.xlow;
    long double height = w.yhigh - w.ylow;
    int n = linelength(line);
    long double cum[diagram::linecapacity + 1] = {};
    cum[1] = 0;
    for (int k = 2; k <= n; ++k) {
        long double dx = (line.x[k] - line.x[k - 1]) / width;
        long double dy = (line.y[k] - line.y[k - 1]) / height;
        cum[k] = cum[k - 1] + std::sqrt(dx * dx + dy * dy);
    }
    long double half = n >= 1 ? 0.5L * cum[n] : 0;
    if (half == 0) {
        explain(run, run::wordtext(line.name) + " has no length to put its number on: its drawn points all coincide",
                {"check its rows and limits, or leave out numbering"});
        text::Text what;
        text::settext(what, "zero sum distance for ");
        text::addtext(what, line.name);
        bombed(run, "findmid", what);
    }
    int j = 2;
    while (j < n && !(cum[j] >= half)) ++j;
    if (cum[j] == half) {
        xm = line.x[j];
        ym = line.y[j];
        return;
    }
    long double t = (half - cum[j - 1]) / (cum[j] - cum[j - 1]);
    xm = line.x[j - 1] + t * (line.x[j] - line.x[j - 1]);
    ym = line.y[j - 1] + t * (line.y[j] - line.y[j - 1]);
}

std::vector<LabelPlace> placelabels(run::Run& run, const diagram::Diagram& d) {
    std::vector<LabelPlace> places;
    if (!diagram::isyes(d.options.numbering)) return places;
    int n = d.nlines < diagram::maxlines ? d.nlines : diagram::maxlines;
    places.resize(static_cast<size_t>(n < 0 ? 1 : n + 1), LabelPlace{0, 0});
    for (int k = 1; k <= n; ++k) {
        const diagram::UnivariantLine& line = d.lines[k];
        if (linelength(line) <= 0) continue;
        LabelPlace& p = places[static_cast<size_t>(k)];
        atitem(run, d.linelines[k], d.linecolumns[k], line.name);
        findmid(run, d.window, line, p.x, p.y);
    }
    atline(run, 0);
    return places;
}

}  // namespace gridel::geometry
