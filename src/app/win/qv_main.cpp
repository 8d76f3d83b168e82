// QV.exe: one instance at a time. A second start hands its command line to the running
// instance's main window and ends.
#include "app/win/main_form.h"
#include "platform/app_title.h"

#include <windows.h>

#include <string>

namespace {

// The running instance's main window: class "TMainForm", title up to its first blank
// "Quorvale".
BOOL CALLBACK FindMainForm(HWND hwnd, LPARAM found) {
    char cls[50] = {}, title[50] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    GetWindowTextA(hwnd, title, sizeof title);
    std::string name(title);
    name = name.substr(0, name.find(' '));
    if (std::string(cls) == "TMainForm" && name == qv::kAppTitle) {
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
    COPYDATASTRUCT data{};
    data.cbData = static_cast<DWORD>(commandLine.size() + 1);
    data.lpData = const_cast<char*>(commandLine.c_str());
    SendMessageA(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    return 1;
}

std::string ProgramDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1);
}

// The command line after the program's name, cut to 359 characters.
std::string Arguments() {
    const char* p = GetCommandLineA();
    if (*p == '"') {
        ++p;
        while (*p && *p != '"')
            ++p;
        if (*p)
            ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t')
            ++p;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    return std::string(p).substr(0, 359);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const std::string commandLine = Arguments();
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
