#include "generator/generator.h"
#include "generator_fixture.h"
#include "platform/ui.h"
#include "support/fake_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qv {
namespace {

using test::SetFormat;
using test::SetSlot;

// A DC level on slot i: 0 Hz sine with amplitude 0 and the given offset value, which reaches
// the mixer unchanged.
void Dc(Generator& g, int i, const char* value, uint32_t mask) {
    SetSlot(g, i, kSine, "0", "0", kValue, mask);
    g.slots[i].offsetUnit = kValue;
    g.texts.slot[i].offset = value;
    g.ApplyOutputFormat();
}

std::vector<uint8_t> OneFrame(Generator& g) {
    g.PrepareGenerator();
    std::vector<uint8_t> b(g.format.blockAlign);
    EXPECT_EQ(g.FillOutputBuffer(b.data(), g.format.blockAlign, 0), g.format.blockAlign);
    return b;
}

TEST(RenderTest, RoundingIsFloorOfXPlusHalf) {
    Generator g;
    const struct {
        const char* value;
        int16_t expected;
    } cases[] = {{"0.5", 1}, {"-0.5", 0}, {"-0.6", -1}, {"1.4999", 1}, {"-1.5", -1}, {"2.5", 3}};
    for (const auto& c : cases) {
        SetFormat(g, 48000, "16", 1);
        Dc(g, 0, c.value, 1);
        auto b = OneFrame(g);
        EXPECT_EQ(test::S16(b, 0), c.expected) << c.value;
    }
}

TEST(RenderTest, TwoFullScaleSlotsClipAndReportIt) {
    Generator g;
    SetFormat(g, 48000, "16", 2);
    SetSlot(g, 0, kSquare, "12000", "0", kDb, 1);
    SetSlot(g, 1, kSquare, "12000", "0", kDb, 1);
    g.PrepareGenerator();
    std::vector<uint8_t> b(16);
    ASSERT_EQ(g.FillOutputBuffer(b.data(), 16, 0), 16u);
    EXPECT_EQ(test::S16(b, 0), 32767);
    EXPECT_EQ(test::S16(b, 4), -32768);
    EXPECT_EQ(test::S16(b, 1), 0);
    EXPECT_TRUE(g.clipped[0]);
    EXPECT_FALSE(g.clipped[1]);
    EXPECT_EQ(g.peakMax[0], 65534);
    EXPECT_EQ(g.peakMin[0], -65534);
    EXPECT_EQ(g.levelRef, 32767.0);
    // The next call starts with fresh level data.
    SetSlot(g, 1, kOff, "12000", "0", kDb, 0);
    g.PrepareGenerator();
    ASSERT_EQ(g.FillOutputBuffer(b.data(), 16, 0), 16u);
    EXPECT_FALSE(g.clipped[0]);
    EXPECT_EQ(g.peakMax[0], 32767);
}

TEST(RenderTest, EightBitIsOffsetBinary) {
    Generator g;
    SetFormat(g, 48000, "8", 2);
    Dc(g, 0, "0", 1);
    Dc(g, 1, "-128", 2);
    auto b = OneFrame(g);
    EXPECT_EQ(b, (std::vector<uint8_t>{0x80, 0x00}));
    Dc(g, 1, "-129", 2);
    Dc(g, 0, "127", 1);
    b = OneFrame(g);
    EXPECT_EQ(b, (std::vector<uint8_t>{0xFF, 0x00}));
    EXPECT_TRUE(g.clipped[1]);
    EXPECT_FALSE(g.clipped[0]);
    EXPECT_EQ(g.dispSamplesA[0], 127 * 256);
    EXPECT_EQ(g.dispSamplesB[0], -128 * 256);
}

TEST(RenderTest, TwentyFourBitPacksThreeBytesLittleEndian) {
    Generator g;
    SetFormat(g, 48000, "24", 2);
    Dc(g, 0, "0x1234.56", 1); // x256: 0x123456
    Dc(g, 1, "-1", 2);        // -256
    auto b = OneFrame(g);
    EXPECT_EQ(b, (std::vector<uint8_t>{0x56, 0x34, 0x12, 0x00, 0xFF, 0xFF}));
    EXPECT_EQ(g.dispSamplesA[0], 0x1234);
    EXPECT_EQ(g.dispSamplesB[0], -1);
}

TEST(RenderTest, ThirtyTwoBitStoresPeaksOnThe24BitScale) {
    Generator g;
    SetFormat(g, 48000, "32", 1);
    Dc(g, 0, "-0x8000", 1); // x65536: -2^31
    auto b = OneFrame(g);
    EXPECT_EQ(b, (std::vector<uint8_t>{0, 0, 0, 0x80}));
    EXPECT_FALSE(g.clipped[0]);
    EXPECT_EQ(g.peakMin[0], -8388608);
    EXPECT_EQ(g.levelRef, 8388607.0);
    EXPECT_EQ(g.dispSamplesA[0], -32768);
    Dc(g, 0, "0x8000", 1); // 2^31 clips to 2^31 - 1
    b = OneFrame(g);
    EXPECT_EQ(b, (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x7F}));
    EXPECT_TRUE(g.clipped[0]);
    EXPECT_EQ(g.peakMax[0], 8388608);
}

