// The main window in this process for the Windows tests: a program folder in a scratch folder
// with the library and a QV.INI, the window created hidden, and helpers to find its controls,
// read their texts and measure them in their own font.
#pragma once

#include "app/win/main_form.h"
#include "files/text_file_helpers.h"

#include <fstream>
#include <string>

namespace qv {
namespace {

[[maybe_unused]] HWND Child(HWND top, int id) {
    struct Search {
        int id;
        HWND found = nullptr;
    } search{id};
    EnumChildWindows(
        top,
        [](HWND h, LPARAM l) {
            auto* s = reinterpret_cast<Search*>(l);
            if (GetDlgCtrlID(h) != s->id)
                return TRUE;
            s->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

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

struct Program {
    explicit Program(int englishMode) {
        const std::string dir = scratch.File("x").substr(0, scratch.File("x").size() - 1);
        CopyFileA(QV_KT54DLL_DIR "/KT54DLL.DLL", (dir + "KT54DLL.DLL").c_str(), FALSE);
        std::ofstream(dir + "QV.INI")
            << "[Special]\r\nEnglishMode=" << englishMode << "\r\n"
            << "[Wave1]\r\nWaveform=" << (englishMode ? "sine" : "\xBB\xB2\xDD\x94g") << "\r\n";
        created = form.Create(dir, "", SW_HIDE);
    }
    ~Program() {
        if (created)
            DestroyWindow(form.Window());
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

} // namespace
} // namespace qv
