#include "app/user_wave_preview.h"
#include "display/plot_points.h"
#include "fftlib/fft_api.h"

#include <gtest/gtest.h>

#include <limits>

namespace qv {
namespace {

const FftApi kApi = DirectFftApi();

TEST(PlotPointsTest, SamplesSpreadOverTheWidthAndThinToFourAColumn) {
    PlotPoints p;
    LayoutPlotPoints(10, 5, kApi, p);
    EXPECT_EQ(p.count, 10);
    ASSERT_EQ(p.runCount, 5);
    EXPECT_EQ(std::vector<int32_t>(p.runLengths.begin(), p.runLengths.begin() + 5),
              (std::vector<int32_t>{3, 2, 2, 2, 1}));
    EXPECT_EQ(p.points[9].x, 4);

    LayoutPlotPoints(100, 3, kApi, p);
    ASSERT_EQ(p.runCount, 3);
    EXPECT_EQ(p.runLengths[0] + p.runLengths[1] + p.runLengths[2], 100);
    EXPECT_EQ(p.count, 9); // one sample alone at x = 2, four in each other column
    EXPECT_EQ(p.points[8].x, 2);

    LayoutPlotPoints(1, 300, kApi, p);
    EXPECT_EQ(p.count, 1);
    EXPECT_EQ(p.points[0].x, 0);
}

TEST(PlotPointsTest, YMappingAndColumnExtremes) {
    EXPECT_EQ(PlotY(32767, 100, 1), 0);
    EXPECT_EQ(PlotY(0, 100, 1), 50);
    EXPECT_EQ(PlotY(-32768, 100, 1), 99);
    EXPECT_EQ(PlotY(3276, 100, 10), 0); // ten times the magnification
    EXPECT_EQ(PlotY(std::numeric_limits<int32_t>::max(), 100, 1), -3276750); // no overflow

    PlotPoints p;
    LayoutPlotPoints(9, 2, kApi, p); // x = trunc(i / 8): columns of 8 samples and 1
    ASSERT_EQ(p.runCount, 2);
    ASSERT_EQ(p.runLengths[0], 8);
    const int32_t y[] = {5, 1, 9, 3, 7, 2, 4, 6, 8};
    std::vector<ScreenPoint> out;
    FillPlotY(
        p, [&](size_t i) { return y[i]; }, out);
    ASSERT_EQ(p.count, 5);
    // First, smallest and largest of the inner samples, last; then the lone last sample.
    EXPECT_EQ(out[0].y, 5);
    EXPECT_EQ(out[1].y, 1);
    EXPECT_EQ(out[2].y, 9);
    EXPECT_EQ(out[3].y, 6);
    EXPECT_EQ(out[4].y, 8);
    EXPECT_EQ(out[4].x, 1);
}

TEST(UserWavePreviewTest, ChannelsOneAndTwoOverThePanel) {
    UserWaveSet set;
    set.userWaveChannels = 2;
    set.userWaveFrames = 3;
    set.userWaveSamples = {1.0, -1.0, 0.0, 0.5, -1.0, 1e30};
    const UserWavePreview p = BuildUserWavePreview(set, 200, 64, kApi);
    ASSERT_EQ(p.layout.count, 3);
    EXPECT_EQ(p.first[0].y, 32 + (-(64 * 32768) - 32768) / 65536); // full scale: the top
    EXPECT_EQ(p.first[1].y, 32);
    EXPECT_EQ(p.second[1].y, 32 - 16);
    EXPECT_EQ(p.first[2].x, 199);
    EXPECT_LT(p.second[2].y, -1000000); // beyond full scale, drawn clipped by the panel
    set.userWaveChannels = 1;
    set.userWaveFrames = 6;
    EXPECT_TRUE(BuildUserWavePreview(set, 200, 64, kApi).second.empty());
    set.userWaveFrames = 0;
    EXPECT_EQ(BuildUserWavePreview(set, 200, 64, kApi).layout.count, 0);
}

} // namespace
} // namespace qv
