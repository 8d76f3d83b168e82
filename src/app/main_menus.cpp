#include "app/main_menus.h"

#include "app/main_controls.h"
#include "generator/wave_slot.h"
#include "platform/language.h"

#include <string>

namespace qv {

namespace {

constexpr Text2 kSamplesPeriod{"Sample数 (周期)", "Samples (Period)"};
constexpr Text2 kValueMax{"数値 (32767max)", "Value (32767max)"};
constexpr Text2 kOptimizeFft{"FFT 用に最適化", "Optimize for FFT"};
constexpr Text2 kFftSamples{"FFT ｻﾝﾌﾟﾙ数", "FFT samples"};
constexpr Text2 kTimesOfWave1{"Wave1 の倍数", "Times of Wave1"};
constexpr Text2 kTimesOfWave5{"Wave5 の倍数", "Times of Wave5"};
constexpr Text2 kFrequency{"周波数 (Freq)", "Frequency"};
constexpr Text2 kAmplitude{"振幅    (Amp)", "Amplitude"};
constexpr Text2 kPhase{"位相  (Phase)", "Phase"};
constexpr Text2 kVariation{"変化量", "Variation"};
constexpr Text2 kLog{"ﾛｸﾞ", "log"};
constexpr Text2 kLinear{"ﾘﾆｱ", "linear"};
constexpr Text2 kSmooth{"ｽﾑｰｽﾞ (連続)", "smooth (continuously)"};
constexpr Text2 kStepRates[] = {{"1 回/秒", "1 time per sec"},
                                {"2 回/秒", "2 times per sec"},
                                {"3 回/秒", "3 times per sec"},
                                {"4 回/秒", "4 times per sec"}};
constexpr Text2 kModulatingSignal{"変調信号", "Modulating Signal"};
constexpr const char* kModulationTypes[] = {"AM", "DSB", "FM", "PM", "PWM"};

} // namespace

Menu FreqUnitMenu(MainControls& c, int i) {
    const int unit = c.Slot(i).freqUnit;
    return {{"Hz", [&c, i] { c.OnFreqUnit(i, kHz); }, unit == kHz},
            {kSamplesPeriod(c.Language()), [&c, i] { c.OnFreqUnit(i, kSamplesPerPeriod); },
             unit == kSamplesPerPeriod}};
}

Menu LevelUnitMenu(MainControls& c, int i, bool amplitude) {
    const WaveSlot& s = c.Slot(i);
    const int unit = amplitude ? s.ampUnit : s.offsetUnit;
    const auto set = [&c, i, amplitude](int u) {
        return [&c, i, amplitude, u] { amplitude ? c.OnAmpUnit(i, u) : c.OnOffsetUnit(i, u); };
    };
    return {{"dB  (0max)", set(kDb), unit == kDb},
            {kValueMax(c.Language()), set(kValue), unit == kValue},
            {"%  (100max)", set(kPercent), unit == kPercent}};
}

Menu FreqMenu(MainControls& c, int i) {
    if (!c.HasFreqMenu(i))
        return {};
    const int lang = c.Language();
    Menu sizes{{" 2048", [&c] { c.SetFitSampleCount(2048); }, c.FitItem() == " 2048"}};
    for (int32_t n = 4096; n <= 131072; n *= 2)
        sizes.push_back({std::to_string(n), [&c, n] { c.SetFitSampleCount(n); },
                         c.FitItem() == std::to_string(n)});
    Menu menu{{kOptimizeFft(lang), [&c, i] { c.OnFitToFft(i); }},
              {kFftSamples(lang), {}, false, true, sizes}};
    if (i % 4 != 0) {
        Menu times;
        for (int k = 2; k <= 10; ++k)
            times.push_back({"x" + std::to_string(k), [&c, i, k] { c.OnMultipleOfMaster(i, k); }});
        menu.push_back({(i < 4 ? kTimesOfWave1 : kTimesOfWave5)(lang), {}, false, true, times});
    }
    return menu;
}

Menu SweepMenu(MainControls& c, int m) {
    if (!c.Enabled(m, SlotControl::Sweep))
        return {};
    const int lang = c.Language();
    const WaveSlot& s = c.Slot(m);
    // Each item changes one of the four settings and keeps the others.
    const auto set = [&c, m](auto change) {
        return [&c, m, change] {
            const WaveSlot& now = c.Slot(m);
            bool freqLog = now.sweepFreqLog, ampLog = now.sweepAmpLog;
            int phase = now.sweepPhase;
            uint32_t rate = now.sweepStepRate;
            change(freqLog, ampLog, phase, rate);
            c.OnSweepMenu(m, freqLog, ampLog, phase, rate);
        };
    };
    const auto freqLog = [&](bool on) {
        return set([on](bool& f, bool&, int&, uint32_t&) { f = on; });
    };
    const auto ampLog = [&](bool on) {
        return set([on](bool&, bool& a, int&, uint32_t&) { a = on; });
    };
    const auto phase = [&](int p) {
        return set([p](bool&, bool&, int& ph, uint32_t&) { ph = p; });
    };
    const auto rate = [&](uint32_t r) {
        return set([r](bool&, bool&, int&, uint32_t& rr) { rr = r; });
    };
    Menu steps{{kSmooth(lang), rate(kSmoothSweep), s.sweepStepRate == kSmoothSweep}};
    for (uint32_t n = 4; n >= 1; --n)
        steps.push_back({kStepRates[n - 1](lang), rate(n), s.sweepStepRate == n});
    const std::string wave = m == 0 ? "Wave1" : "Wave5";
    Menu menu;
    const bool periodic = c.SweepFreqItemsEnabled(m);
    if (periodic)
        menu.push_back({kFrequency(lang),
                        {},
                        false,
                        true,
                        {{kLog(lang), freqLog(true), s.sweepFreqLog},
                         {kLinear(lang), freqLog(false), !s.sweepFreqLog}}});
    menu.push_back({kAmplitude(lang),
                    {},
                    false,
                    true,
                    {{kLog(lang), ampLog(true), s.sweepAmpLog},
                     {kLinear(lang), ampLog(false), !s.sweepAmpLog}}});
    if (periodic)
        menu.push_back({kPhase(lang),
                        {},
                        false,
                        true,
                        {{"Off", phase(0), s.sweepPhase == 0},
                         {"On (" + wave + " --> 360)", phase(1), s.sweepPhase == 1},
                         {"On (" + wave + " --> 0)", phase(2), s.sweepPhase == 2}}});
    menu.push_back({kVariation(lang), {}, false, true, steps});
    return menu;
}

Menu ModulationMenu(MainControls& c, int m) {
    if (!c.Enabled(m, SlotControl::Modulation))
        return {};
    const WaveSlot& s = c.Slot(m);
    Menu menu;
    for (int k = 0; k < 5; ++k)
        menu.push_back({kModulationTypes[k],
                        [&c, m, k] {
                            const WaveSlot& now = c.Slot(m);
                            c.OnModulation(m, now.modulation, k, now.modulatingSignal);
                        },
                        s.modulationType == k});
    if (m == 0) {
        const auto signal = [&c](int slot) {
            return [&c, slot] {
                const WaveSlot& now = c.Slot(0);
                c.OnModulation(0, now.modulation, now.modulationType, slot);
            };
        };
        menu.push_back({kModulatingSignal(c.Language()),
                        {},
                        false,
                        true,
                        {{"Wave3", signal(2), s.modulatingSignal == 2},
                         {"Wave5", signal(4), s.modulatingSignal == 4}}});
    }
    return menu;
}

} // namespace qv
