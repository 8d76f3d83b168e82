#include "app/main_controls.h"

#include "app/live_settings_params.h"
#include "app/user_wave_loader.h"
#include "generator/frequency_shortcuts.h"
#include "generator/generator.h"
#include "generator/item_lists.h"
#include "generator/number_text.h"
#include "generator/unit_conversion.h"
#include "platform/language.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace qv {

namespace {

bool Periodic(int waveform) {
    return waveform >= kSine && waveform <= kPulsePm;
}

int Clamp(int v, int lo, int hi) {
    return std::clamp(v, lo, hi);
}

} // namespace

uint32_t GateHalfWaves(std::string_view text) {
    const double h = std::trunc(2.0 * ReadDecimal(text));
    if (!(h > 0))
        return 0;
    return h >= 4294967295.0 ? 4294967295u : static_cast<uint32_t>(h);
}

int32_t DelaySamples(std::string_view text) {
    const long long d = ReadInteger(text);
    return static_cast<int32_t>(d > 2147483647LL    ? 2147483647LL
                                : d < -2147483647LL ? -2147483647LL
                                                    : d);
}

MainControls::MainControls(Generator& generator, int languageIndex)
    : g_(generator), language_(languageIndex) {
    SelectOutChannels(false);
    for (int i = 0; i < kSlotCount; ++i) {
        if (IsMaster(i))
            UpdateMasterEnabling(i);
    }
    changes_ = {};
}

void MainControls::Mark(int i, std::initializer_list<SlotControl> controls) {
    for (SlotControl c : controls)
        changes_.Set(i, c);
}

void MainControls::Mark(ToolbarControl c) {
    changes_.Set(c);
}

ControlChanges MainControls::TakeChanges() {
    return std::exchange(changes_, ControlChanges{});
}

// The output-channel items of every slot for the channel count: each slot keeps its mask where
// the new list offers it (or, keeping indexes, the item at its index), else OFF.
void MainControls::SelectOutChannels(bool keepIndexes) {
    const auto items = OutChItems(g_.format.channels);
    for (int i = 0; i < kSlotCount; ++i) {
        int chosen = 0;
        if (keepIndexes) {
            chosen = slot_[i].outChIndex < static_cast<int>(items.size()) ? slot_[i].outChIndex : 0;
        } else {
            for (size_t k = 0; k < items.size(); ++k) {
                if (items[k].mask == g_.slots[i].outChMask)
                    chosen = static_cast<int>(k);
            }
        }
        slot_[i].outChIndex = chosen;
        Mark(i, {SlotControl::OutCh});
    }
}

void MainControls::UpdateMasterEnabling(int m) {
    SlotState& c = slot_[m];
    const int w = g_.slots[m].waveform;
    c.freqEnabled = w <= kPulsePm;
    c.phaseEnabled = Periodic(w);
    c.modulationEnabled = Periodic(w) || w == kUserWave;
    c.sweepEnabled = !running_ && w != kOff && w != kUserWave;
    c.sweepFreqMenuEnabled = !running_ && Periodic(w);
    c.delayEnabled = !running_ && w != kOff;
    c.bandLimitVisible = w != kUserWave;
    c.waveformHint.clear();
    if (w == kUserWave) {
        const UserWaveSet& u = g_.userWaves[m / 4];
        c.waveformHint =
            u.userWaveFrames > 0 ? u.userWavePath : std::string(kUserWaveNotRegistered(language_));
    }
    Mark(m, {SlotControl::Waveform, SlotControl::Freq, SlotControl::Phase, SlotControl::Modulation,
             SlotControl::Sweep, SlotControl::Delay, SlotControl::BandLimit,
             SlotControl::UserWaveButton});
}

void MainControls::UpdateFollowerEnabling(int i) {
    slot_[i].freqEnabled = g_.slots[i].waveform <= kPulsePm;
    Mark(i, {SlotControl::Waveform, SlotControl::Freq});
}

void MainControls::UpdateFreqColour(int i) {
    // Above half the rate, or a typed text that is no frequency.
    const bool red = g_.slots[i].freq > g_.format.sampleRate / 2.0 || Typed(i, SlotControl::Freq);
    if (red != slot_[i].freqRed)
        Mark(i, {SlotControl::Freq});
    slot_[i].freqRed = red;
}

