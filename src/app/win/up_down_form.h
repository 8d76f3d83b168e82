// The settings window of a master's frequency or amplitude up/down buttons (and the wheel):
// the step as a value or a percentage, the transition time, and its reset-buffer and log
// options. Each change is handed on at once.
#pragma once

#include "generator/live_controls.h"

#include <windows.h>

#include <functional>

namespace qv {

class UpDownForm {
public:
    using Changed = std::function<void(const UpDownSettings&)>;
    // Built hidden at the screen point at (kept inside the work area).
    UpDownForm(HINSTANCE instance, HWND owner, HFONT font, int languageIndex, bool frequency,
               const UpDownSettings& settings, POINT at, Changed changed);
    ~UpDownForm();
    UpDownForm(const UpDownForm&) = delete;
    UpDownForm& operator=(const UpDownForm&) = delete;

    // Shows the window with its owner disabled until Close, Esc or the close box.
    void RunModal();
    HWND Window() const { return hwnd_; }
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
    const UpDownSettings& Settings() const { return settings_; }

    enum Id : int {
        kValueRadio = 10,
        kPercentRadio,
        kValueBox,
        kPercentBox,
        kTransitionBox,
        kResetBuffer,
        kLog,
        kClose
    };

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
    void OnCommand(int id, int code);
    void ShowState();

    HWND owner_;
    HWND hwnd_ = nullptr;
    bool frequency_;
    UpDownSettings settings_;
    Changed changed_;
    bool closed_ = false;
    bool showing_ = false;
};

} // namespace qv
