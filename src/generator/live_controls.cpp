#include "generator/live_controls.h"

#include "generator/generator.h"
#include "generator/number_text.h"
#include "generator/unit_conversion.h"
#include "platform/ui.h"

#include <cmath>
#include <cstdio>

namespace qv {

double Wave5SyncFrequency(const Wave5SyncSettings& sync, double f) {
    return sync.ratioMode ? f * sync.ratio : f + sync.diff;
}

double ClampTransitionTime(double seconds) {
    if (!(seconds > 0.0))
        return 0.0;
    return seconds > 100.0 ? 100.0 : seconds;
}

std::string TransitionTimeText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", seconds);
    return text;
}

double SyncRatio(double typed) {
    const double r = std::fabs(typed);
    return r == 0.0 || !std::isfinite(r) ? 1.0 : r;
}

double StepValue(std::string_view text) {
    return UsableNumber(text, Notation::DecimalOrHex).value_or(0.0);
}

double SyncDifference(std::string_view text) {
    return UsableNumber(text, Notation::Decimal).value_or(0.0);
}

std::optional<std::string> EntryToShowAgain(std::string_view typed, Notation notation,
                                            double inForce, const std::string& inForceText) {
    if (UsableNumber(typed, notation) == inForce)
        return std::nullopt;
    return inForceText;
}

namespace {

// The number a level control shows, in its unit's own notation.
double LevelNumber(const std::string& text, int unit) {
    return ReadNumber(text, LevelNotation(unit));
}

double Stepped(const UpDownSettings& u, double x, bool up) {
    if (u.percentMode) {
        const double factor = 1.0 + u.percent / 100.0;
        return up ? x * factor : x / factor;
    }
    return up ? x + u.value : x - u.value;
}

// Wave5 follows a new Wave1 frequency while the frequency bar's sync is on; its text is
// rewritten in Hz (the sync is off while Wave5 shows samples per period).
bool SyncWave5(Generator& g, const LiveSettings& settings, int slotIndex, double hz, double& hz5) {
    if (slotIndex != 0 || !settings.freqBarSync || g.slots[4].freqUnit != kHz)
        return false;
    hz5 = Wave5SyncFrequency(settings.sync, hz);
    if (!std::isfinite(hz5)) {
        if (g.ui)
            g.ui->Beep(); // a ratio beyond any frequency: Wave5 stays where it is
        return false;
    }
    g.texts.slot[4].freq = FormatNumber15(hz5);
    return true;
}

} // namespace

void EditFrequencyText(Generator& g, const LiveSettings& settings, int i) {
    const double hz = FreqTextToHz(g.texts.slot[i].freq, g.slots[i].freqUnit, g.format.sampleRate);
    g.SetFrequency(i, hz);
    g.RequestRestart(i);
    double hz5;
    if (SyncWave5(g, settings, i, hz, hz5)) {
        g.SetFrequency(4, hz5, true);
        g.RequestRestart(4);
    }
}

void EditAmplitudeText(Generator& g, int i) {
    g.SetAmplitude(i, LevelTextToInternal(g.texts.slot[i].amp, g.slots[i].ampUnit, g.format));
    g.RequestRestart(i);
}

void EditOffsetText(Generator& g, int i) {
    g.SetOffset(i, LevelTextToInternal(g.texts.slot[i].offset, g.slots[i].offsetUnit, g.format));
    g.RequestRestart(i);
}

void EditPhaseText(Generator& g, int i) {
    g.SetPhase(i, PhaseTextToRadians(g.texts.slot[i].phase));
    g.RequestRestart(i, true);
}

void StepFrequency(Generator& g, const LiveSettings& settings, int i, int delta) {
    if (!IsMaster(i) || delta == 0)
        return;
    const UpDownSettings& u = settings.freq;
    const int unit = g.slots[i].freqUnit;
    double x = Stepped(u, std::fabs(ReadDecimal(g.texts.slot[i].freq)), delta > 0);
    if (!std::isfinite(x)) {
        if (g.ui)
            g.ui->Beep(); // a step beyond any frequency: the value stays
        return;
    }
    if (unit == kSamplesPerPeriod && x <= 1.0)
        x = 1.0;
    else if (unit == kHz && x < 0.0)
        x = 0.0;
    g.texts.slot[i].freq = FormatNumber15(x);

    if (u.transition == 0.0 && u.resetBuffer) {
        EditFrequencyText(g, settings, i);
        return;
    }
    const double hz = FreqTextToHz(g.texts.slot[i].freq, unit, g.format.sampleRate);
    g.StartFreqTransition(i, delta, false, u.transition, u.log, hz);
    double hz5;
    if (SyncWave5(g, settings, i, hz, hz5))
        g.StartFreqTransition(4, delta, false, u.transition, u.log, hz5);
}

void GlideWave1(Generator& g, const LiveSettings& settings, double hz, double seconds, bool log) {
    constexpr int kOneNotch = 120; // the transition takes the whole time
    g.StartFreqTransition(0, kOneNotch, true, seconds, log, hz);
    double hz5;
    if (SyncWave5(g, settings, 0, hz, hz5))
        g.StartFreqTransition(4, kOneNotch, false, seconds, log, hz5);
}

void StepAmplitude(Generator& g, const LiveSettings& settings, int i, int delta) {
    if (!IsMaster(i) || delta == 0)
        return;
    const UpDownSettings& u = settings.amp;
    const int unit = g.slots[i].ampUnit;
    const double x = Stepped(u, LevelNumber(g.texts.slot[i].amp, unit), delta > 0);
    if (!std::isfinite(x)) {
        if (g.ui)
            g.ui->Beep();
        return;
    }
    g.texts.slot[i].amp = FormatNumber15(x);

    if (u.transition == 0.0 && u.resetBuffer) {
        EditAmplitudeText(g, i);
        return;
    }
    const double level = LevelTextToInternal(g.texts.slot[i].amp, unit, g.format);
    g.StartAmpTransition(i, delta, u.transition, u.log, level);
}

} // namespace qv
