#include "generator/remainder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace qv {
namespace {

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(PhaseRemainderTest, EqualsFmodBitForBit) {
    std::mt19937_64 rng(12345);
    const double rates[] = {1000, 44100, 48000, 192000, 384000 * 16.0, 8388607};
    long checked = 0;
    for (double e : rates) {
        std::uniform_real_distribution<double> freq(0.0, e);
        for (int i = 0; i < 20000; ++i) {
            // Accumulators as the oscillator builds them, and values right at the multiples.
            const double f = freq(rng);
            const double n = static_cast<double>(rng() % 100000000);
            const double candidates[] = {f * n, std::nextafter(n * e, 0.0),
                                         n * e, std::nextafter(n * e, 1e300),
                                         f,     std::floor(f) * 1000.0};
            for (double y : candidates) {
                ASSERT_TRUE(SameBits(PhaseRemainder(y, e, 1.0 / e), std::fmod(y, e)))
                    << y << " " << e;
                ++checked;
            }
        }
    }
    for (double y : {-1.5, -48000.0, 1e300, 9007199254740992.0, 0.0, -0.0}) {
        EXPECT_TRUE(SameBits(PhaseRemainder(y, 48000, 1.0 / 48000), std::fmod(y, 48000.0))) << y;
    }
    EXPECT_TRUE(SameBits(PhaseRemainder(10.25, 2.5, 0.4), std::fmod(10.25, 2.5)));
    EXPECT_GT(checked, 700000);
}

TEST(PhaseRemainderTest, FloorExactMatchesFloor) {
    for (double x : {0.0, 0.5, 0.9999999999999999, 1.0, -0.5, -1.0, -1.5, 2.5, -2.5, 1e15 + 0.5,
                     -1e15 - 0.5, 4503599627370495.5, -4503599627370495.5, 1e300, -1e300}) {
        EXPECT_EQ(FloorExact(x), std::floor(x)) << x;
    }
}

} // namespace
} // namespace qv