TEST(RenderTest, FloatIsTheTwentyFourBitValueTimesTwoToTheMinus23) {
    Generator g;
    auto asFloat = [](const std::vector<uint8_t>& b, size_t i) {
        float f;
        std::memcpy(&f, b.data() + 4 * i, 4);
        return f;
    };
    SetFormat(g, 48000, "F32", 2);
    Dc(g, 0, "0x7FFF.FF", 1); // 8388607
    Dc(g, 1, "-0x8000", 2);   // -8388608
    auto b = OneFrame(g);
    EXPECT_EQ(asFloat(b, 0), 8388607.0f / 8388608.0f);
    EXPECT_EQ(asFloat(b, 1), -1.0f);
    EXPECT_EQ(g.format.formatTag, kFormatTagFloat);
    SetSlot(g, 0, kSine, "0", "0", kValue, 1);
    g.slots[0].offsetUnit = kPercent;
    g.texts.slot[0].offset = "119.2093"; // about 10,000,000
    g.ApplyOutputFormat();
    b = OneFrame(g);
    EXPECT_EQ(asFloat(b, 0), 8388607.0f / 8388608.0f);
    EXPECT_TRUE(g.clipped[0]);
}

// A clipping triangle on three channels over a run whose sample count is no multiple of four:
// every sample is floor(x + 0.5) of the mix, clamped to the format's range.
TEST(RenderTest, EveryBitLengthRoundsAndClampsEachSampleOfARun) {
    constexpr uint32_t kFrames = 1001;
    for (const char* bits : {"8", "16", "24", "32", "F32"}) {
        Generator g;
        SetFormat(g, 48000, bits, 3);
        SetSlot(g, 0, kTriangle, "1000", "3", kDb, 7);
        g.PrepareGenerator();
        const int code = g.format.bitCode, bytes = g.format.blockAlign / 3;
        const int64_t hi = code == 32 ? 2147483647 : code == -32 ? 8388607 : (1 << (code - 1)) - 1;
        std::vector<uint8_t> b(kFrames * 3 * bytes);
        ASSERT_EQ(g.FillOutputBuffer(b.data(), uint32_t(b.size()), 0), b.size()) << bits;
        for (size_t j = 0; j < kFrames * 3; ++j) {
            // The little-endian sample; 8 bits offset binary, F32 on the 24-bit scale.
            uint32_t u = 0;
            std::memcpy(&u, &b[j * bytes], bytes);
            float f;
            std::memcpy(&f, &u, 4);
            const int64_t got = code == 8     ? int64_t(u) - 128
                                : code == -32 ? std::llround(f * 8388608.0)
                                              : int32_t(u << (32 - code)) >> (32 - code);
            const auto v = static_cast<int64_t>(std::floor(g.MixBuffer()[j] + 0.5));
            ASSERT_EQ(got, std::clamp(v, -hi - 1, hi)) << bits << " " << j;
        }
        EXPECT_TRUE(g.clipped[0] && g.clipped[1] && g.clipped[2]) << bits;
    }
}

