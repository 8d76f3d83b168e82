#include "platform/win/html_help.h"

#include "platform/win/text_conversion.h"

#include <windows.h>

namespace qv {

namespace {

constexpr UINT kDisplayTopicCommand = 0; // the viewer's "open at a page" command

} // namespace

bool OpenHelpTopic(const std::string& path, const std::string& topic) {
    const std::wstring file = Utf8ToWide(path);
    if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES)
        return false;
    // The viewer is loaded when first needed and kept: its windows live as long as the program.
    static const HMODULE viewer = LoadLibraryW(L"hhctrl.ocx");
    using HtmlHelpProc = HWND(WINAPI*)(HWND, const wchar_t*, UINT, DWORD_PTR);
    const auto open = viewer ? reinterpret_cast<HtmlHelpProc>(
                                   reinterpret_cast<void*>(GetProcAddress(viewer, "HtmlHelpW")))
                             : nullptr;
    const std::wstring page = file + L"::/" + Utf8ToWide(topic);
    return open && open(nullptr, page.c_str(), kDisplayTopicCommand, 0) != nullptr;
}

} // namespace qv
