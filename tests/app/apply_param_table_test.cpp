#include "app/apply_param_table.h"
#include "app/main_controls.h"
#include "cli/set_option.h"
#include "files/param_file.h"
#include "files/param_text_table.h"
#include "generator/generator.h"
#include "platform/language.h"
#include "support/memory_ini.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>

namespace qv {
namespace {

TEST(ApplyParamTableTest, TheDefaultSetIsA1kHzSineAtMinus10DbOnBothChannels) {
    for (int lang : {kEnglish, kJapanese}) {
        Generator g;
        ApplyParamTable(ParamTextTable(lang), g, lang);
        EXPECT_EQ(g.format.sampleRate, 44100u);
        EXPECT_EQ(g.format.bitCode, 16);
        EXPECT_EQ(g.format.channels, 2);
        EXPECT_EQ(g.slots[0].waveform, kSine);
        EXPECT_EQ(g.slots[0].freq, 1000.0);
        EXPECT_DOUBLE_EQ(g.slots[0].amp, 32767.0 * std::pow(10.0, -0.5));
        EXPECT_EQ(g.slots[0].outChMask, 3u);
        EXPECT_EQ(g.slots[0].offsetUnit, kPercent);
        for (int i = 1; i < kSlotCount; ++i)
            EXPECT_EQ(g.slots[i].waveform, kOff);
        EXPECT_EQ(g.SweepLengthSeconds(), 10.0);
    }
}

TEST(ApplyParamTableTest, ItemTextsAreMatchedInTheInterfaceLanguage) {
    ParamTextTable t(kEnglish);
    t.Set("Wave1", "Waveform", "square");
    t.Set("Wave2", "Waveform", "user wave"); // followers offer only the first ten items
    t.Set("Wave5", "Waveform", "user wave");
    t.Set("Wave5", "BandLimitType", "Add.");
    Generator g;
    ApplyParamTable(t, g, kEnglish);
    EXPECT_EQ(g.slots[0].waveform, kSquare);
    EXPECT_EQ(g.slots[1].waveform, kOff);
    EXPECT_EQ(g.slots[4].waveform, kUserWave);
    EXPECT_EQ(g.slots[4].bandLimitType, 1);
    // The same English texts mean nothing to the Japanese interface.
    ApplyParamTable(t, g, kJapanese);
    EXPECT_EQ(g.slots[0].waveform, kOff);
    EXPECT_EQ(g.slots[4].bandLimitType, 0);
    // Shift-JIS item texts select under the Japanese interface.
    t.Set("Wave1", "Waveform", "\x8B\xE9\x8C`\x94g"); // 矩形波
    ApplyParamTable(t, g, kJapanese);
    EXPECT_EQ(g.slots[0].waveform, kSquare);
}

TEST(ApplyParamTableTest, FormatUnitsAndChannels) {
    ParamTextTable t(kEnglish);
    std::string error;
    for (const char* o :
         {"misc.samplingfreq=48000", "Misc.BitLen=24",         "Misc.Ch=4ch",
          "Wave1.OutCh=ALL",         "Wave2.Waveform=pulse",   "Wave2.OutCh=3ch",
          "Wave2.Freq=480",          "Wave2.FreqUnit=Samples", "Wave2.Amp=0x3FFF",
          "Wave2.AmpUnit=value",     "Wave2.Offset=-3",        "Wave2.OffsetUnit=dB",
          "Wave3.Waveform=sine",     "Wave3.OutCh=L+R",        "Wave1.Phase=450",
          "Wave1.Delay=-12",         "Wave1.GateOnPeriod=1.5", "Wave1.GateOffPeriod=2",
          "Wave1.SweepStep=3",       "Wave5.SweepStep=7",      "Wave1.ModulatingSignal=5"}) {
        ASSERT_TRUE(ApplySetOption(t, o, error)) << error;
    }
    Generator g;
    ApplyParamTable(t, g, kEnglish);
    EXPECT_EQ(g.format.sampleRate, 48000u);
    EXPECT_EQ(g.format.bitCode, 24);
    EXPECT_EQ(g.format.channels, 4);
    EXPECT_EQ(g.slots[0].outChMask, 255u);
    EXPECT_EQ(g.slots[1].waveform, kPulse);
    EXPECT_EQ(g.slots[1].outChMask, 4u);
    EXPECT_EQ(g.slots[1].freq, 100.0);
    EXPECT_EQ(g.slots[1].amp, 16383.0 * 256);
    EXPECT_DOUBLE_EQ(g.slots[1].offset, 8388607.0 * std::pow(10.0, -3.0 / 20));
    EXPECT_EQ(g.slots[2].outChMask, 0u); // "L+R" is not an item with four channels
    EXPECT_DOUBLE_EQ(g.slots[0].phase, std::numbers::pi / 2);
    EXPECT_EQ(g.slots[0].delay, -12);
    EXPECT_EQ(g.slots[0].gateOnHalfWaves, 3u);
    EXPECT_EQ(g.slots[0].gateOffHalfWaves, 4u);
    EXPECT_TRUE(g.slots[0].gate);
    EXPECT_EQ(g.slots[0].sweepStepRate, 3u);
    EXPECT_EQ(g.slots[4].sweepStepRate, kSmoothSweep);
    EXPECT_EQ(g.slots[0].modulatingSignal, 4);
}

TEST(ApplyParamTableTest, TypedTextsComeBackReExpressedInTheirUnits) {
    struct Case {
        const char *key, *unitKey, *unit, *typed, *saved;
    };
    const Case cases[] = {
        {"Freq", "FreqUnit", "Hz", "1e3", "1000"},
        {"Freq", "FreqUnit", "Hz", "-1000", "1000"},
        {"Freq", "FreqUnit", "Samples", "0", "1"},
        {"Freq", "FreqUnit", "Samples", "96.0", "96"},
        {"Amp", "AmpUnit", "value", "0x3FFF", "16383"},
        {"Amp", "AmpUnit", "dB", "-6.000", "-6"},
        {"Amp", "AmpUnit", "dB", "2000", "1000"},
        {"Offset", "OffsetUnit", "percent", "+50%", "50"},
        {"Offset", "OffsetUnit", "value", "abc", "0"},
    };
    for (const Case& c : cases) {
        ParamSet set(kEnglish);
        set.texts.Set("Misc", "SamplingFreq", "48000");
        set.texts.Set("Wave2", c.unitKey, c.unit);
        set.texts.Set("Wave2", c.key, c.typed);
        Generator g;
        MainControls controls(g, kEnglish);
        controls.ApplyParamTable(set);
        ParamSet saved(kEnglish);
        controls.CaptureParamTable(saved);
        EXPECT_EQ(saved.texts.Get("Wave2", c.key), c.saved) << c.key << " " << c.typed;
    }
}

TEST(ApplyParamTableTest, ARateBeyondTheLimitIsLoweredInTheTextToo) {
    for (const auto& [typed, rate, shown] :
         {std::tuple{"9000000", 8388607u, "8388607"}, std::tuple{"8388607", 8388607u, "8388607"},
          std::tuple{"999", 1000u, "1000"}}) {
        ParamTextTable t(kEnglish);
        t.Set("Misc", "SamplingFreq", typed);
        Generator g;
        ApplyParamTable(t, g, kEnglish);
        EXPECT_EQ(g.format.sampleRate, rate);
        EXPECT_EQ(g.texts.sampleRate, shown);
    }
}

TEST(ApplyParamTableTest, EveryKeyOfAFullFileComesBackFromTheControlsAsLoaded) {
    using F = ParamField;
    const std::map<F, std::string> texts = {{F::Length, "2.5"},
                                            {F::Comment, "a comment"},
                                            {F::SamplingFreq, "48000"},
                                            {F::BitLen, "24"},
                                            {F::Ch, "4ch"},
                                            {F::SampleNforFit, "8192"},
                                            {F::FreqUpDownType, "percent"},
                                            {F::FreqUpDownValue, "20"},
                                            {F::FreqUpDownPercent, "7"},
                                            {F::FreqUpDownTransition, "0.5"},
                                            {F::FreqUpDownResetBuffer, "1"},
                                            {F::FreqUpDownLog, "0"},
                                            {F::AmpUpDownType, "percent"},
                                            {F::AmpUpDownValue, "3"},
                                            {F::AmpUpDownPercent, "9"},
                                            {F::AmpUpDownTransition, "1.5"},
                                            {F::AmpUpDownResetBuffer, "1"},
                                            {F::AmpUpDownLog, "0"},
                                            {F::Wave5SyncType, "diff"},
                                            {F::Wave5SyncDiff, "3"},
                                            {F::Wave5SyncRatio, "2"},
                                            {F::Waveform, "square"},
                                            {F::Freq, "96"},
                                            {F::FreqUnit, "Samples"},
                                            {F::Amp, "-6"},
                                            {F::AmpUnit, "dB"},
                                            {F::Offset, "25"},
                                            {F::OffsetUnit, "value"},
                                            {F::OutCh, "ALL"},
                                            {F::Gate, "1"},
                                            {F::BandLimitType, "BLIT"},
                                            {F::Delay, "5"},
                                            {F::Phase, "90"},
                                            {F::Sweep, "1"},
                                            {F::SweepFreqLog, "0"},
                                            {F::SweepAmpLog, "0"},
                                            {F::SweepPhase, "Up"},
                                            {F::SweepStep, "2"},
                                            {F::Modulation, "1"},
                                            {F::ModulationType, "FM"},
                                            {F::ModulatingSignal, "5"},
                                            {F::GateOnPeriod, "2"},
                                            {F::GateOffPeriod, "4.5"},
                                            {F::UserWave, "tone.wav"},
                                            {F::UserWaveChSel, "uL"},
                                            {F::UserWaveModSig, "uR"},
                                            {F::FilterOn, "On"},
                                            {F::FilterComment, "lowpass"},
                                            {F::OverSampleRate, "4"},
                                            {F::Size1, "2048"},
                                            {F::ResponseRate, "16"},
                                            {F::AmpScaleDbMax, "40"},
                                            {F::AmpScaleDbMin, "-120"},
                                            {F::KaiserAlpha, "2.5"},
                                            {F::Points, "2"}};
    test::MemoryIni file;
    for (const ParamKey& k : ParamTextTable::Keys())
        file.Set(k.section, k.key, texts.at(k.field));
    file.Set("Filter", "P1", "   0,-3");
    file.Set("Filter", "P2", "1024,0");
    ParamSet loaded(kEnglish);
    LoadParamFile(file, loaded);
    Generator g;
    MainControls controls(g, kEnglish);
    controls.ApplyParamTable(loaded);
    ParamSet captured(kEnglish);
    controls.CaptureParamTable(captured);
    test::MemoryIni saved;
    ASSERT_TRUE(SaveParamFile(saved, captured, captured.texts.Get(F::Comment)));
    for (const auto& e : file.entries) {
        if (e.key != "ResponseRate") { // never written
            EXPECT_EQ(saved.Read(e.section, e.key), e.value) << e.section << "." << e.key;
        }
    }
    EXPECT_EQ(saved.written.size(), file.entries.size() - 1);
}

TEST(ApplyParamTableTest, UnknownItemsFallBackToTheFirstItem) {
    ParamTextTable t(kEnglish);
    t.Set("Misc", "BitLen", "12");
    t.Set("Misc", "Ch", "9ch");
    t.Set("Wave1", "AmpUnit", "volts");
    Generator g;
    ApplyParamTable(t, g, kEnglish);
    EXPECT_EQ(g.format.bitCode, 8);
    EXPECT_EQ(g.format.channels, 1);
    EXPECT_EQ(g.slots[0].ampUnit, kDb);
}

TEST(SetOptionTest, RejectsMalformedAndUnknownKeys) {
    ParamTextTable t(kEnglish);
    std::string error;
    EXPECT_FALSE(ApplySetOption(t, "Wave1Freq=5", error));
    EXPECT_NE(error.find("Section.Key=Value"), std::string::npos);
    EXPECT_FALSE(ApplySetOption(t, "Wave1.Freq", error));
    EXPECT_FALSE(ApplySetOption(t, ".Freq=1", error));
    EXPECT_FALSE(ApplySetOption(t, "Wave1.=1", error));
    EXPECT_FALSE(ApplySetOption(t, "Wave9.Freq=1", error));
    EXPECT_NE(error.find("Wave9.Freq"), std::string::npos);
    EXPECT_FALSE(ApplySetOption(t, "Wave2.Delay=1", error)); // followers have no delay
    EXPECT_TRUE(ApplySetOption(t, "WAVE1.freq=12.5=x", error));
    EXPECT_EQ(t.Get("Wave1", "Freq"), "12.5=x");
}

TEST(ParamTextTableTest, ValuesAreCutToTheirWidth) {
    ParamTextTable t(kEnglish);
    t.Set("Wave1", "Freq", std::string(50, '1'));
    EXPECT_EQ(t.Get("Wave1", "Freq").size(), 31u);
    t.Set("File", "Comment", std::string(300, 'c'));
    EXPECT_EQ(t.Get("File", "Comment").size(), 159u);
    EXPECT_EQ(ParamTextTable::Keys().front().key, "Length");
    EXPECT_EQ(ParamTextTable::Keys().back().key, "Points");
    // A file without Wave1's waveform reads sine in the interface's own words.
    EXPECT_EQ(t.DefaultText(*ParamTextTable::FindKey("Wave1", "Waveform")), "sine");
}

} // namespace
} // namespace qv
