// The GUI scripts' eyes inside Wine: finds the running QV.exe by its main window and answers one
// command a line on standard input, one line (or a counted list) on standard output:
//   ping                 the main window's message round trip: "ok MS", "timeout" (2 s) or "none"
//   text NAME [SLOT]     a control's text (UTF-8): waveform, freq, amp, outch of a slot; rate,
//                        length, bits, channels of the tool bar; "?" when there is no such control
//   windows              the count of the program's visible top-level windows, then one line
//                        each: handle, enabled (1/0), class, title
//   pid                  the program's process id ("0" when it has no main window)
//   close                the main window's close box (WM_CLOSE): "ok", or "none"
//   origin               where the main window's client area starts inside the window: "DX DY"
//   box HANDLE           the text of a message box (its static text, id 0xFFFF), on one line
//   press HANDLE ID      posts the command ID to a window (1 OK, 2 Cancel, 6 Yes, 7 No) as its
//                        button would: "ok", or "?" for no such window
// Windows are found afresh for each command, so the probe outlives the program's restarts.
#include "app/main_layout.h"
#include "platform/win/text_conversion.h"
#include "support/win_child.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace qv;

HWND MainWindow() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND h, LPARAM l) {
            wchar_t cls[32] = {};
            GetClassNameW(h, cls, 32);
            if (std::wstring(cls) != L"TMainForm" || !IsWindowVisible(h))
                return TRUE;
            *reinterpret_cast<HWND*>(l) = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string TextOf(HWND h) {
    std::vector<wchar_t> text(512);
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_NORMAL, 2000, &n))
        return "?";
    return WideToUtf8(std::wstring(text.data(), n));
}

int ControlId(const std::string& name, int slot) {
    const struct {
        const char* name;
        SlotControl slot;
        ToolbarControl toolbar;
    } kNames[] = {{"waveform", SlotControl::Waveform, ToolbarControl::Count},
                  {"freq", SlotControl::Freq, ToolbarControl::Count},
                  {"amp", SlotControl::Amp, ToolbarControl::Count},
                  {"outch", SlotControl::OutCh, ToolbarControl::Count},
                  {"rate", SlotControl::Count, ToolbarControl::SampleRate},
                  {"length", SlotControl::Count, ToolbarControl::FileLength},
                  {"bits", SlotControl::Count, ToolbarControl::BitLen},
                  {"channels", SlotControl::Count, ToolbarControl::Channels}};
    for (const auto& n : kNames) {
        if (name != n.name)
            continue;
        for (const LayoutRow& r : MainLayout()) {
            if ((n.slot != SlotControl::Count && r.role == RowRole::Slot && r.slot == slot &&
                 r.slotControl == n.slot) ||
                (n.toolbar != ToolbarControl::Count && r.role == RowRole::Toolbar &&
                 r.toolbarControl == n.toolbar))
                return r.id;
        }
    }
    return 0;
}

void ListWindows(HWND main) {
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    struct Found {
        DWORD pid;
        std::vector<HWND> windows;
    } found{pid, {}};
    EnumWindows(
        [](HWND h, LPARAM l) {
            auto* f = reinterpret_cast<Found*>(l);
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner == f->pid && IsWindowVisible(h))
                f->windows.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    std::printf("%zu\n", found.windows.size());
    for (HWND h : found.windows) {
        wchar_t cls[64] = {};
        GetClassNameW(h, cls, 64);
        std::printf("%llu\t%d\t%s\t%s\n",
                    static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h)),
                    IsWindowEnabled(h) ? 1 : 0, WideToUtf8(cls).c_str(), TextOf(h).c_str());
    }
}

} // namespace

int main() {
    std::string line;
    while (std::getline(std::cin, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        const HWND main = MainWindow();
        const size_t space = line.find(' ');
        const std::string command = line.substr(0, space);
        const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
        if (command == "ping") {
            DWORD_PTR answer = 0;
            const auto sent = std::chrono::steady_clock::now();
            if (!main)
                std::puts("none");
            else if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &answer))
                std::puts("timeout");
            else
                std::printf("ok %.1f\n", std::chrono::duration<double, std::milli>(
                                             std::chrono::steady_clock::now() - sent)
                                             .count());
        } else if (command == "text") {
            const size_t blank = rest.find(' ');
            const int slot = blank == std::string::npos ? -1 : std::atoi(rest.c_str() + blank + 1);
            const HWND h =
                main ? test::Child(main, ControlId(rest.substr(0, blank), slot)) : nullptr;
            std::puts(h ? TextOf(h).c_str() : "?");
        } else if (command == "windows") {
            if (main)
                ListWindows(main);
            else
                std::puts("0");
        } else if (command == "box") {
            const HWND h = reinterpret_cast<HWND>(
                static_cast<uintptr_t>(std::strtoull(rest.c_str(), nullptr, 10)));
            const HWND text = IsWindow(h) ? GetDlgItem(h, 0xFFFF) : nullptr;
            std::string shown = text ? TextOf(text) : "?";
            for (char& c : shown)
                c = c == '\n' || c == '\r' ? ' ' : c;
            std::puts(shown.c_str());
        } else if (command == "press") {
            unsigned long long handle = 0;
            int id = 0;
            const bool read = std::sscanf(rest.c_str(), "%llu %d", &handle, &id) == 2;
            const HWND h = reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
            std::puts(read && IsWindow(h) &&
                              PostMessageW(h, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0)
                          ? "ok"
                          : "?");
        } else if (command == "origin") {
            RECT window{};
            POINT client{0, 0};
            if (main && GetWindowRect(main, &window) && ClientToScreen(main, &client))
                std::printf("%ld %ld\n", client.x - window.left, client.y - window.top);
            else
                std::puts("0 0");
        } else if (command == "close") {
            std::puts(main && PostMessageW(main, WM_CLOSE, 0, 0) ? "ok" : "none");
        } else if (command == "pid") {
            DWORD pid = 0;
            if (main)
                GetWindowThreadProcessId(main, &pid);
            std::printf("%lu\n", pid);
        } else {
            std::puts("?");
        }
        std::fflush(stdout);
    }
    return 0;
}
