#include "engine/win/direct_sound_path.h"

namespace qv {

std::unique_ptr<DriverPath> MakeDirectSoundPath(Ui&) {
    return nullptr; // not built yet
}

} // namespace qv