void MainControls::OnWaveform(int i, int itemIndex) {
    g_.slots[i].waveform = Clamp(itemIndex, 0, static_cast<int>(WaveformList(i).size()) - 1);
    if (IsMaster(i))
        UpdateMasterEnabling(i);
    else
        UpdateFollowerEnabling(i);
    g_.RequestRestart(i, true);
}

// The slot's frequency text as typed (the Wave5 sync and the red colour follow).
void MainControls::ApplyFrequencyText(int i) {
    EditFrequencyText(g_, live_, i);
    FrequencyChanged(i);
}

// The frequency control shows a new value (and Wave5's follows Wave1's while synchronised).
void MainControls::FrequencyChanged(int i) {
    for (int k : {i, i == 0 && live_.freqBarSync ? 4 : i}) {
        Mark(k, {SlotControl::Freq});
        UpdateFreqColour(k);
    }
}

void MainControls::OnFrequencyText(int i, std::string_view text) {
    if (!TakeTyped(i, SlotControl::Freq, text)) {
        UpdateFreqColour(i);
        return;
    }
    g_.texts.slot[i].freq = text;
    ApplyFrequencyText(i);
}

void MainControls::OnAmplitudeText(int i, std::string_view text) {
    if (!TakeTyped(i, SlotControl::Amp, text))
        return;
    g_.texts.slot[i].amp = text;
    EditAmplitudeText(g_, i);
    Mark(i, {SlotControl::Amp});
}

void MainControls::OnOffsetText(int i, std::string_view text) {
    if (!TakeTyped(i, SlotControl::Offset, text))
        return;
    g_.texts.slot[i].offset = text;
    EditOffsetText(g_, i);
    Mark(i, {SlotControl::Offset});
}

void MainControls::OnOutCh(int i, int itemIndex) {
    const auto items = OutChItems(g_.format.channels);
    slot_[i].outChIndex = Clamp(itemIndex, 0, static_cast<int>(items.size()) - 1);
    g_.slots[i].outChMask = items[slot_[i].outChIndex].mask;
    Mark(i, {SlotControl::OutCh});
    g_.RequestRestart(i);
}

void MainControls::OnBandLimit(int m, int itemIndex) {
    slot_[m].bandLimitIndex = Clamp(itemIndex, 0, 2);
    g_.slots[m].bandLimitType = slot_[m].bandLimitIndex;
    Mark(m, {SlotControl::BandLimit});
    g_.RequestRestart(m);
}

void MainControls::ApplyDelay(int m) {
    g_.slots[m].delay = DelaySamples(slot_[m].delayText);
}

void MainControls::OnDelayText(int m, std::string_view text) {
    if (!TakeTyped(m, SlotControl::Delay, text))
        return;
    slot_[m].delayText = text;
    ApplyDelay(m);
    Mark(m, {SlotControl::Delay});
}

void MainControls::OnPhaseText(int m, std::string_view text) {
    if (!TakeTyped(m, SlotControl::Phase, text))
        return;
    g_.texts.slot[m].phase = text;
    EditPhaseText(g_, m);
    Mark(m, {SlotControl::Phase});
}

void MainControls::OnFreqUnit(int i, int unit) {
    WaveSlot& s = g_.slots[i];
    s.freqUnit = Clamp(unit, 0, 1);
    g_.texts.slot[i].freq = FreqToText(s.freq, s.freqUnit, g_.format.sampleRate);
    Mark(i, {SlotControl::Freq});
    if (i == 0) {
        Mark(i, {SlotControl::FreqBarButton});
        if (s.freqUnit != kHz)
            SetFreqBarSync(false); // the bar closes
    }
    if (i == 4)
        Mark(ToolbarControl::FreqBarSync);
}

void MainControls::OnAmpUnit(int i, int unit) {
    WaveSlot& s = g_.slots[i];
    s.ampUnit = Clamp(unit, 0, 2);
    g_.texts.slot[i].amp = LevelToText(s.amp, s.ampUnit, g_.format);
    Mark(i, {SlotControl::Amp});
}

