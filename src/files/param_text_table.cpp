#include "files/param_text_table.h"

#include "generator/item_lists.h"
#include "platform/ascii.h"
#include "platform/language.h"

#include <unordered_map>

namespace qv {

namespace {

constexpr size_t kValueWidth = 31;
constexpr size_t kCommentWidth = 159;
constexpr size_t kPathWidth = 263;

const char* const kSineJa = "\xBB\xB2\xDD\x94g"; // ｻｲﾝ波
const char* const kNoneJa = "\x82\xC8\x82\xB5";  // なし

std::vector<ParamKey> BuildKeys() {
    std::vector<ParamKey> k;
    auto add = [&](const std::string& s, const char* key, const char* def, size_t w = kValueWidth) {
        k.push_back({s, key, def, w});
    };
    add("File", "Length", "10");
    add("File", "Comment", "", kCommentWidth);
    const char* misc[][2] = {
        {"SamplingFreq", "44100"},
        {"BitLen", "16"},
        {"Ch", "Stereo"},
        {"SampleNforFit", "4096"},
        {"FreqUpDownType", "value"},
        {"FreqUpDownValue", "10"},
        {"FreqUpDownPercent", "5"},
        {"FreqUpDownTransition", "0.2"},
        {"FreqUpDownResetBuffer", "0"},
        {"FreqUpDownLog", "1"},
        {"AmpUpDownType", "value"},
        {"AmpUpDownValue", "1"},
        {"AmpUpDownPercent", "5"},
        {"AmpUpDownTransition", "0.2"},
        {"AmpUpDownResetBuffer", "0"},
        {"AmpUpDownLog", "1"},
        {"Wave5SyncType", "ratio"},
        {"Wave5SyncDiff", "0"},
        {"Wave5SyncRatio", "1"},
    };
    for (auto& m : misc)
        add("Misc", m[0], m[1]);
    for (int w = 1; w <= 8; ++w) {
        const std::string s = "Wave" + std::to_string(w);
        add(s, "Waveform", w == 1 ? kSineJa : "OFF");
        add(s, "Freq", "1000");
        add(s, "FreqUnit", "Hz");
        add(s, "Amp", "-10");
        add(s, "AmpUnit", "dB");
        add(s, "Offset", "0");
        add(s, "OffsetUnit", "percent");
        add(s, "OutCh", w == 1 ? "L+R" : "OFF");
        if (w != 1 && w != 5) {
            add(s, "Gate", "0");
            continue;
        }
        add(s, "BandLimitType", kNoneJa);
        add(s, "Delay", "0");
        add(s, "Phase", "0");
        add(s, "Sweep", "0");
        add(s, "SweepFreqLog", "1");
        add(s, "SweepAmpLog", "1");
        add(s, "SweepPhase", "Off");
        add(s, "SweepStep", "Smooth");
        add(s, "Modulation", "0");
        add(s, "ModulationType", "AM");
        if (w == 1)
            add(s, "ModulatingSignal", "3");
        add(s, "GateOnPeriod", "0");
        add(s, "GateOffPeriod", "0");
        add(s, "UserWave", "", kPathWidth);
        add(s, "UserWaveChSel", "ALL");
        if (w == 5)
            add(s, "UserWaveModSig", "uL");
    }
    const char* filter[][2] = {
        {"OverSampleRate", "1"},   {"Size1", "4096"},           {"ResponseRate", "8"},
        {"AmpScale_dB_Max", "20"}, {"AmpScale_dB_Min", "-100"}, {"KaiserAlpha", "6"},
        {"Points", "0"},
    };
    add("Filter", "FilterOn", "Off");
    add("Filter", "Comment", "", 100);
    for (auto& f : filter)
        add("Filter", f[0], f[1]);
    return k;
}

} // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return AsciiEqualNoCase(a, b);
}

std::span<const ParamKey> ParamTextTable::Keys() {
    static const std::vector<ParamKey> keys = BuildKeys();
    return keys;
}

ParamTextTable::ParamTextTable(int languageIndex) {
    for (const ParamKey& k : Keys())
        values_.push_back(k.defaultText);
    Set("Wave1", "Waveform", WaveformItems(languageIndex)[1]);
    Set("Wave1", "BandLimitType", BandLimitItems(languageIndex)[0]);
    Set("Wave5", "BandLimitType", BandLimitItems(languageIndex)[0]);
}

namespace {

// "section/key" in lower case: the lookup key of a parameter.
std::string LookupKey(std::string_view section, std::string_view key) {
    std::string k;
    k.reserve(section.size() + key.size() + 1);
    AppendAsciiLower(k, section);
    k += '/';
    AppendAsciiLower(k, key);
    return k;
}

} // namespace

int ParamTextTable::IndexOf(std::string_view section, std::string_view key) const {
    static const std::unordered_map<std::string, int> index = [] {
        std::unordered_map<std::string, int> m;
        auto keys = Keys();
        for (size_t i = 0; i < keys.size(); ++i)
            m.emplace(LookupKey(keys[i].section, keys[i].key), static_cast<int>(i));
        return m;
    }();
    if (section.find('/') != std::string_view::npos)
        return -1;
    const auto found = index.find(LookupKey(section, key));
    return found == index.end() ? -1 : found->second;
}

bool ParamTextTable::Has(std::string_view section, std::string_view key) const {
    return IndexOf(section, key) >= 0;
}

const std::string& ParamTextTable::Get(std::string_view section, std::string_view key) const {
    static const std::string empty;
    int i = IndexOf(section, key);
    return i < 0 ? empty : values_[i];
}

bool ParamTextTable::Set(std::string_view section, std::string_view key, std::string_view value) {
    int i = IndexOf(section, key);
    if (i < 0)
        return false;
    values_[i] = std::string(value.substr(0, Keys()[i].width));
    return true;
}

} // namespace qv
