// The frequency bar's rules: the slider's positions over the band, a move gliding Wave1 (and
// Wave5 with the sync on), the sweep buttons, and the sweeps' length and end at the band's edge.
#include "app/freq_bar.h"
#include "app/main_controls.h"
#include "generator/generator.h"
#include "generator/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qv {
namespace {

struct Bar {
    Bar() {
        controls.OnSampleRateText("44100");
        bar.SetBand(44100, true);
    }
    double Wave(int i) const { return ReadDecimal(controls.Text(i, SlotControl::Freq)); }
    Generator g;
    MainControls controls{g, 1};
    FreqBar bar{controls};
};

TEST(FreqBarTest, TheLogSliderRunsFromTenHertzToHalfTheRate) {
    Bar t;
    EXPECT_EQ(t.bar.LowestPosition(), 50000);
    EXPECT_EQ(t.bar.HighestPosition(), static_cast<int32_t>(50000 * std::log10(22050.0) + 1));
    EXPECT_DOUBLE_EQ(t.bar.FrequencyAt(50000), 10);
    EXPECT_DOUBLE_EQ(t.bar.FrequencyAt(t.bar.HighestPosition()), 22050);
    t.bar.SetBand(44100, false);
    EXPECT_EQ(t.bar.LowestPosition(), 0);
    EXPECT_EQ(t.bar.HighestPosition(), 22050);
}

TEST(FreqBarTest, AMoveGlidesWave1AndWave5FollowsWhileSynchronised) {
    Bar t;
    LiveSettings live = t.controls.Live();
    live.sync.ratio = 2;
    t.controls.SetLiveSettings(live);
    t.controls.SetFreqBarSync(true);
    t.bar.SliderMoved(t.bar.PositionOf(2000));
    EXPECT_NEAR(t.Wave(0), 2000, 0.1);
    EXPECT_NEAR(t.Wave(4), 2 * t.Wave(0), 1e-9);
}

TEST(FreqBarTest, EverySecondWheelTurnStepsAndTheSyncWindowRetypesWave5) {
    Bar t;
    const double before = t.Wave(0);
    EXPECT_FALSE(t.bar.Wheel(120));
    EXPECT_EQ(t.Wave(0), before);
    EXPECT_TRUE(t.bar.Wheel(120));
    EXPECT_GT(t.Wave(0), before);
    LiveSettings live = t.controls.Live();
    live.sync.ratioMode = false;
    live.sync.diff = 100;
    t.controls.SetLiveSettings(live);
    t.bar.ApplyWave5Sync();
    EXPECT_NEAR(t.Wave(4), t.Wave(0) + 100, 1e-9);
}

TEST(FreqBarTest, ASweepAtEachEdgeEndsAndAPressedButtonReleasesIt) {
    for (const bool up : {true, false}) {
        Bar t;
        t.bar.SetSpeed(8); // factor 3: 640 ticks from one edge to the other
        t.bar.SliderMoved(t.bar.PositionOf(up ? 10 : 22050));
        t.bar.PressSweep(up);
        int ticks = 0;
        while (!t.bar.Tick() && ticks < 2000)
            ++ticks;
        EXPECT_NEAR(ticks, 640, 1) << up;
        EXPECT_NEAR(t.Wave(0), up ? 22050 : 10, 1e-6);
        EXPECT_FALSE(t.bar.Sweeping());
    }
    Bar t;
    t.bar.PressSweep(true);
    t.bar.PressSweep(false);
    EXPECT_TRUE(t.bar.SweepingDown());
    t.bar.PressSweep(false);
    EXPECT_FALSE(t.bar.Sweeping());
}

} // namespace
} // namespace qv
