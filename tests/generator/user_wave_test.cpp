#include "fftlib/fft_api.h"
#include "generator/generator.h"
#include "generator_fixture.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::RenderMixed;
using test::SetFormat;

// Registers frames (interleaved, userChannels per frame) as Wave1's or Wave5's user wave.
void Register(Generator& g, int set, uint16_t userChannels, std::vector<double> samples,
              int32_t selection) {
    UserWaveSet& u = g.userWaves[set];
    u.userWaveChannels = userChannels;
    u.userWaveFrames = static_cast<uint32_t>(samples.size() / userChannels);
    u.userWaveSamples = std::move(samples);
    u.channelSelection = selection;
}

class UserWaveTest : public ::testing::Test {
protected:
    Generator g;
    void Slot(int i, int channels, uint32_t mask, const char* offset = "0") {
        SetFormat(g, 48000, "16", channels);
        g.slots[i].waveform = kUserWave;
        g.slots[i].outChMask = mask;
        g.slots[i].ampUnit = kValue;
        g.slots[i].offsetUnit = kValue;
        g.texts.slot[i].amp = "1000";
        g.texts.slot[i].offset = offset;
        g.ApplyOutputFormat();
    }
};

TEST_F(UserWaveTest, AnEmptySetProducesNothingNotEvenTheOffset) {
    Slot(0, 2, 3, "50");
    g.PrepareGenerator();
    EXPECT_EQ(RenderMixed(g, 5), std::vector<double>(10, 0.0));
    // The cleared array is still there for a reader that ignores the frame count.
    EXPECT_EQ(g.userWaves[0].userWaveSamples, std::vector<double>(22, 0.0));
}

TEST_F(UserWaveTest, StereoAllLoopsChannelForChannel) {
    Slot(0, 2, 3);
    Register(g, 0, 2, {0.1, -0.1, 0.2, -0.2, 0.3, -0.3}, kUserSelAll);
    g.PrepareGenerator();
    auto v = RenderMixed(g, 7);
    const double l[] = {100, 200, 300, 100, 200, 300, 100};
    for (int n = 0; n < 7; ++n) {
        EXPECT_DOUBLE_EQ(v[2 * n], l[n]) << n;
        EXPECT_DOUBLE_EQ(v[2 * n + 1], -l[n]) << n;
    }
}

TEST_F(UserWaveTest, StereoSelectionsFormTheirPairs) {
    struct Case {
        int32_t code;
        double l, r;
    } cases[] = {{kUserSelL, 0.5, 0.5},
                 {kUserSelR, 0.25, 0.25},
                 {kUserSelLPlusR, 0.75, 0.75},
                 {kUserSelLMinusR, 0.25, 0.25},
                 {kUserSelRMinusL, -0.25, -0.25}};
    for (const Case& c : cases) {
        Slot(0, 2, 3, "10");
        Register(g, 0, 2, {0.5, 0.25}, c.code);
        g.PrepareGenerator();
        auto v = RenderMixed(g, 1);
        EXPECT_DOUBLE_EQ(v[0], 10 + 1000 * c.l) << c.code;
        EXPECT_DOUBLE_EQ(v[1], 10 + 1000 * c.r) << c.code;
    }
}

TEST_F(UserWaveTest, StereoUserWaveReachesOnlyTheFirstTwoOutputsAndHonoursTheMask) {
    Slot(0, 4, 255);
    Register(g, 0, 2, {0.5, 0.25}, kUserSelAll);
    g.PrepareGenerator();
    EXPECT_EQ(RenderMixed(g, 1), (std::vector<double>{500, 250, 0, 0}));
    Slot(0, 2, 2);
    Register(g, 0, 2, {0.5, 0.25}, kUserSelAll);
    g.PrepareGenerator();
    EXPECT_EQ(RenderMixed(g, 1), (std::vector<double>{0, 250}));
    // On a mono output the right channel has nowhere to go.
    Slot(0, 1, 3);
    Register(g, 0, 2, {0.5, 0.25}, kUserSelAll);
    g.PrepareGenerator();
    EXPECT_EQ(RenderMixed(g, 2), (std::vector<double>{500, 500}));
}

