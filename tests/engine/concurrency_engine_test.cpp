// The window's side against the playback thread: the main thread pumps the synchronous steps,
// restarts and stops at random while a device consumes the ring on its own thread. Built with
// ThreadSanitizer by tools/test; every run also checks what the device played.
#include "engine/wave_play_rec.h"
#include "engine_fixture.h"
#include "support/fake_device.h"
#include "support/fake_owners.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>

namespace qv {
namespace {

// What one playback gave the device: runs of consecutive words, each run after a flush
// starting with the first word of a block-0 fill, and silence once the signal has ended.
void CheckPlayed(const test::FakeDevice& device, const test::CounterFill& fill, int play) {
    const auto& got = device.received;
    std::vector<size_t> marks(device.flushMarks.begin(), device.flushMarks.end());
    marks.push_back(got.size());
    for (size_t m = 0; m + 1 < marks.size(); ++m) {
        const size_t begin = marks[m] / 4, end = marks[m + 1] / 4;
        if (begin == end)
            continue;
        const uint32_t first = test::WordAt(got, begin);
        bool fromBlockZero = false;
        for (size_t i = 0; i < fill.blockIndices.size(); ++i)
            fromBlockZero |= fill.blockIndices[i] == 0 && fill.firstWords[i] == first;
        ASSERT_TRUE(fromBlockZero) << "play " << play << " run " << m;
        // After the last word of a signal that ended comes silence.
        const uint64_t producedWords = fill.produced / 4;
        for (size_t w = begin; w < end; ++w) {
            const uint64_t expected = first + (w - begin);
            ASSERT_EQ(test::WordAt(got, w), expected < producedWords ? expected : 0)
                << "play " << play;
        }
    }
}

TEST(ConcurrencyTest, EnginePlaysWhileTheMainThreadRestartsAndStops) {
    std::mt19937 rng(2024);
    test::MainThreadOwner owner;
    const auto pump = [&] { owner.PumpMessages(); };
    int plays = 0, restarts = 0;
    const auto end =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(test::StressSeconds());
    while (std::chrono::steady_clock::now() < end || plays < 2) {
        test::RecordingUi ui;
        test::CounterFill fill;
        test::FakeDevice device(8 << 20);
        device.pace = std::chrono::microseconds(20 + rng() % 200);
        WavePlayRec engine(owner, ui, fill.Bind(), EngineSettings{});
        engine.SetDevice(&device);
        engine.SetPlayBuffers(2 + int(rng() % 6), 64 * (1 + int(rng() % 4)), 0, 0, 0);
        ASSERT_EQ(engine.SetSource(test::StreamFormat(16, 2)), EngineOutcome::Done);
        if (rng() % 4 == 0) // some signals end by themselves
            fill.limitBytes = 64 * (rng() % 40);
        ASSERT_TRUE(engine.Play(1 + int(rng() % 2), false, 0, true));
        const auto playEnd =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(50 + rng() % 250);
        while (std::chrono::steady_clock::now() < playEnd && engine.PlaybackRunning()) {
            pump();
            if (rng() % 8 == 0) {
                engine.Restart();
                ++restarts;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(rng() % 3000));
        }
        engine.Stop();
        ASSERT_FALSE(engine.PlaybackRunning());
        ASSERT_EQ(engine.State(), PlayState::Idle);
        ASSERT_EQ(engine.Mode(), 0);
        ASSERT_TRUE(ui.messages.empty());
        ASSERT_EQ(engine.GetErrorText(), "");
        CheckPlayed(device, fill, plays);
        ++plays;
    }
    EXPECT_EQ(owner.offMainThread.load(), 0);
    EXPECT_EQ(owner.begins.load(), plays);
    EXPECT_EQ(owner.ends.load(), plays);
    std::printf("%d playbacks, %d restarts asked\n", plays, restarts);
}

} // namespace
} // namespace qv
