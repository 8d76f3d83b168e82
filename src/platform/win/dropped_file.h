// The first file of a drop onto a window (the shell's handle is let go of here).
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstddef>
#include <string>

namespace qv {

// Its path in UTF-8; empty when there is none or it is longer than maxLength characters.
std::string TakeDroppedFile(HDROP drop, size_t maxLength = static_cast<size_t>(-1));

} // namespace qv
