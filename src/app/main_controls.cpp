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
    : g(generator), language(languageIndex) {
    for (int i = 0; i < kSlotCount; ++i) {
        const uint32_t mask = g.slots[i].outChMask;
        const auto items = OutChItems(g.format.channels);
        for (size_t k = 0; k < items.size(); ++k) {
            if (items[k].mask == mask)
                slot[i].outChIndex = static_cast<int>(k);
        }
        if (IsMaster(i))
            UpdateMasterEnabling(i);
    }
}

std::span<const char* const> MainControls::WaveformList(int i) const {
    const auto all = WaveformItems(language);
    return IsMaster(i) ? all : all.first(10);
}
std::span<const char* const> MainControls::FreqList(int i) const {
    return FreqItems(g.slots[i].freqUnit);
}
std::span<const char* const> MainControls::AmpList(int i) const {
    return LevelItems(g.slots[i].ampUnit);
}
std::span<const char* const> MainControls::OffsetList(int i) const {
    return LevelItems(g.slots[i].offsetUnit);
}
std::string MainControls::FreqLabel(int i) const {
    return FreqUnitLabel(g.slots[i].freqUnit);
}
std::string MainControls::AmpLabel(int i) const {
    return LevelUnitLabel(g.slots[i].ampUnit, language);
}
std::string MainControls::OffsetLabel(int i) const {
    return LevelUnitLabel(g.slots[i].offsetUnit, language);
}

void MainControls::UpdateMasterEnabling(int m) {
    SlotControls& c = slot[m];
    const int w = g.slots[m].waveform;
    c.freqEnabled = w <= kPulsePm;
    c.phaseEnabled = Periodic(w);
    c.modulationEnabled = Periodic(w) || w == kUserWave;
    c.sweepEnabled = !running && w != kOff && w != kUserWave;
    c.sweepFreqMenuEnabled = !running && Periodic(w);
    c.delayEnabled = !running && w != kOff;
    c.bandLimitVisible = w != kUserWave;
    c.waveformHint.clear();
    if (w == kUserWave) {
        const UserWaveSet& u = g.userWaves[m / 4];
        c.waveformHint =
            u.userWaveFrames > 0 ? u.userWavePath : std::string(kUserWaveNotRegistered(language));
    }
}

void MainControls::UpdateFreqColour(int i) {
    slot[i].freqRed = g.slots[i].freq > g.format.sampleRate / 2.0;
}

void MainControls::OnWaveform(int i, int itemIndex) {
    g.slots[i].waveform = Clamp(itemIndex, 0, static_cast<int>(WaveformList(i).size()) - 1);
    if (IsMaster(i))
        UpdateMasterEnabling(i);
    else
        slot[i].freqEnabled = g.slots[i].waveform <= kPulsePm;
    g.RequestRestart(i, true);
}

void MainControls::OnFrequency(int i) {
    EditFrequencyText(g, live, i);
    UpdateFreqColour(i);
    if (i == 0 && live.freqBarSync)
        UpdateFreqColour(4);
}

void MainControls::OnAmplitude(int i) {
    EditAmplitudeText(g, i);
}

void MainControls::OnOffset(int i) {
    EditOffsetText(g, i);
}

void MainControls::OnOutCh(int i, int itemIndex) {
    const auto items = OutChItems(g.format.channels);
    slot[i].outChIndex = Clamp(itemIndex, 0, static_cast<int>(items.size()) - 1);
    g.slots[i].outChMask = items[slot[i].outChIndex].mask;
    g.RequestRestart(i);
}

void MainControls::OnBandLimit(int m, int itemIndex) {
    slot[m].bandLimitIndex = Clamp(itemIndex, 0, 2);
    g.slots[m].bandLimitType = slot[m].bandLimitIndex;
    g.RequestRestart(m);
}

void MainControls::OnDelay(int m) {
    const long long d = ReadInteger(slot[m].delayText);
    g.slots[m].delay = static_cast<int32_t>(d > 2147483647LL    ? 2147483647LL
                                            : d < -2147483647LL ? -2147483647LL
                                                                : d);
}

void MainControls::OnPhase(int m) {
    EditPhaseText(g, m);
}

