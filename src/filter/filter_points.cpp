#include "filter/filter_design.h"

#include <algorithm>
#include <cmath>

namespace qv {

void RescalePoints(FilterDesign& d, int32_t n, double rate, bool skipIfUnchanged) {
    if (d.pointCount < 1 || n < 2)
        return;
    const int32_t lastBin = d.points[d.pointCount - 1].binIndex;
    if (lastBin <= 0)
        return; // no grid to scale from; the design cuts the table anyway
    const double c = static_cast<double>(n) / (2.0 * lastBin);
    if (c == 1.0 && skipIfUnchanged)
        return;
    auto place = [&](FilterPoint& p, int32_t bin) {
        p.binIndex = bin;
        p.frequency = bin * rate / n;
    };
    // A point that lands on (or, after an earlier one was moved up, below) the bin just given
    // goes one bin above it, so the bins keep rising.
    for (int i = 0; i < d.pointCount; ++i) {
        // A stored index far beyond the table (a hand-edited file) is held to +-N before the
        // conversion, so the scaled value always fits and the pull-back below ends it at N/2.
        const double scaled =
            std::clamp(std::trunc(c * d.points[i].binIndex), -double(n), double(n));
        int32_t bin = static_cast<int32_t>(scaled);
        if (i > 0 && bin <= d.points[i - 1].binIndex)
            bin = d.points[i - 1].binIndex + 1;
        place(d.points[i], bin);
    }
    int i = d.pointCount - 1;
    if (d.points[i].binIndex > n / 2) {
        place(d.points[i], n / 2);
        for (--i; i >= 0 && d.points[i].binIndex >= d.points[i + 1].binIndex; --i)
            place(d.points[i], d.points[i + 1].binIndex - 1);
    }
}

bool FilterPointsUsable(const FilterDesign& d) {
    constexpr int32_t kLargestNyquistBin = 16384 / 2;
    if (d.pointCount < 2 || d.pointCount > kMaxFilterPoints || d.points[0].binIndex != 0 ||
        d.points[d.pointCount - 1].binIndex > kLargestNyquistBin)
        return false;
    for (int i = 0; i < d.pointCount; ++i) {
        if (!std::isfinite(d.points[i].gainDb) ||
            (i > 0 && d.points[i].binIndex <= d.points[i - 1].binIndex))
            return false;
    }
    return true;
}

void ResetFilterPoints(FilterDesign& d, int32_t n, double rate) {
    d.points[0] = {0, 0.0, 0.0};
    d.points[1] = {n / 2, (n / 2) * rate / n, 0.0};
    d.pointCount = 2;
    d.comment.clear();
}

} // namespace qv
