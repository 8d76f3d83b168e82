#include "generator/generator.h"
#include "generator_fixture.h"
#include "tone_measure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qv {
namespace {

using test::RenderMixed;
using test::SetFormat;
using test::SetSlot;
using test::ToneAmplitude;
using test::ZeroCrossings;

constexpr double kPi = std::numbers::pi;

// The mean frequency of a mono signal between zero crossings from..to, over windows of
// consecutive crossings that span at least span samples.
struct Window {
    double from, to, hz;
};
std::vector<Window> MeasuredFrequencies(const std::vector<double>& x, double rate, double span) {
    const auto t = ZeroCrossings(x, 1, 0);
    std::vector<Window> w;
    for (size_t a = 0; a + 1 < t.size();) {
        size_t b = a + 1;
        while (b + 1 < t.size() && t[b] - t[a] < span)
            ++b;
        if (t[b] - t[a] < span)
            break;
        w.push_back({t[a], t[b], (b - a) / (2.0 * (t[b] - t[a])) * rate});
        a = b;
    }
    return w;
}

// A smooth log sweep of Wave1 from 20 Hz to 20 kHz over 10 s at 48 kHz, mono.
void PrepareDecadeSweep(Generator& g) {
    SetFormat(g, 48000, "16", 1);
    SetSlot(g, 0, kSine, "20", "-6", kDb, 1);
    SetSlot(g, 1, kOff, "20000", "-6", kDb, 0);
    g.slots[0].sweep = true;
    g.texts.fileLength = "10";
    g.PrepareGenerator();
}

TEST(SweepTest, SmoothSweepOfTenSecondsEndsAfterExactly480000Frames) {
    Generator g;
    PrepareDecadeSweep(g);
    EXPECT_EQ(g.slots[0].stepsLeft, 480000);
    EXPECT_EQ(g.slots[0].samplesPerStep, 1u);
    const auto bytes = test::FillBytes(g, 600000);
    EXPECT_EQ(bytes.size(), 480000u * 2);
    std::vector<uint8_t> block(g.BlockBytes());
    EXPECT_EQ(g.FillOutputBuffer(block.data(), g.BlockBytes(), 999), 0u);
    // The frequency has moved geometrically: 20 Hz at the start, 20 kHz at the end.
    EXPECT_DOUBLE_EQ(g.slots[0].curFreq, 20.0); // restored once the sweep is over
}

TEST(SweepTest, SmoothLogSweepFollowsTheExponentialPath) {
    Generator g;
    PrepareDecadeSweep(g);
    const auto x = RenderMixed(g, 500000);
    ASSERT_EQ(x.size(), 480000u);

    // The frequency 20 * 1000^(n / 479999) averaged over each measuring window, from the
    // integral of that path.
    const double q = 479999.0, k = std::log(1000.0) / q;
    auto mean = [&](double a, double b) {
        return 20.0 * (std::exp(k * b) - std::exp(k * a)) / (k * (b - a));
    };
    const auto windows = MeasuredFrequencies(x, 48000, 1000);
    double worst = 0;
    for (const Window& w : windows)
        worst = std::max(worst, std::fabs(w.hz / mean(w.from, w.to) - 1.0));
    EXPECT_GT(windows.size(), 400u);
    EXPECT_LT(worst, 0.001);
    RecordProperty("worst_relative_frequency_error", std::to_string(worst));
}

TEST(SweepTest, OneStepPerSecondPlaysFiveFrequenciesOfEqualRatio) {
    for (const bool log : {true, false}) {
        Generator g;
        SetFormat(g, 48000, "16", 1);
        SetSlot(g, 0, kSine, "100", "-6", kDb, 1);
        SetSlot(g, 1, kOff, log ? "1600" : "500", "-6", kDb, 0);
        g.slots[0].sweep = true;
        g.slots[0].sweepFreqLog = log;
        g.slots[0].sweepStepRate = 1;
        g.texts.fileLength = "5";
        g.PrepareGenerator();
        EXPECT_EQ(g.slots[0].stepsLeft, 5);
        EXPECT_EQ(g.slots[0].samplesPerStep, 48000u);
        const double expected[5] = {100, 200, log ? 400.0 : 300.0, log ? 800.0 : 400.0,
                                    log ? 1600.0 : 500.0};
        for (int step = 0; step < 5; ++step) {
            const auto x = RenderMixed(g, 48000);
            ASSERT_EQ(x.size(), 48000u) << step;
            // Inside the step (away from its edges) the tone is the step's frequency.
            std::vector<double> inner(x.begin() + 2000, x.end() - 2000);
            const auto windows = MeasuredFrequencies(inner, 48000, 4000);
            EXPECT_FALSE(windows.empty());
            for (const Window& w : windows)
                EXPECT_NEAR(w.hz, expected[step], expected[step] * 1e-4) << step << " " << w.from;
        }
        EXPECT_TRUE(RenderMixed(g, 10).empty());
    }
}

TEST(SweepTest, PhaseSweepUpRaisesTheOffsetByEqualSteps) {
    Generator g;
    SetFormat(g, 48000, "16", 1);
    SetSlot(g, 0, kSine, "1000", "10000", kValue, 1);
    SetSlot(g, 1, kOff, "1000", "10000", kValue, 0);
    g.slots[0].phase = kPi / 2;
    g.slots[0].sweep = true;
    g.slots[0].sweepPhase = 1; // up, towards 360 degrees
    g.slots[0].sweepStepRate = 4;
    g.texts.fileLength = "1";
    g.PrepareGenerator();
    EXPECT_DOUBLE_EQ(g.slots[0].phaseStep, kPi / 2); // (360 - 90) / 3 degrees
    // Each 12000-sample step starts at a whole number of cycles, so its first sample shows the
    // phase offset alone: 90, 180, 270 and 360 degrees.
    const double first[4] = {10000, 0, -10000, 0};
    for (int step = 0; step < 4; ++step) {
        const auto x = RenderMixed(g, 12000);
        ASSERT_EQ(x.size(), 12000u);
        EXPECT_NEAR(x[0], first[step], 1e-6) << step;
    }
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

// A log amplitude sweep steps by equal ratios between levels of one sign; between levels of
// different sign it steps linearly, as a transition does, and is not silent.
TEST(SweepTest, LogAmplitudeSweepStepsLinearlyBetweenLevelsOfDifferentSign) {
    const struct {
        const char *from, *to;
        bool geometric;
    } cases[] = {{"-1000", "1000", false}, {"100", "1000", true}};
    for (const auto& c : cases) {
        Generator g;
        SetFormat(g, 48000, "16", 1);
        SetSlot(g, 0, kSquare, "1000", c.from, kValue, 1);
        SetSlot(g, 1, kOff, "1000", c.to, kValue, 0);
        g.slots[0].sweep = true; // smooth, amplitude log on
        g.texts.fileLength = "0.1";
        g.PrepareGenerator();
        const auto v = RenderMixed(g, 5000);
        ASSERT_EQ(v.size(), 4800u) << c.from;
        const double a = std::stod(c.from), b = std::stod(c.to), q = 4799;
        for (int n : {1, 1000, 2000, 3000, 4799}) {
            const double level = c.geometric ? a * std::pow(b / a, n / q) : a + (b - a) * n / q;
            EXPECT_NEAR(std::fabs(v[n]), std::fabs(level), 1e-6) << c.from << " " << n;
        }
        EXPECT_TRUE(g.slots[0].sweepAmpLog); // the menu keeps its choice
    }
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

// Wave1 at 1000 Hz on the output, modulated by Wave3 (a sine, not mixed) of the given value
// amplitude at 100 Hz; one second at 48 kHz as doubles.
std::vector<double> Modulated(int type, const char* modulatorAmp) {
    Generator g;
    SetFormat(g, 48000, "F32", 1);
    SetSlot(g, 0, kSine, "1000", "1000000", kValue, 1);
    SetSlot(g, 2, kSine, "100", modulatorAmp, kValue, 0);
    g.slots[0].modulation = true;
    g.slots[0].modulationType = type;
    g.ApplyOutputFormat();
    g.PrepareGenerator();
    return RenderMixed(g, 48000);
}

double Dbc(const std::vector<double>& x, double f) {
    return 20.0 * std::log10(ToneAmplitude(x, 1, 0, f, 48000) / 256e6);
}

TEST(ModulationTest, FullScaleAmAndDsbGiveTheirSidebands) {
    // Full scale in F32 "value" units is 32767.99... of the 16-bit scale: 8388607 / 256.
    const auto am = Modulated(0, "32767.99609375");
    EXPECT_NEAR(Dbc(am, 1000), 0.0, 0.01);
    EXPECT_NEAR(Dbc(am, 900), -6.02, 0.01);
    EXPECT_NEAR(Dbc(am, 1100), -6.02, 0.01);
    const auto dsb = Modulated(1, "32767.99609375");
    EXPECT_LT(Dbc(dsb, 1000), -100.0);
    EXPECT_NEAR(Dbc(dsb, 900), -6.02, 0.01);
    EXPECT_NEAR(Dbc(dsb, 1100), -6.02, 0.01);
    // AM swings the carrier between 0 and twice its amplitude; DSB between -A and +A.
    // The samples come within 1.5 % of the peaks, and never beyond them.
    for (const auto& [x, peak] : {std::pair{&am, 2 * 256e6}, std::pair{&dsb, 256e6}}) {
        const auto [lo, hi] = std::minmax_element(x->begin(), x->end());
        EXPECT_LE(*hi, peak * (1 + 1e-12));
        EXPECT_GE(*lo, -peak * (1 + 1e-12));
        EXPECT_GT(*hi, peak * 0.985);
    }
}

TEST(ModulationTest, FmAndPmDeviateAsStated) {
    // A modulation index of 2.4048 (the first zero of J0) removes the carrier and puts the
    // first sidebands at J1(2.4048) = 0.5191. FM: the deviation is v x 1000 Hz, so index =
    // v x 1000 / 100; PM: the shift is v x 2 pi, so index = 2 pi v.
    const double beta = 2.404825557695773;
    const double fullScale = 8388607.0 / 256.0;
    const auto fm = Modulated(2, std::to_string(beta / 10.0 * fullScale).c_str());
    const auto pm = Modulated(3, std::to_string(beta / (2 * kPi) * fullScale).c_str());
    for (const auto* x : {&fm, &pm}) {
        EXPECT_LT(Dbc(*x, 1000), -60.0);
        EXPECT_NEAR(Dbc(*x, 900), 20 * std::log10(0.519147497289466), 0.05);
        EXPECT_NEAR(Dbc(*x, 1100), 20 * std::log10(0.519147497289466), 0.05);
    }
}

TEST(ModulationTest, PwmDutyStaysWithinOneAndNinetyNinePercent) {
    Generator g;
    SetFormat(g, 48000, "16", 1);
    SetSlot(g, 0, kSquare, "1000", "1000", kValue, 1);
    SetSlot(g, 2, kSine, "2", "0", kValue, 0);
    g.slots[0].modulation = true;
    g.slots[0].modulationType = 4;
    g.ApplyOutputFormat();
    g.PrepareGenerator();
    auto x = RenderMixed(g, 480);
    for (int n = 0; n < 480; ++n) // a silent modulator: duty 0.5
        EXPECT_EQ(x[n], n % 48 < 24 ? 1000 : -1000) << n;

    SetSlot(g, 2, kSine, "2", "32767", kValue, 0); // full scale: the duty sweeps to its limits
    g.PrepareGenerator();
    x = RenderMixed(g, 48000);
    int fewest = 48, most = 0;
    for (int period = 0; period < 1000; ++period) {
        const int high = static_cast<int>(
            std::count(x.begin() + period * 48, x.begin() + period * 48 + 48, 1000.0));
        fewest = std::min(fewest, high);
        most = std::max(most, high);
    }
    EXPECT_EQ(fewest, 1); // duty 1 %: the first sample of the period only
    EXPECT_EQ(most, 47);  // duty 99 %: all but the last sample
}

TEST(GateTest, OnePointFiveWavesClosesAtTheHalfPeriodCrossing) {
    Generator g;
    SetFormat(g, 48000, "16", 2);
    SetSlot(g, 0, kSine, "1000", "1000", kValue, 1);
    SetSlot(g, 2, kSquare, "1000", "300", kValue, 2); // a follower that ignores the gate
    g.slots[0].offsetUnit = kValue;
    g.texts.slot[0].offset = "5";
    g.slots[0].gateOnHalfWaves = 3;
    g.slots[0].gateOffHalfWaves = 1;
    g.slots[0].gate = true;
    g.ApplyOutputFormat();
    g.PrepareGenerator();
    const auto v = RenderMixed(g, 48 * 8);
    // Open for 72 samples (three half periods), closed for 24, and so on; closed, the master
    // keeps its offset and the ungated follower plays on.
    for (int n = 0; n < 48 * 8; ++n) {
        const bool open = n % 96 < 72;
        const double sine = 1000 * std::sin(2 * kPi * (n % 48) / 48.0);
        EXPECT_NEAR(v[2 * n], open ? 5 + sine : 5.0, 1e-9) << n;
        EXPECT_EQ(v[2 * n + 1], n % 48 < 24 ? 300 : -300) << n;
    }
}

} // namespace
} // namespace qv
