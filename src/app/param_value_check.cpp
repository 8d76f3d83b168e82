#include "app/param_value_check.h"

#include "app/main_controls.h"
#include "files/param_file.h"
#include "generator/generator.h"
#include "generator/item_lists.h"
#include "generator/live_controls.h"
#include "generator/number_text.h"
#include "generator/unit_conversion.h"

#include <optional>
#include <span>

namespace qv {

namespace {

using F = ParamField;

struct ItemList {
    std::span<const char* const> items;
    bool anyCase = false;
};

// The list an item key is matched against, as the controls match it; nothing for other keys.
std::optional<ItemList> ItemsOf(const ParamTextTable& t, const ParamKey& k) {
    const int lang = t.Language();
    switch (k.field) {
    case F::BitLen:
        return ItemList{BitLenItems()};
    case F::Ch:
        return ItemList{ChannelCountItems()};
    case F::FreqUpDownType:
    case F::AmpUpDownType:
        return ItemList{StepTypeKeywords(), true};
    case F::Wave5SyncType:
        return ItemList{SyncTypeKeywords(), true};
    case F::Waveform:
        return ItemList{SlotWaveformItems(k.slot, lang)};
    case F::FreqUnit:
        return ItemList{FreqUnitKeywords()};
    case F::AmpUnit:
    case F::OffsetUnit:
        return ItemList{LevelUnitKeywords()};
    case F::OutCh:
        return ItemList{OutChTexts(FindItem(ChannelCountItems(), t.Get(F::Ch)) + 1)};
    case F::BandLimitType:
        return ItemList{BandLimitItems(lang)};
    case F::SweepPhase:
        return ItemList{SweepPhaseKeywords()};
    case F::SweepStep: // read as an integer: any case for "Smooth"
        return ItemList{SweepStepKeywords(), true};
    case F::ModulationType:
        return ItemList{ModulationKeywords()};
    case F::ModulatingSignal:
        return ItemList{ModulatingSignalKeywords()};
    case F::FilterOn:
        return ItemList{FilterOnKeywords()};
    default:
        return std::nullopt;
    }
}

int UnitOf(const ParamTextTable& t, F unitField, int slot) {
    return FindItem(unitField == F::FreqUnit ? FreqUnitKeywords() : LevelUnitKeywords(),
                    t.Get(unitField, slot));
}

// How the program reads a number key; nothing for item keys and free texts.
std::optional<Notation> NotationOf(const ParamTextTable& t, const ParamKey& k) {
    switch (k.field) {
    case F::Length:
    case F::FreqUpDownTransition:
    case F::AmpUpDownTransition:
    case F::Wave5SyncDiff:
    case F::Wave5SyncRatio:
    case F::Freq:
    case F::Phase:
    case F::GateOnPeriod:
    case F::GateOffPeriod:
    case F::KaiserAlpha:
        return Notation::Decimal;
    case F::SamplingFreq:
    case F::SampleNforFit:
    case F::FreqUpDownResetBuffer:
    case F::FreqUpDownLog:
    case F::AmpUpDownResetBuffer:
    case F::AmpUpDownLog:
    case F::Gate:
    case F::Delay:
    case F::Sweep:
    case F::SweepFreqLog:
    case F::SweepAmpLog:
    case F::Modulation:
    case F::OverSampleRate:
    case F::Size1:
    case F::ResponseRate:
    case F::AmpScaleDbMax:
    case F::AmpScaleDbMin:
    case F::Points:
        return Notation::Integer;
    case F::FreqUpDownValue:
    case F::FreqUpDownPercent:
    case F::AmpUpDownValue:
    case F::AmpUpDownPercent:
        return Notation::DecimalOrHex;
    case F::Amp:
        return LevelNotation(UnitOf(t, F::AmpUnit, k.slot));
    case F::Offset:
        return LevelNotation(UnitOf(t, F::OffsetUnit, k.slot));
    default:
        return std::nullopt;
    }
}

// The filter's numbers as LoadParamFile validates them (out of range: the default).
double ValidatedFilterNumber(const ParamTextTable& t, const ParamKey& k, std::string_view value) {
    ParamSet set(t.Language());
    set.texts = t;
    set.texts.Set(k.field, k.slot, value);
    ValidateFilterTexts(set);
    return k.field == F::Points ? set.filter.pointCount : ReadDecimal(set.texts.Get(k.field));
}

// The number the program uses for the number read, through the key's limits.
double UsedNumber(const ParamTextTable& t, const ParamKey& k, std::string_view value, double read) {
    switch (k.field) {
    case F::SamplingFreq:
        return static_cast<double>(LimitSampleRate(ReadInteger(value)));
    case F::FreqUpDownTransition:
    case F::AmpUpDownTransition:
        return ClampTransitionTime(read);
    case F::Wave5SyncRatio:
        return SyncRatio(read);
    case F::Freq:
        return LimitFreqNumber(read, UnitOf(t, F::FreqUnit, k.slot));
    case F::Amp:
        return LimitLevelNumber(read, UnitOf(t, F::AmpUnit, k.slot));
    case F::Offset:
        return LimitLevelNumber(read, UnitOf(t, F::OffsetUnit, k.slot));
    case F::Delay:
        return DelaySamples(value);
    case F::GateOnPeriod:
    case F::GateOffPeriod:
        return GateHalfWaves(value) / 2.0;
    case F::OverSampleRate:
    case F::Size1:
    case F::ResponseRate:
    case F::AmpScaleDbMax:
    case F::AmpScaleDbMin:
    case F::KaiserAlpha:
    case F::Points:
        return ValidatedFilterNumber(t, k, value);
    default:
        return read;
    }
}

std::string Joined(std::span<const char* const> items) {
    std::string text;
    for (const char* item : items)
        text += (text.empty() ? "" : ", ") + std::string(item);
    return text;
}

} // namespace

ParamCheck CheckParamValue(const ParamTextTable& t, const ParamKey& k, std::string_view value) {
    ParamCheck check;
    if (const std::optional<ItemList> list = ItemsOf(t, k)) {
        const int i =
            list->anyCase ? MatchItemNoCase(list->items, value) : MatchItem(list->items, value);
        if (i < 0) {
            check.verdict = ParamVerdict::NoSuchItem;
            check.problem = "matches no item (" + Joined(list->items) + ")";
            check.used = list->items[k.field == F::SweepStep ? SweepStepRate(value) : 0];
        }
        return check;
    }
    const std::optional<Notation> notation = NotationOf(t, k);
    if (!notation)
        return check;
    const double read = ReadNumber(value, *notation);
    const double used = UsedNumber(t, k, value, read);
    check.used = FormatNumber15(used);
    if (!IsNumberText(value, *notation)) {
        check.verdict = ParamVerdict::NotANumber;
        check.problem = *notation == Notation::Integer ? "is not an integer" : "is not a number";
    } else if (used != read) {
        check.verdict = ParamVerdict::Limited;
        check.problem = "is taken as " + check.used;
    } else {
        check.used.clear();
    }
    return check;
}

std::string ParamCheckMessage(const ParamKey& k, std::string_view value, const ParamCheck& check,
                              bool withUsed) {
    std::string line = k.section + "." + k.key + "=\"" + std::string(value) + "\" " + check.problem;
    return withUsed && check.verdict != ParamVerdict::Limited
               ? line + " and is taken as " + check.used
               : line;
}

} // namespace qv
