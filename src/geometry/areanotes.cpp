// areanotes.cpp - traceareas: each area's boundary traced, with what a run says of it (the edges it closes
// along and how to take the other side, lines that share no point, a boundary that does not come back).
#include <string>

#include "diagram/slips.h"
#include "geometry/areas.h"
#include "run/diagnostics.h"

namespace gridel::geometry {

namespace {

const text::Word noname = {0, {}};

bool samepoint(int16_t a, int16_t b) { return a > 0 && a == b; }

// Resolve an area's line names and keep, in order, the lines that have
// points left after cutting; returns their number.
int16_t visiblelines(run::Run& run, const diagram::Diagram& d, diagram::ShadedArea& a) {
    int16_t names = a.nnames > diagram::maxareanames ? diagram::maxareanames : a.nnames;
    int16_t m = 0;
    for (int16_t j = 1; j <= names; ++j) {
        int16_t k = whichline(run, d, a.linenames[j]);
        if (d.lines[k].npts > 0) a.lineindex[++m] = k;
    }
    a.nnames = m;
    return m;
}

}  // namespace

std::vector<int16_t> borderedges(const BoundaryPath& path) {
    std::vector<int16_t> edges;
    for (int16_t e : {diagram::areaedgetop, diagram::areaedgebottom, diagram::areaedgeleft, diagram::areaedgeright})
        for (const BorderJoin& join : path.joins)
            if ((join.turned ? join.other[e] : join.usual[e]) > alongedge) {
                edges.push_back(e);
                break;
            }
    return edges;
}


namespace {

// Whether the boundary comes back to where it started: its first and last
// points as boundarypoints would list them (a boundary of fewer than two
// points does), found without listing them all.
bool boundarycloses(const diagram::Diagram& d, const std::vector<BoundaryPiece>& pieces) {
    BoundaryPoint first{0, 0, noname}, last{0, 0, noname};
    size_t count = 0;
    for (const BoundaryPiece& piece : pieces) {
        if (piece.line == 0) {
            if (count++ == 0) first = {piece.x, piece.y, noname};
            last = {piece.x, piece.y, noname};
            continue;
        }
        const diagram::UnivariantLine& line = d.lines[piece.line];
        int n = line.npts > diagram::linecapacity ? diagram::linecapacity : line.npts;
        if (n < 2) continue;
        int head = piece.forward ? 2 : n - 1, tail = piece.forward ? n : 1;
        if (count == 0) first = {line.x[head], line.y[head], noname};
        last = {line.x[tail], line.y[tail], noname};
        count += static_cast<size_t>(n - 1);
    }
    return count < 2 || (first.x == last.x && first.y == last.y);
}

// Two lines of an area that share no point while one of them ends at a
// point: the boundary cannot go round a field from one to the other.
bool twolinesapart(const diagram::UnivariantLine& A, const diagram::UnivariantLine& B) {
    bool points = A.beginindex > 0 || A.endindex > 0 || B.beginindex > 0 || B.endindex > 0;
    return points && !samepoint(A.beginindex, B.beginindex) && !samepoint(A.beginindex, B.endindex) &&
           !samepoint(A.endindex, B.beginindex) && !samepoint(A.endindex, B.endindex);
}

// "the bottom edge", "the left and bottom edges", "the top, left and right edges".
std::string edgesnamed(const std::vector<int16_t>& edges) {
    std::string out = "the ";
    for (size_t k = 0; k < edges.size(); ++k) {
        if (k > 0) out += k + 1 == edges.size() ? " and " : ", ";
        out += diagram::areaedgeword(edges[k]);
    }
    return out + (edges.size() == 1 ? " edge" : " edges");
}

// For a checking user: the edges an area closed along the border runs
// along, and the line to write for the other side (when it closes along
// the border once, or went the other way for its edge word).  An edge word that
// finds no join along the border is warned of.
void saywhichside(run::Run& run, const diagram::ShadedArea& a, const BoundaryPath& path) {
    if (path.joins.empty()) {
        if (a.edge != 0)
            warning(run, run.place.line, run.place.item,
                    std::string("its edge word '") + diagram::areaedgeword(a.edge) +
                        "' is not used: its boundary does not close along the window's border");
        return;
    }
    std::vector<int16_t> edges = borderedges(path);
    if (edges.empty()) return;
    std::string text = "closed along " + edgesnamed(edges);
    bool turned = false;
    for (const BorderJoin& join : path.joins) turned = turned || join.turned;
    if (turned) {
        text += "; write '" + diagram::arealinetext(a, 0) + "' for the other side";
    } else if (path.joins.size() == 1) {
        // The edge not run along that the other way of the first join that
        // can reach it runs along the most of.
        int16_t best = 0;
        long double most = 0;
        for (int16_t e : {diagram::areaedgetop, diagram::areaedgebottom, diagram::areaedgeleft, diagram::areaedgeright}) {
            bool along = false;
            for (int16_t taken : edges) along = along || taken == e;
            if (along) continue;
            for (const BorderJoin& join : path.joins)
                if (join.other[e] > alongedge) {
                    if (join.other[e] > most + alongedge) best = e, most = join.other[e];
                    break;
                }
        }
        if (best != 0) text += "; write '" + diagram::arealinetext(a, best) + "' for the other side";
    }
    checknote(run, run.place.line, run.place.item, text);
}

}  // namespace

std::vector<AreaBoundary> traceareas(run::Run& run, diagram::Diagram& d) {
    std::vector<AreaBoundary> boundaries;
    for (int16_t i = 1; i <= d.nareas && i <= diagram::maxareas; ++i) {
        atitem(run, d.arealines[i], d.areacolumns[i], diagram::areaname(i));
        run.place.width = 0;  // its place is its grayscale, not a name
        int16_t m = visiblelines(run, d, d.areas[i]);
        if (m == 0) continue;  // nothing at all is drawn for it
        const diagram::ShadedArea& a = d.areas[i];
        if (m == 2 && twolinesapart(d.lines[a.lineindex[1]], d.lines[a.lineindex[2]]))
            warning(run, run.place.line, run.place.item,
                    "its lines " + run::wordtext(d.lines[a.lineindex[1]].name) + " and " +
                        run::wordtext(d.lines[a.lineindex[2]].name) +
                        " share no point: the shape filled is likely not the field meant");
        BoundaryPath path{d.window, d.lines.get(), {}};
        areaboundarytoedge(run, d, i, path);
        saywhichside(run, a, path);
        if (!boundarycloses(d, path.pieces))
            warning(run, run.place.line, run.place.item,
                    "its boundary does not come back to where it started: it is closed by a straight join");
        boundaries.push_back({i, std::move(path.pieces)});
    }
    atline(run, 0);
    return boundaries;
}

}  // namespace gridel::geometry
