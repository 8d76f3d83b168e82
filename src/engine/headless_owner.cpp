#include "engine/headless_owner.h"

#include "engine/wave_play_rec.h"

namespace qv {

void HeadlessOwner::RunOnMainThread(WavePlayRec& engine, MainStep step) {
    engine.RunMainStep(step);
}

} // namespace qv
