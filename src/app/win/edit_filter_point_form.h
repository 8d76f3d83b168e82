// "TEditFilterPointForm": one point of the drawn filter typed in, its frequency snapped to the
// filter's grid and held between its neighbours, its gain in dB. Enter or Apply takes the values,
// Esc or Cancel leaves the point as it was.
#pragma once

#include "app/filter_editor.h"
#include "app/filter_editor_layout.h"
#include "platform/win/settings_window.h"

#include <functional>

namespace qv {

class EditFilterPointForm final : public SettingsWindow, public EditPointIds {
public:
    // help: F1 (the system's WM_HELP).
    EditFilterPointForm(HINSTANCE instance, HWND owner, HFONT font, int languageIndex,
                        FilterEditor& editor, int index, POINT at, std::function<void()> help);
    // Modal; true when the point took the typed values.
    bool Run();

private:
    bool OnCommand(int id, int code) override;
    void AfterChange() override {}
    void SnapFrequency(int step);
    std::string Text(int id) const;

    FilterEditor& editor_;
    FilterEditor::PointEdit edit_;
};

} // namespace qv
