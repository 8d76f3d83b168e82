#include "platform/file_checks.h"

#include "platform/win/text_conversion.h"

#include <windows.h>

namespace qv {

bool FileExists(const std::string& path) {
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CanListFolder(const std::string& folder) {
    std::wstring pattern = Utf8ToWide(folder);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/')
        pattern += L'\\';
    pattern += L"*.*";
    WIN32_FIND_DATAW data;
    const HANDLE found = FindFirstFileW(pattern.c_str(), &data);
    if (found == INVALID_HANDLE_VALUE)
        return false;
    FindClose(found);
    return true;
}

} // namespace qv
