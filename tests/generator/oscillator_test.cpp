#include "fftlib/fft_api.h"
#include "generator/generator.h"
#include "generator_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace qv {
namespace {

using test::RenderMixed;
using test::SetFormat;
using test::SetSlot;

constexpr double kPi = std::numbers::pi;

class OscillatorTest : public ::testing::Test {
protected:
    Generator g;
    // Mono, value amplitude 10000 at 16 bit: sample values equal the waveform's values.
    void Mono(uint32_t rate, int waveform, const char* freq, const char* amp = "10000") {
        SetFormat(g, rate, "16", 1);
        SetSlot(g, 0, waveform, freq, amp, kValue, 1);
    }
};

TEST_F(OscillatorTest, SineAtMinus10DbIsExactForEverySampleOfOneSecond) {
    SetFormat(g, 48000, "16", 2);
    SetSlot(g, 0, kSine, "1000", "-10", kDb, 3);
    g.PrepareGenerator();
    auto bytes = test::FillBytes(g, 48000);
    ASSERT_EQ(bytes.size(), 48000u * 4);
    const double A = 32767.0 * std::pow(10.0, -0.5);
    int mismatches = 0;
    for (int n = 0; n < 48000; ++n) {
        const double expected = std::floor(A * std::sin(2 * kPi * 1000 * n / 48000) + 0.5);
        mismatches += test::S16(bytes, 2 * n) != expected;
        mismatches += test::S16(bytes, 2 * n + 1) != expected;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(OscillatorTest, SquareAtQuarterRateAlternatesInPairs) {
    Mono(48000, kSquare, "12000");
    g.PrepareGenerator();
    auto v = RenderMixed(g, 16);
    for (int n = 0; n < 16; ++n)
        EXPECT_EQ(v[n], (n % 4) < 2 ? 10000.0 : -10000.0) << n;
}

TEST_F(OscillatorTest, SquareKeepsANegativeSampleWhenThePeriodIsTwoSamples) {
    Mono(48000, kSquare, "24000");
    g.PrepareGenerator();
    auto v = RenderMixed(g, 6);
    EXPECT_EQ(v, (std::vector<double>{10000, -10000, 10000, -10000, 10000, -10000}));
}

TEST_F(OscillatorTest, TriangleAndSawtoothStartAtMinusAmplitudeAndFollowThePhase) {
    Mono(48000, kTriangle, "1000");
    g.PrepareGenerator();
    auto tri = RenderMixed(g, 96);
    for (int n = 0; n < 96; ++n) {
        const double I = (n % 48) / 48.0;
        const double expected =
            I < 0.5 ? 10000 * (2 * I / 0.5 - 1) : 10000 * (1 - 2 * (I - 0.5) / 0.5);
        EXPECT_NEAR(tri[n], expected, 1e-6) << n;
    }
    EXPECT_EQ(tri[0], -10000.0);
    EXPECT_EQ(tri[24], 10000.0);

    Mono(48000, kSawtooth, "1000");
    g.PrepareGenerator();
    auto saw = RenderMixed(g, 96);
    for (int n = 0; n < 96; ++n)
        EXPECT_NEAR(saw[n], 10000 * (2 * ((n % 48) / 48.0) - 1), 1e-6) << n;
}

TEST_F(OscillatorTest, PulseFiresOncePerPeriodFromTheFirstSample) {
    Mono(48000, kPulse, "1000");
    g.PrepareGenerator();
    auto v = RenderMixed(g, 480);
    for (int n = 0; n < 480; ++n)
        EXPECT_EQ(v[n], n % 48 == 0 ? 10000.0 : 0.0) << n;
}

TEST_F(OscillatorTest, PulseWithStartPhaseWaitsForTheWrap) {
    Mono(48000, kPulse, "1000");
    g.slots[0].phase = kPi / 2; // 90°
    g.PrepareGenerator();
    auto v = RenderMixed(g, 100);
    for (int n = 0; n < 100; ++n)
        EXPECT_EQ(v[n], n == 36 || n == 84 ? 10000.0 : 0.0) << n;
}

TEST_F(OscillatorTest, BipolarPulseGivesPlusAtStartAndMinusAtDuty) {
    Mono(48000, kPulsePm, "1000");
    g.PrepareGenerator();
    auto v = RenderMixed(g, 96);
    for (int n = 0; n < 96; ++n) {
        const double expected = n % 48 == 0 ? 10000 : n % 48 == 24 ? -10000 : 0;
        EXPECT_EQ(v[n], expected) << n;
    }
}

TEST_F(OscillatorTest, BipolarPulseStartedInsideAPeriodWaitsForTheWrap) {
    Mono(48000, kPulsePm, "1000");
    g.slots[0].phase = kPi / 2; // 90°: a quarter period in
    g.PrepareGenerator();
    auto v = RenderMixed(g, 120);
    for (int n = 0; n < 120; ++n) {
        const double expected = n == 36 || n == 84 ? 10000 : n == 60 || n == 108 ? -10000 : 0;
        EXPECT_EQ(v[n], expected) << n;
    }
}

TEST_F(OscillatorTest, ZeroHertzGivesAmplitudePlusOffsetEvenForNoise) {
    for (int waveform : {kSine, kSquare, kWhiteNoise, kMlsNoise}) {
        Mono(48000, waveform, "0", "1200");
        g.slots[0].offsetUnit = kValue;
        g.texts.slot[0].offset = "34";
        g.PrepareGenerator();
        for (double x : RenderMixed(g, 10))
            EXPECT_EQ(x, 1234.0) << waveform;
    }
}

TEST_F(OscillatorTest, PositiveDelayHoldsTheOffsetThenStartsAtPhaseZero) {
    Mono(48000, kSawtooth, "1000");
    g.slots[0].offsetUnit = kValue;
    g.texts.slot[0].offset = "7";
    g.slots[0].delay = 100;
    g.PrepareGenerator();
    auto v = RenderMixed(g, 150);
    for (int n = 0; n < 100; ++n)
        EXPECT_EQ(v[n], 7.0) << n;
    for (int n = 100; n < 150; ++n) {
        EXPECT_NEAR(v[n], 7 + 10000 * (2 * (((n - 100) % 48) / 48.0) - 1), 1e-6) << n;
    }
}

TEST_F(OscillatorTest, DelayCountsAtTheOversampledRateWhenTheFilterIsOn) {
    Mono(48000, kSine, "1000");
    g.slots[0].delay = 10;
    static const FftApi fft = DirectFftApi();
    g.AttachFft(&fft);
    g.filterOn = true;
    g.overSampleRate = 4;
    g.PrepareGenerator();
    EXPECT_EQ(g.slots[0].sampleCount, -40);
    EXPECT_EQ(g.effectiveRate, 192000.0);
}

TEST_F(OscillatorTest, NegativeDelayAdvancesThePhase) {
    Mono(48000, kSine, "1000");
    g.slots[0].delay = -10;
    g.PrepareGenerator();
    EXPECT_EQ(g.slots[0].phaseAcc, 10000.0);
    EXPECT_EQ(g.slots[0].pulseState, 0);
    auto v = RenderMixed(g, 1);
    EXPECT_DOUBLE_EQ(v[0], 10000 * std::sin(2 * kPi * 10000 / 48000)); // 75° into the cycle
}

TEST_F(OscillatorTest, BandLimitedMasterAboveNyquistIsSilentWhileAFollowerAliases) {
    SetFormat(g, 48000, "16", 2);
    SetSlot(g, 0, kSawtooth, "30000", "10000", kValue, 1);
    SetSlot(g, 1, kSawtooth, "30000", "10000", kValue, 2);
    g.slots[0].bandLimitType = 1;
    g.slots[0].offsetUnit = kValue;
    g.texts.slot[0].offset = "5";
    g.ApplyOutputFormat();
    g.PrepareGenerator();
    auto v = RenderMixed(g, 8);
    for (int n = 0; n < 8; ++n) {
        EXPECT_EQ(v[2 * n], 5.0);
        EXPECT_NEAR(v[2 * n + 1], 10000 * (2 * (std::fmod(30000.0 * n, 48000) / 48000) - 1), 1e-6);
    }
}

TEST_F(OscillatorTest, OffSlotsAreNotMixedButADelayedSlotIsHeardAsItsOffset) {
    SetFormat(g, 48000, "16", 1);
    SetSlot(g, 2, kOff, "1000", "10000", kValue, 1);
    g.slots[2].offsetUnit = kValue;
    g.texts.slot[2].offset = "99";
    g.ApplyOutputFormat();
    g.PrepareGenerator();
    EXPECT_EQ(RenderMixed(g, 4), std::vector<double>(4, 0.0));
}

TEST_F(OscillatorTest, LongRunsStayOnExactPeriodBoundaries) {
    // An integer frequency keeps every period boundary exact, even after many cycles.
    Mono(44100, kSquare, "441");
    g.PrepareGenerator();
    std::vector<double> frame(1);
    for (int n = 0; n < 44100 * 30; ++n)
        g.RenderFrames(1, frame.data());
    auto v = RenderMixed(g, 100);
    for (int n = 0; n < 100; ++n)
        EXPECT_EQ(v[n], n < 50 ? 10000.0 : -10000.0) << n;
}

} // namespace
} // namespace qv
