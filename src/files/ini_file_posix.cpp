// Away from Windows the portable backend is the platform's own.
#include "files/ini_file.h"

namespace qv {

std::unique_ptr<IniFile> OpenIniFile(const std::string& path) {
    return OpenPortableIniFile(path);
}

} // namespace qv
