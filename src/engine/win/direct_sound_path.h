// The DirectSound row of the driver table: the devices DirectSound enumerates (entry 0 the
// primary driver) and the path that plays through a secondary buffer.
#pragma once

#include "engine/driver_table.h"

#include <memory>

namespace qv {

class Ui;

std::unique_ptr<DriverPath> MakeDirectSoundPath(Ui& ui);

} // namespace qv
