#include "generator/generator.h"
#include "generator/live_controls.h"
#include "generator_fixture.h"
#include "support/fake_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace qv {
namespace {

using test::FakeEngine;
using test::RenderMixed;
using test::SetFormat;
using test::SetSlot;

constexpr double kPi = std::numbers::pi;

// Wave1 playing a sine of amplitude 10000 at 1000 Hz, 48 kHz mono, as the engine plays it.
struct Playing {
    Playing() {
        SetFormat(g, 48000, "16", 1);
        SetSlot(g, 0, kSine, "1000", "10000", kValue, 1);
        g.PrepareGenerator();
        g.engine = &engine;
    }
    // Wave5 playing too, following Wave1 through the frequency bar's sync.
    void AddSyncedWave5(Wave5SyncSettings sync) {
        SetSlot(g, 4, kSine, "700", "1000", kValue, 1);
        g.PrepareGenerator();
        settings.freqBarSync = true;
        settings.sync = sync;
    }
    // The start of the first buffer of a restarted stream (no frames rendered yet).
    void Restart() {
        uint8_t none[1];
        g.FillOutputBuffer(none, 0, 0);
    }
    Generator g;
    FakeEngine engine;
    LiveSettings settings;
};

TEST(TransitionTest, OneClickUpGlidesGeometricallyWithoutAPhaseJump) {
    Playing p;
    RenderMixed(p.g, 100);
    StepFrequency(p.g, p.settings, 0, 120);
    EXPECT_EQ(p.g.texts.slot[0].freq, "1010");
    EXPECT_EQ(p.engine.restarts, 0);
    const auto x = RenderMixed(p.g, 12000);
    EXPECT_EQ(p.g.slots[0].freq, 1010.0);
    EXPECT_EQ(p.g.slots[0].curFreq, 1010.0);
    EXPECT_FALSE(p.g.slots[0].transition);

    // Independent phase path: 100 samples at 1000 Hz, then a frequency of 1000 r^k after the
    // k-th step, r = 1.01^(1/9599), reaching 1010 Hz at step 9599 and staying there.
    const long double r = std::pow(1.01L, 1.0L / 9599);
    long double cycles = 100 * 1000.0L / 48000;
    double largestStep = 0;
    for (int n = 0; n < 12000; ++n) {
        const double expected = 10000 * std::sin(2 * std::numbers::pi_v<long double> * cycles);
        ASSERT_NEAR(x[n], expected, 1e-4) << n; // a linear path soon drifts off
        cycles += (n + 1 < 9599 ? 1000 * std::pow(r, n + 1) : 1010.0L) / 48000;
        if (n > 0)
            largestStep = std::max(largestStep, std::fabs(x[n] - x[n - 1]));
    }
    EXPECT_LE(largestStep, 2 * 10000 * std::sin(kPi * 1010 / 48000));
}

TEST(TransitionTest, StartsWithTheStatedStepsAndTargets) {
    Playing p;
    p.engine.state = PlayState::Idle; // stopped: written into the slot at once
    StepFrequency(p.g, p.settings, 0, 120);
    WaveSlot& s = p.g.slots[0];
    EXPECT_EQ(s.freq, 1010.0);
    EXPECT_EQ(s.stepsLeft, 9600);
    EXPECT_EQ(s.samplesPerStep, 1u);
    EXPECT_DOUBLE_EQ(s.freqStepRatio, std::pow(1.01, 1.0 / 9599));
    EXPECT_TRUE(s.transition);

    // Three notches in one wheel event use a third of the time.
    p.settings.freq.transition = 0.3;
    StepFrequency(p.g, p.settings, 0, -360);
    EXPECT_EQ(p.g.texts.slot[0].freq, "1000");
    EXPECT_EQ(s.stepsLeft, 4800);

    // One equal-tempered semitone per click.
    p.settings.freq.percentMode = true;
    p.settings.freq.percent = 5.94630943592953;
    StepFrequency(p.g, p.settings, 0, 120);
    EXPECT_EQ(p.g.texts.slot[0].freq, "1059.4630943593");

    // Samples per period: 48 becomes 58, the frequency falls; the period never drops below 1.
    p.settings.freq.percentMode = false;
    s.freqUnit = kSamplesPerPeriod;
    p.g.texts.slot[0].freq = "48";
    StepFrequency(p.g, p.settings, 0, 120);
    EXPECT_EQ(p.g.texts.slot[0].freq, "58");
    EXPECT_DOUBLE_EQ(s.freq, 48000.0 / 58);
    p.g.texts.slot[0].freq = "5";
    StepFrequency(p.g, p.settings, 0, -120);
    EXPECT_EQ(p.g.texts.slot[0].freq, "1");
    // Hz never go below 0.
    s.freqUnit = kHz;
    p.g.texts.slot[0].freq = "4";
    StepFrequency(p.g, p.settings, 0, -120);
    EXPECT_EQ(p.g.texts.slot[0].freq, "0");
    EXPECT_EQ(s.freq, 0.0);
}

TEST(TransitionTest, TimeZeroChangesAfterOneSampleOrRestartsWithResetBuffer) {
    Playing p;
    p.settings.freq.transition = 0;
    RenderMixed(p.g, 10);
    StepFrequency(p.g, p.settings, 0, 120);
    RenderMixed(p.g, 1);
    EXPECT_EQ(p.g.slots[0].curFreq, 1010.0);
    EXPECT_EQ(p.engine.restarts, 0);

    p.settings.freq.resetBuffer = true;
    StepFrequency(p.g, p.settings, 0, 120);
    EXPECT_EQ(p.engine.restarts, 1);
    RenderMixed(p.g, 10);
    EXPECT_EQ(p.g.slots[0].freq, 1010.0); // recorded, not yet applied
    p.Restart();
    EXPECT_EQ(p.g.slots[0].freq, 1020.0);
    EXPECT_EQ(p.g.slots[0].curFreq, 1020.0);
}

TEST(TransitionTest, Wave5FollowsWave1ThroughTheSyncRatio) {
    Playing p;
    p.AddSyncedWave5({true, 0, 1.5});
    p.g.texts.slot[0].freq = "990";
    StepFrequency(p.g, p.settings, 0, 120);
    EXPECT_EQ(p.g.texts.slot[4].freq, "1500");
    RenderMixed(p.g, 9600);
    EXPECT_EQ(p.g.slots[0].curFreq, 1000.0);
    EXPECT_EQ(p.g.slots[4].curFreq, 1500.0);
    EXPECT_EQ(Wave5SyncFrequency({false, -20, 1}, 1000), 980.0);
    EXPECT_EQ(SyncRatio(-0.5), 0.5);
    EXPECT_EQ(SyncRatio(0), 1.0);
}

TEST(TransitionTest, ATransitionDuringASweepReplacesItsStepsAndEndsTheRun) {
    Playing p;
    SetSlot(p.g, 1, kOff, "2000", "10000", kValue, 0);
    p.g.slots[0].sweep = true;
    p.g.texts.fileLength = "10";
    p.g.PrepareGenerator();
    RenderMixed(p.g, 1000);
    StepFrequency(p.g, p.settings, 0, 120);
    EXPECT_EQ(RenderMixed(p.g, 20000).size(), 9600u);
}

TEST(TransitionTest, AmplitudeStepsThroughZeroOnAStraightLine) {
    Playing p;
    p.settings.amp.value = 15000;
    StepAmplitude(p.g, p.settings, 0, -120);
    EXPECT_EQ(p.g.texts.slot[0].amp, "-5000");
    std::vector<double> levels;
    for (int n = 0; n < 9600; ++n) {
        RenderMixed(p.g, 1);
        levels.push_back(p.g.slots[0].curAmp);
    }
    EXPECT_EQ(levels.back(), -5000.0);
    for (size_t n = 1; n + 1 < levels.size(); ++n)
        ASSERT_NEAR(levels[n - 1] - levels[n], 15000.0 / 9599, 1e-6) << n;
    EXPECT_FALSE(p.g.slots[0].sweepAmpLog);

    // From 0 a log path holds 0 until the last step sets the target.
    p.settings.amp.value = 5000;
    StepAmplitude(p.g, p.settings, 0, 120);
    RenderMixed(p.g, 9600);
    EXPECT_EQ(p.g.slots[0].curAmp, 0.0);
    p.settings.amp.value = 1000;
    StepAmplitude(p.g, p.settings, 0, 120);
    RenderMixed(p.g, 9599);
    EXPECT_EQ(p.g.slots[0].curAmp, 0.0);
    RenderMixed(p.g, 1);
    EXPECT_EQ(p.g.slots[0].curAmp, 1000.0);
}

TEST(PendingChangeTest, EditsWhilePlayingWaitForTheRestartedStream) {
    Playing p;
    SetSlot(p.g, 1, kSquare, "100", "100", kValue, 1);
    SetSlot(p.g, 2, kOff, "100", "100", kValue, 1);
    p.g.PrepareGenerator();
    RenderMixed(p.g, 50);
    p.g.texts.slot[0].freq = "440";
    EditFrequencyText(p.g, p.settings, 0);
    p.g.texts.slot[1].amp = "123";
    EditAmplitudeText(p.g, 1);
    p.g.slots[1].offsetUnit = kValue;
    p.g.texts.slot[1].offset = "7";
    EditOffsetText(p.g, 1);
    p.g.texts.slot[0].phase = "450"; // 90 degrees
    EditPhaseText(p.g, 0);
    EXPECT_EQ(p.engine.restarts, 4);
    p.g.texts.slot[2].amp = "5";
    EditAmplitudeText(p.g, 2); // an OFF slot: no restart
    EXPECT_EQ(p.engine.restarts, 4);

    EXPECT_EQ(p.g.slots[0].freq, 1000.0);
    EXPECT_EQ(p.g.slots[1].amp, 100.0);
    p.Restart();
    // Each edit lands in its own slot, amplitude and offset each with their own value.
    EXPECT_EQ(p.g.slots[0].freq, 440.0);
    EXPECT_EQ(p.g.slots[0].curFreq, 440.0);
    EXPECT_EQ(p.g.slots[0].blitLastFreq, 440.0);
    EXPECT_DOUBLE_EQ(p.g.slots[0].curPhase, kPi / 2);
    EXPECT_EQ(p.g.slots[1].amp, 123.0);
    EXPECT_EQ(p.g.slots[1].curAmp, 123.0);
    EXPECT_EQ(p.g.slots[1].offset, 7.0);
    EXPECT_EQ(p.g.slots[2].amp, 5.0);
    // The restart rewinds every oscillator: the first frame is 10000 sin 90 + 123 + 7.
    EXPECT_NEAR(RenderMixed(p.g, 1)[0], 10130.0, 1e-9);

    // Not playing: written at once, nothing to restart.
    p.engine.state = PlayState::Idle;
    p.g.texts.slot[0].freq = "250";
    EditFrequencyText(p.g, p.settings, 0);
    EXPECT_EQ(p.g.slots[0].curFreq, 250.0);
    EXPECT_EQ(p.engine.restarts, 4);
}

TEST(PendingChangeTest, LaterOfTypedValueAndTransitionWins) {
    Playing p;
    p.g.texts.slot[0].freq = "440";
    EditFrequencyText(p.g, p.settings, 0);
    StepFrequency(p.g, p.settings, 0, 120); // 450, asked for after the typed 440
    p.Restart();
    RenderMixed(p.g, 9600);
    EXPECT_EQ(p.g.slots[0].curFreq, 450.0);

    StepFrequency(p.g, p.settings, 0, 120); // 460, then typed 300 before the next sample
    p.g.texts.slot[0].freq = "300";
    EditFrequencyText(p.g, p.settings, 0);
    p.Restart();
    RenderMixed(p.g, 9600);
    EXPECT_EQ(p.g.slots[0].curFreq, 300.0);
}

TEST(PendingChangeTest, WaveFiveSyncOfATypedEditUsesItsOwnBit) {
    Playing p;
    p.AddSyncedWave5({false, 100, 1});
    p.g.texts.slot[0].freq = "500";
    EditFrequencyText(p.g, p.settings, 0);
    EXPECT_EQ(p.g.texts.slot[4].freq, "600");
    p.Restart();
    EXPECT_EQ(p.g.slots[4].freq, 600.0);
    EXPECT_EQ(p.g.slots[0].freq, 500.0);
}

TEST(LiveSettingsTest, TransitionTimeLimitsAndText) {
    EXPECT_EQ(ClampTransitionTime(-1), 0.0);
    EXPECT_EQ(ClampTransitionTime(150), 100.0);
    EXPECT_EQ(TransitionTimeText(0.123456), "0.123");
    EXPECT_EQ(TransitionTimeText(100), "100");
    EXPECT_EQ(StepValue("0xFF"), 255.0);
    EXPECT_EQ(StepValue("0.5"), 0.5);
    EXPECT_EQ(StepValue("5.94630943592953"), 5.94630943592953);
}

} // namespace
} // namespace qv
