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
    using F = ParamField;
    std::vector<ParamKey> k;
    auto add = [&](const std::string& s, const char* key, const char* def, F field, int slot = -1,
                   size_t w = kValueWidth) {
        k.push_back({s, key, def, w, field, slot});
    };
    add("File", "Length", "10", F::Length);
    add("File", "Comment", "", F::Comment, -1, kCommentWidth);
    const struct {
        const char* key;
        const char* def;
        F field;
    } misc[] = {
        {"SamplingFreq", "44100", F::SamplingFreq},
        {"BitLen", "16", F::BitLen},
        {"Ch", "Stereo", F::Ch},
        {"SampleNforFit", "4096", F::SampleNforFit},
        {"FreqUpDownType", "value", F::FreqUpDownType},
        {"FreqUpDownValue", "10", F::FreqUpDownValue},
        {"FreqUpDownPercent", "5", F::FreqUpDownPercent},
        {"FreqUpDownTransition", "0.2", F::FreqUpDownTransition},
        {"FreqUpDownResetBuffer", "0", F::FreqUpDownResetBuffer},
        {"FreqUpDownLog", "1", F::FreqUpDownLog},
        {"AmpUpDownType", "value", F::AmpUpDownType},
        {"AmpUpDownValue", "1", F::AmpUpDownValue},
        {"AmpUpDownPercent", "5", F::AmpUpDownPercent},
        {"AmpUpDownTransition", "0.2", F::AmpUpDownTransition},
        {"AmpUpDownResetBuffer", "0", F::AmpUpDownResetBuffer},
        {"AmpUpDownLog", "1", F::AmpUpDownLog},
        {"Wave5SyncType", "ratio", F::Wave5SyncType},
        {"Wave5SyncDiff", "0", F::Wave5SyncDiff},
        {"Wave5SyncRatio", "1", F::Wave5SyncRatio},
    };
    for (auto& m : misc)
        add("Misc", m.key, m.def, m.field);
    for (int i = 0; i < 8; ++i) {
        const std::string s = "Wave" + std::to_string(i + 1);
        add(s, "Waveform", i == 0 ? kSineJa : "OFF", F::Waveform, i);
        add(s, "Freq", "1000", F::Freq, i);
        add(s, "FreqUnit", "Hz", F::FreqUnit, i);
        add(s, "Amp", "-10", F::Amp, i);
        add(s, "AmpUnit", "dB", F::AmpUnit, i);
        add(s, "Offset", "0", F::Offset, i);
        add(s, "OffsetUnit", "percent", F::OffsetUnit, i);
        add(s, "OutCh", i == 0 ? "L+R" : "OFF", F::OutCh, i);
        if (i != 0 && i != 4) {
            add(s, "Gate", "0", F::Gate, i);
            continue;
        }
        add(s, "BandLimitType", kNoneJa, F::BandLimitType, i);
        add(s, "Delay", "0", F::Delay, i);
        add(s, "Phase", "0", F::Phase, i);
        add(s, "Sweep", "0", F::Sweep, i);
        add(s, "SweepFreqLog", "1", F::SweepFreqLog, i);
        add(s, "SweepAmpLog", "1", F::SweepAmpLog, i);
        add(s, "SweepPhase", "Off", F::SweepPhase, i);
        add(s, "SweepStep", "Smooth", F::SweepStep, i);
        add(s, "Modulation", "0", F::Modulation, i);
        add(s, "ModulationType", "AM", F::ModulationType, i);
        if (i == 0)
            add(s, "ModulatingSignal", "3", F::ModulatingSignal, i);
        add(s, "GateOnPeriod", "0", F::GateOnPeriod, i);
        add(s, "GateOffPeriod", "0", F::GateOffPeriod, i);
        add(s, "UserWave", "", F::UserWave, i, kPathWidth);
        add(s, "UserWaveChSel", "ALL", F::UserWaveChSel, i);
        if (i == 4)
            add(s, "UserWaveModSig", "uL", F::UserWaveModSig, i);
    }
    add("Filter", "FilterOn", "Off", F::FilterOn);
    add("Filter", "Comment", "", F::FilterComment, -1, 100);
    add("Filter", "OverSampleRate", "1", F::OverSampleRate);
    add("Filter", "Size1", "4096", F::Size1);
    add("Filter", "ResponseRate", "8", F::ResponseRate);
    add("Filter", "AmpScale_dB_Max", "20", F::AmpScaleDbMax);
    add("Filter", "AmpScale_dB_Min", "-100", F::AmpScaleDbMin);
    add("Filter", "KaiserAlpha", "6", F::KaiserAlpha);
    add("Filter", "Points", "0", F::Points);
    return k;
}

// Key index by field and slot (slot -1 stored at 8); -1 where the slot has no such key.
const std::vector<int>& FieldIndex() {
    static const std::vector<int> index = [] {
        std::vector<int> v(static_cast<size_t>(ParamField::Count) * 9, -1);
        const auto keys = ParamTextTable::Keys();
        for (size_t i = 0; i < keys.size(); ++i) {
            const int slot = keys[i].slot < 0 ? 8 : keys[i].slot;
            v[static_cast<size_t>(keys[i].field) * 9 + slot] = static_cast<int>(i);
        }
        return v;
    }();
    return index;
}

int IndexOfField(ParamField field, int slot) {
    if (slot < -1 || slot > 7)
        return -1;
    return FieldIndex()[static_cast<size_t>(field) * 9 + (slot < 0 ? 8 : slot)];
}

} // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return AsciiEqualNoCase(a, b);
}

std::span<const ParamKey> ParamTextTable::Keys() {
    static const std::vector<ParamKey> keys = BuildKeys();
    return keys;
}

ParamTextTable::ParamTextTable(int languageIndex) : language_(languageIndex) {
    for (const ParamKey& k : Keys())
        values_.push_back(DefaultText(k));
}

std::string ParamTextTable::DefaultText(const ParamKey& key) const {
    if (key.field == ParamField::Waveform && key.slot == 0)
        return WaveformItems(language_)[1]; // sine
    if (key.field == ParamField::BandLimitType)
        return BandLimitItems(language_)[0]; // none
    return key.defaultText;
}

const std::string& ParamTextTable::Get(ParamField field, int slot) const {
    static const std::string empty;
    const int i = IndexOfField(field, slot);
    return i < 0 ? empty : values_[i];
}

bool ParamTextTable::Set(ParamField field, int slot, std::string_view value) {
    const int i = IndexOfField(field, slot);
    if (i < 0)
        return false;
    values_[i] = std::string(value.substr(0, Keys()[i].width));
    return true;
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

int ParamTextTable::IndexOf(std::string_view section, std::string_view key) {
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

const ParamKey* ParamTextTable::FindKey(std::string_view section, std::string_view key) {
    const int i = IndexOf(section, key);
    return i < 0 ? nullptr : &Keys()[i];
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
