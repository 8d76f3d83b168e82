#include "app/main_controls.h"

#include "app/live_settings_params.h"
#include "app/user_wave_loader.h"
#include "generator/frequency_shortcuts.h"
#include "generator/generator.h"
#include "generator/item_lists.h"
#include "generator/number_text.h"
#include "generator/unit_conversion.h"
#include "platform/language.h"

#include <cmath>
#include <utility>

namespace qv {

namespace {

bool Periodic(int waveform) {
    return waveform >= kSine && waveform <= kPulsePm;
}

int Clamp(int v, int lo, int hi) {
    return v < lo ? lo : v > hi ? hi : v;
}

uint32_t HalfWaves(const std::string& text) {
    const double h = std::trunc(2.0 * ReadDecimal(text));
    if (!(h > 0))
        return 0;
    return h >= 4294967295.0 ? 4294967295u : static_cast<uint32_t>(h);
}

bool Flag(const std::string& text) {
    return ReadInteger(text) != 0;
}

const char* const kSweepPhaseWords[] = {"Off", "Up", "Down"};
const char* const kModulationWords[] = {"AM", "DSB", "FM", "PM", "PWM"};

} // namespace

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
    const bool red = g_.slots[i].freq > g_.format.sampleRate / 2.0;
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
    Mark(i, {SlotControl::Freq});
    UpdateFreqColour(i);
    if (i == 0 && live_.freqBarSync) {
        Mark(4, {SlotControl::Freq});
        UpdateFreqColour(4);
    }
}

void MainControls::OnFrequencyText(int i, std::string_view text) {
    g_.texts.slot[i].freq = text;
    ApplyFrequencyText(i);
}

void MainControls::OnAmplitudeText(int i, std::string_view text) {
    g_.texts.slot[i].amp = text;
    EditAmplitudeText(g_, i);
    Mark(i, {SlotControl::Amp});
}

void MainControls::OnOffsetText(int i, std::string_view text) {
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
    const long long d = ReadInteger(slot_[m].delayText);
    g_.slots[m].delay = static_cast<int32_t>(d > 2147483647LL    ? 2147483647LL
                                             : d < -2147483647LL ? -2147483647LL
                                                                 : d);
}

void MainControls::OnDelayText(int m, std::string_view text) {
    slot_[m].delayText = text;
    ApplyDelay(m);
    Mark(m, {SlotControl::Delay});
}

void MainControls::OnPhaseText(int m, std::string_view text) {
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
    s.gateOnHalfWaves = HalfWaves(slot_[m].gateOnText);
    s.gateOffHalfWaves = HalfWaves(slot_[m].gateOffText);
    s.gate = s.gateOnHalfWaves != 0 && s.gateOffHalfWaves != 0;
    Mark(m, {SlotControl::GateOn, SlotControl::GateOff});
    for (int f = m + 1; f <= m + 3; ++f) {
        slot_[f].followerGateEnabled = s.gate;
        Mark(f, {SlotControl::FollowerGate});
    }
}

void MainControls::OnGateOnText(int m, std::string_view text) {
    slot_[m].gateOnText = text;
    ApplyGatePeriods(m);
}

