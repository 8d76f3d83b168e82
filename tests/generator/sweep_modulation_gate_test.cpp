#include "generator/generator.h"
#include "generator_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qv {
namespace {

using test::RenderMixed;
using test::SetFormat;
using test::SetSlot;

TEST(SweepTest, SmoothSweepOfTenSecondsEndsAfterExactly480000Frames) {
    Generator g;
    SetFormat(g, 48000, "16", 1);
    SetSlot(g, 0, kSine, "20", "-6", kDb, 1);
    SetSlot(g, 1, kOff, "20000", "-6", kDb, 0);
    g.slots[0].sweep = true;
    g.texts.fileLength = "10";
    g.PrepareGenerator();
    EXPECT_EQ(g.slots[0].stepsLeft, 480000);
    EXPECT_EQ(g.slots[0].samplesPerStep, 1u);
    const auto bytes = test::FillBytes(g, 600000);
    EXPECT_EQ(bytes.size(), 480000u * 2);
    std::vector<uint8_t> block(g.BlockBytes());
    EXPECT_EQ(g.FillOutputBuffer(block.data(), g.BlockBytes(), 999), 0u);
    // The frequency has moved geometrically: 20 Hz at the start, 20 kHz at the end.
    EXPECT_DOUBLE_EQ(g.slots[0].curFreq, 20.0); // restored once the sweep is over
}

TEST(SweepTest, SteppedSweepHoldsEachStep) {
    Generator g;
    SetFormat(g, 48000, "16", 1);
    SetSlot(g, 0, kSquare, "1000", "1000", kValue, 1);
    SetSlot(g, 1, kOff, "2000", "2000", kValue, 0);
    g.slots[0].sweep = true;
    g.slots[0].sweepStepRate = 4;
    g.texts.fileLength = "0.5";
    g.PrepareGenerator();
    EXPECT_EQ(g.slots[0].stepsLeft, 2);
    EXPECT_EQ(g.slots[0].samplesPerStep, 12000u);
    auto v = RenderMixed(g, 30000);
    ASSERT_EQ(v.size(), 24000u);
    // 1000 Hz at 1000 for 12000 samples, then 2000 Hz at 2000.
    EXPECT_EQ(v[0], 1000.0);
    EXPECT_EQ(v[24], -1000.0);
    EXPECT_EQ(v[12000], 2000.0);
    EXPECT_EQ(v[12012], -2000.0);
    EXPECT_EQ(v[12024], 2000.0);
}

TEST(ModulationTest, AmplitudeModulationByADcModulator) {
    Generator g;
    SetFormat(g, 48000, "16", 1);
    SetSlot(g, 0, kSquare, "12000", "1000", kValue, 1);
    SetSlot(g, 2, kSine, "0", "0", kValue, 0); // Wave3: DC of half full scale, not mixed
    g.slots[2].offsetUnit = kPercent;
    g.texts.slot[2].offset = "50";
    g.slots[0].modulation = true;
    g.ApplyOutputFormat();
    g.PrepareGenerator();
    EXPECT_EQ(RenderMixed(g, 4), (std::vector<double>{1500, 1500, -1500, -1500}));
    g.slots[0].modulationType = 1; // DSB
    g.PrepareGenerator();
    EXPECT_EQ(RenderMixed(g, 2), (std::vector<double>{500, 500}));
    g.slots[0].modulationType = 4; // PWM: duty 0.75
    SetSlot(g, 0, kSquare, "6000", "1000", kValue, 1);
    g.PrepareGenerator();
    EXPECT_EQ(RenderMixed(g, 8),
              (std::vector<double>{1000, 1000, 1000, 1000, 1000, 1000, -1000, -1000}));
}

TEST(GateTest, OneWaveOnOneWaveOffStartingWithSound) {
    Generator g;
    SetFormat(g, 48000, "16", 2);
    SetSlot(g, 0, kSquare, "1000", "1000", kValue, 1);
    SetSlot(g, 1, kSquare, "3000", "500", kValue, 2);
    g.slots[1].gate = true; // follows Wave1's gate, offset included
    g.slots[1].offsetUnit = kValue;
    g.texts.slot[1].offset = "7";
    g.slots[0].gateOnHalfWaves = 2;
    g.slots[0].gateOffHalfWaves = 2;
    g.slots[0].gate = true;
    g.ApplyOutputFormat();
    g.PrepareGenerator();
    auto v = RenderMixed(g, 192);
    for (int n = 0; n < 192; ++n) {
        const bool open = (n / 48) % 2 == 0;
        EXPECT_EQ(v[2 * n], open ? ((n % 48) < 24 ? 1000.0 : -1000.0) : 0.0) << n;
        if (!open) {
            EXPECT_EQ(v[2 * n + 1], 0.0) << n;
        }
    }
}

} // namespace
} // namespace qv
