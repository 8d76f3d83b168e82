// Noise sources shared by all slots.
#include "generator/generator.h"

namespace qv {

// The noise generators are not built yet: noise waveforms are silent (offset only).
void Generator::ResetNoise() {}

double Generator::NoiseValue(int32_t waveform) const {
    (void)waveform;
    return 0.0;
}

} // namespace qv
