// The main window ("TMainForm"): a view of the program session. It builds its controls from the
// layout table, forwards every control event to one handler of the session's controls model
// (or to a session command), and shows what the session says has changed.
#pragma once

#include "app/main_layout.h"
#include "app/program_session.h"
#include "display/win/scope_panel.h"
#include "platform/win/forwarding_pane.h"
#include "platform/win/gdi.h"
#include "platform/win/hints.h"
#include "platform/win/layout_controls.h"
#include "platform/win/ui_font.h"
#include "platform/win/win_ui.h"
#include "platform/win/window.h"

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace qv {

class FilterConfigForm;
class FreqBarForm;

class MainForm final : public WindowBase, private SessionView, private SessionHost {
public:
    explicit MainForm(HINSTANCE instance);
    ~MainForm() override;
    // The filter editor, once it has been shown.
    FilterConfigForm* FilterEditorWindow() const { return filterForm_.get(); }
    // The frequency bar, once it has been shown.
    FreqBarForm* FreqBarWindow() const { return freqBar_.get(); }

    // Builds the window and everything it owns; false when the start failed (the reason has
    // been shown) and the program should end without a message loop. programDir is UTF-8 and
    // ends with a backslash.
    bool Create(const std::string& programDir, const std::string& commandLine, int showCommand);
    HWND Window() const { return Hwnd(); }
    // The window sees every key first (Space, the Ctrl shortcuts, F1) and the mouse wheel over
    // the masters' frequency and amplitude. True when the message was taken.
    bool PreTranslate(const MSG& msg);

private:
    struct Control {
        const LayoutRow* row;
        HWND hwnd;
        const char* const* items = nullptr; // the list it was last filled with
        size_t itemCount = 0;
    };

    // SessionView
    void SessionChanged(const SessionChanges& changes) override;
    void BlockRendered() override;
    // SessionHost
    void RunOnMainThread(WavePlayRec& engine, MainStep step) override;
    void PostNotification(EngineNotification notification) override;
    void PumpMessages() override;
    void PostAutoPlay() override;
    void SetAutoPlayTimer(long ms) override;
    void OpenHelp(const std::string& path, unsigned long context) override;
    bool ShowUserWaveWindow(int master) override;
    bool ModalShown() const override;
    void RetryOpenPending() override;

    void Handlers();
    void BuildControls();
    void DpiChanged() override;
    SIZE FrameFor(int clientHeight) const; // the window around a client area of 96-DPI height
    void PlaceWindow();
    void RecordPlace();
    // The display: its place below the control area and its scale after a format change.
    void PlaceScope();
    void RelayoutScope();
    void ShowRow(Control& c);
    void ShowRun();
    void SelectPage(int page);
    void OnCommand(const Control& c, int code);
    void OnNotify(const NMHDR& header, LPARAM l);
    void OnUnitLabel(const Control& c, bool doubleClick);
    void OnDrop(HDROP drop);
    void Write();
    void Load();
    void Save();
    void Close();
    void OpenDeviceDialog();
    // The filter editor is shown exactly while the filter is on (once the window is up).
    void SyncFilterEditor();
    // The Bar button shows the frequency bar, or hides it when it is shown.
    void ToggleFreqBar();
    void ClickIfEnabled(ToolbarControl control);
    void ShowContextMenu(HWND control, POINT screen);
    bool OnWheel(const MSG& msg);
    Control* Find(int id);
    Control* Find(RowRole role, int slot = -1);
    Control* Find(ToolbarControl control);
    Control* Find(int slot, SlotControl control);
    std::string ComboText(HWND combo) const;

    HINSTANCE instance_;
    ComScope com_; // COM for the window's life: it ends after the session has gone
    WinUi ui_;
    WinKeyState keys_;
    ProgramSession session_;
    PrivateFont kt1_; // registered for the English interface; outlives the fonts made from it
    Font font_;
    Brush redBrush_, filterBrush_, backBrush_;
    Hints hints_;
    std::array<std::unique_ptr<ForwardingPane>, 2> pages_; // the tab's two pages
    std::vector<Control> rows_;
    std::unique_ptr<ScopePanel> scope_;
    std::unique_ptr<FilterConfigForm> filterForm_; // made when the filter first goes on
    std::unique_ptr<FreqBarForm> freqBar_;         // made when the bar is first shown
    std::vector<std::string> handedOver_; // command lines of second starts, to be processed
    int page_ = 0;
    bool refreshing_ = false; // set while the window writes into its own controls
    bool activationPosted_ = false;
};

} // namespace qv
