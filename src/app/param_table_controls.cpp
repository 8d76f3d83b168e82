// A whole parameter set into the controls (ApplyParamTable, in its thirteen steps) and the
// controls back into a set (CaptureParamTable), key by key over the one key table.
#include "app/live_settings_params.h"
#include "app/main_controls.h"
#include "generator/generator.h"
#include "generator/item_lists.h"
#include "generator/number_text.h"
#include "generator/unit_conversion.h"
#include "platform/path_text.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

using F = ParamField;

bool Flag(const std::string& text) {
    return ReadInteger(text) != 0;
}

const char* Bit(bool on) {
    return on ? "1" : "0";
}

template <typename T> const char* Item(std::span<const char* const> items, T index) {
    return items[std::clamp(static_cast<int>(index), 0, static_cast<int>(items.size()) - 1)];
}

} // namespace

void MainControls::ApplyParamTable(const ParamSet& set) {
    const ParamTextTable& t = set.texts;
    typed_ = {}; // the set replaces whatever was being typed
    typedRate_.reset();
    typedLength_.reset();
    ApplyFormatTexts(t);
    ApplyFilterAndFit(set);
    ApplyLiveTexts(t);
    ApplySlotTexts(t);
    RunWaveformHandlers();
    ApplyUnits(t);
    ReapplyFormat();
    ForceUnitControls();
    ApplyDelaysAndPhases();
    ApplySweeps(t);
    ApplyModulations(t);
    ApplyGates(t);
    ClearLevels();
    changes_.SetAll();
}

// 1. Lengths, comment, format; the output-channel lists follow the channel count.
void MainControls::ApplyFormatTexts(const ParamTextTable& t) {
    ControlTexts& texts = g_.texts;
    texts.fileLength = t.Get(F::Length);
    comment_ = t.Get(F::Comment).substr(0, 80);
    texts.sampleRate = t.Get(F::SamplingFreq);
    texts.bitLen = BitLenItems()[FindItem(BitLenItems(), t.Get(F::BitLen))];
    texts.channelIndex = FindItem(ChannelCountItems(), t.Get(F::Ch));
    g_.ApplyOutputFormat();
}

// 2. Filter switch and the FFT fit.
void MainControls::ApplyFilterAndFit(const ParamSet& set) {
    const ParamTextTable& t = set.texts;
    g_.filterOn = FindItem(FilterOnKeywords(), t.Get(F::FilterOn)) == 1;
    g_.overSampleRate = static_cast<uint32_t>(ReadInteger(t.Get(F::OverSampleRate)));
    g_.filterSize = static_cast<uint32_t>(ReadInteger(t.Get(F::Size1)));
    g_.filterDesign = set.filter;
    SetFitSampleCount(static_cast<int32_t>(ReadInteger(t.Get(F::SampleNforFit))));
}

// 3. Up/down and Wave5 sync settings.
void MainControls::ApplyLiveTexts(const ParamTextTable& t) {
    ReadLiveSettings(t, live_);
}

// 4. Per slot: items and texts; a text that matches no item selects item 0.
void MainControls::ApplySlotTexts(const ParamTextTable& t) {
    const auto outChItems = OutChTexts(g_.format.channels);
    for (int i = 0; i < kSlotCount; ++i) {
        g_.slots[i].waveform = FindItem(WaveformList(i), t.Get(F::Waveform, i));
        g_.texts.slot[i].freq = t.Get(F::Freq, i);
        g_.texts.slot[i].amp = t.Get(F::Amp, i);
        g_.texts.slot[i].offset = t.Get(F::Offset, i);
        slot_[i].outChIndex = FindItem(outChItems, t.Get(F::OutCh, i));
        if (IsMaster(i)) {
            slot_[i].bandLimitIndex =
                FindItem(BandLimitItems(language_), t.Get(F::BandLimitType, i));
            slot_[i].delayText = t.Get(F::Delay, i);
            g_.texts.slot[i].phase = t.Get(F::Phase, i);
        }
    }
}

// 5. Waveform and band-limit handlers (nothing plays while a set is applied).
void MainControls::RunWaveformHandlers() {
    for (int i = 0; i < kSlotCount; ++i) {
        if (IsMaster(i))
            UpdateMasterEnabling(i);
        else
            UpdateFollowerEnabling(i);
    }
    for (int m : {0, 4})
        g_.slots[m].bandLimitType = slot_[m].bandLimitIndex;
}