void MainControls::OnOffsetUnit(int i, int unit) {
    WaveSlot& s = g_.slots[i];
    s.offsetUnit = Clamp(unit, 0, 2);
    g_.texts.slot[i].offset = LevelToText(s.offset, s.offsetUnit, g_.format);
    Mark(i, {SlotControl::Offset});
}

void MainControls::ApplyGatePeriods(int m) {
    WaveSlot& s = g_.slots[m];
    s.gateOnHalfWaves = GateHalfWaves(slot_[m].gateOnText);
    s.gateOffHalfWaves = GateHalfWaves(slot_[m].gateOffText);
    s.gate = s.gateOnHalfWaves != 0 && s.gateOffHalfWaves != 0;
    Mark(m, {SlotControl::GateOn, SlotControl::GateOff});
    for (int f = m + 1; f <= m + 3; ++f) {
        slot_[f].followerGateEnabled = s.gate;
        Mark(f, {SlotControl::FollowerGate});
    }
}

void MainControls::OnGateOnText(int m, std::string_view text) {
    if (!TakeTyped(m, SlotControl::GateOn, text))
        return;
    slot_[m].gateOnText = text;
    ApplyGatePeriods(m);
}

void MainControls::OnGateOffText(int m, std::string_view text) {
    if (!TakeTyped(m, SlotControl::GateOff, text))
        return;
    slot_[m].gateOffText = text;
    ApplyGatePeriods(m);
}

void MainControls::OnFollowerGate(int i, bool on) {
    g_.slots[i].gate = on;
    Mark(i, {SlotControl::FollowerGate});
    g_.RequestRestart(i, true);
}

void MainControls::OnModulation(int m, bool on, int type, int signalSlot) {
    WaveSlot& s = g_.slots[m];
    s.modulation = on;
    s.modulationType = Clamp(type, 0, 4);
    if (m == 0)
        s.modulatingSignal = signalSlot == 4 ? 4 : 2;
    Mark(m, {SlotControl::Modulation});
    g_.RequestRestart(m, true);
}

void MainControls::OnModulationBox(int m, bool on) {
    const WaveSlot& s = g_.slots[m];
    OnModulation(m, on, s.modulationType, s.modulatingSignal);
}

const WaveSlot& MainControls::Slot(int i) const {
    return g_.slots[i];
}

void MainControls::UserWavesChanged() {
    for (int m : {0, 4})
        UpdateMasterEnabling(m);
}

void MainControls::OnSweep(int m, bool on) {
    g_.slots[m].sweep = on;
    Mark(m, {SlotControl::Sweep});
}

void MainControls::OnSweepMenu(int m, bool freqLog, bool ampLog, int phaseMode, uint32_t stepRate) {
    WaveSlot& s = g_.slots[m];
    s.sweepFreqLog = freqLog;
    s.sweepAmpLog = ampLog;
    s.sweepPhase = Clamp(phaseMode, 0, 2);
    s.sweepStepRate = stepRate >= 1 && stepRate <= 4 ? stepRate : kSmoothSweep;
    Mark(m, {SlotControl::Sweep});
}

void MainControls::SetFitSampleCount(int32_t count) {
    g_.fitSampleCount = count;
    fitItem_ = std::to_string(count);
    Mark(ToolbarControl::FitSampleCount);
    for (int32_t v = 4096; v <= 131072; v *= 2) {
        if (v == count)
            return;
    }
    fitItem_ = " 2048"; // the first item stands for every other value
}

void MainControls::OnFitToFft(int i) {
    if (g_.slots[i].freqUnit != kHz) // the frequency menu exists only in Hz
        return;
    const double f = FitFrequencyToFft(g_.slots[i].freq, g_.format.sampleRate, g_.fitSampleCount);
    OnFrequencyText(i, FormatNumber15(f));
}

void MainControls::OnMultipleOfMaster(int i, int k) {
    if (IsMaster(i) || g_.slots[i].freqUnit != kHz)
        return;
    OnFrequencyText(i, FormatNumber15(MultipleOfMaster(g_.slots[i < 4 ? 0 : 4].freq, k)));
}

void MainControls::CycleFreqUnit(int i) {
    OnFreqUnit(i, g_.slots[i].freqUnit == kHz ? kSamplesPerPeriod : kHz);
}

void MainControls::CycleAmpUnit(int i) {
    OnAmpUnit(i, (g_.slots[i].ampUnit + 1) % 3);
}

