// "TFormatListForm": the formats the chosen device accepts, tested when the window is shown
// (Shift: only asked; Ctrl: every channel count), cell by cell with Stop; a double-click on a
// cell hands its sample rate and bit length to the main window and closes.
#pragma once

#include "engine/device_dialog.h"
#include "engine/win/format_grid.h"
#include "platform/win/settings_window.h"

#include <functional>
#include <memory>

namespace qv {

class KeyState;

class FormatListForm final : public SettingsWindow {
public:
    // chosen gets the grid's row and column (the main window's rate and bit-length items).
    FormatListForm(HINSTANCE instance, HWND owner, HFONT font, int languageIndex,
                   DeviceDialog& dialog, const KeyState& keys, POINT at,
                   std::function<void(int row, int column)> chosen);

    FormatGrid& Grid() { return *grid_; }
    bool Running() const { return running_; }
    // Runs the test now (the window does it once it is shown).
    void RunTest();

    std::function<void()> help; // F1 (the system's WM_HELP)

private:
    bool OnCommand(int, int) override { return false; }
    void AfterChange() override {}
    bool OnClose() override;

    DeviceDialog& dialog_;
    const KeyState& keys_;
    int language_;
    std::unique_ptr<FormatGrid> grid_;
    bool running_ = false, stop_ = false, tested_ = false;
};

} // namespace qv
