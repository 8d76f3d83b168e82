#include "fftlib/fft_api.h"
#include "filter/filter_oracle.h"
#include "generator/generator.h"
#include "generator_fixture.h"
#include "tone_measure.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qv {
namespace {

using test::SetFormat;
using test::SetSlot;

const FftApi kFft = DirectFftApi();

// Wave1: a square on the left, Wave2: a sine on the right (value units, 16-bit scale).
void TwoTones(Generator& g, uint32_t rate) {
    SetFormat(g, rate, "16", 2);
    SetSlot(g, 0, kSquare, "1000", "10000", kValue, 1);
    SetSlot(g, 1, kSine, "7000", "8000", kValue, 2);
}

void Filter(Generator& g, uint32_t n, uint32_t o, std::initializer_list<FilterPoint> points) {
    g.AttachFft(&kFft);
    g.filterOn = true;
    g.filterSize = n;
    g.overSampleRate = o;
    g.filterDesign = {};
    for (const FilterPoint& p : points)
        g.filterDesign.points[g.filterDesign.pointCount++] = p;
    g.ApplyOutputFormat();
    g.PrepareGenerator();
}

// The mix buffer of blocks rendered through the filter, as frames x channels doubles.
std::vector<double> FilteredFrames(Generator& g, int blocks) {
    std::vector<double> out;
    const uint32_t frames = g.BlockFrames();
    for (int b = 0; b < blocks; ++b) {
        const uint32_t got = g.RenderBlock(frames, static_cast<uint32_t>(b));
        out.insert(out.end(), g.MixBuffer(), g.MixBuffer() + static_cast<size_t>(got) * 2);
    }
    return out;
}

TEST(FilterStageTest, OutputIsTheDirectConvolutionOfTheOversampledRenderDecimated) {
    for (uint32_t o : {1u, 2u, 4u}) {
        const uint32_t n = 1024;
        Generator g;
        TwoTones(g, 48000);
        Filter(g, n, o, {{0, 0, -6}, {40, 0, 0}, {200, 0, -30}, {512, 24000, -60}});
        const auto out = FilteredFrames(g, 3);
        ASSERT_EQ(out.size(), 3u * 1024 * 2);

        // The same slots rendered plainly at the oversampled rate.
        Generator plain;
        TwoTones(plain, 48000 * o);
        plain.PrepareGenerator();
        const auto x = test::RenderMixed(plain, 3 * 1024 * o + n * o);
        const auto taps = test::KernelTaps(g.filterDesign, n, o);
        const long double scale = 1.0L / (2.0L * n * o);
        const long double a = n * o;
        double worst = 0;
        // Every frame of the first sub-blocks (priming and tail hand-over), then a sample.
        for (size_t t = 0; t < 3 * 1024; t += t < 1100 ? 1 : 13) {
            for (int c = 0; c < 2; ++c) {
                long double y = 0;
                for (long j = 0; j < a; ++j) {
                    const long i = static_cast<long>(t * o) + static_cast<long>(a / 2) - j;
                    if (i >= 0)
                        y += taps[j] * x[2 * i + c];
                }
                worst = std::max(worst, std::fabs(static_cast<double>(y * scale) - out[2 * t + c]));
            }
        }
        EXPECT_LT(worst, 1e-9 * 32767) << "oversampling " << o;
    }
}

TEST(FilterStageTest, TwoFlatPointsWithoutOversamplingReproduceThePlainRender) {
    Generator g, plain;
    TwoTones(g, 44100);
    TwoTones(plain, 44100);
    Filter(g, 2048, 1, {{0, 0, 0}, {1024, 22050, 0}});
    plain.PrepareGenerator();
    const auto filtered = test::FillBytes(g, 20000);
    const auto unfiltered = test::FillBytes(plain, 20000);
    ASSERT_EQ(filtered.size(), unfiltered.size());
    EXPECT_EQ(filtered, unfiltered);
}

TEST(FilterStageTest, OversamplingStopsA30kHzToneFromAliasing) {
    auto aliasDb = [](bool filtered) {
        Generator g;
        SetFormat(g, 44100, "16", 1);
        SetSlot(g, 0, kSine, "30000", "10000", kValue, 1);
        if (filtered)
            Filter(g, 4096, 4, {{0, 0, 0}, {2048, 22050, 0}});
        else
            g.PrepareGenerator();
        std::vector<double> out;
        while (out.size() < 44100) {
            const uint32_t got = g.RenderBlock(g.BlockFrames(), out.empty() ? 0 : 1);
            out.insert(out.end(), g.MixBuffer(), g.MixBuffer() + got);
        }
        out.resize(44100);
        return 20 * std::log10(test::ToneAmplitude(out, 1, 0, 14100, 44100) / 10000);
    };
    const double plain = aliasDb(false), filtered = aliasDb(true);
    EXPECT_GT(plain, -0.1); // rendered at 44100 Hz the tone folds to 14.1 kHz in full
    EXPECT_LT(filtered, -60.0);
    RecordProperty("alias_14100Hz_dB", std::to_string(filtered));
    std::printf("30 kHz at 4 x 44100 Hz, alpha 6: the 14.1 kHz alias at %.1f dB\n", filtered);
}

TEST(FilterStageTest, AfterASweepEndsTheRenderedFramesAreDeliveredThenNothing) {
    Generator g;
    SetFormat(g, 48000, "16", 1);
    SetSlot(g, 0, kSine, "1000", "10000", kValue, 1);
    SetSlot(g, 1, kOff, "2000", "10000", kValue, 0);
    g.slots[0].sweep = true;
    g.texts.fileLength = "0.05"; // 2400 frames
    Filter(g, 1024, 2, {{0, 0, 0}, {512, 24000, 0}});
    uint32_t total = 0, got;
    int calls = 0;
    while ((got = g.RenderBlock(g.BlockFrames(), static_cast<uint32_t>(calls))) > 0 && calls < 20) {
        total += got;
        ++calls;
    }
    EXPECT_EQ(total, 2400u);
    std::vector<uint8_t> block(g.BlockBytes());
    EXPECT_EQ(g.FillOutputBuffer(block.data(), g.BlockBytes(), 99), 0u);
}

TEST(FilterStageTest, AnOversampledWriteKeepsEveryFilteredFrame) {
    const uint32_t n = 1024, o = 8;
    Generator g;
    TwoTones(g, 44100);
    g.oversampledWrite = true;
    Filter(g, n, o, {{0, 0, 0}, {100, 0, -10}, {512, 22050, 0}});
    EXPECT_EQ(g.BlockFrames(), 8u * 1024);
    EXPECT_EQ(g.BlockBytes(), 8u * 1024 * 4);
    const auto out = FilteredFrames(g, 1);
    ASSERT_EQ(out.size(), 8u * 1024 * 2);

    Generator plain;
    TwoTones(plain, 44100 * o);
    plain.PrepareGenerator();
    const auto x = test::RenderMixed(plain, 8 * 1024 + n * o);
    const auto taps = test::KernelTaps(g.filterDesign, n, o);
    const long double scale = 1.0L / (2.0L * n * o);
    double worst = 0;
    for (size_t t = 0; t < 8 * 1024; t += t < 600 ? 1 : 97) {
        long double y = 0;
        for (long j = 0; j < static_cast<long>(n * o); ++j) {
            const long i = static_cast<long>(t) + static_cast<long>(n * o / 2) - j;
            if (i >= 0)
                y += taps[j] * x[2 * i];
        }
        worst = std::max(worst, std::fabs(static_cast<double>(y * scale) - out[2 * t]));
    }
    EXPECT_LT(worst, 1e-9 * 32767);
}

} // namespace
} // namespace qv