void MainControls::OnGateOffText(int m, std::string_view text) {
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
    Mark(m, {SlotControl::Freq});
    UpdateFreqColour(m);
    if (m == 0 && live_.freqBarSync) {
        Mark(4, {SlotControl::Freq});
        UpdateFreqColour(4);
    }
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
    g_.texts.sampleRate = text;
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
    g_.texts.fileLength = text;
    Mark(ToolbarControl::FileLength);
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

void MainControls::ApplyParamTable(const ParamSet& set) {
    const ParamTextTable& t = set.texts;
    ControlTexts& texts = g_.texts;
    // 1. Lengths, comment, format; output-channel lists for the channel count.
    texts.fileLength = t.Get("File", "Length");
    comment_ = t.Get("File", "Comment").substr(0, 80);
    texts.sampleRate = t.Get("Misc", "SamplingFreq");
    texts.bitLen = BitLenItems()[FindItem(BitLenItems(), t.Get("Misc", "BitLen"))];
    texts.channelIndex = FindItem(ChannelCountItems(), t.Get("Misc", "Ch"));
    g_.ApplyOutputFormat();
    const auto outChItems = OutChItems(g_.format.channels);
    // 2. Filter switch and the FFT fit.
    g_.filterOn = t.Get("Filter", "FilterOn") == "On";
    g_.overSampleRate = static_cast<uint32_t>(ReadInteger(t.Get("Filter", "OverSampleRate")));
    g_.filterSize = static_cast<uint32_t>(ReadInteger(t.Get("Filter", "Size1")));
    g_.filterDesign = set.filter;
    SetFitSampleCount(static_cast<int32_t>(ReadInteger(t.Get("Misc", "SampleNforFit"))));
    // 3. Up/down and Wave5 sync settings.
    ReadLiveSettings(t, live_);
    // 4. Per slot: items and texts.
    for (int i = 0; i < kSlotCount; ++i) {
        const std::string sec = "Wave" + std::to_string(i + 1);
        WaveSlot& s = g_.slots[i];
        s.waveform = FindItem(WaveformList(i), t.Get(sec, "Waveform"));
        texts.slot[i].freq = t.Get(sec, "Freq");
        texts.slot[i].amp = t.Get(sec, "Amp");
        texts.slot[i].offset = t.Get(sec, "Offset");
        slot_[i].outChIndex = 0;
        for (size_t k = 0; k < outChItems.size(); ++k) {
            if (outChItems[k].text == t.Get(sec, "OutCh"))
                slot_[i].outChIndex = static_cast<int>(k);
        }
        if (IsMaster(i)) {
            slot_[i].bandLimitIndex =
                FindItem(BandLimitItems(language_), t.Get(sec, "BandLimitType"));
            slot_[i].delayText = t.Get(sec, "Delay");
            texts.slot[i].phase = t.Get(sec, "Phase");
        }
    }
    // 5. Waveform and band-limit handlers (nothing plays while a set is applied).
    for (int i = 0; i < kSlotCount; ++i) {
        if (IsMaster(i))
            UpdateMasterEnabling(i);
        else
            UpdateFollowerEnabling(i);
    }
    for (int m : {0, 4})
        g_.slots[m].bandLimitType = slot_[m].bandLimitIndex;
    // 6. Units.
    for (int i = 0; i < kSlotCount; ++i) {
        const std::string sec = "Wave" + std::to_string(i + 1);
        g_.slots[i].freqUnit = FindItem(FreqUnitKeywords(), t.Get(sec, "FreqUnit"));
        g_.slots[i].ampUnit = FindItem(LevelUnitKeywords(), t.Get(sec, "AmpUnit"));
        g_.slots[i].offsetUnit = FindItem(LevelUnitKeywords(), t.Get(sec, "OffsetUnit"));
    }
    // 7. The format again (levels and frequencies in their units); frequency colours.
    g_.ApplyOutputFormat();
    for (int i = 0; i < kSlotCount; ++i) {
        g_.slots[i].curFreq = g_.slots[i].freq;
        g_.slots[i].curAmp = g_.slots[i].amp;
        UpdateFreqColour(i);
    }
    // 8. Unit controls (their texts re-expressed from the values they produced, so a set saves
    // back as it plays) and output channels.
    for (int i = 0; i < kSlotCount; ++i) {
        OnFreqUnit(i, g_.slots[i].freqUnit);
        OnAmpUnit(i, g_.slots[i].ampUnit);
        OnOffsetUnit(i, g_.slots[i].offsetUnit);
        g_.slots[i].outChMask = outChItems[slot_[i].outChIndex].mask;
    }
    // 9. Delays and phases (followers have neither).
    for (int i = 0; i < kSlotCount; ++i) {
        if (IsMaster(i)) {
            ApplyDelay(i);
            g_.slots[i].phase = g_.slots[i].curPhase = PhaseTextToRadians(texts.slot[i].phase);
        } else {
            g_.slots[i].delay = 0;
            g_.slots[i].phase = g_.slots[i].curPhase = 0.0;
        }
    }
    // 10. - 12. Sweep, modulation, gate.
    for (int m : {0, 4}) {
        const std::string sec = "Wave" + std::to_string(m + 1);
        WaveSlot& s = g_.slots[m];
        s.sweep = Flag(t.Get(sec, "Sweep"));
        s.sweepFreqLog = Flag(t.Get(sec, "SweepFreqLog"));
        s.sweepAmpLog = Flag(t.Get(sec, "SweepAmpLog"));
        s.sweepPhase = FindItem(kSweepPhaseWords, t.Get(sec, "SweepPhase"));
        const long long step = ReadInteger(t.Get(sec, "SweepStep"));
        s.sweepStepRate = step >= 1 && step <= 4 ? static_cast<uint32_t>(step) : kSmoothSweep;
        s.modulation = Flag(t.Get(sec, "Modulation"));
        s.modulationType = FindItem(kModulationWords, t.Get(sec, "ModulationType"));
        s.modulatingSignal = m == 0 && t.Get(sec, "ModulatingSignal") == "5" ? 4 : 2;
        UserWaveSet& u = g_.userWaves[m / 4];
        u.userWavePath = t.Get(sec, "UserWave");
        u.channelSelectionText = t.Get(sec, "UserWaveChSel");
        if (m == 4)
            u.modSignalSelectionText = t.Get(sec, "UserWaveModSig");
        slot_[m].gateOnText = t.Get(sec, "GateOnPeriod");
        slot_[m].gateOffText = t.Get(sec, "GateOffPeriod");
        ApplyGatePeriods(m);
    }
    for (int i = 0; i < kSlotCount; ++i) {
        if (!IsMaster(i))
            g_.slots[i].gate = Flag(t.Get("Wave" + std::to_string(i + 1), "Gate"));
    }
    // 13. Level data.
    g_.peakMax.fill(0);
    g_.peakMin.fill(0);
    g_.clipped.fill(false);
    changes_.SetAll();
}

void MainControls::CaptureParamTable(ParamSet& set) const {
    ParamTextTable& t = set.texts;
    const ControlTexts& texts = g_.texts;
    t.Set("File", "Length", texts.fileLength);
    t.Set("File", "Comment", comment_);
    t.Set("Misc", "SamplingFreq", texts.sampleRate);
    t.Set("Misc", "BitLen", texts.bitLen);
    t.Set("Misc", "Ch", ChannelCountItems()[Clamp(texts.channelIndex, 0, 7)]);
    t.Set("Misc", "SampleNforFit", std::to_string(g_.fitSampleCount));
    WriteLiveSettings(live_, t);
    const auto outChItems = OutChItems(g_.format.channels);
    for (int i = 0; i < kSlotCount; ++i) {
        const std::string sec = "Wave" + std::to_string(i + 1);
        const WaveSlot& s = g_.slots[i];
        t.Set(sec, "Waveform", WaveformList(i)[Clamp(s.waveform, 0, 10)]);
        t.Set(sec, "Freq", texts.slot[i].freq);
        t.Set(sec, "FreqUnit", FreqUnitKeywords()[Clamp(s.freqUnit, 0, 1)]);
        t.Set(sec, "Amp", texts.slot[i].amp);
        t.Set(sec, "AmpUnit", LevelUnitKeywords()[Clamp(s.ampUnit, 0, 2)]);
        t.Set(sec, "Offset", texts.slot[i].offset);
        t.Set(sec, "OffsetUnit", LevelUnitKeywords()[Clamp(s.offsetUnit, 0, 2)]);
        t.Set(sec, "OutCh",
              outChItems[Clamp(slot_[i].outChIndex, 0, static_cast<int>(outChItems.size()) - 1)]
                  .text);
        if (!IsMaster(i)) {
            t.Set(sec, "Gate", s.gate ? "1" : "0");
            continue;
        }
        t.Set(sec, "BandLimitType",
              BandLimitItems(language_)[Clamp(slot_[i].bandLimitIndex, 0, 2)]);
        t.Set(sec, "Delay", slot_[i].delayText);
        t.Set(sec, "Phase", texts.slot[i].phase);
        t.Set(sec, "Sweep", s.sweep ? "1" : "0");
        t.Set(sec, "SweepFreqLog", s.sweepFreqLog ? "1" : "0");
        t.Set(sec, "SweepAmpLog", s.sweepAmpLog ? "1" : "0");
        t.Set(sec, "SweepPhase", kSweepPhaseWords[Clamp(s.sweepPhase, 0, 2)]);
        t.Set(sec, "SweepStep",
              s.sweepStepRate == kSmoothSweep ? std::string("Smooth")
                                              : std::to_string(s.sweepStepRate));
        t.Set(sec, "Modulation", s.modulation ? "1" : "0");
        t.Set(sec, "ModulationType", kModulationWords[Clamp(s.modulationType, 0, 4)]);
        if (i == 0)
            t.Set(sec, "ModulatingSignal", s.modulatingSignal == 4 ? "5" : "3");
        t.Set(sec, "GateOnPeriod", FormatNumber15(s.gateOnHalfWaves / 2.0));
        t.Set(sec, "GateOffPeriod", FormatNumber15(s.gateOffHalfWaves / 2.0));
        const UserWaveSet& u = g_.userWaves[i / 4];
        t.Set(sec, "UserWave", u.userWavePath);
        t.Set(sec, "UserWaveChSel", u.channelSelectionText);
        if (i == 4)
            t.Set(sec, "UserWaveModSig", u.modSignalSelectionText);
    }
    t.Set("Filter", "FilterOn", g_.filterOn ? "On" : "Off");
    t.Set("Filter", "Comment", g_.filterDesign.comment);
    t.Set("Filter", "OverSampleRate", std::to_string(g_.overSampleRate));
    t.Set("Filter", "Size1", std::to_string(g_.filterSize));
    t.Set("Filter", "ResponseRate", std::to_string(g_.filterDesign.responseRate));
    t.Set("Filter", "AmpScale_dB_Max", std::to_string(g_.filterDesign.ampScaleMaxDb));
    t.Set("Filter", "AmpScale_dB_Min", std::to_string(g_.filterDesign.ampScaleMinDb));
    t.Set("Filter", "KaiserAlpha", FormatNumber15(g_.filterDesign.kaiserAlpha));
    t.Set("Filter", "Points", std::to_string(g_.filterDesign.pointCount));
    set.filter = g_.filterDesign;
}

} // namespace qv
