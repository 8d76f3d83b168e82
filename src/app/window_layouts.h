// Every window's layout table, for the one check they all pass (a new window adds its table
// here).
#pragma once

#include "platform/window_layout.h"

#include <vector>

namespace qv {

std::vector<const WindowLayout*> ProgramWindowLayouts();

} // namespace qv
