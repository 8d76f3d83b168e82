// The Wave5 synchronisation window: Wave5's frequency follows Wave1's as Wave1 + a difference
// or Wave1 x a ratio. Each change is handed on at once; the frequency bar opens it.
#pragma once

#include "app/live_settings_layouts.h"
#include "generator/live_controls.h"
#include "platform/win/settings_window.h"

namespace qv {

class Wave5SyncForm final : public RecordWindow<Wave5SyncSettings>, public Wave5SyncIds {
public:
    Wave5SyncForm(HINSTANCE instance, HWND owner, HFONT font, int languageIndex,
                  const Wave5SyncSettings& settings, POINT at, Changed changed);

private:
    bool OnCommand(int id, int code) override;
    void ShowState() override;
};

} // namespace qv
