// The display's magnification menus: the right button on the time labels offers the horizontal
// factors, on the level labels the vertical ones; the current factor is ticked.
#pragma once

#include "platform/menu_item.h"

#include <cstdint>

namespace qv {

// Choosing an item sets rate (which must outlive the menu) to its factor.
Menu MagnificationMenu(bool timeAxis, int32_t& rate);

} // namespace qv
