// The settings window of a master's frequency or amplitude up/down buttons (and the wheel):
// the step as a value or a percentage, the transition time, and its reset-buffer and log
// options. Each change is handed on at once.
#pragma once

#include "app/win/settings_window.h"
#include "generator/live_controls.h"

#include <functional>

namespace qv {

class UpDownForm final : public SettingsWindow {
public:
    using Changed = std::function<void(const UpDownSettings&)>;
    // Built hidden at the screen point at (kept inside the work area).
    UpDownForm(HINSTANCE instance, HWND owner, HFONT font, int languageIndex, bool frequency,
               const UpDownSettings& settings, POINT at, Changed changed);
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
    void OnCommand(int id, int code) override;
    void ShowState();

    UpDownSettings settings_;
    Changed changed_;
};

} // namespace qv
