// The transforms against an independent naive DFT, and the library's documented edge cases.
#include "fftlib/fft_api.h"
#include "fftlib/kt54.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

namespace qv {
namespace {

using Complex = std::complex<double>;

// sign -1 forward, +1 inverse; angles reduced exactly through (k·n) mod N.
std::vector<Complex> NaiveDft(const std::vector<Complex>& x, int sign) {
    const size_t n = x.size();
    std::vector<Complex> out(n);
    for (size_t k = 0; k < n; ++k) {
        Complex sum = 0;
        for (size_t j = 0; j < n; ++j) {
            const double angle =
                sign * 2.0 * std::numbers::pi * static_cast<double>((k * j) % n) / n;
            sum += x[j] * Complex(std::cos(angle), std::sin(angle));
        }
        out[k] = sum;
    }
    return out;
}

double Peak(const std::vector<Complex>& v) {
    double p = 0;
    for (const Complex& c : v)
        p = std::max(p, std::abs(c));
    return p;
}

std::vector<Complex> RandomSignal(size_t n, uint64_t seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<Complex> x(n);
    for (auto& c : x)
        c = Complex(u(rng), u(rng));
    return x;
}

class FftTest : public ::testing::Test {
protected:
    FftApi api = DirectFftApi();
    void TearDown() override {
        for (int s = 0; s < kFftSlotCount; ++s)
            api.releaseFft(s);
    }
};

TEST_F(FftTest, ComplexTransformsMatchTheNaiveDft) {
    for (int n = 2; n <= 4096; n *= 2) {
        ASSERT_NE(api.createFft(3, n, 0, 0), nullptr);
        const auto x = RandomSignal(n, n);
        std::vector<double> data(2 * n);
        for (int i = 0; i < n; ++i)
            data[2 * i] = x[i].real(), data[2 * i + 1] = x[i].imag();

        api.fft(3, data.data(), 0);
        auto expected = NaiveDft(x, -1);
        for (auto& c : expected)
            c /= n; // forward is scaled by 1/M
        double worst = 0;
        for (int i = 0; i < n; ++i) {
            worst = std::max(worst, std::abs(Complex(data[2 * i], data[2 * i + 1]) - expected[i]));
        }
        EXPECT_LE(worst, 1e-12 * Peak(expected)) << "forward, n = " << n;

        for (int i = 0; i < n; ++i)
            data[2 * i] = x[i].real(), data[2 * i + 1] = x[i].imag();
        api.fft(3, data.data(), 1);
        expected = NaiveDft(x, +1); // inverse is not scaled
        worst = 0;
        for (int i = 0; i < n; ++i) {
            worst = std::max(worst, std::abs(Complex(data[2 * i], data[2 * i + 1]) - expected[i]));
        }
        EXPECT_LE(worst, 1e-12 * Peak(expected)) << "inverse, n = " << n;
        api.releaseFft(3);
    }
}

TEST_F(FftTest, RealInputTransformsMatchTheNaiveDft) {
    for (int n = 4; n <= 4096; n *= 2) {
        ASSERT_NE(api.createFft(12, n, 1, 1), nullptr);
        const auto c = RandomSignal(n, 7 * n);
        std::vector<Complex> x(n);
        std::vector<double> data(n + 2);
        for (int i = 0; i < n; ++i)
            x[i] = c[i].real(), data[i] = c[i].real();
        api.fft(12, data.data(), 0);
        auto expected = NaiveDft(x, -1);
        double worst = 0;
        for (int k = 0; k <= n / 2; ++k) {
            expected[k] /= n;
            worst = std::max(worst, std::abs(Complex(data[2 * k], data[2 * k + 1]) - expected[k]));
        }
        expected.resize(n / 2 + 1);
        EXPECT_LE(worst, 1e-12 * Peak(expected)) << "real input, n = " << n;
        api.releaseFft(12);
    }
}

TEST_F(FftTest, ImpulseConstantAndRealConstant) {
    const int n = 64;
    api.createFft(0, n, 0, 0);
    std::vector<double> d(2 * n, 0.0);
    d[0] = 1.0;
    api.fft(0, d.data(), 0);
    for (int i = 0; i < n; ++i) {
        EXPECT_DOUBLE_EQ(d[2 * i], 1.0 / n);
        EXPECT_EQ(d[2 * i + 1], 0.0);
    }
    api.fft(0, d.data(), 1); // the constant 1/M back to an impulse
    for (int i = 0; i < n; ++i) {
        EXPECT_NEAR(d[2 * i], i == 0 ? 1.0 : 0.0, 1e-15);
        EXPECT_NEAR(d[2 * i + 1], 0.0, 1e-15);
    }
    api.createFft(1, n, 1, 0);
    std::vector<double> r(n + 2, 0.25);
    api.fft(1, r.data(), 0);
    EXPECT_DOUBLE_EQ(r[0], 0.25);
    EXPECT_EQ(r[1], 0.0);
    for (int k = 1; k <= n / 2; ++k) {
        EXPECT_NEAR(r[2 * k], 0.0, 1e-16) << k;
        EXPECT_NEAR(r[2 * k + 1], 0.0, 1e-16) << k;
    }
}

TEST_F(FftTest, SlotsAndContextFields) {
    EXPECT_EQ(api.createFft(20, 64, 0, 0), nullptr);
    EXPECT_EQ(api.createFft(-1, 64, 0, 0), nullptr);
    auto* first = api.createFft(19, 64, 0x100, 0x101); // booleans: the low byte counts
    ASSERT_NE(first, nullptr);
    std::vector<double> d(128, 1.0);
    EXPECT_EQ(api.weightWindow(19, d.data(), 1), 64); // windows built (low byte 1)
    EXPECT_EQ(d[1], 0.0); // complex mode (low byte 0): imaginary parts cleared
    // Re-creating an occupied slot replaces its context.
    ASSERT_NE(api.createFft(19, 16, 1, 0), nullptr);
    std::vector<double> r(16, 1.0);
    EXPECT_EQ(api.weightWindow(19, r.data(), 1), 0); // no windows this time
    api.releaseFft(19);
    api.releaseFft(19); // an empty slot is left alone
}

TEST_F(FftTest, KaiserWindowIsBuiltOnDemandAndCached) {
    api.createFft(11, 16, 0, 0);
    std::vector<double> d(32, 1.0);
    EXPECT_EQ(api.weightWindow(11, d.data(), 7), 0); // before the first build
    EXPECT_EQ(d, std::vector<double>(32, 1.0));
    EXPECT_EQ(api.createKaiserWindow(11, 16, 6.0), 16);
    EXPECT_EQ(api.createKaiserWindow(11, 16, 6.0), 0);
    EXPECT_EQ(api.createKaiserWindow(11, 16, 5.0), 16);
    EXPECT_EQ(api.weightWindow(11, d.data(), 7), 16);
    // I0 by its series, independently: I0(x) = Σ ((x/2)^k / k!)².
    auto i0 = [](double x) {
        double s = 0, t = 1;
        for (int k = 0; k < 60; ++k) {
            if (k > 0)
                t *= (x / 2) / k;
            s += t * t;
        }
        return s;
    };
    EXPECT_EQ(d[0], 0.0);           // the leading zero
    EXPECT_NEAR(d[16], 1.0, 1e-15); // peak at index half = 8 … stored at [2·8]
    for (int i = 0; i < 8; ++i) {
        const double r = i / 7.0;
        const double expected = i0(5.0 * std::sqrt(1 - r * r)) / i0(5.0);
        EXPECT_NEAR(d[2 * (8 + i)], expected, 1e-14) << i;
        if (i > 0) {
            EXPECT_NEAR(d[2 * (8 - i)], expected, 1e-14) << i;
        }
        EXPECT_EQ(d[2 * (8 + i) + 1], 0.0);
    }
    EXPECT_NEAR(d[2 * 1], 1.0 / i0(5.0), 1e-15);
    // Alpha 0: all ones but the first.
    api.createKaiserWindow(11, 16, 0.0);
    std::vector<double> ones(32, 1.0);
    api.weightWindow(11, ones.data(), 7);
    for (int i = 1; i < 16; ++i)
        EXPECT_DOUBLE_EQ(ones[2 * i], 1.0);
}

TEST_F(FftTest, FixedWindowsAndCodes) {
    const int n = 8;
    api.createFft(5, n, 1, 1);
    std::vector<double> d(n, 2.0);
    EXPECT_EQ(api.weightWindow(5, d.data(), 0), n); // no weighting
    EXPECT_EQ(d, std::vector<double>(n, 2.0));
    EXPECT_EQ(api.weightWindow(5, d.data(), 99), n);
    EXPECT_EQ(api.weightWindow(5, d.data(), 1), n); // Hann
    for (int i = 0; i < n; ++i) {
        EXPECT_NEAR(d[i], 2.0 * (0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / n)), 1e-15);
    }
    std::vector<double> flat(n, 1.0);
    api.weightWindow(5, flat.data(), 6);
    EXPECT_NEAR(flat[n / 2], 0.21557895 + 0.41663158 + 0.277263158 + 0.083578947 + 0.006947368,
                1e-15);
    std::vector<double> bh7(n, 1.0);
    api.weightWindow(5, bh7.data(), 5);
    EXPECT_NEAR(bh7[0], 0.0, 1e-7); // the coefficients sum to 5.9e-8, not exactly 0
}

TEST_F(FftTest, PostProcessToDecibelsAndNormalised) {
    api.createFft(2, 8, 0, 0);
    std::vector<double> d(16, 0.0);
    d[10] = 77.0; // beyond M/2: untouched
    api.postProcess(2, d.data(), 1, 1);
    for (int i = 0; i <= 4; ++i) {
        EXPECT_EQ(d[2 * i], 0.0);
        EXPECT_EQ(d[2 * i + 1], 0.0);
    }
    EXPECT_EQ(d[10], 77.0);
    std::vector<double> s = {3, 4, 0.1, 0, 0, 0, 1, 0, 0, 0};
    api.postProcess(2, s.data(), 1, 0);
    EXPECT_NEAR(s[0], 20 * std::log10(5.0), 1e-12);
    EXPECT_NEAR(s[2], -20.0, 1e-12);
    EXPECT_NEAR(s[4], -760.0, 1e-9);
    api.postProcess(2, s.data(), 0, 1);
    EXPECT_EQ(s[0], 0.0);
    EXPECT_NEAR(s[6], -20 * std::log10(5.0), 1e-12);
}

TEST_F(FftTest, CoordinateThinningKeepsFourPointsPerColumn) {
    std::vector<ScreenPoint> p, a(9, {-1, 5}), b(9, {-1, 6});
    for (int x : {0, 0, 0, 0, 0, 0, 1, 2, 2})
        p.push_back({x, 100 + x});
    int32_t count = 9, runs = -1, lengths[9] = {};
    api.prepareCoordinates(&count, p.data(), a.data(), b.data(), &runs, lengths, 4);
    EXPECT_EQ(count, 7);
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(lengths[0], 6);
    EXPECT_EQ(lengths[1], 1);
    EXPECT_EQ(lengths[2], 2);
    const int kept[] = {0, 0, 0, 0, 1, 2, 2};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(p[i].x, kept[i]);
        EXPECT_EQ(a[i].x, kept[i]);
        EXPECT_EQ(b[i].x, kept[i]);
        EXPECT_EQ(a[i].y, 5); // y is never touched
    }
    EXPECT_EQ(p[4].y, 100); // x compacted into the fifth point, its y kept
    count = -3;
    api.prepareCoordinates(&count, p.data(), nullptr, nullptr, &runs, lengths, 4);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(runs, 0);
}

TEST(FftBindingTest, NamesResolveInOrderAndTheFirstMissingOneIsReported) {
    std::vector<std::string> asked;
    FftApi api;
    auto missing = BindFftEntries(
        [&](const char* name) -> void* {
            asked.push_back(name);
            return std::string(name) == "_FFT_PostProcess@16" ? nullptr : &asked;
        },
        api);
    EXPECT_EQ(missing, "_FFT_PostProcess@16");
    EXPECT_EQ(asked, (std::vector<std::string>{"_Create_FFT@16", "_Release_FFT@4",
                                               "_FFT_CreateKaiserWindow@16", "_FFT_WeightWindow@12",
                                               "_FFT_PostProcess@16"}));
    EXPECT_EQ(api.createFft, nullptr);
    EXPECT_EQ(BindFftEntries([](const char*) -> void* { return reinterpret_cast<void*>(1); }, api),
              "");
    EXPECT_NE(api.prepareCoordinates, nullptr);
}

} // namespace
} // namespace qv
