// The generator's side of the noise sources: reset with every run, one value per frame.
#include "generator/generator.h"

namespace qv {

void Generator::ResetNoise() {
    noise.Reset();
}

double Generator::NoiseValue(int32_t waveform) {
    switch (waveform) {
    case kWhiteNoise:
        return noise.White(frameCounter);
    case kPinkNoise:
        return 1.5 * noise.Pink(frameCounter);
    default:
        return noise.Mls(frameCounter);
    }
}

} // namespace qv
