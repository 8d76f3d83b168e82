// Sweep, modulation and tone-burst gate of the two masters.
#include "generator/generator.h"
#include "generator/remainder.h"

#include <cmath>

namespace qv {

void Generator::SetupSweep(WaveSlot& master, double seconds) {
    // Sweep steps are not computed yet: a sweeping master runs as a steady tone.
    (void)master;
    (void)seconds;
}

void Generator::ApplyModulation(WaveSlot& master, double& amplitude, double& duty,
                                double& phaseOffset) {
    // Modulation is not applied yet: the master plays unmodulated.
    (void)master;
    (void)amplitude;
    (void)duty;
    (void)phaseOffset;
}

void Generator::ApplyStep(WaveSlot& master) {
    (void)master;
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
