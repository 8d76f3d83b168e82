// Band-limited square, triangle, sawtooth and pulses of the masters.
#include "generator/generator.h"

namespace qv {

// Additive and BLIT synthesis are not built yet: a band-limited master is silent (offset only),
// never an aliasing naive waveform that claims to be band-limited.
double Generator::BandLimitedValue(WaveSlot& slot, double amplitude, double duty, double phase01,
                                   double increment) {
    (void)slot;
    (void)amplitude;
    (void)duty;
    (void)phase01;
    (void)increment;
    return 0.0;
}

} // namespace qv