TEST_F(UserWaveTest, MonoUserWaveGoesToEverySelectedChannel) {
    Slot(0, 3, 255, "1");
    Register(g, 0, 1, {0.5, -0.5}, kUserSelAll);
    g.PrepareGenerator();
    EXPECT_EQ(RenderMixed(g, 2), (std::vector<double>{501, 501, 501, -499, -499, -499}));
}

TEST_F(UserWaveTest, MultichannelAllMapsChannelsAndASingleBitPicksOne) {
    Slot(0, 4, 255);
    Register(g, 0, 3, {0.1, 0.2, 0.3}, kUserSelAll);
    g.PrepareGenerator();
    auto v = RenderMixed(g, 1);
    EXPECT_DOUBLE_EQ(v[0], 100);
    EXPECT_DOUBLE_EQ(v[1], 200);
    EXPECT_DOUBLE_EQ(v[2], 300);
    EXPECT_EQ(v[3], 0.0);

    Slot(0, 4, 1 | 4 | 8);
    Register(g, 0, 3, {0.1, 0.2, 0.3}, 2); // "u2ch"
    g.PrepareGenerator();
    v = RenderMixed(g, 1);
    EXPECT_DOUBLE_EQ(v[0], 200);
    EXPECT_EQ(v[1], 0.0);
    EXPECT_DOUBLE_EQ(v[2], 200);
    EXPECT_DOUBLE_EQ(v[3], 200);
}

TEST_F(UserWaveTest, Wave5OffersItsSelectedChannelAsModulationSignal) {
    Slot(4, 2, 3, "2");
    Register(g, 1, 2, {0.5, 0.25}, kUserSelAll);
    g.userWaves[1].modSignalSelection = kUserSelRMinusL;
    g.PrepareGenerator();
    RenderMixed(g, 1);
    EXPECT_DOUBLE_EQ(g.slots[4].modOut, 2 + 1000 * -0.25);
    EXPECT_EQ(g.slots[4].out, 0.0);
}

TEST_F(UserWaveTest, DelayedUserWaveStartsAtItsFirstFrame) {
    Slot(0, 1, 1, "3");
    Register(g, 0, 1, {0.5, 0.25, 0.125}, kUserSelAll);
    g.slots[0].delay = 2;
    g.PrepareGenerator();
    // The delay is heard as the slot's offset; then the wave starts at frame 0.
    EXPECT_EQ(RenderMixed(g, 5), (std::vector<double>{3, 3, 503, 253, 128}));
}

TEST_F(UserWaveTest, OversamplingInsertsZerosAndScalesTheOriginalFrames) {
    Slot(0, 1, 1);
    Register(g, 0, 1, {0.5, 0.25}, kUserSelAll);
    static const FftApi fft = DirectFftApi();
    g.AttachFft(&fft);
    g.filterOn = true;
    g.overSampleRate = 4;
    g.PrepareGenerator();
    EXPECT_EQ(RenderMixed(g, 8), (std::vector<double>{2000, 0, 0, 0, 1000, 0, 0, 0}));
}

TEST(UserWaveSetTest, ClearLeavesTwentyTwoZerosAndTwoChannels) {
    UserWaveSet set;
    set.userWaveSamples.assign(1000, 0.5);
    set.userWaveFrames = 500;
    set.userWaveChannels = 2;
    set.registerRequest = 1;
    ClearUserWave(set);
    EXPECT_EQ(set.userWaveSamples, std::vector<double>(22, 0.0));
    EXPECT_EQ(set.userWaveFrames, 0u);
    EXPECT_EQ(set.userWaveChannels, 2);
    EXPECT_EQ(set.registerRequest, 0);
}

} // namespace
} // namespace qv
