// Opens a page of the compiled help file.
#pragma once

#include <string>

namespace qv {

// The help file path (UTF-8) at a page inside it ("en/index.htm"). A missing file or a system
// without the help viewer shows nothing; false then.
bool OpenHelpTopic(const std::string& path, const std::string& topic);

} // namespace qv
