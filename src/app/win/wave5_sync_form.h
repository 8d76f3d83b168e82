// The Wave5 synchronisation window: Wave5's frequency follows Wave1's as Wave1 + a difference
// or Wave1 x a ratio. Each change is handed on at once; the frequency bar opens it.
#pragma once

#include "app/win/settings_window.h"
#include "generator/live_controls.h"

#include <functional>

namespace qv {

class Wave5SyncForm final : public SettingsWindow {
public:
    using Changed = std::function<void(const Wave5SyncSettings&)>;
    Wave5SyncForm(HINSTANCE instance, HWND owner, HFONT font, int languageIndex,
                  const Wave5SyncSettings& settings, POINT at, Changed changed);
    const Wave5SyncSettings& Settings() const { return settings_; }

    enum Id : int { kDiffRadio = 10, kRatioRadio, kDiffBox, kRatioBox, kClose };

private:
    void OnCommand(int id, int code) override;
    void ShowState();

    Wave5SyncSettings settings_;
    Changed changed_;
};

} // namespace qv
