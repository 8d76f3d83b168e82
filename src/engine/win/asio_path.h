// The ASIO row of the driver table: the installed drivers (at most ten, long names cut), the
// path that plays through one, and the device dialog's channel list, control panel, Info text
// and format test of a list entry.
#pragma once

#include "engine/driver_table.h"

#include <memory>

namespace qv {

std::unique_ptr<DriverPath> MakeAsioPath();

} // namespace qv
