// The main window in this process for the Windows tests: a program folder in a scratch folder
// with the library and a QV.INI, the window created hidden, and helpers to find its controls,
// read their texts and measure them in their own font.
#pragma once

#include "app/win/main_form.h"
#include "files/text_file_helpers.h"
#include "platform/win/text_conversion.h"
#include "platform/win/window_messages.h"
#include "support/win_child.h"

#include <shlobj.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace qv {
namespace {

using test::Child;

[[maybe_unused]] int SlotId(int slot, SlotControl c) {
    for (const LayoutRow& r : MainLayout()) {
        if (r.role == RowRole::Slot && r.slot == slot && r.slotControl == c)
            return r.id;
    }
    return 0;
}

[[maybe_unused]] std::wstring Text(HWND h) {
    wchar_t text[256] = {};
    GetWindowTextW(h, text, 256);
    return text;
}

// Shown by its own state (the window itself stays hidden in these tests).
[[maybe_unused]] bool Shown(HWND h) {
    return (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0;
}

// A control's notification, as the control itself sends it to its parent.
[[maybe_unused]] void Notify(HWND control, int code) {
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}

// A file dropped on a window, as the shell hands it over (the window frees the handle).
[[maybe_unused]] void DropFile(HWND window, const std::string& path) {
    const std::wstring wide = Utf8ToWide(path);
    const size_t bytes = sizeof(DROPFILES) + (wide.size() + 2) * sizeof(wchar_t);
    const HGLOBAL drop = GlobalAlloc(GHND, bytes);
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), wide.c_str(),
                wide.size() * sizeof(wchar_t));
    GlobalUnlock(drop);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}

struct Program {
    explicit Program(int englishMode, const std::string& moreIni = "") {
        const std::string dir = scratch.File("x").substr(0, scratch.File("x").size() - 1);
        CopyFileA(QV_KT54DLL_DIR "/KT54DLL.DLL", (dir + "KT54DLL.DLL").c_str(), FALSE);
        // A program that has run before (no start notice), unless the test says otherwise.
        const bool settled = moreIni.find("DispHelp") == std::string::npos;
        std::ofstream(dir + "QV.INI")
            << "[Special]\r\nEnglishMode=" << englishMode << "\r\n"
            << "[Wave1]\r\nWaveform=" << (englishMode ? "sine" : "\xBB\xB2\xDD\x94g") << "\r\n"
            << moreIni << (settled ? "[Window]\r\nDispHelp=1\r\n[Version]\r\nVer=1.5\r\n" : "");
        created = form.Create(dir, "", SW_HIDE);
        // The hidden window is never activated: its first activation runs as if it were.
        if (created)
            SendMessageW(form.Window(), kMsgFirstActivation, 0, 0);
    }
    ~Program() { Close(); }
    // Destroys the window; the quit it posts would end the next test's modal loops at once.
    void Close() {
        if (!created)
            return;
        DestroyWindow(form.Window());
        created = false;
        MSG quit;
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    test::ScratchDir scratch;
    // The program keeps its library for its life; the test's copy goes with its folder.
    struct ReleaseLibrary {
        ~ReleaseLibrary() {
            if (const HMODULE library = GetModuleHandleW(L"KT54DLL.DLL"))
                FreeLibrary(library);
        }
    } release;
    MainForm form{GetModuleHandleW(nullptr)};
    bool created = false;
};

// Text width in the control's own font.
[[maybe_unused]] int Width(HWND h, const std::wstring& text) {
    const HDC dc = GetDC(h);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    return size.cx;
}

// Every text of a window's controls that its control cuts, measured in the control's own font.
[[maybe_unused]] std::vector<std::wstring> CutTexts(HWND window) {
    std::vector<std::wstring> cut;
    EnumChildWindows(
        window,
        [](HWND h, LPARAM l) {
            auto& out = *reinterpret_cast<std::vector<std::wstring>*>(l);
            wchar_t cls[32] = {};
            GetClassNameW(h, cls, 32);
            const std::wstring name(cls);
            const LONG style = GetWindowLongW(h, GWL_STYLE);
            RECT rc{};
            GetClientRect(h, &rc);
            if (!(style & WS_VISIBLE))
                return TRUE;
            if (name == L"ComboBox") {
                const int room = rc.right - GetSystemMetrics(SM_CXVSCROLL) - 4;
                for (int i = 0; i < SendMessageW(h, CB_GETCOUNT, 0, 0); ++i) {
                    wchar_t item[64] = {};
                    SendMessageW(h, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
                    if (Width(h, item) > room)
                        out.push_back(item);
                }
            } else if (name == L"Button" || name == L"Static") {
                const LONG type = style & BS_TYPEMASK;
                const bool box =
                    name == L"Button" &&
                    (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON || type == BS_GROUPBOX);
                const int room = rc.right - (box ? 16 : name == L"Button" ? 6 : 0);
                if (Width(h, Text(h)) > room)
                    out.push_back(Text(h));
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&cut));
    return cut;
}

} // namespace
} // namespace qv
