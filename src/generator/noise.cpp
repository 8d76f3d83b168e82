// The generator's side of the noise sources: reset with every run, one value per frame.
#include "generator/generator.h"

namespace qv {

void Generator::ResetNoise() {
    noise.Reset();
}

double Generator::NoiseValue(int32_t waveform) {
    switch (waveform) {
    case kWhiteNoise:
        return noise.White(static_cast<uint32_t>(frameCounter));
    case kPinkNoise:
        return 1.5 * noise.Pink(static_cast<uint32_t>(frameCounter));
    default:
        return noise.Mls(static_cast<uint32_t>(frameCounter));
    }
}

} // namespace qv
