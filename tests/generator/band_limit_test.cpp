#include "fftlib/fft_api.h"
#include "generator/band_limit.h"
#include "generator/generator.h"
#include "generator_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace qv {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(AdditiveTest, HarmonicsStopOneHertzBelowHalfTheRate) {
    // 1000 Hz at 48 kHz: n = 23, so the odd harmonics 1 … 23.
    double sum = 0;
    for (int k = 1; k <= 23; k += 2)
        sum += std::sin(k * kPi / 2) / k;
    const double value = AdditiveSample(kSquare, 48000, 1000, 1.0, 0.25);
    EXPECT_NEAR(value, 4 / kPi * sum, 1e-12);
    EXPECT_NEAR(value, 1.0, 0.05);
    // 20 Hz at 384 kHz would give 9599 harmonics: limited to 1000.
    double saw = 0, saw1001 = 0;
    for (int k = 1; k <= 1001; ++k) {
        const double term = std::sin(k * 2 * kPi * 0.1) / k;
        if (k <= 1000)
            saw += term;
        saw1001 += term;
    }
    EXPECT_NEAR(AdditiveSample(kSawtooth, 384000, 20, 1.0, 0.1), -2 / kPi * saw, 1e-12);
    EXPECT_GT(std::fabs(-2 / kPi * saw1001 - AdditiveSample(kSawtooth, 384000, 20, 1.0, 0.1)),
              1e-6);
    // Within 1 Hz of half the rate nothing is left.
    EXPECT_EQ(AdditiveSample(kPulse, 48000, 23999.5, 1.0, 0.0), 0.0);
    EXPECT_EQ(AdditiveSample(kPulsePm, 48000, 24000, 1.0, 0.0), 0.0);
    EXPECT_EQ(AdditiveSample(kSine, 48000, 1000, 1.0, 0.3), 0.0);
    // The shapes start where the naive ones do.
    EXPECT_NEAR(AdditiveSample(kTriangle, 48000, 100, 1.0, 0.0), -1.0, 0.01);
    EXPECT_NEAR(AdditiveSample(kPulse, 48000, 1000, 1.0, 0.0), 1.0, 1e-12);
    EXPECT_NEAR(AdditiveSample(kPulsePm, 48000, 1000, 1.0, 0.5), -1.0, 1e-12);
}

TEST(BlitTest, KernelHasOnePeakPerCycleAndMeanOneOverM) {
    EXPECT_EQ(BlitKernel(47, 0.0), 1.0);
    EXPECT_EQ(BlitKernel(47, 3.0), 1.0);
    double mean = 0;
    const int steps = 47 * 64;
    for (int i = 0; i < steps; ++i)
        mean += BlitKernel(47, static_cast<double>(i) / steps);
    EXPECT_NEAR(mean / steps, 1.0 / 47, 1e-12);
    EXPECT_LE(BlitKernel(3, 1e-300), 1.0);
}

// Fraction of the power that lies away from the harmonics below half the rate: the aliases.
double AliasedFraction(Generator& g, double freq) {
    const int n = 65536;
    g.PrepareGenerator();
    const auto x = test::RenderMixed(g, n);
    FftApi api = DirectFftApi();
    api.createFft(16, n, 0, 1);
    std::vector<double> buf(2 * n);
    for (int i = 0; i < n; ++i)
        buf[2 * i] = x[i];
    api.weightWindow(16, buf.data(), 4); // 4-term Blackman-Harris: leakage far below -90 dB
    api.fft(16, buf.data(), 0);
    api.releaseFft(16);
    const double rate = g.effectiveRate;
    double total = 0, harmonic = 0;
    for (int k = 1; k < n / 2; ++k) {
        const double p = buf[2 * k] * buf[2 * k] + buf[2 * k + 1] * buf[2 * k + 1];
        const double f = k * rate / n;
        const double nearest = std::round(f / freq) * freq;
        total += p;
        if (nearest > 0 && nearest < rate / 2 && std::fabs(f - nearest) <= 6 * rate / n)
            harmonic += p;
    }
    return 1.0 - harmonic / total;
}

