// The filter plot's axes and coordinates, and what the point edits do to a design.
#include "filter/filter_plot.h"
#include "filter/point_edits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace qv {
namespace {

using Labels = std::vector<std::string>;

Labels Texts(const AxisScale& scale) {
    Labels texts;
    for (const AxisLabel& label : scale.labels)
        texts.push_back(label.text);
    return texts;
}

TEST(FrequencyScaleTest, LabelsOfLogAndLinearAxes) {
    const std::tuple<bool, double, double, Labels> cases[] = {
        // 44.1 kHz, N = 4096: the axis starts at half a bin width (5.38 Hz).
        {true, 22050, 44100.0 / 4096 / 2, {"10", "50", "100", "500", "1k", "5k", "10k"}},
        {true, 22050, 0.5, {"1", "5", "10", "50", "100", "500", "1k", "5k", "10k"}},
        {false, 22050, 0, {"0", "5k", "10k", "15k", "20k"}},
        {false, 8000, 0, {"0", "2.5k", "5k", "7.5k"}},
        {false, 2.5, 0, {"0", "0.5", "1", "1.5", "2", "2.5"}},
    };
    for (const auto& [log, maxFreq, minFreq, labels] : cases) {
        const AxisScale scale = FrequencyScale(7, 500, log, maxFreq, minFreq);
        EXPECT_EQ(Texts(scale), labels) << maxFreq << " " << minFreq;
        EXPECT_GE(scale.labels.front().pos, 7);
        EXPECT_LT(scale.labels.back().pos, 7 + 500);
    }
}

TEST(FrequencyScaleTest, DbAxisSpansTheHeightWithTheZeroLineMarked) {
    const AxisScale scale = DbScale(-100, 20, 300);
    EXPECT_EQ(Texts(scale), (Labels{"+20", "0dB", "-20", "-40", "-60", "-80", "-100"}));
    EXPECT_EQ(std::pair(scale.grid.front(), scale.grid.back()), std::pair(0, 299));
    ASSERT_EQ(scale.zeroLine, 2); // +20, +10, 0
    EXPECT_EQ(scale.grid[2], scale.labels[1].pos);
}

FilterDesign Design(std::initializer_list<int32_t> bins, double binWidth) {
    FilterDesign d;
    for (int32_t bin : bins)
        d.points[d.pointCount++] = {bin, bin * binWidth, 0};
    return d;
}

TEST(PointEditsTest, SlopeToANeighbourCountsBinZeroAsHalfABin) {
    for (const auto& [index, neighbour, slope, gain] :
         {std::tuple{2, 3, -20, -20.0}, {1, 0, -20, -20 * std::log10(20.0)}, {2, 1, 40, 40.0}}) {
        FilterDesign d = Design({0, 10, 100, 1000, 2048}, 1);
        SlopeToNeighbour(d, index, neighbour, slope);
        EXPECT_DOUBLE_EQ(d.points[neighbour].gainDb, gain) << index << "->" << neighbour;
    }
}

TEST(PointEditsTest, TheEndsDragOnlyUpAndDownAnInteriorPointStaysInside) {
    const double bw = 44100.0 / 4096;
    const FilterDesign d = Design({0, 100, 200, 2048}, bw);
    const std::tuple<int, double, double> cases[] = {
        {0, 0, 0}, {3, 2048 * bw, 2048 * bw}, {1, bw, 199 * bw}, {2, 101 * bw, 2047 * bw}};
    for (const auto& [index, lowest, highest] : cases) {
        const FrequencyRange r = DragRange(d, index, bw);
        EXPECT_DOUBLE_EQ(r.lowest, lowest) << index;
        EXPECT_DOUBLE_EQ(r.highest, highest) << index;
    }
}

TEST(PointEditsTest, ReadoutsChangeUnitAtTheirBoundaries) {
    const std::pair<double, const char*> cases[] = {{99.99, "   99.99Hz"}, {100, "   100.0Hz"},
                                                    {99999, " 99999.0Hz"}, {100000, "100.000kHz"},
                                                    {1e6, " 1.0000MHz"},   {0, "    0.00Hz"}};
    for (const auto& [f, text] : cases)
        EXPECT_EQ(FrequencyReadout(f), text);
    EXPECT_EQ(GainReadout(-100), " -100.00dB");
}

TEST(FilterPlotTest, TheCornersGiveTheRangeOfGainAndFrequency) {
    const double bw = 44100.0 / 4096;
    for (const bool log : {true, false}) {
        FilterPlot plot;
        plot.Layout(500, 300, log, 44100, 4096, 20, -100);
        for (const auto& [x, y, bin, gain] :
             {std::tuple{0, 0, 10, 20.0}, std::tuple{499, 299, 100, -100.0}}) {
            const FilterPlot::Spot s = plot.PointFromMouse(x, y, 10 * bw, 100 * bw);
            EXPECT_EQ(s.bin, bin) << log;
            EXPECT_EQ(s.gainDb, gain) << log;
        }
        // On the 0 dB line the gain reads 0, never -0.
        const double zero = plot.PointFromMouse(250, plot.DbToY(0, true), 0, 22050).gainDb;
        EXPECT_EQ(zero, 0);
        EXPECT_FALSE(std::signbit(zero));
    }
}

} // namespace
} // namespace qv
