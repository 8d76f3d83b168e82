#include "app/win/file_dialog.h"

#include "platform/win/text_conversion.h"

#include <commdlg.h>

#include <algorithm>
#include <array>

namespace qv {

bool AskFile(HWND owner, bool save, const wchar_t* title, const FileKind& kind,
             const std::string& directory, std::string& path) {
    std::wstring filter = std::wstring(kind.description) + L'\0' + kind.pattern + L'\0';
    if (kind.allFiles)
        filter += std::wstring(kind.allFiles) + L'\0' + kind.allPattern + L'\0';
    std::array<wchar_t, MAX_PATH * 2> name{};
    const std::wstring offered = Utf8ToWide(path);
    offered.copy(name.data(), std::min(offered.size(), name.size() - 1));
    const std::wstring folder = Utf8ToWide(directory);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title;
    ofn.lpstrDefExt = kind.extension;
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    if (!(save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn)))
        return false;
    path = WideToUtf8(name.data());
    return true;
}

} // namespace qv
