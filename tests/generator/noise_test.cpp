#include "fftlib/fft_api.h"
#include "generator/generator.h"
#include "generator/noise_sources.h"
#include "generator_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>

namespace qv {
namespace {

TEST(NoiseTest, UniformSourceStartsFromSeedOne) {
    NoiseSources n;
    // s = 22695478 before the first draw; s <- s x 22695477 + 1 (mod 2^64); top 31 bits.
    EXPECT_EQ(n.NextUniform31(), 119927u);
    EXPECT_EQ(n.NextUniform31(), 950081144u);
    EXPECT_EQ(n.NextUniform31(), 759785117u);
    EXPECT_EQ(n.NextUniform31(), 1840109577u);
    n.Reset();
    EXPECT_EQ(n.NextUniform31(), 119927u);
}

TEST(NoiseTest, MlsShiftsTheSeedOutThenFollowsItsFeedback) {
    NoiseSources n;
    // The first 30 outputs are the seed's bits 1 … 30; then x^31 + x^28 + 1 takes over:
    // bit 31 of the stream is bit 0 xor bit 3 of the seed.
    for (int i = 1; i <= 30; ++i) {
        EXPECT_EQ(n.NextMls(), (kMlsSeed >> i & 1) ? 1.0 : -1.0) << i;
    }
    const uint32_t stream31 = (kMlsSeed ^ (kMlsSeed >> 3)) & 1;
    EXPECT_EQ(n.NextMls(), stream31 ? 1.0 : -1.0);
    n.Reset();
    EXPECT_EQ(n.NextMls(), -1.0); // bit 1 of the seed is 0
}

TEST(NoiseTest, WhiteNoiseHasDeviationTwoSeventhsAndStaysWithinOne) {
    NoiseSources n;
    double sum = 0, squares = 0, peak = 0;
    const int count = 1000000;
    for (int i = 0; i < count; ++i) {
        const double v = n.NextGaussian();
        sum += v;
        squares += v * v;
        peak = std::max(peak, std::fabs(v));
    }
    const double mean = sum / count;
    const double deviation = std::sqrt(squares / count - mean * mean);
    EXPECT_NEAR(deviation, 2.0 / 7.0, 0.01 * 2.0 / 7.0);
    std::printf("white noise: deviation %.6f (2/7 = %.6f), mean %.6f\n", deviation, 2.0 / 7, mean);
    EXPECT_NEAR(mean, 0.0, 0.002);
    EXPECT_LE(peak, 1.0);
    EXPECT_GT(peak, 0.99); // the limit is reached now and then (3.5 deviations)
}

TEST(NoiseTest, SlotsShareTheValueOfAFrameAndRunsRepeat) {
    Generator g;
    test::SetFormat(g, 48000, "24", 3);
    test::SetSlot(g, 0, kWhiteNoise, "1000", "1000", kValue, 1);
    test::SetSlot(g, 1, kWhiteNoise, "1000", "2000", kValue, 2);
    test::SetSlot(g, 2, kMlsNoise, "1000", "1000", kValue, 4);
    g.PrepareGenerator();
    const auto first = test::RenderMixed(g, 5000);
    int mlsAgrees = 0;
    for (int i = 0; i < 5000; ++i) {
        EXPECT_DOUBLE_EQ(first[3 * i + 1], 2 * first[3 * i]) << i;
        EXPECT_EQ(std::fabs(first[3 * i + 2]), 256000.0);
        mlsAgrees += first[3 * i + 2] / 256000.0 == first[3 * i] / std::fabs(first[3 * i]);
    }
    EXPECT_LT(mlsAgrees, 2700); // independent sources
    g.PrepareGenerator();
    EXPECT_EQ(test::RenderMixed(g, 5000), first);
}

// Power spectral density by Welch's method (Hann, 50 % overlap) on the library's transform.
std::vector<double> Welch(const std::vector<double>& x, int size) {
    FftApi api = DirectFftApi();
    api.createFft(15, size, 0, 0);
    std::vector<double> psd(size / 2, 0.0), buf(2 * size);
    int segments = 0;
    for (size_t start = 0; start + size <= x.size(); start += size / 2, ++segments) {
        for (int i = 0; i < size; ++i) {
            const double w = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / size);
            buf[2 * i] = x[start + i] * w;
            buf[2 * i + 1] = 0;
        }
        api.fft(15, buf.data(), 0);
        for (int k = 0; k < size / 2; ++k)
            psd[k] += buf[2 * k] * buf[2 * k] + buf[2 * k + 1] * buf[2 * k + 1];
    }
    api.releaseFft(15);
    for (double& p : psd)
        p /= segments;
    return psd;
}

TEST(NoiseTest, PinkNoiseFallsThreeDecibelsPerOctave) {
    FftApi api = DirectFftApi();
    NoiseSources n;
    n.AttachFft(&api);
    const int rate = 48000;
    std::vector<double> x(60 * rate);
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = n.Pink(static_cast<uint32_t>(i));
    const int size = 8192;
    const auto psd = Welch(x, size);
    // Least squares of 10·log10(P) over log2(f) between 50 Hz and 10 kHz.
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    int count = 0;
    for (int k = 1; k < size / 2; ++k) {
        const double f = static_cast<double>(k) * rate / size;
        if (f < 50 || f > 10000)
            continue;
        const double xv = std::log2(f), yv = 10 * std::log10(psd[k]);
        sx += xv, sy += yv, sxx += xv * xv, sxy += xv * yv, ++count;
    }
    const double slope = (count * sxy - sx * sy) / (count * sxx - sx * sx);
    EXPECT_NEAR(slope, -3.0, 0.3) << "dB per octave";
    std::printf("pink noise slope: %.3f dB per octave\n", slope);
    api.releaseFft(kPinkFftSlot);
}

TEST(NoiseTest, PinkBlocksStartAtFrameZeroAndAfter4096Frames) {
    FftApi api = DirectFftApi();
    NoiseSources a, b;
    a.AttachFft(&api);
    const double first = a.Pink(0);
    EXPECT_EQ(a.Pink(0), first); // cached for the frame
    for (uint32_t f = 1; f < 4096; ++f)
        a.Pink(f);
    // A new table after 4096 frames consumes 4096 more Gaussian values.
    NoiseSources reference;
    for (int i = 0; i < 2 * 4096; ++i)
        reference.NextGaussian();
    a.Pink(4096);
    EXPECT_EQ(a.NextGaussian(), reference.NextGaussian());
    // Without the transform library pink noise is silent.
    EXPECT_EQ(b.Pink(0), 0.0);
    api.releaseFft(kPinkFftSlot);
}

} // namespace
} // namespace qv