TEST(BandLimitTest, BandLimitedShapesHardlyAliasWhereNaiveOnesDo) {
    for (int shape : {kSquare, kSawtooth, kTriangle}) {
        double fraction[3];
        for (int type = 0; type < 3; ++type) {
            Generator g;
            test::SetFormat(g, 48000, "16", 1);
            test::SetSlot(g, 0, shape, "2345.6", "10000", kValue, 1);
            g.slots[0].bandLimitType = type;
            fraction[type] = AliasedFraction(g, 2345.6);
        }
        std::printf("waveform %d: aliased power naive %.2e, additive %.2e, BLIT %.2e\n", shape,
                    fraction[0], fraction[1], fraction[2]);
        EXPECT_LT(fraction[1], 1e-6) << shape;
        EXPECT_LT(fraction[2], fraction[0] / 10) << shape;
        EXPECT_GT(fraction[0], 1e-4) << shape;
    }
}

// The strongest component away from the harmonics below E/2 - 1 Hz (and away from DC), in dB
// relative to the fundamental: 7-term Blackman-Harris keeps the window's own leakage far below.
double WorstAliasDbc(Generator& g, double freq) {
    const int n = 65536;
    g.PrepareGenerator();
    const auto x = test::RenderMixed(g, n);
    FftApi api = DirectFftApi();
    api.createFft(17, n, 0, 1);
    std::vector<double> buf(2 * n);
    for (int i = 0; i < n; ++i)
        buf[2 * i] = x[i];
    api.weightWindow(17, buf.data(), 5);
    api.fft(17, buf.data(), 0);
    api.releaseFft(17);
    const double rate = g.effectiveRate, binHz = rate / n;
    const int harmonics = static_cast<int>(std::floor(rate / freq * 0.5 - 1.0 / freq));
    double carrier = 0, worst = 0;
    for (int k = 0; k < n / 2; ++k) {
        const double p = buf[2 * k] * buf[2 * k] + buf[2 * k + 1] * buf[2 * k + 1];
        const double f = k * binHz;
        const int h = static_cast<int>(std::lround(f / freq));
        if (h == 1 && std::fabs(f - freq) <= 10 * binHz)
            carrier = std::max(carrier, p);
        const bool nearHarmonic = h >= 1 && h <= harmonics && std::fabs(f - h * freq) <= 10 * binHz;
        if (!nearHarmonic && f > 10)
            worst = std::max(worst, p);
    }
    return 10 * std::log10(worst / carrier);
}

TEST(BandLimitTest, NoAliasProductAboveTheLimits) {
    for (const char* freq : {"1234.5", "5000"}) {
        for (int shape : {kSquare, kTriangle, kSawtooth, kPulse, kPulsePm}) {
            double dbc[3];
            for (int type = 0; type < 3; ++type) {
                Generator g;
                test::SetFormat(g, 48000, "16", 1);
                test::SetSlot(g, 0, shape, freq, "10000", kValue, 1);
                g.slots[0].bandLimitType = type;
                dbc[type] = WorstAliasDbc(g, std::atof(freq));
            }
            std::printf("%s Hz, waveform %d: worst alias naive %.1f dBc, additive %.1f dBc, "
                        "BLIT %.1f dBc\n",
                        freq, shape, dbc[0], dbc[1], dbc[2]);
            EXPECT_LT(dbc[1], -100) << freq << " " << shape;
            EXPECT_LT(dbc[2], -60) << freq << " " << shape;
            EXPECT_GT(dbc[0], -60) << freq << " " << shape; // the naive shape does alias
        }
    }
}

