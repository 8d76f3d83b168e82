#include "platform/file_checks.h"

#include <dirent.h>
#include <sys/stat.h>

namespace qv {

bool FileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool CanListFolder(const std::string& folder) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return false;
    ::closedir(dir);
    return true;
}

} // namespace qv
