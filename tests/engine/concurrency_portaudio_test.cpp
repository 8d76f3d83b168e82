// The engine over PortAudio's callback thread on ALSA's null device, which asks for frames as
// fast as the callback copies them: the main thread restarts and stops at random meanwhile
// (ThreadSanitizer in tools/test), and once the ring is prepared neither the playback thread nor
// the callback allocates.
#ifdef QV_HAVE_PORTAUDIO
#include "engine/portaudio/portaudio_catalog.h"
#include "engine/wave_play_rec.h"
#include "engine_fixture.h"
#include "generator/allocation_counter.h"
#include "support/fake_owners.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

namespace qv {
namespace {

constexpr EngineSettings kAlsa{.driverType = PlayDriverType::Alsa};

// ALSA's null device as the default, in a configuration of the test's own (nothing of the
// machine's), read when PortAudio is initialised.
void UseAlsaNullDevice() {
    std::ofstream("/tmp/qv_tests_alsa_null.conf") << "pcm.!default { type null }\n";
    setenv("ALSA_CONFIG_PATH", "/tmp/qv_tests_alsa_null.conf", 1);
}

TEST(ConcurrencyTest, PortAudioPlaysWhileTheMainThreadRestartsAndStops) {
    UseAlsaNullDevice();
    PortAudioCatalog catalog;
    std::mt19937 rng(2026);
    test::MainThreadOwner owner;
    const auto end =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(test::StressSeconds());
    int plays = 0;
    while (std::chrono::steady_clock::now() < end || plays < 2) {
        test::RecordingUi ui;
        test::CounterFill fill;
        WavePlayRec engine(owner, ui, fill.Bind(), kAlsa);
        engine.AttachCatalog(&catalog);
        engine.SetPlayBuffers(2 + int(rng() % 6), 256 * (1 + int(rng() % 4)), 0, 0, 0);
        ASSERT_EQ(engine.SetSource(test::StreamFormat(16, 2)), EngineOutcome::Done);
        if (rng() % 4 == 0) // some signals end by themselves
            fill.limitBytes = 256 * (rng() % 40);
        ASSERT_TRUE(engine.Play(int(rng() % 2), false, 0, true)) << engine.GetErrorText();
        const auto playEnd =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(50 + rng() % 250);
        while (std::chrono::steady_clock::now() < playEnd && engine.PlaybackRunning()) {
            owner.PumpMessages();
            if (rng() % 8 == 0)
                engine.Restart();
            std::this_thread::sleep_for(std::chrono::microseconds(rng() % 3000));
        }
        engine.Stop();
        ASSERT_EQ(engine.GetErrorText(), "");
        ASSERT_TRUE(ui.messages.empty());
        ++plays;
    }
    EXPECT_EQ(owner.ends.load(), plays);
}

// Also the output latency PortAudio reports: the device's default, then as the setting asks.
TEST(ConcurrencyTest, PortAudioPathAllocatesNothingOnceTheRingIsPrepared) {
    UseAlsaNullDevice();
    PortAudioCatalog catalog;
    const int asked[] = {0, 10, 100};
    double reported[3] = {};
    for (int i = 0; i < 3; ++i) {
        test::CountingOwner owner;
        test::RecordingUi ui;
        test::CounterFill fill;
        fill.beforeFill = [](int) { test::countingAllocations = true; }; // the ring is ready
        WavePlayRec engine(owner, ui, fill.Bind(), kAlsa);
        engine.AttachCatalog(&catalog);
        engine.SetWasapiLatency(asked[i]);
        engine.SetPlayBuffers(4, 4096, 0, 0, 0);
        ASSERT_EQ(engine.SetSource(test::StreamFormat(24, 2)), EngineOutcome::Done);
        test::allocationCount = 0;
        ASSERT_TRUE(engine.Play(0, false, 0, true)) << engine.GetErrorText();
        const bool started = test::WaitUntil(
            [&] { return engine.State() == PlayState::Playing && fill.calls > 12; });
        reported[i] = catalog.OutputLatency(PlayDriverType::Alsa);
        engine.Restart();
        const bool refilled = test::WaitUntil([&] { return fill.zeroBlocks >= 2; });
        engine.Stop();
        test::countingAllocations = false;
        EXPECT_TRUE(started && refilled);
        EXPECT_EQ(test::allocationCount.load(), 0) << asked[i] << " ms";
        EXPECT_EQ(engine.GetErrorText(), "");
        std::printf("latency %3d ms asked: %.1f ms\n", asked[i], reported[i] * 1000);
    }
    EXPECT_GT(reported[1], 0.0);
    EXPECT_GT(reported[2], reported[1]);
}

} // namespace
} // namespace qv
#endif
