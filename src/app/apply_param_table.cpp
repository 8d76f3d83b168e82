#include "app/apply_param_table.h"

#include "files/param_text_table.h"
#include "generator/generator.h"
#include "generator/item_lists.h"
#include "generator/number_text.h"
#include "generator/unit_conversion.h"

#include <cmath>
#include <numbers>
#include <string>

namespace qv {

namespace {

bool FlagOn(const std::string& text) {
    return ReadInteger(text) != 0;
}

uint32_t HalfWaves(const std::string& text) {
    double h = std::trunc(2.0 * ReadDecimal(text));
    if (!(h > 0))
        return 0;
    return h >= 4294967295.0 ? 4294967295u : static_cast<uint32_t>(h);
}

int32_t Keyword(const std::string& text, std::initializer_list<const char*> words) {
    int32_t i = 0;
    for (const char* w : words) {
        if (text == w)
            return i;
        ++i;
    }
    return 0;
}

} // namespace

void ApplyParamTable(const ParamTextTable& t, Generator& g, int lang) {
    ControlTexts& texts = g.texts;
    texts.fileLength = t.Get("File", "Length");
    texts.sampleRate = t.Get("Misc", "SamplingFreq");
    texts.bitLen = BitLenItems()[FindItem(BitLenItems(), t.Get("Misc", "BitLen"))];
    texts.channelIndex = FindItem(ChannelCountItems(), t.Get("Misc", "Ch"));
    g.ApplyOutputFormat();
    const auto outChItems = OutChItems(g.format.channels);

    g.filterOn = t.Get("Filter", "FilterOn") == "On";
    g.fitSampleCount = static_cast<int32_t>(ReadInteger(t.Get("Misc", "SampleNforFit")));

    const auto waveforms = WaveformItems(lang);
    for (int i = 0; i < kSlotCount; ++i) {
        const std::string sec = "Wave" + std::to_string(i + 1);
        WaveSlot& s = g.slots[i];
        const bool master = IsMaster(i);
        s.waveform = FindItem(master ? waveforms : waveforms.first(10), t.Get(sec, "Waveform"));
        texts.slot[i].freq = t.Get(sec, "Freq");
        texts.slot[i].amp = t.Get(sec, "Amp");
        texts.slot[i].offset = t.Get(sec, "Offset");
        s.outChMask = 0;
        for (const OutChItem& item : outChItems) {
            if (item.text == t.Get(sec, "OutCh"))
                s.outChMask = item.mask;
        }
        s.freqUnit = FindItem(FreqUnitKeywords(), t.Get(sec, "FreqUnit"));
        s.ampUnit = FindItem(LevelUnitKeywords(), t.Get(sec, "AmpUnit"));
        s.offsetUnit = FindItem(LevelUnitKeywords(), t.Get(sec, "OffsetUnit"));
        if (!master) {
            s.delay = 0;
            s.phase = 0.0;
            s.gate = FlagOn(t.Get(sec, "Gate"));
            continue;
        }
        s.bandLimitType = FindItem(BandLimitItems(lang), t.Get(sec, "BandLimitType"));
        const long long delay = ReadInteger(t.Get(sec, "Delay"));
        s.delay = static_cast<int32_t>(delay > 2147483647LL    ? 2147483647LL
                                       : delay < -2147483647LL ? -2147483647LL
                                                               : delay);
        texts.slot[i].phase = t.Get(sec, "Phase");
        s.phase = PhaseTextToRadians(texts.slot[i].phase);
        s.sweep = FlagOn(t.Get(sec, "Sweep"));
        s.sweepFreqLog = FlagOn(t.Get(sec, "SweepFreqLog"));
        s.sweepAmpLog = FlagOn(t.Get(sec, "SweepAmpLog"));
        s.sweepPhase = Keyword(t.Get(sec, "SweepPhase"), {"Off", "Up", "Down"});
        const long long step = ReadInteger(t.Get(sec, "SweepStep"));
        s.sweepStepRate = step >= 1 && step <= 4 ? static_cast<uint32_t>(step) : kSmoothSweep;
        s.modulation = FlagOn(t.Get(sec, "Modulation"));
        s.modulationType = Keyword(t.Get(sec, "ModulationType"), {"AM", "DSB", "FM", "PM", "PWM"});
        s.modulatingSignal = i == 0 && t.Get(sec, "ModulatingSignal") == "5" ? 4 : 2;
        s.gateOnHalfWaves = HalfWaves(t.Get(sec, "GateOnPeriod"));
        s.gateOffHalfWaves = HalfWaves(t.Get(sec, "GateOffPeriod"));
        s.gate = s.gateOnHalfWaves != 0 && s.gateOffHalfWaves != 0;
    }
    // The units are in place now, so the levels and frequencies are derived in them.
    g.ApplyOutputFormat();
    g.peakMax.fill(0);
    g.peakMin.fill(0);
    g.clipped.fill(false);
}

} // namespace qv
