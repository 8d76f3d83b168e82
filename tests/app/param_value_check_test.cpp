#include "app/main_controls.h"
#include "app/param_value_check.h"
#include "files/param_file.h"
#include "generator/generator.h"
#include "platform/language.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

ParamCheck Check(const ParamTextTable& t, const char* section, const char* key, const char* v) {
    return CheckParamValue(t, *ParamTextTable::FindKey(section, key), v);
}

TEST(ParamValueCheckTest, TextsAreCheckedAsTheControlsReadThem) {
    using enum ParamVerdict;
    ParamTextTable t(kEnglish);
    t.Set("Wave2", "FreqUnit", "Samples");
    t.Set("Wave2", "AmpUnit", "value");
    const struct {
        const char *section, *key, *value;
        ParamVerdict verdict;
        const char* used;
    } rows[] = {
        {"Wave1", "Waveform", "sine", Ok, ""},
        {"Wave1", "Waveform", "sinus", NoSuchItem, "OFF"},
        {"Wave2", "Waveform", "user wave", NoSuchItem, "OFF"}, // followers offer ten
        {"Wave1", "OutCh", "ALL", NoSuchItem, "OFF"},          // not a stereo item
        {"Wave1", "SweepStep", "7", NoSuchItem, "Smooth"},
        {"Wave1", "SweepStep", "smooth", Ok, ""},
        {"Misc", "FreqUpDownType", "Percent", Ok, ""},
        {"Filter", "FilterOn", "on", NoSuchItem, "Off"},
        {"Wave1", "Freq", " 440 ", Ok, ""},
        {"Wave1", "Freq", "abc", NotANumber, "0"},
        {"Wave1", "Freq", "1k", NotANumber, "1"},
        {"Wave1", "Freq", "-440", Limited, "440"},
        {"Wave2", "Freq", "0.5", Limited, "1"}, // samples per period
        {"Wave2", "Amp", "0x3FFF", Ok, ""},
        {"Wave1", "Amp", "0x3FFF", NotANumber, "0"}, // dB are decimal
        {"Wave1", "Amp", "1200", Limited, "1000"},
        {"Misc", "SamplingFreq", "9000000", Limited, "8388607"},
        {"Misc", "SamplingFreq", "999", Limited, "1000"},
        {"Misc", "SamplingFreq", "48000.5", NotANumber, "48000"},
        {"Misc", "AmpUpDownValue", "0xFF", Ok, ""},
        {"Misc", "FreqUpDownTransition", "500", Limited, "100"},
        {"Wave1", "GateOnPeriod", "-2", Limited, "0"},
        {"Filter", "Size1", "3000", Limited, "4096"},
        {"File", "Comment", "anything, at all", Ok, ""},
    };
    for (const auto& r : rows) {
        const ParamCheck c = Check(t, r.section, r.key, r.value);
        EXPECT_EQ(c.verdict, r.verdict) << r.section << "." << r.key << "=" << r.value;
        EXPECT_EQ(c.used, r.used) << r.section << "." << r.key << "=" << r.value;
    }
    EXPECT_EQ(Check(ParamTextTable(kJapanese), "Wave1", "Waveform", "sine").verdict, NoSuchItem);
}

TEST(ParamValueCheckTest, EveryValueOfASetTheProgramSavesIsAsItSays) {
    for (int lang : {kEnglish, kJapanese}) {
        Generator g;
        MainControls controls(g, lang);
        controls.ApplyParamTable(ParamSet(lang));
        ParamSet saved(lang);
        controls.CaptureParamTable(saved);
        for (const ParamKey& k : ParamTextTable::Keys()) {
            const std::string& value = saved.texts.Get(k.field, k.slot);
            EXPECT_EQ(CheckParamValue(saved.texts, k, value).verdict, ParamVerdict::Ok)
                << k.section << "." << k.key << "=" << value;
        }
    }
}

} // namespace
} // namespace qv
