#include "engine/win/wasapi_path.h"

namespace qv {

std::unique_ptr<DriverPath> MakeWasapiPath(Ui&, const AvrtLibrary&) {
    return nullptr; // not built yet
}

} // namespace qv
