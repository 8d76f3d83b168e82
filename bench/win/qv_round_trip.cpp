// Starts QV.exe with the given arguments, reports how long its main window takes to answer its
// first message, then, while the program runs (e.g. playing with "/P"), how long the window
// takes to answer a message, every 20 ms for the given seconds, and the playback thread's longest
// wait for the window's display step; closes the program at the end.
//   qv_round_trip.exe SECONDS PATH\QV.exe [arguments]
#include "platform/win/window_messages.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

HWND FindMainWindow(DWORD process) {
    struct Search {
        DWORD process;
        HWND found;
    } search{process, nullptr};
    EnumWindows(
        [](HWND h, LPARAM l) {
            auto* s = reinterpret_cast<Search*>(l);
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            wchar_t cls[32] = {};
            GetClassNameW(h, cls, 32);
            if (owner != s->process || std::wstring(cls) != L"TMainForm" || !IsWindowVisible(h))
                return TRUE;
            s->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: qv_round_trip SECONDS QV.exe [arguments]\n");
        return 2;
    }
    const double seconds = _wtof(argv[1]);
    std::wstring commandLine = L"\"" + std::wstring(argv[2]) + L"\"";
    for (int i = 3; i < argc; ++i)
        commandLine += L" " + std::wstring(argv[i]);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const Clock::time_point start = Clock::now();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start the program (%lu)\n", GetLastError());
        return 1;
    }
    HWND main = nullptr;
    while (!main && MsSince(start) < 30000) {
        main = FindMainWindow(process.dwProcessId);
        if (!main)
            Sleep(5);
    }
    DWORD_PTR answer = 0;
    if (!main || !SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer)) {
        std::fprintf(stderr, "no main window answered\n");
        TerminateProcess(process.hProcess, 1);
        return 1;
    }
    std::printf("start-up to an answering window: %.0f ms\n", MsSince(start));
    std::vector<double> trips;
    const Clock::time_point measuring = Clock::now();
    while (MsSince(measuring) < seconds * 1000) {
        const Clock::time_point sent = Clock::now();
        if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer))
            trips.push_back(5000);
        else
            trips.push_back(MsSince(sent));
        Sleep(20);
    }
    std::sort(trips.begin(), trips.end());
    if (!trips.empty())
        std::printf("message round trips: %zu, median %.2f ms, 99th percentile %.2f ms, "
                    "longest %.2f ms\n",
                    trips.size(), trips[trips.size() / 2], trips[trips.size() * 99 / 100],
                    trips.back());
    // The program's own count: the playback thread's longest wait for the display step.
    DWORD_PTR waited = 0;
    if (SendMessageTimeoutW(main, qv::kMsgDisplayWaitQuery, 0, 0, SMTO_NORMAL, 5000, &waited))
        std::printf("playback thread's longest wait for the display: %.2f ms\n",
                    static_cast<double>(waited) / 1000.0);
    PostMessageW(main, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, 20000);
    return 0;
}