// 6. Units by their keywords (no match: unit 0).
void MainControls::ApplyUnits(const ParamTextTable& t) {
    for (int i = 0; i < kSlotCount; ++i) {
        g_.slots[i].freqUnit = FindItem(FreqUnitKeywords(), t.Get(F::FreqUnit, i));
        g_.slots[i].ampUnit = FindItem(LevelUnitKeywords(), t.Get(F::AmpUnit, i));
        g_.slots[i].offsetUnit = FindItem(LevelUnitKeywords(), t.Get(F::OffsetUnit, i));
    }
}

// 7. The format again (levels and frequencies in their units); frequency colours.
void MainControls::ReapplyFormat() {
    g_.ApplyOutputFormat();
    for (int i = 0; i < kSlotCount; ++i) {
        g_.slots[i].curFreq = g_.slots[i].freq;
        g_.slots[i].curAmp = g_.slots[i].amp;
        UpdateFreqColour(i);
    }
}

// 8. Unit controls (their texts re-expressed from the values they produced, so a set saves back
// as it plays) and output channels.
void MainControls::ForceUnitControls() {
    const auto outChItems = OutChItems(g_.format.channels);
    for (int i = 0; i < kSlotCount; ++i) {
        OnFreqUnit(i, g_.slots[i].freqUnit);
        OnAmpUnit(i, g_.slots[i].ampUnit);
        OnOffsetUnit(i, g_.slots[i].offsetUnit);
        g_.slots[i].outChMask = outChItems[slot_[i].outChIndex].mask;
    }
}

// 9. Delays and phases (followers have neither).
void MainControls::ApplyDelaysAndPhases() {
    for (int i = 0; i < kSlotCount; ++i) {
        WaveSlot& s = g_.slots[i];
        if (IsMaster(i)) {
            ApplyDelay(i);
            s.phase = s.curPhase = PhaseTextToRadians(g_.texts.slot[i].phase);
        } else {
            s.delay = 0;
            s.phase = s.curPhase = 0.0;
        }
    }
}

// 10. Sweeps: flags (non-zero integer = on), phase by word, 1 ... 4 steps a second or smooth.
void MainControls::ApplySweeps(const ParamTextTable& t) {
    for (int m : {0, 4}) {
        WaveSlot& s = g_.slots[m];
        s.sweep = Flag(t.Get(F::Sweep, m));
        s.sweepFreqLog = Flag(t.Get(F::SweepFreqLog, m));
        s.sweepAmpLog = Flag(t.Get(F::SweepAmpLog, m));
        s.sweepPhase = FindItem(SweepPhaseKeywords(), t.Get(F::SweepPhase, m));
        s.sweepStepRate = SweepStepRate(t.Get(F::SweepStep, m));
    }
}

// 11. Modulation: type by word (no match: AM); Wave1's signal "5" is Wave5, else Wave3.
void MainControls::ApplyModulations(const ParamTextTable& t) {
    for (int m : {0, 4}) {
        WaveSlot& s = g_.slots[m];
        s.modulation = Flag(t.Get(F::Modulation, m));
        s.modulationType = FindItem(ModulationKeywords(), t.Get(F::ModulationType, m));
        const bool byWave5 =
            FindItem(ModulatingSignalKeywords(), t.Get(F::ModulatingSignal, m)) == 1;
        s.modulatingSignal = m == 0 && byWave5 ? 4 : 2;
    }
}

// 12. Gate periods of the masters through their handlers, the followers' gate flags; the user
// waves' names and selections go with them (registered by the caller).
void MainControls::ApplyGates(const ParamTextTable& t) {
    for (int m : {0, 4}) {
        UserWaveSet& u = g_.userWaves[m / 4];
        u.userWavePath = PathFromFileText(t.Get(F::UserWave, m));
        u.channelSelectionText = t.Get(F::UserWaveChSel, m);
        if (m == 4)
            u.modSignalSelectionText = t.Get(F::UserWaveModSig, m);
        slot_[m].gateOnText = t.Get(F::GateOnPeriod, m);
        slot_[m].gateOffText = t.Get(F::GateOffPeriod, m);
        ApplyGatePeriods(m);
    }
    for (int i = 0; i < kSlotCount; ++i) {
        if (!IsMaster(i))
            g_.slots[i].gate = Flag(t.Get(F::Gate, i));
    }
}