TEST(AdditiveTest, TheRecurrenceReproducesTheDirectSum) {
    // 20 Hz at 48 kHz: 500 odd harmonics (n limited to 1000).
    double worst = 0;
    for (int i = 0; i < 2400; i += 7) {
        const double I = i / 2400.0, theta = 2 * kPi * I;
        double direct = 0, saw = 0;
        for (int k = 1; k <= 1000; ++k) {
            if (k % 2)
                direct += std::sin(k * theta) / k;
            saw += std::sin(k * theta) / k;
        }
        worst = std::max(worst,
                         std::fabs(AdditiveSample(kSquare, 48000, 20, 1.0, I) - 4 / kPi * direct));
        worst = std::max(worst,
                         std::fabs(AdditiveSample(kSawtooth, 48000, 20, 1.0, I) + 2 / kPi * saw));
    }
    std::printf("largest difference from the direct sum: %.2e of the amplitude\n", worst);
    EXPECT_LT(worst, 1e-9);
}

TEST(BlitTest, SquareKeepsItsMeanAtZeroWithPwmAndStaysBounded) {
    Generator g;
    test::SetFormat(g, 48000, "16", 1);
    test::SetSlot(g, 0, kSquare, "1000", "10000", kValue, 1);
    g.slots[0].bandLimitType = 2;
    g.PrepareGenerator();
    auto v = test::RenderMixed(g, 48000);
    double mean = 0, peak = 0;
    for (double x : v)
        mean += x, peak = std::max(peak, std::fabs(x));
    EXPECT_NEAR(mean / v.size(), 0.0, 20.0);
    EXPECT_NEAR(peak, 10000, 1500);
    EXPECT_EQ(g.slots[0].blitLastFreq, 1000.0); // constant frequency: no leak
}

TEST(BlitTest, NearHalfTheRateEveryShapeStaysFinite) {
    for (const char* freq : {"15000", "23999.5", "24000"}) {
        for (int shape : {kSquare, kTriangle, kSawtooth, kPulse, kPulsePm}) {
            Generator g;
            test::SetFormat(g, 48000, "16", 1);
            test::SetSlot(g, 0, shape, freq, "10000", kValue, 1);
            g.slots[0].bandLimitType = 2;
            g.PrepareGenerator();
            for (double x : test::RenderMixed(g, 4800)) {
                ASSERT_TRUE(std::isfinite(x)) << freq << " " << shape;
                ASSERT_LT(std::fabs(x), 40000.0) << freq << " " << shape;
            }
        }
    }
}

TEST(BlitTest, LongPeriodsStartFromTheLimitOfTheRunningSum) {
    // The definition, sample by sample, just past the length where the limit takes over.
    const double period = 1.2 * kExactStartPeriod, h = 0.5 * period - period / 48000;
    const double m = 2 * std::floor(h) + 1, r = 1 / m;
    for (double x0 : {0.1, 0.5, 0.73, 0.999, 0.9999, 1.3}) {
        double running = 0, total = 0;
        for (long j = 0; j < static_cast<long>(std::ceil(period)); ++j) {
            running += BlitKernel(m, j / period + x0) - r;
            total += running;
        }
        EXPECT_NEAR(BlitStartAverage(r, m, x0, period), total / std::ceil(period), 1e-3) << x0;
    }
}

TEST(BlitTest, VeryLowTonesWithAStartPhaseOrANegativeDelayStartAtOnce) {
    for (const char* freq : {"0.001", "0.00001", "1e-9", "1e-310"}) {
        for (int shape : {kSquare, kTriangle, kSawtooth, kPulsePm}) {
            Generator g;
            test::SetFormat(g, 48000, "16", 1);
            test::SetSlot(g, 0, shape, freq, "10000", kValue, 1);
            g.slots[0].bandLimitType = 2;
            g.slots[0].phase = kPi / 2;
            g.slots[0].delay = shape == kSawtooth ? -1000 : 0;
            g.PrepareGenerator();
            for (double x : test::RenderMixed(g, 480)) {
                ASSERT_TRUE(std::isfinite(x)) << freq << " " << shape;
                ASSERT_LT(std::fabs(x), 40000.0) << freq << " " << shape;
            }
        }
    }
}

} // namespace
} // namespace qv
