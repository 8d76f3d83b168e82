#include "fftlib/fft_api.h"
#include "filter/filter_designer.h"
#include "filter_oracle.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qv {
namespace {

FilterDesign Points(std::initializer_list<FilterPoint> points, double alpha = 6) {
    FilterDesign d;
    d.kaiserAlpha = alpha;
    for (const FilterPoint& p : points)
        d.points[d.pointCount++] = p;
    return d;
}

struct Designer {
    Designer() { designer.Attach(&api); }
    FftApi api = DirectFftApi();
    FilterDesigner designer;
};

TEST(FilterDesignerTest, KernelEqualsFrequencySamplingWithAKaiserWindow) {
    for (const auto& [n, o, alpha] : {std::tuple{64, 1, 6.0}, std::tuple{64, 2, 6.0},
                                      std::tuple{32, 4, 2.5}, std::tuple{128, 1, 0.0}}) {
        Designer t;
        FilterDesign d = Points(
            {{0, 0, -20}, {n / 16, 0, -6}, {n / 4, 0, 3}, {n / 2 - 1, 0, -40}, {n / 2, 0, 0}},
            alpha);
        t.designer.Design(d, n, o, false, false);
        ASSERT_TRUE(t.designer.mailbox.ready.Get());
        const auto expected = test::Dft(test::KernelTaps(d, n, o));
        const double* k = t.designer.mailbox.spectrum.data();
        long double worst = 0, largest = 0;
        for (size_t i = 0; i < expected.size(); ++i) {
            worst = std::max(worst, std::abs(test::Cplx(k[2 * i], k[2 * i + 1]) - expected[i]));
            largest = std::max(largest, std::abs(expected[i]));
        }
        EXPECT_LT(worst, 1e-12 * largest) << n << " x " << o << ", alpha " << alpha;
    }
}

TEST(FilterDesignerTest, GainRisesLinearlyOverLogFrequencyFromBinZero) {
    Designer t;
    FilterDesign d = Points({{0, 0, -20}, {10, 0, 0}, {2048, 0, 0}});
    t.designer.Design(d, 4096, 1, true, false); // display only: the sampled response stays
    EXPECT_FALSE(t.designer.mailbox.ready.Get());
    const double* m = t.designer.mailbox.spectrum.data();
    EXPECT_NEAR(20 * std::log10(m[0]), -20.0, 1e-12);
    EXPECT_NEAR(20 * std::log10(m[2 * 5]), -20 + 20 * std::log10(10.0) / std::log10(20.0), 1e-9);
    EXPECT_NEAR(20 * std::log10(m[2 * 5]), -4.63, 0.005);
    EXPECT_NEAR(20 * std::log10(m[2 * 10]), 0.0, 1e-12);
}

TEST(FilterDesignerTest, TwoFlatPointsPassEverything) {
    Designer t;
    FilterDesign d = Points({{0, 0, 0}, {512, 24000, 0}});
    t.designer.Design(d, 1024, 1, false, false);
    const auto& r = t.designer.DisplayResponse();
    ASSERT_EQ(r.size(), 2u * (512 * 8 + 1));
    for (size_t k = 0; k < r.size() / 2; ++k)
        ASSERT_NEAR(std::hypot(r[2 * k], r[2 * k + 1]), 1.0, 1e-9) << k;
    // One unit tap at the centre: a spectrum of magnitude 1 everywhere.
    const double* s = t.designer.mailbox.spectrum.data();
    for (size_t k = 0; k < 2048; ++k)
        ASSERT_NEAR(std::hypot(s[2 * k], s[2 * k + 1]), 1.0, 1e-12) << k;
}

TEST(FilterDesignerTest, AWaitingKernelIsNotOverwrittenAndTheTableIsCutAtNyquist) {
    Designer t;
    FilterDesign d = Points({{0, 0, 0}, {16, 0, -6}, {40, 0, 0}, {64, 0, -3}});
    t.designer.Design(d, 64, 1, false, false);
    EXPECT_EQ(d.pointCount, 3); // the first point at or beyond N/2 ends the table
    const std::vector<double> first = t.designer.mailbox.spectrum;
    d.points[1].gainDb = -20;
    t.designer.Design(d, 64, 1, false, false);
    EXPECT_EQ(t.designer.mailbox.spectrum, first);
    t.designer.mailbox.ready = false;
    t.designer.Design(d, 64, 1, false, false);
    EXPECT_NE(t.designer.mailbox.spectrum, first);
}

TEST(FilterDesignerTest, AMalformedTableCostsNoMoreThanItsBinsAndGivesFiniteTaps) {
    Designer t;
    FilterDesign d = Points({{0, 0, 0},
                             {-7, 0, -6},
                             {5, 0, std::nan("")},
                             {2000000000, 0, 1e300},
                             {-2000000000, 0, -3}});
    t.designer.Design(d, 1024, 4, false, false);
    EXPECT_LE(t.designer.MagnitudeSteps(), 513);
    for (double v : t.designer.mailbox.spectrum)
        ASSERT_TRUE(std::isfinite(v));
}

} // namespace
} // namespace qv
