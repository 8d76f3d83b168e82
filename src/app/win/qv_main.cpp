// QV.exe: one instance at a time. A second start hands its command line to the running
// instance's main window and ends.
#include "app/win/main_form.h"
#include "platform/app_title.h"
#include "platform/win/hand_over.h"
#include "platform/win/text_conversion.h"

#include <windows.h>

#include <string>

namespace {

// The running instance's main window: class "TMainForm", title up to its first blank
// "Quorvale".
BOOL CALLBACK FindMainForm(HWND hwnd, LPARAM found) {
    wchar_t cls[50] = {}, title[50] = {};
    GetClassNameW(hwnd, cls, 50);
    GetWindowTextW(hwnd, title, 50);
    std::wstring name(title);
    name = name.substr(0, name.find(L' '));
    if (std::wstring(cls) == L"TMainForm" && qv::WideToUtf8(name) == qv::kAppTitle) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

int HandOver(const std::string& commandLine) {
    HWND main = nullptr;
    EnumWindows(FindMainForm, reinterpret_cast<LPARAM>(&main));
    if (!main)
        return 1;
    if (IsIconic(main))
        ShowWindow(main, SW_RESTORE);
    SetForegroundWindow(main);
    if (commandLine.empty())
        return 1;
    qv::SendHandOver(main, commandLine);
    return 1;
}

// The folder of the program file (UTF-8) with its trailing backslash, however long.
std::string ProgramDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::string file = qv::WideToUtf8(path);
    return file.substr(0, file.find_last_of('\\') + 1);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const std::string commandLine = qv::CommandLineArguments(GetCommandLineW());
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE mutex = CreateMutexA(&inherit, TRUE, "ixo_qv_mutex");
    if (!mutex)
        return 1;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return HandOver(commandLine);
    }
    int result = 0;
    {
        qv::MainForm form(instance);
        if (form.Create(ProgramDirectory(), commandLine, showCommand)) {
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                if (!form.PreTranslate(msg) && !IsDialogMessageW(form.Window(), &msg)) {
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
            }
            result = static_cast<int>(msg.wParam);
        }
    }
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    return result;
}
