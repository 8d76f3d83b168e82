// The free-space check made before a file is written.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

class Ui;

// True when the volume of path has at least needed bytes available to this user; otherwise the
// shortage message (no owner window, the given caption) and false. On Windows a path without a
// drive or network prefix gets the current drive prefixed, in place.
bool CheckDiskSpace(std::string& path, uint64_t* freeOut, const std::string& caption,
                    int languageIndex, uint64_t needed, Ui& ui);

// "12.34MB" parts: whole megabytes and hundredths as the message shows them.
std::string MegabyteText(uint64_t bytes);

} // namespace qv
