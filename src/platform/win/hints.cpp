#include "platform/win/hints.h"

#include "platform/win/text_conversion.h"

#include <commctrl.h>

namespace qv {

void Hints::Add(HWND owner, HWND parent, HWND control, const std::string& text) {
    if (!tooltip_)
        tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   owner, nullptr, nullptr, nullptr);
    std::wstring wide = Utf8ToWide(text);
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = parent;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = wide.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void Hints::Update(HWND parent, HWND control, const std::string& text) {
    std::wstring wide = Utf8ToWide(text);
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = parent;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = wide.data();
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

} // namespace qv
