// The engine with the real generator as its fill operation: the device gets exactly the
// frames that FillOutputBuffer produced, and the playback thread allocates nothing once the
// ring is prepared.
#include "engine/wave_play_rec.h"
#include "engine_fixture.h"
#include "generator/allocation_counter.h"
#include "generator/generator.h"
#include "generator/generator_fixture.h"
#include "support/fake_device.h"
#include "support/fake_owners.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qv {
namespace {

using test::WaitUntil;

TEST(GeneratorPlaybackTest, TheDeviceGetsExactlyTheFramesTheGeneratorProduced) {
    Generator g;
    test::SetFormat(g, 48000, "16", 2);
    test::SetSlot(g, 0, kSine, "997", "-6", kDb, 1);
    test::SetSlot(g, 1, kWhiteNoise, "1000", "-20", kDb, 2);
    constexpr uint32_t kBlocks = 9;
    std::vector<uint8_t> produced;
    produced.reserve(size_t(kBlocks + 1) * g.BlockBytes());
    auto fill = [&](uint8_t* buffer, uint32_t bytes, uint32_t blockIndex) -> uint32_t {
        if (blockIndex >= kBlocks)
            return 0;
        // The last block ends three frames short, as at the end of a sweep.
        const uint32_t ask = blockIndex == kBlocks - 1 ? bytes - 3 * g.format.blockAlign : bytes;
        const uint32_t n = g.FillOutputBuffer(buffer, ask, blockIndex);
        produced.insert(produced.end(), buffer, buffer + n);
        return n;
    };
    test::CountingOwner owner;
    test::RecordingUi ui;
    test::FakeDevice device(size_t(kBlocks + 1) * g.BlockBytes());
    WavePlayRec engine(owner, ui, fill, EngineSettings{});
    g.engine = &engine;
    engine.SetDevice(&device);
    engine.SetPlayBuffers(3, int(g.BlockBytes()), 0, 0, 0);
    EXPECT_EQ(engine.SetSource(ToFormatRecord(g.format)), EngineOutcome::Done);
    g.PrepareGenerator();
    ASSERT_TRUE(engine.Play(1, false, 0, true));
    ASSERT_TRUE(WaitUntil([&] { return !engine.PlaybackRunning(); }));
    engine.Stop();

    ASSERT_EQ(produced.size(), size_t(kBlocks) * g.BlockBytes() - 3 * g.format.blockAlign);
    ASSERT_EQ(device.received.size(), size_t(kBlocks) * g.BlockBytes());
    EXPECT_TRUE(std::equal(produced.begin(), produced.end(), device.received.begin()));
    EXPECT_TRUE(std::all_of(device.received.begin() + std::ptrdiff_t(produced.size()),
                            device.received.end(), [](uint8_t b) { return b == 0; }));
    EXPECT_TRUE(ui.messages.empty());
}

TEST(GeneratorPlaybackTest, ThePlaybackThreadAllocatesNothingOnceTheRingIsPrepared) {
    Generator g;
    test::SetFormat(g, 48000, "24", 2);
    test::SetSlot(g, 0, kSquare, "440", "-6", kDb, 3);
    test::SetSlot(g, 4, kPinkNoise, "1000", "-20", kDb, 2);
    std::atomic<int> calls{0};
    auto fill = [&](uint8_t* buffer, uint32_t bytes, uint32_t blockIndex) -> uint32_t {
        if (calls.fetch_add(1) == 0) // from the first fill on: the ring is prepared
            test::countingAllocations = true;
        return g.FillOutputBuffer(buffer, bytes, blockIndex);
    };
    test::CountingOwner owner;
    test::RecordingUi ui;
    test::FakeDevice device(0);
    device.record = false;
    device.pace = std::chrono::microseconds(50);
    WavePlayRec engine(owner, ui, fill, EngineSettings{});
    g.engine = &engine;
    engine.SetDevice(&device);
    engine.SetPlayBuffers(4, int(g.BlockBytes()), 0, 0, 0);
    EXPECT_EQ(engine.SetSource(ToFormatRecord(g.format)), EngineOutcome::Done);
    g.PrepareGenerator();

    test::allocationCount = 0;
    ASSERT_TRUE(engine.Play(1, false, 0, true));
    // No assertion inside the counted stretch: a failure message would allocate.
    const bool started =
        WaitUntil([&] { return engine.State() == PlayState::Playing && calls >= 12; });
    engine.Restart();
    const bool refilled = WaitUntil([&] { return calls >= 30; });
    engine.Stop();
    test::countingAllocations = false;
    EXPECT_TRUE(started);
    EXPECT_TRUE(refilled);
    EXPECT_EQ(test::allocationCount.load(), 0);
    EXPECT_EQ(device.flushes.load(), 2);
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
} // namespace qv
