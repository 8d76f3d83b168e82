// "TUserWaveDlg": the user wave of Wave1 or Wave5 chosen ("Open" or a file dropped on it), read
// with a progress bar, previewed, and bound to the outputs by its channel lists. Modal; Esc, the
// close box and Close end it (a registration after a parameter file ends by itself after 2 s),
// F1 opens the help.
#pragma once

#include "app/program_session.h"
#include "app/user_wave_dialog.h"
#include "app/user_wave_layout.h"
#include "app/user_wave_preview.h"
#include "platform/win/gdi.h"
#include "platform/win/settings_window.h"
#include "platform/win/win_ui.h"

#include <shellapi.h>

namespace qv {

class UserWaveDlg final : public SettingsWindow, public UserWaveIds {
public:
    // master: 0 or 4; at: the window's top-left corner on the screen.
    UserWaveDlg(HINSTANCE instance, HWND owner, HFONT font, ProgramSession& session, int master,
                POINT at);
    // Modal: the showing's load first, the choices stored when it closes.
    void Run();
    HWND PreviewWindow() const { return preview_.Hwnd(); }

private:
    class Preview final : public WindowBase {
    public:
        explicit Preview(UserWaveDlg& dlg) : dlg_(dlg) {}
        void Create(HINSTANCE instance, HWND parent, const RECT& place);

    private:
        void Paint();
        UserWaveDlg& dlg_;
    };

    bool OnCommand(int id, int code) override;
    void AfterChange() override {}
    bool OnClose() override { return !model_.Loading(); }
    void Choose(const std::string& path);
    void OpenFile();
    void OnDrop(HDROP drop);
    // The model's state in the controls; the preview is laid out again after a load only.
    void ShowState();
    void ShowPreview();
    void ShowLoading(bool loading);
    UserWaveLoadEnvironment Environment();

    ProgramSession& session_;
    int master_;
    WinUi ui_; // messages of a load are owned by this window
    UserWaveDialog model_;
    Preview preview_;
    UserWavePreview points_;
    Font fileFont_; // the file name's own face in the English interface
};

} // namespace qv
