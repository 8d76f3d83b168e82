// The WASAPI row of the driver table: the render endpoints and the exclusive-mode path.
#pragma once

#include "engine/driver_table.h"
#include "engine/win/platform_probe.h"

#include <memory>

namespace qv {

class Ui;

std::unique_ptr<DriverPath> MakeWasapiPath(Ui& ui, const AvrtLibrary& avrt);

} // namespace qv