void MainControls::CycleOffsetUnit(int i) {
    OnOffsetUnit(i, (g_.slots[i].offsetUnit + 1) % 3);
}

void MainControls::OnFreqStep(int m, int delta) {
    StepFrequency(g_, live_, m, delta);
    FrequencyChanged(m);
}

void MainControls::OnBarFrequency(double hz, double seconds, bool log) {
    GlideWave1(g_, live_, hz, seconds, log);
    FrequencyChanged(0);
}

void MainControls::OnAmpStep(int m, int delta) {
    StepAmplitude(g_, live_, m, delta);
    Mark(m, {SlotControl::Amp});
}

// A new sample rate, bit length or channel count: levels and samples-per-period frequencies keep
// their meaning under the new format, the colours and the output-channel lists follow it.
void MainControls::FormatChanged() {
    const uint16_t channels = g_.format.channels;
    g_.ApplyOutputFormat();
    if (g_.format.channels != channels) {
        // The lists line up item by item (L+R and ALL, L and 1ch, R and 2ch), so a slot keeps
        // its item where the new list has it.
        SelectOutChannels(true);
        const auto items = OutChItems(g_.format.channels);
        for (int i = 0; i < kSlotCount; ++i)
            g_.slots[i].outChMask = items[slot_[i].outChIndex].mask;
    }
    for (int i = 0; i < kSlotCount; ++i)
        UpdateFreqColour(i);
    Mark(ToolbarControl::SampleRate);
    Mark(ToolbarControl::BitLen);
    Mark(ToolbarControl::Channels);
}

void MainControls::OnSampleRateText(std::string_view text) {
    typedRate_ = std::string(text);
    Mark(ToolbarControl::SampleRate);
}

void MainControls::OnSampleRateItem(int itemIndex) {
    const auto items = SampleRateItems();
    typedRate_.reset();
    g_.texts.sampleRate = items[static_cast<size_t>(Clamp(itemIndex, 0, int(items.size()) - 1))];
    FormatChanged();
}

void MainControls::OnBitLen(int itemIndex) {
    g_.texts.bitLen = BitLenItems()[Clamp(itemIndex, 0, 4)];
    FormatChanged();
}

void MainControls::OnChannels(int itemIndex) {
    g_.texts.channelIndex = Clamp(itemIndex, 0, kMaxChannels - 1);
    FormatChanged();
}

void MainControls::OnFileLengthText(std::string_view text) {
    Mark(ToolbarControl::FileLength);
    typedLength_.reset();
    if (HasUsableNumber(text, Notation::Decimal))
        g_.texts.fileLength = text;
    else
        typedLength_ = std::string(text);
}

void MainControls::OnCommentText(std::string_view text) {
    comment_ = text.substr(0, 80);
    Mark(ToolbarControl::Comment);
}

void MainControls::OnFilterOn(bool on) {
    g_.filterOn = on;
    Mark(ToolbarControl::FilterOn);
}

void MainControls::SetLiveSettings(const LiveSettings& settings) {
    const bool barSync = live_.freqBarSync;
    live_ = settings;
    live_.freqBarSync = barSync;
}

void MainControls::SetFreqBarSync(bool on) {
    const bool sync = on && g_.slots[4].freqUnit == kHz;
    if (sync != live_.freqBarSync)
        Mark(ToolbarControl::FreqBarSync);
    live_.freqBarSync = sync;
}

void MainControls::SetControlsForWrite(bool enabled) {
    writing_ = !enabled;
    Mark(ToolbarControl::FileLength);
    SetControlsForRun(enabled);
}

void MainControls::SetControlsForRun(bool enabled) {
    running_ = !enabled;
    for (int m : {0, 4})
        UpdateMasterEnabling(m);
    for (ToolbarControl c :
         {ToolbarControl::SampleRate, ToolbarControl::BitLen, ToolbarControl::Channels,
          ToolbarControl::FilterOn, ToolbarControl::Load, ToolbarControl::Save,
          ToolbarControl::Write, ToolbarControl::Device})
        Mark(c);
    for (int m : {0, 4})
        Mark(m, {SlotControl::GateOn, SlotControl::GateOff});
}

} // namespace qv