// 13. Level data; the full scale stays that of the current format.
void MainControls::ClearLevels() {
    g_.peakMax.fill(0);
    g_.peakMin.fill(0);
    g_.clipped.fill(false);
}

std::optional<std::string> MainControls::CapturedText(const ParamKey& key) const {
    const int i = key.slot;
    const WaveSlot* s = i >= 0 ? &g_.slots[i] : nullptr;
    const ControlTexts& texts = g_.texts;
    const FilterDesign& d = g_.filterDesign;
    switch (key.field) {
    case F::Length:
        return texts.fileLength;
    case F::Comment:
        return comment_;
    case F::SamplingFreq:
        return texts.sampleRate;
    case F::BitLen:
        return texts.bitLen;
    case F::Ch:
        return Item(ChannelCountItems(), texts.channelIndex);
    case F::SampleNforFit:
        return std::to_string(g_.fitSampleCount);
    case F::Waveform:
        return Item(WaveformList(i), s->waveform);
    case F::Freq:
        return texts.slot[i].freq;
    case F::FreqUnit:
        return Item(FreqUnitKeywords(), s->freqUnit);
    case F::Amp:
        return texts.slot[i].amp;
    case F::AmpUnit:
        return Item(LevelUnitKeywords(), s->ampUnit);
    case F::Offset:
        return texts.slot[i].offset;
    case F::OffsetUnit:
        return Item(LevelUnitKeywords(), s->offsetUnit);
    case F::OutCh:
        return Item(OutChTexts(g_.format.channels), slot_[i].outChIndex);
    case F::Gate:
        return Bit(s->gate);
    case F::BandLimitType:
        return Item(BandLimitItems(language_), slot_[i].bandLimitIndex);
    case F::Delay:
        return slot_[i].delayText;
    case F::Phase:
        return texts.slot[i].phase;
    case F::Sweep:
        return Bit(s->sweep);
    case F::SweepFreqLog:
        return Bit(s->sweepFreqLog);
    case F::SweepAmpLog:
        return Bit(s->sweepAmpLog);
    case F::SweepPhase:
        return Item(SweepPhaseKeywords(), s->sweepPhase);
    case F::SweepStep:
        return Item(SweepStepKeywords(), s->sweepStepRate);
    case F::Modulation:
        return Bit(s->modulation);
    case F::ModulationType:
        return Item(ModulationKeywords(), s->modulationType);
    case F::ModulatingSignal:
        return Item(ModulatingSignalKeywords(), s->modulatingSignal == 4);
    case F::GateOnPeriod:
        return FormatNumber15(s->gateOnHalfWaves / 2.0);
    case F::GateOffPeriod:
        return FormatNumber15(s->gateOffHalfWaves / 2.0);
    case F::UserWave:
        return PathToFileText(g_.userWaves[i / 4].userWavePath);
    case F::UserWaveChSel:
        return g_.userWaves[i / 4].channelSelectionText;
    case F::UserWaveModSig:
        return g_.userWaves[i / 4].modSignalSelectionText;
    case F::FilterOn:
        return Item(FilterOnKeywords(), g_.filterOn);
    case F::FilterComment:
        return d.comment;
    case F::OverSampleRate:
        return std::to_string(g_.overSampleRate);
    case F::Size1:
        return std::to_string(g_.filterSize);
    case F::ResponseRate:
        return std::to_string(d.responseRate);
    case F::AmpScaleDbMax:
        return std::to_string(d.ampScaleMaxDb);
    case F::AmpScaleDbMin:
        return std::to_string(d.ampScaleMinDb);
    case F::KaiserAlpha:
        return FormatNumber15(d.kaiserAlpha);
    case F::Points:
        return std::to_string(d.pointCount);
    default: // the up/down and sync settings: WriteLiveSettings
        return std::nullopt;
    }
}

void MainControls::CaptureParamTable(ParamSet& set) const {
    WriteLiveSettings(live_, set.texts);
    for (const ParamKey& key : ParamTextTable::Keys()) {
        if (const std::optional<std::string> text = CapturedText(key))
            set.texts.Set(key.field, key.slot, *text);
    }
    set.filter = g_.filterDesign;
}

} // namespace qv