TEST(RenderTest, ChannelMasksRouteSlots) {
    Generator g;
    SetFormat(g, 48000, "16", 4);
    Dc(g, 0, "1", 255);   // ALL
    Dc(g, 1, "10", 4);    // 3ch
    Dc(g, 2, "100", 8);   // 4ch
    Dc(g, 3, "1000", 16); // 5ch does not exist
    auto b = OneFrame(g);
    EXPECT_EQ(test::S16(b, 0), 1);
    EXPECT_EQ(test::S16(b, 1), 1);
    EXPECT_EQ(test::S16(b, 2), 11);
    EXPECT_EQ(test::S16(b, 3), 101);

    SetFormat(g, 48000, "16", 1);
    Dc(g, 0, "1", 3);   // L+R
    Dc(g, 1, "10", 1);  // L
    Dc(g, 2, "100", 2); // R feeds nothing on mono
    b = OneFrame(g);
    EXPECT_EQ(test::S16(b, 0), 11);
}

TEST(RenderTest, ShortBlocksReturnWholeFramesAndCaptureTheDisplayChannels) {
    Generator g;
    SetFormat(g, 48000, "16", 3);
    Dc(g, 0, "5", 1);
    Dc(g, 1, "6", 2);
    Dc(g, 2, "7", 4);
    g.dispChannel = 1;
    g.PrepareGenerator();
    std::vector<uint8_t> b(g.BlockBytes());
    EXPECT_EQ(g.FillOutputBuffer(b.data(), 6 * 10 + 5, 0), 60u);
    EXPECT_EQ(g.dispSamplesA[9], 6);
    EXPECT_EQ(g.dispSamplesB[9], 7);
    EXPECT_EQ(g.frameCounter, 10u);
}

TEST(RenderTest, OversizedRequestsGetOneMixBufferWorth) {
    Generator g;
    SetFormat(g, 48000, "16", 2);
    Dc(g, 0, "5", 3);
    g.PrepareGenerator();
    const uint32_t capacity = g.BlockFrames() + g.filterSize / 2;
    std::vector<uint8_t> b(static_cast<size_t>(capacity) * 4 * 3);
    EXPECT_EQ(g.FillOutputBuffer(b.data(), static_cast<uint32_t>(b.size()), 0), capacity * 4);
}

TEST(RenderTest, BlockZeroWhilePlayingRestartsEveryOscillator) {
    Generator g;
    SetFormat(g, 48000, "16", 2);
    SetSlot(g, 0, kSawtooth, "997", "10000", kValue, 3);
    test::FakeEngine engine;
    g.engine = &engine;
    g.PrepareGenerator();
    std::vector<uint8_t> first(g.BlockBytes()), second(g.BlockBytes()), again(g.BlockBytes());
    g.FillOutputBuffer(first.data(), g.BlockBytes(), 0);
    g.FillOutputBuffer(second.data(), g.BlockBytes(), 1);
    EXPECT_NE(first, second);
    g.FillOutputBuffer(again.data(), g.BlockBytes(), 0);
    EXPECT_EQ(first, again);
    EXPECT_EQ(g.frameCounter, g.BlockFrames());
}

TEST(RenderTest, ARateBelow1000BeepsAndBecomes1000) {
    struct CountingUi : Ui {
        int beeps = 0;
        MsgResult Message(const std::string&, const std::string&, MsgIcon, MsgButtons,
                          bool) override {
            return MsgResult::Ok;
        }
        void Beep() override { ++beeps; }
    } ui;
    Generator g;
    g.ui = &ui;
    SetFormat(g, 999, "16", 2);
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(g.format.sampleRate, 1000u);
    EXPECT_EQ(g.texts.sampleRate, "1000");
    g.texts.sampleRate = "-48000";
    g.ApplyOutputFormat();
    EXPECT_EQ(g.format.sampleRate, 48000u);
    EXPECT_EQ(ui.beeps, 1);
}

} // namespace
} // namespace qv
