// Presses a button of the next message box of this thread, as a user would, keeping its text.
// Windows of other threads or earlier tests, even titled alike, are not its.
#pragma once

#include <windows.h>

#include <chrono>
#include <cwchar>
#include <string>
#include <thread>

namespace qv {
namespace {

struct ModalAnswer {
    explicit ModalAnswer(int button)
        : thread([this, button, owner = GetCurrentThreadId()] {
              const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
              while (std::chrono::steady_clock::now() < end) {
                  HWND box = nullptr;
                  EnumThreadWindows(
                      owner,
                      [](HWND w, LPARAM found) {
                          wchar_t name[16] = {};
                          GetClassNameW(w, name, 16);
                          if (std::wcscmp(name, L"#32770") != 0 || !IsWindowVisible(w))
                              return TRUE;
                          *reinterpret_cast<HWND*>(found) = w;
                          return FALSE;
                      },
                      reinterpret_cast<LPARAM>(&box));
                  // Answered once its text is there (it is being set up until then).
                  wchar_t shown[1024] = {};
                  if (box && GetDlgItemTextW(box, 0xFFFF, shown, 1024) > 0) {
                      text = shown;
                      PostMessageW(box, WM_COMMAND, button, 0);
                      return;
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
          }) {}
    ~ModalAnswer() { Wait(); }
    void Wait() {
        if (thread.joinable())
            thread.join();
    }
    std::wstring text;
    std::thread thread;
};

} // namespace
} // namespace qv
