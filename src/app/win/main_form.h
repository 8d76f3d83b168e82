// The main window ("TMainForm"): a view of the controls model. It builds its controls from the
// layout table, forwards every control event to one handler of the model, shows what the model
// says changed, and owns the program's state for its lifetime: the generator, the settings, the
// device engine and the commands.
#pragma once

#include "app/main_controls.h"
#include "app/main_layout.h"
#include "app/open_param_file.h"
#include "app/play_command.h"
#include "app/user_wave_loader.h"
#include "app/win/display_wait_query.h"
#include "display/win/scope_panel.h"
#include "engine/engine_owner.h"
#include "engine/wave_play_rec.h"
#include "engine/win/win_driver_catalog.h"
#include "fftlib/fft_api.h"
#include "files/settings_file.h"
#include "generator/generator.h"
#include "platform/win/win_ui.h"

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace qv {

class MainForm final : public EngineOwner {
public:
    explicit MainForm(HINSTANCE instance);
    ~MainForm() override;
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Builds the window and everything it owns; false when the start failed (the reason has
    // been shown) and the program should end without a message loop.
    bool Create(const std::string& programDir, const std::string& commandLine, int showCommand);
    HWND Window() const { return hwnd_; }
    // The window sees every key first: Space plays or stops, Ctrl with D, O, S or W clicks the
    // device, load, save or write button. True when the key was taken.
    bool PreTranslate(const MSG& msg);

    // EngineOwner
    void RunOnMainThread(WavePlayRec& engine, MainStep step) override;
    void PostNotification(EngineNotification notification) override;
    void AfterFill() override { UpdateDisplay(); }
    void EnablePlayButton(bool enabled) override;
    void EnableStopButton(bool enabled) override;
    std::string CaptionText() const override { return kAppTitle; }
    void PumpMessages() override { PumpWindowMessages(); }

private:
    static constexpr UINT kAutoPlay = WM_APP + 2;        // a file opened with "/P" starts playing
    static constexpr UINT kFirstActivation = WM_APP + 3; // posted by the first WM_ACTIVATE
    static constexpr UINT_PTR kTimer1 = 1;               // ends a "/P" playback
    // The subclasses of FieldMenuProc.
    static constexpr UINT_PTR kComboField = 0, kUpDownButtons = 1;

    struct Control {
        const LayoutRow* row;
        HWND hwnd;
        const char* const* items = nullptr; // the list it was last filled with
        size_t itemCount = 0;
    };

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
    LRESULT Handle(UINT message, WPARAM w, LPARAM l);
    void BuildControls();
    int Scale(int px) const { return MulDiv(px, static_cast<int>(dpi_), 96); }
    RECT Placed(const LayoutRect& r) const;
    static LRESULT CALLBACK PageProc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
    static LRESULT CALLBACK FieldMenuProc(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR id,
                                          DWORD_PTR main);
    SIZE FrameFor(int clientHeight) const; // the window around the client area, 96-DPI height
    void PlaceWindow();
    // The display: its place below the control area, its scale after a format change, a new
    // block shown (the engine's and the writers' callback), a run's start or end.
    void PlaceScope();
    void RelayoutScope();
    double ScopeRate() const;
    void UpdateDisplay();
    void ClearScope();
    void FirstActivation();
    void Refresh(const ControlChanges& changes, bool all);
    void ShowRow(Control& c);
    void SelectPage(int page);
    void OnCommand(const Control& c, int code);
    void OnUnitLabel(const Control& c, bool doubleClick);
    void Play();
    void Stop();
    void Write();
    void Load();
    void Save();
    void SaveSettingsAndSet();
    void ProcessCommandLine(const std::string& line);
    void OpenPending();
    void OpenFile(const std::string& path);
    bool RegisterUserWaveOf(int master, UserWaveRequest request);
    void ClickIfEnabled(ToolbarControl control);
    void ShowHelp();
    void NotAvailable();
    void ShowContextMenu(HWND control, POINT screen);
    Control* Find(int id);
    Control* Find(RowRole role, int slot = -1);
    Control* Find(ToolbarControl control);
    Control* Find(int slot, SlotControl control);
    bool OnWheel(const MSG& msg);
    std::string ComboText(HWND combo) const;

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    HWND tooltip_ = nullptr;
    std::array<HWND, 2> pages_{};
    HFONT font_ = nullptr;
    UINT dpi_ = 96;
    int page_ = 0;
    bool startGood_ = false;
    bool writing_ = false;
    bool closeAfterWrite_ = false; // the window was asked to close during a write
    bool activationPosted_ = false;
    bool activated_ = false; // from the first activation on
    int helpContext_ = 2;    // the first F1 opens the help's start page, later ones its index
    int f1Count_ = 0;
    bool refreshing_ = false; // set while the window writes into its own controls
    std::string programDir_, settingsPath_, helpPath_;
    WinUi ui_;
    OpenParamEnvironment openEnv_;
    FftApi fft_{};
    AppSettings settings_;
    Generator generator_;
    std::unique_ptr<MainControls> controls_;
    std::unique_ptr<WinDriverCatalog> catalog_;
    std::unique_ptr<WavePlayRec> engine_;
    std::unique_ptr<PlayCommand> play_;
    std::unique_ptr<ScopePanel> scope_;
    std::vector<Control> rows_;
    std::string paramFilePath_;
    std::string pendingOpen_; // a file whose open waits for the playback to end
    bool autoPlay_ = false;
    long autoPlayMs_ = 0;
    HBRUSH redBrush_ = nullptr;
    HBRUSH filterBrush_ = nullptr; // FilterPointColor
    HBRUSH backBrush_ = nullptr;   // BackColor: the display panel
};

} // namespace qv
