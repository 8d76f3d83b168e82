// Opens the compiled help file at a numbered context.
#pragma once

#include <string>

namespace qv {

// The help file path (UTF-8) at context id. A missing file or a system without the help
// viewer shows nothing; false then.
bool OpenHelpContext(const std::string& path, unsigned long context);

} // namespace qv
