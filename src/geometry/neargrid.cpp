// neargrid.cpp - NearGrid's filing and EdgeBands.
#include "geometry/neargrid.h"

namespace gridel::geometry {

namespace {

// The most cells or bands along a side.
constexpr long double mostcells = 1024;

bool finite(const Rect& r) {
    return std::isfinite(r.left) && std::isfinite(r.bottom) && std::isfinite(r.right) && std::isfinite(r.top);
}

}  // namespace

bool NearGrid::build(const std::vector<Rect>& boxes, long double itemspercell) {
    cols = rows = 0;
    start.clear();
    ids.clear();
    if (boxes.empty()) return true;
    extent = boxes.front();
    for (const Rect& b : boxes) {
        if (!finite(b)) return false;
        extent = {std::min(extent.left, b.left), std::min(extent.bottom, b.bottom), std::max(extent.right, b.right),
                  std::max(extent.top, b.top)};
    }
    long double width = extent.right - extent.left, height = extent.top - extent.bottom;
    long double n = static_cast<long double>(boxes.size()) / itemspercell;
    side = width > 0 && height > 0 ? std::sqrt(width * height / n) : std::max(width, height) / n;
    side = std::max({side, width / (mostcells - 1), height / (mostcells - 1)});
    perside = 1 / side;
    if (!(side > 0) || !std::isfinite(side) || !std::isfinite(perside)) side = perside = 1;
    cols = cellof(extent.right, extent.left) + 1;
    rows = cellof(extent.top, extent.bottom) + 1;
    auto span = [&](const Rect& b, long long& c0, long long& c1, long long& r0, long long& r1) {
        c0 = std::clamp(cellof(b.left, extent.left), 0LL, cols - 1);
        c1 = std::clamp(cellof(b.right, extent.left), 0LL, cols - 1);
        r0 = std::clamp(cellof(b.bottom, extent.bottom), 0LL, rows - 1);
        r1 = std::clamp(cellof(b.top, extent.bottom), 0LL, rows - 1);
    };
    start.assign(static_cast<size_t>(cols * rows + 1), 0);
    // Each box's cells, found once for the count and the filing.
    struct Cells {
        int32_t c0, c1, r0, r1;
    };
    std::vector<Cells> cells(boxes.size());
    for (size_t i = 0; i < boxes.size(); ++i) {
        long long c0, c1, r0, r1;
        span(boxes[i], c0, c1, r0, r1);
        cells[i] = {static_cast<int32_t>(c0), static_cast<int32_t>(c1), static_cast<int32_t>(r0), static_cast<int32_t>(r1)};
        for (long long y = r0; y <= r1; ++y)
            for (long long x = c0; x <= c1; ++x) ++start[static_cast<size_t>(y * cols + x + 1)];
    }
    for (size_t k = 1; k < start.size(); ++k) start[k] += start[k - 1];
    ids.resize(static_cast<size_t>(start.back()));
    std::vector<int32_t> fill(start.begin(), start.end() - 1);
    for (size_t i = 0; i < boxes.size(); ++i) {
        const Cells& c = cells[i];
        for (long long y = c.r0; y <= c.r1; ++y)
            for (long long x = c.c0; x <= c.c1; ++x)
                ids[static_cast<size_t>(fill[static_cast<size_t>(y * cols + x)]++)] = static_cast<int32_t>(i);
    }
    seen.assign(boxes.size(), 0u);
    stamp = 0;
    return true;
}

void EdgeBands::build(const std::vector<Spot>& polygon) {
    count = 0;
    start.clear();
    ids.clear();
    size_t n = polygon.size();
    if (n == 0) return;
    bottom = top = polygon.front().y;
    for (const Spot& p : polygon) {
        bottom = std::min(bottom, p.y);
        top = std::max(top, p.y);
    }
    count = static_cast<int32_t>(std::min<size_t>(n, static_cast<size_t>(mostcells)));
    height = (top - bottom) / count;
    if (!(height > 0) || !std::isfinite(height)) {
        height = 1;
        count = 1;
    }
    start.assign(static_cast<size_t>(count) + 1, 0);
    auto span = [&](size_t i, int32_t& b0, int32_t& b1) {
        long double y0 = polygon[i].y, y1 = polygon[(i + 1) % n].y;
        b0 = bandof(std::min(y0, y1));
        b1 = bandof(std::max(y0, y1));
    };
    int32_t b0, b1;
    for (size_t i = 0; i < n; ++i) {
        span(i, b0, b1);
        for (int32_t b = b0; b <= b1; ++b) ++start[static_cast<size_t>(b) + 1];
    }
    for (size_t k = 1; k < start.size(); ++k) start[k] += start[k - 1];
    ids.resize(static_cast<size_t>(start.back()));
    std::vector<int32_t> fill(start.begin(), start.end() - 1);
    for (size_t i = 0; i < n; ++i) {
        span(i, b0, b1);
        for (int32_t b = b0; b <= b1; ++b) ids[static_cast<size_t>(fill[static_cast<size_t>(b)]++)] = static_cast<int32_t>(i);
    }
}

int32_t EdgeBands::bandof(long double y) const {
    long double q = (y - bottom) / height;
    if (!(q >= 1)) return 0;  // the floor at 0 or below, or not a number
    return q >= count ? count - 1 : static_cast<int32_t>(floorint(q));
}

bool EdgeBands::inside(const std::vector<Spot>& polygon, Spot p) const {
    // Only an edge whose heights reach p's can count; none does above or
    // below the polygon.
    if (count == 0 || !(p.y >= bottom && p.y <= top)) return false;
    int32_t b = bandof(p.y);
    int winding = 0;
    size_t n = polygon.size();
    for (int32_t k = start[static_cast<size_t>(b)]; k < start[static_cast<size_t>(b) + 1]; ++k) {
        size_t i = static_cast<size_t>(ids[static_cast<size_t>(k)]);
        const Spot& a = polygon[i];
        const Spot& c = polygon[(i + 1) % n];
        long double side = (c.x - a.x) * (p.y - a.y) - (p.x - a.x) * (c.y - a.y);
        if (a.y <= p.y) {
            if (c.y > p.y && side > 0) ++winding;
        } else if (c.y <= p.y && side < 0) {
            --winding;
        }
    }
    return winding != 0;
}

}  // namespace gridel::geometry
