// One thread renders as the engine's playback thread does while this one edits, steps, restarts
// and reads the display's capture as the user's window does. Built with ThreadSanitizer in CI; natively it checks that every
// restarted stream starts from the edits recorded before it.
#include "display/scope_capture.h"
#include "generator/generator.h"
#include "generator/live_controls.h"
#include "generator_fixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <random>
#include <string>
#include <thread>

namespace qv {
namespace {

// The engine's side: Restart numbers its requests and raises the flag that the render loop
// turns into block index 0.
class StressEngine : public PlaybackControl {
public:
    PlayState State() const override { return PlayState::Playing; }
    void Restart() override {
        requests.fetch_add(1, std::memory_order_release);
        restartFlag.store(true, std::memory_order_release);
    }
    std::atomic<uint32_t> requests{0};
    std::atomic<bool> restartFlag{false};
};

struct RenderLoop {
    RenderLoop(Generator& g, StressEngine& engine) : g(g), engine(engine) {}

    void Run() {
        std::vector<uint8_t> block(g.BlockBytes());
        uint32_t blockIndex = 1;
        while (!stop.load(std::memory_order_relaxed)) {
            uint32_t seen = 0;
            const bool restart = engine.restartFlag.exchange(false, std::memory_order_acquire);
            if (restart) {
                seen = engine.requests.load(std::memory_order_acquire);
                blockIndex = 0;
            }
            g.FillOutputBuffer(block.data(), static_cast<uint32_t>(block.size()), blockIndex++);
            if (restart) {
                firstLeft.store(static_cast<int16_t>(block[0] | block[1] << 8));
                applied.store(seen, std::memory_order_release);
            }
            ++blocks;
        }
    }

    Generator& g;
    StressEngine& engine;
    std::atomic<bool> stop{false};
    std::atomic<uint32_t> applied{0}; // the last request number a restart has taken in
    std::atomic<int> firstLeft{0};    // Wave1's first sample after that restart
    uint64_t blocks = 0;
};

double StressSeconds() {
    const char* text = std::getenv("QV_STRESS_SECONDS");
    return text ? std::atof(text) : 3.0;
}

TEST(ConcurrencyTest, EditsStepsAndRestartsWhileRendering) {
    Generator g;
    test::SetFormat(g, 48000, "16", 2);
    test::SetSlot(g, 0, kSine, "1000", "10000", kValue, 1); // Wave1 alone on the left
    test::SetSlot(g, 4, kSquare, "300", "-20", kDb, 2);     // everything else on the right
    test::SetSlot(g, 6, kSine, "5", "-10", kDb, 0);         // Wave5's modulator
    test::SetSlot(g, 1, kTriangle, "440", "-20", kDb, 2);
    g.PrepareGenerator();
    StressEngine engine;
    g.engine = &engine;
    LiveSettings settings;
    RenderLoop loop(g, engine);
    std::thread render([&] { loop.Run(); });

    std::mt19937 rng(12345);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
    auto number = [&](double lo, double hi) {
        return std::to_string(lo + (hi - lo) * (rng() % 100000) / 100000.0);
    };
    const int followers[] = {1, 2, 3, 5, 6, 7};
    const int waveforms[] = {kOff, kSine, kSquare, kTriangle, kSawtooth, kPulse, kWhiteNoise};

    int checkpoints = 0, operations = 0;
    const auto end =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(StressSeconds());
    while (std::chrono::steady_clock::now() < end) {
        ++operations;
        const int master = pick(2) * 4;
        switch (pick(8)) {
        case 0: { // direct edits of a follower, Wave5's band limit or modulation
            const int f = followers[pick(6)];
            g.slots[f].waveform = waveforms[pick(7)];
            g.slots[f].gate = pick(2) == 1;
            g.slots[f].outChMask = f == 6 ? 0u : 2u;
            g.slots[4].bandLimitType = pick(3);
            g.slots[4].modulation = pick(2) == 1;
            g.slots[4].modulationType = pick(5);
            g.RequestRestart(f, true);
            break;
        }
        case 1:
            settings.freq = {pick(2) == 1, 10, 5, pick(3) * 0.01, pick(2) == 1, pick(2) == 1};
            settings.freqBarSync = pick(2) == 1;
            StepFrequency(g, settings, master, pick(2) ? 120 : -240);
            break;
        case 2:
            settings.amp = {pick(2) == 1, 500, 5, pick(3) * 0.01, pick(2) == 1, pick(2) == 1};
            StepAmplitude(g, settings, master, pick(2) ? 120 : -120);
            break;
        case 3: {
            const int s = pick(8);
            g.texts.slot[s].freq = number(20, 5000);
            EditFrequencyText(g, settings, s);
            break;
        }
        case 4: {
            const int s = pick(8);
            g.texts.slot[s].amp = number(-60, -6);
            EditAmplitudeText(g, s);
            g.texts.slot[s].offset = number(-1, 1);
            EditOffsetText(g, s);
            break;
        }
        case 5:
            g.texts.slot[master].phase = number(0, 720);
            EditPhaseText(g, master);
            break;
        case 6: { // the display reads the latest block, then a pause
            ScopeCapture capture;
            ReadScopeCapture(g, 4096, 2, capture);
            for (size_t i = 0; i < capture.a.size(); ++i)
                ASSERT_LE(std::abs(capture.a[i]), 32768) << i;
            ASSERT_FALSE(capture.meters[1].empty());
            std::this_thread::sleep_for(std::chrono::microseconds(pick(2000)));
            break;
        }
        default: { // checkpoint: typed values of Wave1, then the restart that takes them in
            const double f = 20 + pick(4000), a = 1000 + pick(20000), o = pick(200) - 100.0;
            const double degrees = pick(360);
            g.texts.slot[0].freq = std::to_string(f);
            EditFrequencyText(g, settings, 0);
            g.texts.slot[0].amp = std::to_string(a);
            EditAmplitudeText(g, 0);
            g.slots[0].offsetUnit = kValue;
            g.texts.slot[0].offset = std::to_string(o);
            EditOffsetText(g, 0);
            g.texts.slot[0].phase = std::to_string(degrees);
            EditPhaseText(g, 0);
            const uint32_t mine = engine.requests.load();
            while (loop.applied.load(std::memory_order_acquire) < mine)
                std::this_thread::yield();
            const WaveSlot& s = g.slots[0];
            ASSERT_EQ(s.freq, f);
            ASSERT_EQ(s.curFreq, f);
            ASSERT_EQ(s.amp, a);
            ASSERT_EQ(s.curAmp, a);
            ASSERT_EQ(s.offset, o);
            const double radians = degrees * 2.0 * std::numbers::pi / 360.0;
            ASSERT_EQ(s.phase, radians);
            ASSERT_EQ(loop.firstLeft.load(), std::floor(o + a * std::sin(radians) + 0.5))
                << "checkpoint " << checkpoints;
            ++checkpoints;
            break;
        }
        }
    }
    loop.stop = true;
    render.join();
    EXPECT_GT(checkpoints, 10);
    RecordProperty("operations", operations);
    RecordProperty("checkpoints", checkpoints);
    RecordProperty("blocks", static_cast<int>(loop.blocks));
    std::printf("%d operations, %d checkpoints, %llu blocks rendered\n", operations, checkpoints,
                static_cast<unsigned long long>(loop.blocks));
}

} // namespace
} // namespace qv
