// The display's arithmetic against the worked numbers: time ticks and their labels, level lines,
// the trigger, the meter texts and the channel pairs.
#include "display/channel_texts.h"
#include "display/plot_scale.h"
#include "display/trigger.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace qv {
namespace {

constexpr int32_t kWidth = 556 - 47; // the plot at the window's fixed width

TEST(PlotScaleTest, FourThousandSamplesAt44100HzMagnifiedFourTimes) {
    const PlotScale s = LayoutPlotScale(4096, 4, 44100, kWidth, 180, false);
    EXPECT_EQ(s.displaySampleCount, 1024);
    EXPECT_NEAR(s.span, 231972.8, 0.1); // 23.2 ms
    EXPECT_EQ(s.tickStep, 50000);
    ASSERT_EQ(s.tickCount, 4);
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(TickLabel(k, s.tickStep), std::to_string(5 * k));
    EXPECT_EQ((std::array<int32_t, 4>{s.tickX[0], s.tickX[1], s.tickX[2], s.tickX[3]}),
              (std::array<int32_t, 4>{109, 218, 328, 437}));
    EXPECT_STREQ(TickUnit(s.tickStep), "ms");
}

TEST(PlotScaleTest, StepsAndLabelsInEveryUnit) {
    struct Case {
        int32_t n, xRate;
        double rate;
        int32_t step;
        const char* first; // label of the first tick
        const char* unit;
    } const cases[] = {
        {2, 1, 1e6, 1, "0.1", "us"},            // 10 units of 0.1 us
        {16, 1, 48000, 500, "50", "us"},        // 312.5 us
        {256, 1, 384000, 1000, "0.1", "ms"},    // 664 us
        {1001, 1, 1000, 2000000, "0.2", "sec"}, // exactly 1 s: 0.1 s steps would give ten
        {16384, 1, 1000, 20000000, "2", "sec"}, // 16.4 s: the last step
    };
    for (const Case& c : cases) {
        const PlotScale s = LayoutPlotScale(c.n, c.xRate, c.rate, kWidth, 100, false);
        EXPECT_EQ(s.tickStep, c.step) << c.n << " at " << c.rate;
        EXPECT_EQ(TickLabel(1, s.tickStep), c.first) << c.n << " at " << c.rate;
        EXPECT_STREQ(TickUnit(s.tickStep), c.unit);
        EXPECT_LE(s.tickCount, kMaxTicks);
        EXPECT_LE(static_cast<double>(s.tickStep) * s.tickCount, s.span);
    }
}

TEST(PlotScaleTest, LevelLinesAndTheirLabels) {
    EXPECT_EQ(LayoutPlotScale(4096, 1, 44100, kWidth, 200, true).gridY,
              (std::array<int32_t, 3>{22, 100, 178}));
    EXPECT_EQ(LayoutPlotScale(4096, 1, 44100, kWidth, 200, false).gridY,
              (std::array<int32_t, 3>{9, 100, 191}));
    EXPECT_EQ(LevelLabels(true, 1), (std::array<std::string, 3>{"100", "0", "-100"}));
    EXPECT_EQ(LevelLabels(true, 10), (std::array<std::string, 3>{"10", "0", "-10"}));
    EXPECT_EQ(LevelLabels(false, 1), (std::array<std::string, 3>{"30000", "0", "-30000"}));
}

// A sampled sine whose first rising crossing of its middle lies between samples 17 and 18.
std::vector<int32_t> Sine(double offset) {
    std::vector<int32_t> s(4096);
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<int32_t>(
            std::lround(offset + 10000 * std::sin(2 * std::numbers::pi * (i - 17.3) / 48)));
    return s;
}

TEST(TriggerTest, RisingThroughTheMiddleOfTheRange) {
    EXPECT_EQ(FindTriggerStart(Sine(0), 4096, 1), 17);
    EXPECT_EQ(FindTriggerStart(Sine(15000), 4096, 1), 17); // at its middle, not at twice it
    const std::vector<int32_t> flat(4096, 1234);
    EXPECT_EQ(FindTriggerStart(flat, 4096, 1), 2047); // every start tried, none taken
}

TEST(ChannelTextsTest, MetersAndChannelPairs) {
    struct Case {
        int32_t max, min;
        const char* text;
    } const cases[] = {
        {0, 0, "-----"},        {32767, -32768, " 0.0"}, {16423, -100, "-6.0"},
        {100, -10362, "-10.0"}, {1, 0, "-90.3"},         {40000, 0, " 1.7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MeterText(c.max, c.min, 32767.0), c.text) << c.max << " " << c.min;

    EXPECT_EQ(DisplayChannelItems(1), std::vector<std::string>{"Lch + Rch"});
    EXPECT_EQ(DisplayChannelItems(2), std::vector<std::string>{"Lch + Rch"});
    EXPECT_EQ(DisplayChannelItems(3), (std::vector<std::string>{"1ch + 2ch", "2ch + 3ch"}));
    EXPECT_EQ(DisplayChannelItems(8).size(), 7u);
    EXPECT_EQ(DisplayChannelItems(8).back(), "7ch + 8ch");
}

} // namespace
} // namespace qv
