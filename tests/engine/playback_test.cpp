// The playback loop against a scripted device: prefill, start point, steady state, drain,
// restart, stop and errors, and what the device is given.
#include "engine/wave_play_rec.h"
#include "engine_fixture.h"
#include "support/fake_device.h"
#include "support/fake_owners.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::CounterFill;
using test::CountingOwner;
using test::FakeDevice;
using test::RecordingUi;
using test::WaitUntil;

struct Rig {
    explicit Rig(int buffers = 8, int bytes = 64, int32_t bitCode = 16, uint16_t channels = 2)
        : engine(owner, ui, fill.Bind(), EngineSettings{}) {
        engine.SetDevice(&device);
        engine.SetPlayBuffers(buffers, bytes, 0, 0, 0);
        EXPECT_EQ(engine.SetSource(test::StreamFormat(bitCode, channels)), EngineOutcome::Done);
    }
    // Plays until the engine ends by itself.
    void PlayToEnd() {
        ASSERT_TRUE(engine.Play(1, false, 0, true)) << engine.GetErrorText();
        ASSERT_TRUE(WaitUntil([&] { return !engine.PlaybackRunning(); }));
        engine.Stop();
    }
    CountingOwner owner;
    RecordingUi ui;
    CounterFill fill;
    FakeDevice device;
    WavePlayRec engine;
};

TEST(PlaybackTest, ASignalShorterThanTheRingIsPaddedAndDrained) {
    Rig rig(8, 64);
    rig.fill.limitBytes = 160; // two and a half buffers
    rig.PlayToEnd();
    EXPECT_EQ(rig.fill.calls.load(), 4); // the fourth returned 0
    EXPECT_EQ(rig.device.starts.load(), 1);
    ASSERT_EQ(rig.device.received.size(), 3u * 64);
    for (size_t w = 0; w < 40; ++w)
        EXPECT_EQ(test::WordAt(rig.device.received, w), w);
    for (size_t b = 160; b < 192; ++b)
        EXPECT_EQ(rig.device.received[b], 0) << b;
    EXPECT_EQ(rig.device.resets.load(), 1);
    EXPECT_EQ(rig.device.resetWritten, 3);
    EXPECT_EQ(rig.device.closes.load(), 1);
    EXPECT_EQ(rig.device.releases.load(), 1);
    EXPECT_TRUE(rig.ui.messages.empty());
    EXPECT_EQ(rig.engine.State(), PlayState::Idle);
    EXPECT_EQ(rig.owner.begins.load(), 1);
    EXPECT_EQ(rig.owner.ends.load(), 1);
    EXPECT_TRUE(rig.owner.playEnabled);
    EXPECT_FALSE(rig.owner.stopEnabled);
}

TEST(PlaybackTest, AFirstFillOfNothingEndsWithoutStartingTheDevice) {
    Rig rig(4, 64);
    rig.fill.limitBytes = 0;
    rig.PlayToEnd();
    EXPECT_EQ(rig.fill.calls.load(), 1);
    EXPECT_EQ(rig.device.starts.load(), 0);
    EXPECT_EQ(rig.device.queueCalls.load(), 0);
    EXPECT_TRUE(rig.device.received.empty());
    EXPECT_TRUE(rig.ui.messages.empty());
    EXPECT_EQ(rig.engine.GetErrorText(), "");
    EXPECT_EQ(rig.device.closes.load(), 1);
    EXPECT_EQ(rig.owner.begins.load(), 1);
    EXPECT_EQ(rig.owner.ends.load(), 1);
}

TEST(PlaybackTest, TheDeviceGetsEveryWordOnceAndInOrder) {
    Rig rig(4, 64);
    rig.fill.limitBytes = 64 * 40 + 8;
    rig.PlayToEnd();
    ASSERT_EQ(rig.device.received.size(), 41u * 64);
    for (size_t w = 0; w < 40 * 16 + 2; ++w)
        ASSERT_EQ(test::WordAt(rig.device.received, w), w) << w;
    EXPECT_EQ(rig.device.starts.load(), 1);
    EXPECT_EQ(rig.device.flushes.load(), 1); // the stream's first start
    EXPECT_EQ(rig.device.resetWritten, 4);   // at most the ring
    EXPECT_EQ(rig.fill.blockIndices.front(), 0u);
    for (size_t i = 0; i < rig.fill.blockIndices.size(); ++i)
        EXPECT_EQ(rig.fill.blockIndices[i], i);
    EXPECT_GE(rig.owner.afterFills.load(), 41);
}

