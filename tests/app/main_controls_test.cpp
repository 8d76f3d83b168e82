#include "app/main_controls.h"
#include "files/param_file.h"
#include "generator/generator.h"
#include "platform/language.h"
#include "support/fake_engine.h"
#include "support/fake_ui.h"
#include "support/memory_ini.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace qv {
namespace {

const char* const kSineJa = "\xBB\xB2\xDD\x94g"; // ｻｲﾝ波

TEST(MainControlsTest, AJapaneseFileUnderTheEnglishInterfaceSelectsOffAndNone) {
    ParamSet set(kJapanese);
    set.texts.Set("Wave5", "Waveform", "\x8B\xE9\x8C`\x94g"); // 矩形波
    set.texts.Set("Wave5", "BandLimitType", "\x89\xC1\x8EZ"); // 加算
    set.texts.Set("Wave5", "Freq", "440");
    for (int lang : {kJapanese, kEnglish}) {
        Generator g;
        MainControls c(g, lang);
        c.ApplyParamTable(set);
        EXPECT_EQ(g.slots[0].waveform, lang == kJapanese ? kSine : kOff);
        EXPECT_EQ(g.slots[4].waveform, lang == kJapanese ? kSquare : kOff);
        EXPECT_EQ(c.Selected(4, SlotControl::BandLimit), lang == kJapanese ? 1 : 0);
        EXPECT_EQ(g.slots[4].freq, 440.0); // everything else loads unchanged
    }
}

TEST(MainControlsTest, AFileWithoutWave1sWaveformPlaysASineInEitherLanguage) {
    test::MemoryIni empty;
    for (int lang : {kJapanese, kEnglish}) {
        ParamSet set(lang);
        LoadParamFile(empty, set);
        Generator g;
        MainControls(g, lang).ApplyParamTable(set);
        EXPECT_EQ(g.slots[0].waveform, kSine);
    }
}

TEST(MainControlsTest, ItemsKeywordsAndNumbersOfTheEdgeCases) {
    ParamSet set(kEnglish);
    auto& t = set.texts;
    t.Set("Misc", "Ch", "4ch");
    t.Set("Wave1", "OutCh", "L+R"); // not offered with four channels
    t.Set("Wave2", "OutCh", "3ch");
    t.Set("Wave1", "SweepStep", "Smooth");
    t.Set("Wave5", "SweepStep", "7");
    t.Set("Wave1", "ModulatingSignal", "4");
    t.Set("Wave1", "SweepPhase", "Down");
    t.Set("Wave1", "ModulationType", "pm"); // keywords match exactly
    t.Set("Wave5", "GateOnPeriod", "4.5");
    t.Set("Wave5", "GateOffPeriod", "1");
    t.Set("Wave6", "Gate", "-3");
    t.Set("Wave1", "Delay", "-12");
    t.Set("Wave1", "Phase", "405");
    t.Set("Misc", "SampleNforFit", "5000");
    Generator g;
    MainControls c(g, kEnglish);
    c.ApplyParamTable(set);
    EXPECT_EQ(g.slots[0].outChMask, 0u);
    EXPECT_EQ(g.slots[1].outChMask, 4u);
    EXPECT_EQ(g.slots[0].sweepStepRate, kSmoothSweep);
    EXPECT_EQ(g.slots[4].sweepStepRate, kSmoothSweep);
    EXPECT_EQ(g.slots[0].modulatingSignal, 2);
    EXPECT_EQ(g.slots[0].sweepPhase, 2);
    EXPECT_EQ(g.slots[0].modulationType, 0);
    EXPECT_EQ(g.slots[4].gateOnHalfWaves, 9u);
    EXPECT_TRUE(g.slots[4].gate);
    EXPECT_TRUE(c.Enabled(5, SlotControl::FollowerGate));
    EXPECT_FALSE(c.Enabled(1, SlotControl::FollowerGate));
    EXPECT_TRUE(g.slots[5].gate);
    EXPECT_EQ(g.slots[0].delay, -12);
    EXPECT_DOUBLE_EQ(g.slots[0].phase, std::acos(0.0) / 2); // 45 degrees
    EXPECT_EQ(c.FitItem(), " 2048");

    t.Set("Wave1", "SweepStep", "3");
    t.Set("Wave1", "ModulatingSignal", "5");
    c.ApplyParamTable(set);
    EXPECT_EQ(g.slots[0].sweepStepRate, 3u);
    EXPECT_EQ(g.slots[0].modulatingSignal, 4);

    // What the controls show goes back into a set as the same texts.
    ParamSet saved(kEnglish);
    c.CaptureParamTable(saved);
    EXPECT_EQ(saved.texts.Get("Wave5", "GateOnPeriod"), "4.5");
    EXPECT_EQ(saved.texts.Get("Wave1", "OutCh"), "OFF");
    EXPECT_EQ(saved.texts.Get("Wave1", "SweepStep"), "3");
    EXPECT_EQ(saved.texts.Get("Wave5", "SweepStep"), "Smooth");
    EXPECT_EQ(saved.texts.Get("Wave1", "ModulationType"), "AM");
    EXPECT_EQ(saved.texts.Get("Wave6", "Gate"), "1");
    for (const ParamKey& k : ParamTextTable::Keys()) {
        const std::string& before = t.Get(k.section, k.key);
        const std::string& after = saved.texts.Get(k.section, k.key);
        if (k.key != "OutCh" && k.key != "ModulationType" && k.key != "Gate" &&
            !(k.section == "Wave5" && k.key == "SweepStep") &&
            !(k.section == "Wave1" && k.key == "ModulatingSignal")) {
            EXPECT_EQ(after, before) << k.section << "." << k.key;
        }
    }
}

TEST(MainControlsTest, UnitChangesReExpressTheSameLevel) {
    ParamSet set(kEnglish);
    set.texts.Set("Misc", "BitLen", "24");
    set.texts.Set("Wave1", "Amp", "-20");
    set.texts.Set("Wave2", "Waveform", "square");
    set.texts.Set("Wave2", "Amp", "0");
    Generator g;
    MainControls c(g, kEnglish);
    c.ApplyParamTable(set);
    // dB texts mean levels of the 24-bit full scale.
    EXPECT_DOUBLE_EQ(g.slots[0].amp, 8388607.0 / 10);
    c.OnAmpUnit(0, kPercent);
    c.OnAmpUnit(1, kPercent);
    EXPECT_EQ(g.texts.slot[0].amp, "10");
    EXPECT_EQ(g.texts.slot[1].amp, "100");
    EXPECT_EQ(c.AmpLabel(0), "%");
    EXPECT_EQ(c.AmpList(0).front(), std::string("100"));
    EXPECT_DOUBLE_EQ(g.slots[0].amp, 8388607.0 / 10);
    c.OnAmpUnit(0, kValue);
    EXPECT_EQ(g.texts.slot[0].amp, "3276.799609375"); // 838860.7 / 256
    EXPECT_EQ(c.AmpLabel(0), "val");

    c.OnFreqUnit(0, kSamplesPerPeriod);
    EXPECT_EQ(g.texts.slot[0].freq, "44.1");
    EXPECT_FALSE(c.HasFreqMenu(0));
    EXPECT_FALSE(c.Enabled(0, SlotControl::FreqBarButton));
    EXPECT_EQ(c.FreqList(0).size(), 27u);
    c.OnFreqUnit(0, kHz);
    EXPECT_EQ(g.texts.slot[0].freq, "1000");
    EXPECT_EQ(c.FreqList(0).size(), 41u);
    EXPECT_TRUE(c.Enabled(0, SlotControl::FreqBarButton));
}

TEST(MainControlsTest, WaveformHandlersEnableAndHideTheirControls) {
    Generator g;
    MainControls c(g, kEnglish);
    c.OnWaveform(0, kUserWave);
    EXPECT_FALSE(c.Visible(0, SlotControl::BandLimit));
    EXPECT_FALSE(c.Enabled(0, SlotControl::Freq));
    EXPECT_FALSE(c.Enabled(0, SlotControl::Phase));
    EXPECT_TRUE(c.Enabled(0, SlotControl::Modulation));
    EXPECT_FALSE(c.Enabled(0, SlotControl::Sweep));
    EXPECT_EQ(c.Hint(0, SlotControl::Waveform), "User wave not registered");
    c.OnWaveform(0, kWhiteNoise);
    EXPECT_TRUE(c.Visible(0, SlotControl::BandLimit));
    EXPECT_FALSE(c.Enabled(0, SlotControl::Freq));
    EXPECT_FALSE(c.Enabled(0, SlotControl::Modulation));
    EXPECT_TRUE(c.Enabled(0, SlotControl::Sweep));
    EXPECT_FALSE(c.SweepFreqItemsEnabled(0));
    c.OnWaveform(0, kTriangle);
    EXPECT_TRUE(c.Enabled(0, SlotControl::Freq) && c.Enabled(0, SlotControl::Phase) &&
                c.Enabled(0, SlotControl::Delay));
    c.SetControlsForRun(false);
    EXPECT_FALSE(c.Enabled(0, SlotControl::Sweep) || c.Enabled(0, SlotControl::Delay));
    c.SetControlsForRun(true);
    EXPECT_TRUE(c.Enabled(0, SlotControl::Sweep));
    c.OnWaveform(1, 10); // followers offer ten items
    EXPECT_EQ(g.slots[1].waveform, kMlsNoise);
    EXPECT_FALSE(c.Enabled(1, SlotControl::Freq));

    // A frequency above half the sample rate shows red.
    c.OnFrequencyText(0, "30000");
    EXPECT_TRUE(c.Red(0, SlotControl::Freq));
    EXPECT_EQ(c.WaveformList(1).size(), 10u);
    EXPECT_EQ(std::string(c.WaveformList(4)[1]), "sine");
    // The frequency menu: FFT fit and multiples, applied like typed frequencies.
    Generator f;
    MainControls cf(f, kEnglish);
    f.texts.sampleRate = "48000";
    f.ApplyOutputFormat();
    cf.OnFitToFft(0);
    EXPECT_EQ(f.texts.slot[0].freq, "996.09375");
    EXPECT_EQ(f.slots[0].freq, 996.09375);
    cf.OnMultipleOfMaster(2, 3);
    EXPECT_EQ(f.texts.slot[2].freq, "2988.28125");
    EXPECT_EQ(f.slots[2].freq, 2988.28125);
    cf.CycleFreqUnit(2);
    EXPECT_EQ(f.slots[2].freqUnit, kSamplesPerPeriod);
    cf.OnMultipleOfMaster(2, 5); // no menu in samples per period
    EXPECT_EQ(f.slots[2].freq, 2988.28125);
    cf.CycleAmpUnit(0);
    cf.CycleAmpUnit(0);
    EXPECT_EQ(f.slots[0].ampUnit, kPercent);
    cf.CycleAmpUnit(0);
    EXPECT_EQ(f.slots[0].ampUnit, kDb);
    EXPECT_EQ(f.texts.slot[0].amp, "-10");

    Generator j;
    MainControls cj(j, kJapanese);
    EXPECT_EQ(std::string(cj.WaveformList(0)[1]), kSineJa);
}

TEST(MainControlsTest, AFrequencyTypedWhilePlayingWaitsForTheRestartItAsksFor) {
    Generator g;
    test::FakeEngine engine;
    g.engine = &engine;
    MainControls c(g, kEnglish);
    g.PrepareGenerator();
    c.OnFrequencyText(0, "440");
    EXPECT_EQ(engine.restarts, 1);
    EXPECT_EQ(g.slots[0].freq, 1000.0); // recorded, not yet playing
    EXPECT_EQ(c.Text(0, SlotControl::Freq), "440");
    std::vector<uint8_t> block(g.BlockBytes());
    g.FillOutputBuffer(block.data(), static_cast<uint32_t>(block.size()), 0);
    EXPECT_EQ(g.slots[0].freq, 440.0);
}

TEST(MainControlsTest, ATypedRateWaitsForItsCommitWhereItsLimitBeeps) {
    Generator g;
    test::RecordingUi ui;
    g.ui = &ui;
    MainControls c(g, kEnglish);
    // "48000" typed over the selected "44100", a keystroke at a time: nothing is limited or
    // written back under the caret, and the format waits.
    for (const char* typed : {"4", "48", "480", "4800", "48000"}) {
        c.OnSampleRateText(typed);
        EXPECT_EQ(c.ToolbarText(ToolbarControl::SampleRate), typed);
        EXPECT_EQ(g.format.sampleRate, 44100u);
    }
    c.CommitEntries();
    EXPECT_EQ(g.format.sampleRate, 48000u);
    EXPECT_EQ(ui.beeps, 0);
    const std::pair<const char*, const char*> commits[] = {{"500", "1000"}, {"fast", "1000"}};
    for (const auto& [typed, shown] : commits) {
        c.OnSampleRateText(typed);
        c.CommitEntries();
        EXPECT_EQ(c.ToolbarText(ToolbarControl::SampleRate), shown) << typed;
    }
    EXPECT_EQ(ui.beeps, 2);
    c.OnSampleRateItem(4); // a list choice is taken at once
    EXPECT_EQ(g.format.sampleRate, 48000u);
}

TEST(MainControlsTest, ATypedTextThatIsNoUsableNumberKeepsTheValueInForce) {
    using C = SlotControl;
    const struct {
        int slot;
        C control;
        void (MainControls::*handler)(int, std::string_view);
    } boxes[] = {
        {0, C::Freq, &MainControls::OnFrequencyText}, {2, C::Amp, &MainControls::OnAmplitudeText},
        {4, C::Offset, &MainControls::OnOffsetText},  {0, C::Phase, &MainControls::OnPhaseText},
        {4, C::Delay, &MainControls::OnDelayText},    {0, C::GateOn, &MainControls::OnGateOnText}};
    for (const auto& box : boxes) {
        for (const char* typed : {"abc", "1e999", "-", ""}) {
            if (box.control == C::Delay && typed == std::string("1e999"))
                continue; // an integer: 1 sample
            Generator g;
            test::RecordingUi ui;
            g.ui = &ui;
            MainControls c(g, kEnglish);
            c.OnAmpUnit(2, kPercent); // 1e999 % would be beyond a double
            const std::string before = c.Text(box.slot, box.control);
            const WaveSlot was = g.slots[box.slot];
            (c.*box.handler)(box.slot, typed);
            EXPECT_EQ(c.Text(box.slot, box.control), typed);
            EXPECT_EQ(c.Red(box.slot, box.control), box.control == C::Freq);
            EXPECT_EQ(g.slots[box.slot].freq, was.freq);
            EXPECT_EQ(g.slots[box.slot].amp, was.amp);
            EXPECT_EQ(g.slots[box.slot].offset, was.offset);
            EXPECT_EQ(g.slots[box.slot].delay, was.delay);
            EXPECT_EQ(g.slots[box.slot].gateOnHalfWaves, was.gateOnHalfWaves);
            c.CommitEntries();
            EXPECT_EQ(c.Text(box.slot, box.control), before);
            EXPECT_FALSE(c.Red(box.slot, box.control));
            EXPECT_EQ(ui.beeps, 1);
        }
    }
}

TEST(MainControlsTest, NothingBeyondADoubleReachesTheGenerator) {
    Generator g;
    test::RecordingUi ui;
    g.ui = &ui;
    MainControls c(g, kEnglish);
    LiveSettings live = c.Live();
    live.sync.ratio = 1e308;
    live.freq.value = 1e308;
    c.SetLiveSettings(live);
    c.SetFreqBarSync(true);
    c.OnFrequencyText(0, "2000"); // Wave5 would be 2e311 Hz: it stays
    EXPECT_EQ(g.slots[4].freq, 1000.0);
    c.OnFreqStep(0, 120), c.OnFreqStep(0, 120); // Wave5 stays; the second step would overflow
    ParamSet set(kEnglish);                     // and from a file, the limited or unparsed value
    set.texts.Set("Wave3", "Freq", "1e999");
    set.texts.Set("Wave3", "Amp", "1e999");
    set.texts.Set("Wave3", "AmpUnit", "percent");
    set.texts.Set("Wave1", "Phase", "1e999");
    set.texts.Set("File", "Length", "1e999");
    Generator h;
    MainControls(h, kEnglish).ApplyParamTable(set);
    h.PrepareGenerator();
    for (const Generator* gen : {&g, &h}) {
        for (const WaveSlot& s : gen->slots) {
            EXPECT_TRUE(std::isfinite(s.freq) && std::isfinite(s.amp) && std::isfinite(s.phase));
        }
    }
    EXPECT_EQ(ui.beeps, 3);
}

TEST(MainControlsTest, TheChangeRecordNamesExactlyWhatAUnitSwitchTouched) {
    using C = SlotControl;
    struct Case {
        int slot;
        void (MainControls::*handler)(int, int);
        int unit;
        std::vector<C> touched;
        bool barSync;
    };
    const Case cases[] = {
        {2, &MainControls::OnAmpUnit, kPercent, {C::Amp}, false},
        {6, &MainControls::OnOffsetUnit, kValue, {C::Offset}, false},
        {0, &MainControls::OnFreqUnit, kSamplesPerPeriod, {C::Freq, C::FreqBarButton}, false},
        {4, &MainControls::OnFreqUnit, kSamplesPerPeriod, {C::Freq}, true},
    };
    for (const Case& k : cases) {
        Generator g;
        MainControls c(g, kEnglish);
        EXPECT_FALSE(c.TakeChanges().Any());
        (c.*k.handler)(k.slot, k.unit);
        const ControlChanges changes = c.TakeChanges();
        for (int i = 0; i < kSlotCount; ++i) {
            for (int n = 0; n < static_cast<int>(C::Count); ++n) {
                const bool expected = i == k.slot && std::find(k.touched.begin(), k.touched.end(),
                                                               C(n)) != k.touched.end();
                EXPECT_EQ(changes.Has(i, C(n)), expected) << k.slot << " " << i << " " << n;
            }
        }
        EXPECT_EQ(changes.toolbar, k.barSync ? 1u << int(ToolbarControl::FreqBarSync) : 0u);
        EXPECT_FALSE(c.TakeChanges().Any());
    }
}

} // namespace
} // namespace qv
