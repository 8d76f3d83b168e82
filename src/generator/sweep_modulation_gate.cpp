// Sweep, modulation and tone-burst gate of the two masters.
#include "generator/generator.h"
#include "generator/remainder.h"

#include <cmath>
#include <numbers>

namespace qv {

// Steps from the master's values to those of its end-point slot (Wave2 or Wave6) over the sweep
// length: q steps reach the end values, the last interval plays at them, and one more step ends
// the sweep.
void Generator::SetupSweep(WaveSlot& m, double seconds) {
    const WaveSlot& n = slots[m.slotIndex + 1];
    const double E = effectiveRate;
    const double R = m.sweepStepRate == kSmoothSweep ? E : static_cast<double>(m.sweepStepRate);
    const double steps = std::trunc(R * seconds + 0.5);
    m.stepsLeft = steps >= 2147483647.0 ? 2147483647 : static_cast<int32_t>(steps);
    if (m.stepsLeft <= 0)
        m.stepsLeft = 1;
    const double perStep = std::trunc((E * seconds + 0.5) / m.stepsLeft);
    m.samplesPerStep = perStep >= 4294967295.0 ? 4294967295u : static_cast<uint32_t>(perStep);
    if (m.samplesPerStep == 0)
        m.samplesPerStep = 1;
    m.stepCountdown =
        static_cast<int32_t>(m.samplesPerStep > 2147483647u ? 2147483647u : m.samplesPerStep);
    const double q = m.stepsLeft - 1 > 0 ? m.stepsLeft - 1 : 1;
    m.freqStepsLog = m.sweepFreqLog;
    m.freqStepLin = (n.freq - m.freq) / q;
    m.freqStepRatio = n.freq != 0.0 && m.freq != 0.0 ? std::pow(n.freq / m.freq, 1.0 / q) : 1.0;
    // Levels of different sign, or a level of 0, have no ratio to step by: such a sweep steps
    // linearly, as a transition does, and the sweep menu's choice stays as the user set it.
    m.ampStepsLog = m.sweepAmpLog && RatioStepsPossible(m.amp, n.amp);
    m.ampStepLin = (n.amp - m.amp) / q;
    m.ampStepRatio = m.ampStepsLog ? std::pow(n.amp / m.amp, 1.0 / q) : 1.0;
    const double target = m.sweepPhase == 1 ? 2.0 * std::numbers::pi : 0.0;
    m.phaseStep = (target - m.phase) / q;
}

void Generator::ApplyModulation(WaveSlot& m, double& amplitude, double& duty, double& phaseOffset) {
    const int modulator = m.slotIndex == 0 ? m.modulatingSignal.Get() : 6;
    const double v = slots[modulator].modOut / format.fullScale;
    switch (m.modulationType) {
    case 0:
        amplitude = m.curAmp * (1.0 + v);
        break;
    case 1:
        amplitude = m.curAmp * v;
        break;
    case 2:
        m.phaseAcc += v * m.curFreq;
        break;
    case 3:
        phaseOffset = m.curPhase + 2.0 * std::numbers::pi * v;
        break;
    case 4: {
        const double d = 0.5 * v + 0.5;
        duty = d < 0.01 ? 0.01 : d > 0.99 ? 0.99 : d;
        break;
    }
    default:
        break;
    }
}

void Generator::ApplyStep(WaveSlot& m) {
    if (--m.stepCountdown > 0)
        return;
    m.stepCountdown =
        static_cast<int32_t>(m.samplesPerStep > 2147483647u ? 2147483647u : m.samplesPerStep);
    m.curFreq = m.freqStepsLog ? m.curFreq * m.freqStepRatio : m.curFreq + m.freqStepLin;
    m.curAmp = m.ampStepsLog ? m.curAmp * m.ampStepRatio : m.curAmp + m.ampStepLin;
    if (m.sweepPhase != 0)
        m.curPhase += m.phaseStep;
    if (--m.stepsLeft <= 0) {
        m.stepsLeft = 0;
        m.curFreq = m.freq;
        m.curAmp = m.amp;
        m.transition = false;
    }
}

// The gate counts half periods of the master's own phase (without the phase offset) and
// toggles when the count of the current state runs out.
void Generator::AdvanceGate(WaveSlot& master) {
    if (!IsMaster(master.slotIndex) || master.waveform < kSine || master.waveform > kPulsePm ||
        master.curFreq == 0.0) {
        return;
    }
    const double g = PhaseRemainder(master.phaseAcc, effectiveRate, invRate) * invRate;
    if ((g >= 0.25 && g < 0.5) || g >= 0.75) {
        master.gateArmed = true;
        return;
    }
    if (!master.gateArmed)
        return;
    master.gateArmed = false;
    if (--master.gateCount <= 0) {
        if (master.gateOpen) {
            master.gateOpen = false;
            master.gateCount = static_cast<int32_t>(master.gateOffHalfWaves);
        } else {
            master.gateOpen = true;
            master.gateCount = static_cast<int32_t>(master.gateOnHalfWaves);
        }
    }
}

} // namespace qv