TEST(PlaybackTest, RestartFlushesAndRefillsFromBlockZero) {
    Rig rig(4, 64);
    ASSERT_TRUE(rig.engine.Play(1, false, 0, true));
    ASSERT_TRUE(WaitUntil(
        [&] { return rig.engine.State() == PlayState::Playing && rig.fill.calls >= 12; }));
    rig.engine.Restart();
    ASSERT_TRUE(WaitUntil([&] { return rig.fill.zeroBlocks.load() == 2; }));
    ASSERT_TRUE(WaitUntil([&] { return rig.device.played.load() >= 12 + 8; }));
    rig.engine.Stop();

    // Block indices: 0, 1, 2, ... then 0, 1, 2, ... again.
    const auto& indices = rig.fill.blockIndices;
    size_t second = 0;
    for (size_t i = 1; i < indices.size(); ++i) {
        if (indices[i] == 0) {
            second = i;
            break;
        }
        EXPECT_EQ(indices[i], i);
    }
    ASSERT_GT(second, 0u);
    for (size_t i = second; i < indices.size(); ++i)
        EXPECT_EQ(indices[i], i - second);

    // The device was flushed before the refill, and after the flush it played the refill.
    ASSERT_EQ(rig.device.flushes.load(), 2);
    ASSERT_EQ(rig.device.flushMarks.size(), 2u);
    const size_t mark = rig.device.flushMarks[1] / 4;
    const auto& got = rig.device.received;
    for (size_t w = 0; w < mark; ++w)
        ASSERT_EQ(test::WordAt(got, w), w);
    ASSERT_GT(got.size() / 4, mark);
    const uint32_t restartWord = rig.fill.firstWords[second];
    for (size_t w = mark; w < got.size() / 4; ++w)
        ASSERT_EQ(test::WordAt(got, w), restartWord + (w - mark)) << w;
    EXPECT_TRUE(rig.ui.messages.empty());
}

TEST(PlaybackTest, ADeviceThatAsksToBeSetUpAgainIsFlushedAndRefilledFromBlockZero) {
    Rig rig(4, 64);
    ASSERT_TRUE(rig.engine.Play(1, false, 0, true));
    ASSERT_TRUE(WaitUntil([&] { return rig.fill.calls >= 12; }));
    rig.device.wantsRestart = true;
    ASSERT_TRUE(WaitUntil([&] { return rig.fill.zeroBlocks.load() == 2; }));
    ASSERT_TRUE(WaitUntil([&] { return rig.device.played.load() >= 12 + 8; }));
    rig.engine.Stop();
    EXPECT_EQ(rig.device.flushes.load(), 2);
    EXPECT_TRUE(rig.ui.messages.empty());
}

TEST(PlaybackTest, RestartIsIgnoredUnlessPlaying) {
    Rig rig(4, 64);
    rig.engine.Restart();
    rig.fill.limitBytes = 64 * 6;
    rig.PlayToEnd();
    EXPECT_EQ(rig.fill.zeroBlocks.load(), 1);
    EXPECT_EQ(rig.device.flushes.load(), 1);
}

TEST(PlaybackTest, StopDuringThePrefillTakesEffectAtTheFirstCompletionWait) {
    Rig rig(4, 64);
    // The second fill waits until Stop has asked (it pumps while it waits).
    rig.fill.beforeFill = [&](int call) {
        if (call == 1)
            WaitUntil([&] { return rig.owner.pumps.load() > 0; });
    };
    ASSERT_TRUE(rig.engine.Play(1, false, 0, true));
    ASSERT_TRUE(WaitUntil([&] { return rig.fill.calls.load() >= 2; }));
    rig.engine.Stop();
    EXPECT_FALSE(rig.engine.PlaybackRunning());
    EXPECT_EQ(rig.fill.calls.load(), 4); // the whole ring, no refill
    EXPECT_EQ(rig.device.starts.load(), 1);
    EXPECT_EQ(rig.device.resets.load(), 1);
    EXPECT_TRUE(rig.ui.messages.empty());
    EXPECT_EQ(rig.engine.State(), PlayState::Idle);
    EXPECT_EQ(rig.engine.Mode(), 0);
}

