// The settings window of a master's frequency or amplitude up/down buttons (and the wheel):
// the step as a value or a percentage, the transition time, and its reset-buffer and log
// options. Each change is handed on at once.
#pragma once

#include "app/live_settings_layouts.h"
#include "generator/live_controls.h"
#include "platform/win/settings_window.h"

namespace qv {

class UpDownForm final : public RecordWindow<UpDownSettings>, public UpDownIds {
public:
    // Built hidden at the screen point at (kept inside the work area).
    UpDownForm(HINSTANCE instance, HWND owner, HFONT font, int languageIndex, bool frequency,
               const UpDownSettings& settings, POINT at, Changed changed);

private:
    bool OnCommand(int id, int code) override;
    void ShowState() override;
};

} // namespace qv
