#include "generator/user_wave_set.h"

namespace qv {

void ClearUserWave(UserWaveSet& set) {
    set.userWaveSamples.assign(2 * 11, 0.0);
    set.userWaveSamples.shrink_to_fit();
    set.userWaveChannels = 2;
    set.userWaveFrames = 0;
    set.registerRequest = 0;
}

} // namespace qv