void MainControls::OnFreqUnit(int i, int unit) {
    WaveSlot& s = g.slots[i];
    s.freqUnit = Clamp(unit, 0, 1);
    g.texts.slot[i].freq = FreqToText(s.freq, s.freqUnit, g.format.sampleRate);
    slot[i].freqPopup = s.freqUnit == kHz;
    if (i == 0)
        freqBarButtonEnabled = s.freqUnit == kHz;
    if (i == 4)
        freqBarSyncEnabled = s.freqUnit == kHz;
}

void MainControls::OnAmpUnit(int i, int unit) {
    WaveSlot& s = g.slots[i];
    s.ampUnit = Clamp(unit, 0, 2);
    g.texts.slot[i].amp = LevelToText(s.amp, s.ampUnit, g.format);
}

void MainControls::OnOffsetUnit(int i, int unit) {
    WaveSlot& s = g.slots[i];
    s.offsetUnit = Clamp(unit, 0, 2);
    g.texts.slot[i].offset = LevelToText(s.offset, s.offsetUnit, g.format);
}

void MainControls::OnGatePeriods(int m) {
    WaveSlot& s = g.slots[m];
    s.gateOnHalfWaves = HalfWaves(slot[m].gateOnText);
    s.gateOffHalfWaves = HalfWaves(slot[m].gateOffText);
    s.gate = s.gateOnHalfWaves != 0 && s.gateOffHalfWaves != 0;
    for (int f = m + 1; f <= m + 3; ++f)
        slot[f].followerGateEnabled = s.gate;
}

void MainControls::OnFollowerGate(int i, bool on) {
    g.slots[i].gate = on;
    g.RequestRestart(i, true);
}

void MainControls::OnModulation(int m, bool on, int type, int signalSlot) {
    WaveSlot& s = g.slots[m];
    s.modulation = on;
    s.modulationType = Clamp(type, 0, 4);
    if (m == 0)
        s.modulatingSignal = signalSlot == 4 ? 4 : 2;
    g.RequestRestart(m, true);
}

void MainControls::OnSweep(int m, bool on) {
    g.slots[m].sweep = on;
}

void MainControls::SetFitSampleCount(int32_t count) {
    g.fitSampleCount = count;
    fitItem = std::to_string(count);
    for (int32_t v = 4096; v <= 131072; v *= 2) {
        if (v == count)
            return;
    }
    fitItem = " 2048"; // the first item stands for every other value
}

void MainControls::OnFitToFft(int i) {
    if (!slot[i].freqPopup)
        return;
    const double f = FitFrequencyToFft(g.slots[i].freq, g.format.sampleRate, g.fitSampleCount);
    g.texts.slot[i].freq = FormatNumber15(f);
    OnFrequency(i);
}

void MainControls::OnMultipleOfMaster(int i, int k) {
    if (IsMaster(i) || !slot[i].freqPopup)
        return;
    g.texts.slot[i].freq = FormatNumber15(MultipleOfMaster(g.slots[i < 4 ? 0 : 4].freq, k));
    OnFrequency(i);
}

void MainControls::CycleFreqUnit(int i) {
    OnFreqUnit(i, g.slots[i].freqUnit == kHz ? kSamplesPerPeriod : kHz);
}

void MainControls::CycleAmpUnit(int i) {
    OnAmpUnit(i, (g.slots[i].ampUnit + 1) % 3);
}

void MainControls::CycleOffsetUnit(int i) {
    OnOffsetUnit(i, (g.slots[i].offsetUnit + 1) % 3);
}

void MainControls::SetControlsForRun(bool enabled) {
    controlsForRunEnabled = enabled;
    running = !enabled;
    for (int m : {0, 4})
        UpdateMasterEnabling(m);
}

