#include "app/command_line.h"
#include "app/win/file_dialog.h"
#include "app/win/main_form.h"
#include "app/write_command.h"
#include "files/ini_file.h"
#include "files/param_file.h"
#include "files/wave_writer.h"
#include "generator/number_text.h"
#include "platform/win/html_help.h"
#include "platform/win/text_conversion.h"

#include <commctrl.h>
#include <windowsx.h>

#include <array>
#include <utility>
#include <vector>

namespace qv {

namespace {

// The write's keys: Escape, or the window asked to close, ends it with a whole file.
class WriteKeys final : public KeyState {
public:
    explicit WriteKeys(const bool& closing) : closing_(closing) {}
    bool ShiftDown() const override { return keys_.ShiftDown(); }
    bool CtrlDown() const override { return keys_.CtrlDown(); }
    bool EscapeDown() const override { return closing_ || keys_.EscapeDown(); }

private:
    WinKeyState keys_;
    const bool& closing_;
};

const wchar_t* AllFiles(bool english) {
    return english ? L"All files (*.*)" : L"すべてのﾌｧｲﾙ (*.*)";
}

// The save dialog offers every file as well; a name typed without an extension becomes a ".QV".
FileKind ParamFileKind(bool english, bool save) {
    return {english ? L"parameter file (*.QV)" : L"ﾊﾟﾗﾒｰﾀﾌｧｲﾙ (*.QV)", L"*.QV", L"QV",
            save ? AllFiles(english) : nullptr};
}

} // namespace

void MainForm::Play() {
    const PlayEnvironment env{.ui = ui_,
                              .languageIndex = controls_->Language(),
                              .deviceIndex = settings_.playDeviceNum,
                              .asioFirstChannel = settings_.asioPlayChNum};
    ClearScope();
    (void)play_->Play(env);
    Refresh(controls_->TakeChanges(), false);
}

void MainForm::Stop() {
    KillTimer(hwnd_, kTimer1);
    play_->Stop();
}

void MainForm::Write() {
    const WriteKeys keys(closeAfterWrite_);
    const bool text = keys.ShiftDown(); // read before the dialog, as the hint says
    std::string& remembered = text ? settings_.lastTextFile : settings_.lastWaveFile;
    const bool en = controls_->Language() == kEnglish;
    // A name typed without an extension gets the target's own (not "WAV" for a text file).
    const wchar_t* all = AllFiles(en);
    const FileKind kind =
        text ? FileKind{en ? L"Text format file (*.QVT)" : L"ﾃｷｽﾄﾌｫｰﾏｯﾄﾌｧｲﾙ (*.QVT)", L"*.QVT",
                        L"QVT", all}
             : FileKind{en ? L"Wave file (*.WAV)" : L"Waveﾌｧｲﾙ (*.WAV)", L"*.WAV", L"WAV", all};
    const wchar_t* title = text ? (en ? L"Write to Text format file" : L"ﾃｷｽﾄﾌｫｰﾏｯﾄﾌｧｲﾙへ出力")
                                : (en ? L"Write to Wave file" : L"Waveﾌｧｲﾙへ出力");
    std::string path = remembered;
    if (!AskFile(hwnd_, true, title, kind, settings_.lastDirectory, path))
        return;
    const size_t slash = path.find_last_of('\\');
    settings_.lastDirectory = path.substr(0, slash == 2 ? 3 : slash); // "C:\" keeps its separator
    remembered = path;
    paramFilePath_ = BaseName(path) + ".QV";
    std::array<wchar_t, 512> savedCaption{};
    GetWindowTextW(hwnd_, savedCaption.data(), static_cast<int>(savedCaption.size()));
    SetWindowTextW(hwnd_, ShiftJisToWide(std::string(kAppTitle) + " - " + path).c_str());

    // The progress bar takes the format boxes' place.
    controls_->SetControlsForWrite(false);
    Refresh(controls_->TakeChanges(), false);
    EnablePlayButton(false);
    Control* progress = Find(kProgressBarId);
    std::vector<HWND> format;
    for (const Control& c : rows_) {
        if (c.row->exclusion == kFormatOrProgress && c.row != progress->row)
            ShowWindow(format.emplace_back(c.hwnd), SW_HIDE);
    }
    SendMessageW(progress->hwnd, PBM_SETPOS, 0, 0);
    ShowWindow(progress->hwnd, SW_SHOWNA);
    writing_ = true;
    const WriteEnvironment env{.ui = ui_,
                               .keys = keys,
                               .languageIndex = controls_->Language(),
                               .appTitle = kAppTitle,
                               .progress =
                                   [&](uint64_t position, uint64_t maximum) {
                                       const int step =
                                           maximum ? static_cast<int>(position * 100 / maximum) : 0;
                                       SendMessageW(progress->hwnd, PBM_SETPOS, step, 0);
                                   },
                               .afterBlock = [this] { UpdateDisplay(); }};
    ClearScope();
    (void)(text ? RunTextWrite(generator_, remembered, env)
                : RunWaveWrite(generator_, remembered, env));
    writing_ = false;
    RelayoutScope(); // back to the output rate after an oversampled write
    if (GetKeyState(VK_CONTROL) >= 0)
        ClearScope();
    ShowWindow(progress->hwnd, SW_HIDE);
    SendMessageW(progress->hwnd, PBM_SETPOS, 0, 0);
    for (HWND h : format)
        ShowWindow(h, SW_SHOWNA);
    controls_->SetControlsForWrite(true);
    Refresh(controls_->TakeChanges(), false);
    EnablePlayButton(true);
    SetWindowTextW(hwnd_, savedCaption.data());
    if (closeAfterWrite_)
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void MainForm::Load() {
    const bool english = controls_->Language() == kEnglish;
    std::string path = paramFilePath_;
    if (AskFile(hwnd_, false, english ? L"Open parameters" : L"ﾊﾟﾗﾒｰﾀﾌｧｲﾙを開く",
                ParamFileKind(english, false), programDir_, path))
        OpenFile(path);
}

void MainForm::Save() {
    const bool english = controls_->Language() == kEnglish;
    std::string path = paramFilePath_;
    if (!AskFile(hwnd_, true, english ? L"Save parameters" : L"ﾊﾟﾗﾒｰﾀﾌｧｲﾙの保存",
                 ParamFileKind(english, true), programDir_, path))
        return;
    paramFilePath_ = path;
    OpenedNames names;
    if (SaveParamSet(path, *controls_, openEnv_, names)) {
        SetWindowTextW(hwnd_, ShiftJisToWide(names.caption).c_str());
        settings_.lastWaveFile = names.lastWaveFile;
        settings_.lastTextFile = names.lastTextFile;
    }
}

void MainForm::SaveSettingsAndSet() {
    if (!startGood_)
        return;
    RECT r{};
    GetWindowRect(hwnd_, &r);
    settings_.posX = r.left;
    settings_.posY = r.top;
    settings_.height = r.bottom - r.top;
    settings_.waveXMag = scope_->View().xDispRate;
    settings_.waveYMag = scope_->View().yDispRate;
    const auto ini = OpenIniFile(settingsPath_);
    (void)WriteSettings(*ini, settings_);
    ParamSet set(controls_->Language());
    controls_->CaptureParamTable(set);
    (void)SaveParamFile(*ini, set, std::nullopt);
}

void MainForm::ProcessCommandLine(const std::string& line) {
    const CommandLineRequest request = ParseCommandLine(line, programDir_);
    if (request.path.empty())
        return;
    paramFilePath_ = request.path;
    autoPlay_ = request.autoPlay;
    autoPlayMs_ = AutoPlayMilliseconds(
        request, ReadDecimal(controls_->ToolbarText(ToolbarControl::FileLength)));
    pendingOpen_ = request.path;
    if (engine_->PlaybackRunning())
        Stop(); // the open follows when the playback has ended
    else
        OpenPending();
}

void MainForm::OpenPending() {
    const std::string path = std::exchange(pendingOpen_, std::string());
    if (path.empty() || engine_->PlaybackRunning())
        return;
    if (!HasExtension(path, "QV")) {
        ui_.Message(controls_->Language() == kEnglish
                        ? "User waves are registered in the user-wave window, which is not "
                          "available yet."
                        : "ユーザー波形の登録ウィンドウはまだ使えません。",
                    kAppTitle, MsgIcon::Information);
        return;
    }
    OpenFile(path);
    if (autoPlay_ && !engine_->PlaybackRunning())
        PostMessageW(hwnd_, kAutoPlay, 0, 0);
}

void MainForm::OpenFile(const std::string& path) {
    OpenedNames names;
    if (OpenParamFile(path, generator_, *controls_, openEnv_, names)) {
        paramFilePath_ = path;
        SetWindowTextW(hwnd_, ShiftJisToWide(names.caption).c_str());
        settings_.lastWaveFile = names.lastWaveFile;
        settings_.lastTextFile = names.lastTextFile;
        (void)play_->OfferFormat();
    }
    Refresh(controls_->TakeChanges(), false);
}

void MainForm::ClickIfEnabled(ToolbarControl control) {
    const Control* c = Find(control);
    if (c && IsWindowEnabled(c->hwnd) && IsWindowVisible(c->hwnd))
        SendMessageW(c->hwnd, BM_CLICK, 0, 0);
}

// The wheel over the master's frequency or amplitude box (with its up/down buttons) of the page
// shown steps the value as the buttons do, a notch at a time.
bool MainForm::OnWheel(const MSG& msg) {
    const int master = page_ == 0 ? 0 : 4;
    const POINT at{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    for (const bool freq : {true, false}) {
        const Control* box = Find(master, freq ? SlotControl::Freq : SlotControl::Amp);
        const Control* buttons = Find(freq ? RowRole::FreqUpDown : RowRole::AmpUpDown, master);
        if (!box || !buttons || !IsWindowVisible(box->hwnd))
            continue;
        RECT a{}, b{};
        GetWindowRect(box->hwnd, &a);
        GetWindowRect(buttons->hwnd, &b);
        // The box's height (its closed field), edges included.
        RECT field{};
        GetClientRect(box->hwnd, &field);
        if (at.x < a.left || at.x > b.right || at.y < a.top || at.y > a.top + field.bottom)
            continue;
        const int delta = GET_WHEEL_DELTA_WPARAM(msg.wParam);
        if (freq)
            controls_->OnFreqStep(master, delta);
        else
            controls_->OnAmpStep(master, delta);
        Refresh(controls_->TakeChanges(), false);
        return true;
    }
    return false;
}

bool MainForm::PreTranslate(const MSG& msg) {
    if (!controls_)
        return false;
    if (msg.message == WM_MOUSEWHEEL)
        return OnWheel(msg);
    if (msg.message != WM_KEYDOWN)
        return false;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0,
               alt = GetKeyState(VK_MENU) < 0;
    if (msg.wParam == VK_SPACE && !ctrl && !alt) {
        // The check boxes and the comment box keep Space for themselves.
        const HWND focus = GetFocus();
        for (const Control& c : rows_) {
            const LayoutRow& r = *c.row;
            const bool keeps = r.kind == ControlKind::CheckBox && r.role == RowRole::Slot;
            const bool comment =
                r.role == RowRole::Toolbar && r.toolbarControl == ToolbarControl::Comment;
            if (c.hwnd == focus && (keeps || comment))
                return false;
        }
        const Control* play = Find(RowRole::Play);
        if (play && IsWindowEnabled(play->hwnd))
            Play();
        else
            Stop();
        return true;
    }
    if (msg.wParam == VK_F1) {
        // Until the window has been activated only the very first F1 counts.
        if (activated_ || f1Count_ == 0) {
            ShowHelp();
            if (helpContext_ == 2)
                helpContext_ = 8;
        }
        ++f1Count_;
        return true;
    }
    // Ctrl alone with a letter clicks its tool-bar button.
    constexpr std::pair<WPARAM, ToolbarControl> kShortcuts[] = {{'D', ToolbarControl::Device},
                                                                {'O', ToolbarControl::Load},
                                                                {'S', ToolbarControl::Save},
                                                                {'W', ToolbarControl::Write}};
    for (const auto& [key, button] : kShortcuts) {
        if (ctrl && !shift && !alt && msg.wParam == key) {
            ClickIfEnabled(button);
            return true;
        }
    }
    return false;
}

void MainForm::ShowHelp() {
    if (settings_.dispHelp != 0)
        (void)OpenHelpContext(helpPath_, static_cast<unsigned long>(helpContext_));
}

// The windows that open from the tool bar and the slot groups are not part of the program yet.
void MainForm::NotAvailable() {
    ui_.Message(controls_->Language() == kEnglish ? "This window is not available yet."
                                                  : "このウィンドウはまだ使えません。",
                kAppTitle, MsgIcon::Information);
}

} // namespace qv