TEST(PlaybackTest, ADeviceErrorEndsWithTheStoppedMessage) {
    Rig rig(4, 64);
    rig.device.failQueueAt = 6; // after the start point
    rig.PlayToEnd();
    EXPECT_EQ(rig.device.starts.load(), 1);
    EXPECT_EQ(rig.engine.GetErrorText(), "Fake device: write failed");
    ASSERT_EQ(rig.ui.messages.size(), 1u);
    EXPECT_EQ(rig.ui.messages[0].text, "Stopped! \n\nFake device: write failed");
    EXPECT_EQ(rig.ui.messages[0].caption, "Quorvale");
    EXPECT_EQ(rig.ui.messages[0].icon, MsgIcon::Warning);
    EXPECT_EQ(rig.device.resets.load(), 1);
    EXPECT_EQ(rig.device.closes.load(), 1);
    EXPECT_EQ(rig.engine.State(), PlayState::Idle);
    EXPECT_EQ(rig.owner.ends.load(), 1);
}

TEST(PlaybackTest, EightBitStreamsArePaddedWithMidScale) {
    Rig rig(4, 16, 8, 1);
    EXPECT_EQ(rig.engine.SilenceByte(), 0x80);
    rig.fill.limitBytes = 8; // two words
    rig.PlayToEnd();
    ASSERT_EQ(rig.device.received.size(), 16u);
    EXPECT_EQ(test::WordAt(rig.device.received, 0), 0u);
    EXPECT_EQ(test::WordAt(rig.device.received, 1), 1u);
    for (size_t b = 8; b < 16; ++b)
        EXPECT_EQ(rig.device.received[b], 0x80) << b;
}

TEST(PlaybackTest, OtherStreamsArePaddedWithZero) {
    for (int32_t bits : {16, 24, 32, -32}) {
        Rig rig(2, 48, bits, 2);
        EXPECT_EQ(rig.engine.SilenceByte(), 0) << bits;
    }
}

TEST(PlaybackTest, PlayNeedsAFormatAndABufferPlan) {
    CountingOwner owner;
    RecordingUi ui;
    CounterFill fill;
    FakeDevice device;
    WavePlayRec engine(owner, ui, fill.Bind(), EngineSettings{});
    engine.SetDevice(&device);
    EXPECT_FALSE(owner.playEnabled);
    EXPECT_FALSE(engine.Play(1, false, 0, true));
    EXPECT_EQ(engine.GetErrorText(), "");
    engine.SetPlayBuffers(4, 64, 0, 0, 0);
    EXPECT_EQ(engine.SetSource(test::StreamFormat(16, 2)), EngineOutcome::Done); // not failed
    EXPECT_TRUE(owner.playEnabled);
    EXPECT_EQ(device.opens.load(), 0);
}

TEST(PlaybackTest, MmeListEntriesMapToDeviceNumbers) {
    Rig rig(4, 64);
    rig.fill.limitBytes = 0;
    rig.PlayToEnd();
    EXPECT_EQ(rig.device.openedNumber, 0); // entry 1: device 0
    ASSERT_TRUE(rig.engine.Play(0, false, 0, true));
    ASSERT_TRUE(WaitUntil([&] { return !rig.engine.PlaybackRunning(); }));
    rig.engine.Stop();
    EXPECT_EQ(rig.device.openedNumber, -1); // entry 0: the mapper
    EXPECT_EQ(rig.device.openedSetup.bufferBytes, 64);
    EXPECT_EQ(rig.device.openedSetup.bufferCount, 4);
}

TEST(PlaybackTest, ExtensibleFormatsGetTheirValidBits) {
    Rig rig(4, 64);
    rig.fill.limitBytes = 0;
    WaveFormatRecord f = ToExtensible(test::StreamFormat(24, 6));
    f.validBits = 0;
    EXPECT_EQ(rig.engine.SetSource(f), EngineOutcome::Done);
    rig.engine.SetUseExtensible(true);
    rig.PlayToEnd();
    EXPECT_EQ(rig.device.openedSetup.format.validBits, 24);
    EXPECT_EQ(rig.device.openedSetup.deviceFormat.formatTag, kFormatTagExtensible);
}

TEST(PlaybackTest, StopWhileNothingPlaysReturnsAtOnce) {
    Rig rig;
    rig.engine.Stop();
    EXPECT_EQ(rig.owner.pumps.load(), 0);
    EXPECT_EQ(rig.engine.Mode(), 0);
}

} // namespace
} // namespace qv