void MainControls::ApplyParamTable(const ParamSet& set) {
    const ParamTextTable& t = set.texts;
    ControlTexts& texts = g.texts;
    // 1. Lengths, comment, format; output-channel lists for the channel count.
    texts.fileLength = t.Get("File", "Length");
    comment = t.Get("File", "Comment").substr(0, 80);
    texts.sampleRate = t.Get("Misc", "SamplingFreq");
    texts.bitLen = BitLenItems()[FindItem(BitLenItems(), t.Get("Misc", "BitLen"))];
    texts.channelIndex = FindItem(ChannelCountItems(), t.Get("Misc", "Ch"));
    g.ApplyOutputFormat();
    const auto outChItems = OutChItems(g.format.channels);
    // 2. Filter switch and the FFT fit.
    g.filterOn = t.Get("Filter", "FilterOn") == "On";
    g.overSampleRate = static_cast<uint32_t>(ReadInteger(t.Get("Filter", "OverSampleRate")));
    g.filterSize = static_cast<uint32_t>(ReadInteger(t.Get("Filter", "Size1")));
    g.filterDesign = set.filter;
    SetFitSampleCount(static_cast<int32_t>(ReadInteger(t.Get("Misc", "SampleNforFit"))));
    // 3. Up/down and Wave5 sync settings.
    ReadLiveSettings(t, live);
    // 4. Per slot: items and texts.
    for (int i = 0; i < kSlotCount; ++i) {
        const std::string sec = "Wave" + std::to_string(i + 1);
        WaveSlot& s = g.slots[i];
        s.waveform = FindItem(WaveformList(i), t.Get(sec, "Waveform"));
        texts.slot[i].freq = t.Get(sec, "Freq");
        texts.slot[i].amp = t.Get(sec, "Amp");
        texts.slot[i].offset = t.Get(sec, "Offset");
        slot[i].outChIndex = 0;
        for (size_t k = 0; k < outChItems.size(); ++k) {
            if (outChItems[k].text == t.Get(sec, "OutCh"))
                slot[i].outChIndex = static_cast<int>(k);
        }
        if (IsMaster(i)) {
            slot[i].bandLimitIndex =
                FindItem(BandLimitItems(language), t.Get(sec, "BandLimitType"));
            slot[i].delayText = t.Get(sec, "Delay");
            texts.slot[i].phase = t.Get(sec, "Phase");
        }
    }
    // 5. Waveform and band-limit handlers (nothing plays while a set is applied).
    for (int i = 0; i < kSlotCount; ++i) {
        if (IsMaster(i))
            UpdateMasterEnabling(i);
        else
            slot[i].freqEnabled = g.slots[i].waveform <= kPulsePm;
    }
    for (int m : {0, 4})
        g.slots[m].bandLimitType = slot[m].bandLimitIndex;
    // 6. Units.
    for (int i = 0; i < kSlotCount; ++i) {
        const std::string sec = "Wave" + std::to_string(i + 1);
        g.slots[i].freqUnit = FindItem(FreqUnitKeywords(), t.Get(sec, "FreqUnit"));
        g.slots[i].ampUnit = FindItem(LevelUnitKeywords(), t.Get(sec, "AmpUnit"));
        g.slots[i].offsetUnit = FindItem(LevelUnitKeywords(), t.Get(sec, "OffsetUnit"));
    }
    // 7. The format again (levels and frequencies in their units); frequency colours.
    g.ApplyOutputFormat();
    for (int i = 0; i < kSlotCount; ++i) {
        g.slots[i].curFreq = g.slots[i].freq;
        g.slots[i].curAmp = g.slots[i].amp;
        UpdateFreqColour(i);
    }
    // 8. Unit controls (their texts re-expressed from the values they produced, so a set saves
    // back as it plays) and output channels.
    for (int i = 0; i < kSlotCount; ++i) {
        OnFreqUnit(i, g.slots[i].freqUnit);
        OnAmpUnit(i, g.slots[i].ampUnit);
        OnOffsetUnit(i, g.slots[i].offsetUnit);
        g.slots[i].outChMask = outChItems[slot[i].outChIndex].mask;
    }
    // 9. Delays and phases (followers have neither).
    for (int i = 0; i < kSlotCount; ++i) {
        if (IsMaster(i)) {
            OnDelay(i);
            g.slots[i].phase = g.slots[i].curPhase = PhaseTextToRadians(texts.slot[i].phase);
        } else {
            g.slots[i].delay = 0;
            g.slots[i].phase = g.slots[i].curPhase = 0.0;
        }
    }
    // 10. - 12. Sweep, modulation, gate.
    for (int m : {0, 4}) {
        const std::string sec = "Wave" + std::to_string(m + 1);
        WaveSlot& s = g.slots[m];
        s.sweep = Flag(t.Get(sec, "Sweep"));
        s.sweepFreqLog = Flag(t.Get(sec, "SweepFreqLog"));
        s.sweepAmpLog = Flag(t.Get(sec, "SweepAmpLog"));
        s.sweepPhase = FindItem(kSweepPhaseWords, t.Get(sec, "SweepPhase"));
        const long long step = ReadInteger(t.Get(sec, "SweepStep"));
        s.sweepStepRate = step >= 1 && step <= 4 ? static_cast<uint32_t>(step) : kSmoothSweep;
        s.modulation = Flag(t.Get(sec, "Modulation"));
        s.modulationType = FindItem(kModulationWords, t.Get(sec, "ModulationType"));
        s.modulatingSignal = m == 0 && t.Get(sec, "ModulatingSignal") == "5" ? 4 : 2;
        UserWaveSet& u = g.userWaves[m / 4];
        u.userWavePath = t.Get(sec, "UserWave");
        u.channelSelectionText = t.Get(sec, "UserWaveChSel");
        if (m == 4)
            u.modSignalSelectionText = t.Get(sec, "UserWaveModSig");
        slot[m].gateOnText = t.Get(sec, "GateOnPeriod");
        slot[m].gateOffText = t.Get(sec, "GateOffPeriod");
        OnGatePeriods(m);
    }
    for (int i = 0; i < kSlotCount; ++i) {
        if (!IsMaster(i))
            g.slots[i].gate = Flag(t.Get("Wave" + std::to_string(i + 1), "Gate"));
    }
    // 13. Level data.
    g.peakMax.fill(0);
    g.peakMin.fill(0);
    g.clipped.fill(false);
}

