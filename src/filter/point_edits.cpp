#include "filter/point_edits.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qv {

int HitPoint(const std::vector<PointMark>& marks, int32_t x, int32_t y) {
    for (size_t i = 0; i < marks.size(); ++i) {
        if (std::abs(marks[i].x - x) <= 3 && std::abs(marks[i].y - y) <= 3)
            return static_cast<int>(i);
    }
    return -1;
}

int InsertionIndex(const FilterDesign& d, double f) {
    for (int i = 0; i < d.pointCount; ++i) {
        if (d.points[i].frequency == f)
            return -1;
    }
    for (int i = 1; i < d.pointCount; ++i) {
        if (d.points[i - 1].frequency < f && f < d.points[i].frequency)
            return i;
    }
    return -1;
}

bool InsertPoint(FilterDesign& d, int index, const FilterPoint& p) {
    if (d.pointCount >= kMaxFilterPoints || index < 1 || index > d.pointCount)
        return false;
    for (int i = d.pointCount; i > index; --i)
        d.points[i] = d.points[i - 1];
    d.points[index] = p;
    ++d.pointCount;
    return true;
}

bool DeletePoint(FilterDesign& d, int index) {
    if (index <= 0 || index >= d.pointCount - 1)
        return false;
    for (int i = index; i + 1 < d.pointCount; ++i)
        d.points[i] = d.points[i + 1];
    --d.pointCount;
    return true;
}

FrequencyRange DragRange(const FilterDesign& d, int index, double binWidth) {
    if (index <= 0)
        return {0, 0};
    const double f = d.points[index].frequency;
    if (index >= d.pointCount - 1)
        return {f, f};
    return {d.points[index - 1].frequency + binWidth, d.points[index + 1].frequency - binWidth};
}

BinRange EditBinRange(const FilterDesign& d, int index, int32_t n) {
    if (index > 0 && index < d.pointCount - 1 && d.pointCount >= 3)
        return {d.points[index - 1].binIndex + 1, d.points[index + 1].binIndex - 1};
    return {0, n / 2};
}

void SlopeToNeighbour(FilterDesign& d, int index, int neighbour, double s) {
    if (index < 0 || index >= d.pointCount || neighbour < 0 || neighbour >= d.pointCount ||
        std::abs(neighbour - index) != 1)
        return;
    auto bin = [&](int i) {
        return d.points[i].binIndex == 0 ? 0.5 : static_cast<double>(d.points[i].binIndex);
    };
    const double a = std::min(bin(index), bin(neighbour)), b = std::max(bin(index), bin(neighbour));
    d.points[neighbour].gainDb = d.points[index].gainDb + s * std::log10(b / a);
}

const std::vector<SlopeItem>& SlopeItems() {
    static const std::vector<SlopeItem> items = [] {
        std::vector<SlopeItem> list;
        for (int perDecade : {160, 80, 60, 40, 20, 10, 0, -10, -20, -40, -60, -80, -160}) {
            char text[40];
            if (perDecade == 0)
                std::snprintf(text, sizeof text, " Flat");
            else
                std::snprintf(text, sizeof text, "%+3ddB/oct (%+ddB/dec)", perDecade * 3 / 10,
                              perDecade);
            list.push_back({perDecade, text});
        }
        return list;
    }();
    return items;
}

std::string FrequencyReadout(double f) {
    char text[40];
    if (f < 100)
        std::snprintf(text, sizeof text, "%8.2fHz", f);
    else if (f < 100000)
        std::snprintf(text, sizeof text, "%8.1fHz", f);
    else if (f < 1e6)
        std::snprintf(text, sizeof text, "%7.3fkHz", f / 1000);
    else
        std::snprintf(text, sizeof text, "%7.4fMHz", f / 1e6);
    return text;
}

std::string GainReadout(double g) {
    char text[40];
    std::snprintf(text, sizeof text, "%8.2fdB", g);
    return text;
}

} // namespace qv
