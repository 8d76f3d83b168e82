#include "platform/win/html_help.h"

#include "platform/win/text_conversion.h"

#include <windows.h>

namespace qv {

namespace {

constexpr UINT kHelpContextCommand = 15; // the viewer's "open at context" command

} // namespace

bool OpenHelpContext(const std::string& path, unsigned long context) {
    const std::wstring file = Utf8ToWide(path);
    if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES)
        return false;
    // The viewer is loaded when first needed and kept: its windows live as long as the program.
    static const HMODULE viewer = LoadLibraryW(L"hhctrl.ocx");
    using HtmlHelpProc = HWND(WINAPI*)(HWND, const wchar_t*, UINT, DWORD_PTR);
    const auto open = viewer ? reinterpret_cast<HtmlHelpProc>(
                                   reinterpret_cast<void*>(GetProcAddress(viewer, "HtmlHelpW")))
                             : nullptr;
    return open && open(nullptr, file.c_str(), kHelpContextCommand, context) != nullptr;
}

} // namespace qv