void MainControls::CaptureParamTable(ParamSet& set) const {
    ParamTextTable& t = set.texts;
    const ControlTexts& texts = g.texts;
    t.Set("File", "Length", texts.fileLength);
    t.Set("File", "Comment", comment);
    t.Set("Misc", "SamplingFreq", texts.sampleRate);
    t.Set("Misc", "BitLen", texts.bitLen);
    t.Set("Misc", "Ch", ChannelCountItems()[Clamp(texts.channelIndex, 0, 7)]);
    t.Set("Misc", "SampleNforFit", std::to_string(g.fitSampleCount));
    WriteLiveSettings(live, t);
    const auto outChItems = OutChItems(g.format.channels);
    for (int i = 0; i < kSlotCount; ++i) {
        const std::string sec = "Wave" + std::to_string(i + 1);
        const WaveSlot& s = g.slots[i];
        t.Set(sec, "Waveform", WaveformList(i)[Clamp(s.waveform, 0, 10)]);
        t.Set(sec, "Freq", texts.slot[i].freq);
        t.Set(sec, "FreqUnit", FreqUnitKeywords()[Clamp(s.freqUnit, 0, 1)]);
        t.Set(sec, "Amp", texts.slot[i].amp);
        t.Set(sec, "AmpUnit", LevelUnitKeywords()[Clamp(s.ampUnit, 0, 2)]);
        t.Set(sec, "Offset", texts.slot[i].offset);
        t.Set(sec, "OffsetUnit", LevelUnitKeywords()[Clamp(s.offsetUnit, 0, 2)]);
        t.Set(
            sec, "OutCh",
            outChItems[Clamp(slot[i].outChIndex, 0, static_cast<int>(outChItems.size()) - 1)].text);
        if (!IsMaster(i)) {
            t.Set(sec, "Gate", s.gate ? "1" : "0");
            continue;
        }
        t.Set(sec, "BandLimitType", BandLimitItems(language)[Clamp(slot[i].bandLimitIndex, 0, 2)]);
        t.Set(sec, "Delay", slot[i].delayText);
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
        const UserWaveSet& u = g.userWaves[i / 4];
        t.Set(sec, "UserWave", u.userWavePath);
        t.Set(sec, "UserWaveChSel", u.channelSelectionText);
        if (i == 4)
            t.Set(sec, "UserWaveModSig", u.modSignalSelectionText);
    }
    t.Set("Filter", "FilterOn", g.filterOn ? "On" : "Off");
    t.Set("Filter", "Comment", g.filterDesign.comment);
    t.Set("Filter", "OverSampleRate", std::to_string(g.overSampleRate));
    t.Set("Filter", "Size1", std::to_string(g.filterSize));
    t.Set("Filter", "ResponseRate", std::to_string(g.filterDesign.responseRate));
    t.Set("Filter", "AmpScale_dB_Max", std::to_string(g.filterDesign.ampScaleMaxDb));
    t.Set("Filter", "AmpScale_dB_Min", std::to_string(g.filterDesign.ampScaleMinDb));
    t.Set("Filter", "KaiserAlpha", FormatNumber15(g.filterDesign.kaiserAlpha));
    t.Set("Filter", "Points", std::to_string(g.filterDesign.pointCount));
    set.filter = g.filterDesign;
}

} // namespace qv
