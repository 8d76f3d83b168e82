// "TSelectDeviceDlg", the modal "Sound device" dialog: a view of the device dialog's model. Each
// choice is kept at once; the format list opens from it.
#pragma once

#include "engine/device_dialog.h"
#include "engine/device_dialog_layout.h"
#include "platform/win/gdi.h"
#include "platform/win/settings_window.h"

#include <functional>

namespace qv {

class KeyState;

// The window F1 was pressed in.
enum class DeviceHelp { Dialog, FormatList };

class SelectDeviceDlg final : public SettingsWindow, public DeviceDialogIds {
public:
    // chosen: a double-click in the format list (the main window's rate and bit-length items).
    SelectDeviceDlg(HINSTANCE instance, HWND owner, HFONT font, int languageIndex,
                    DeviceDialog& dialog, Ui& ui, const KeyState& keys,
                    std::function<void(int row, int column)> chosen);

    // The format list of the chosen device, modal (a test can run it without showing it).
    void ShowFormatList();

    // F1 here or in the format list (the system's WM_HELP).
    std::function<void(DeviceHelp)> help;

private:
    bool OnCommand(int id, int code) override;
    void AfterChange() override { ShowState(); }
    void ShowState();
    void ShowLists();
    void OpenPanel();

    HINSTANCE instance_;
    DeviceDialog& dialog_;
    Ui& ui_;
    const KeyState& keys_;
    int language_;
    std::function<void(int, int)> chosen_;
    Font linkFont_;
};

} // namespace qv
