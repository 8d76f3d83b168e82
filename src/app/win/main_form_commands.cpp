// The main window's commands that need a window: Load, Save and Write with their file dialogs,
// the keys it sees first, the mouse wheel over the masters' values, and the popup menus.
#include "app/main_controls.h"
#include "app/main_menus.h"
#include "app/main_texts.h"
#include "app/win/file_dialog.h"
#include "app/win/filter_config_form.h"
#include "app/win/freq_bar_form.h"
#include "app/win/main_form.h"
#include "app/win/up_down_form.h"
#include "engine/win/select_device_dlg.h"
#include "platform/win/popup_menu.h"
#include "platform/win/text_conversion.h"

#include <commctrl.h>
#include <windowsx.h>

namespace qv {

namespace {

// The texts of a file dialog in the window's language, kept for the dialog's life.
struct DialogTexts {
    DialogTexts(int lang, Text2 title, Text2 files, bool allFiles)
        : title(Utf8ToWide(title(lang))), files(Utf8ToWide(files(lang))),
          all(allFiles ? Utf8ToWide(kFilterAllFiles(lang)) : std::wstring()) {}
    FileKind Kind(const wchar_t* pattern, const wchar_t* extension) const {
        return {files.c_str(), pattern, extension, all.empty() ? nullptr : all.c_str()};
    }
    std::wstring title, files, all;
};

} // namespace

void MainForm::Write() {
    const bool text = keys_.ShiftDown(); // read before the dialog, as the hint says
    const int lang = session_.Language();
    // A name typed without an extension gets the target's own (not "WAV" for a text file).
    const DialogTexts texts(lang, text ? kTitleWriteText : kTitleWriteWave,
                            text ? kFilterTextFiles : kFilterWaveFiles, true);
    std::string path = session_.WriteFile(text);
    if (!AskFile(Hwnd(), true, texts.title.c_str(),
                 text ? texts.Kind(L"*.QVT", L"QVT") : texts.Kind(L"*.WAV", L"WAV"),
                 session_.Settings().lastDirectory, path))
        return;
    session_.Write(text, path);
    if (session_.CloseRequested())
        PostMessageW(Hwnd(), WM_CLOSE, 0, 0);
}

// The parameter dialogs; the save dialog offers every file as well (a name typed without an
// extension becomes a ".QV").
void MainForm::Load() {
    const DialogTexts texts(session_.Language(), kTitleOpenParams, kFilterParamFiles, false);
    std::string path = session_.ParamFilePath();
    if (AskFile(Hwnd(), false, texts.title.c_str(), texts.Kind(L"*.QV", L"QV"),
                session_.ProgramDir(), path))
        session_.OpenParamFile(path);
}

void MainForm::Save() {
    const DialogTexts texts(session_.Language(), kTitleSaveParams, kFilterParamFiles, true);
    std::string path = session_.ParamFilePath();
    if (AskFile(Hwnd(), true, texts.title.c_str(), texts.Kind(L"*.QV", L"QV"),
                session_.ProgramDir(), path))
        session_.SaveParamFile(path);
}

// The "Sound device" dialog: every choice is kept at once; a double-click in its format list
// chooses the main window's sample rate and bit length.
void MainForm::OpenDeviceDialog() {
    const int lang = session_.Language();
    DeviceDialog model(session_.Engine(), session_.Catalog(), session_.Settings(), ui_, lang);
    SelectDeviceDlg dialog(instance_, Hwnd(), font_, lang, model, ui_, keys_,
                           [this](int rate, int bits) {
                               MainControls& m = session_.Controls();
                               m.OnSampleRateItem(rate);
                               m.OnBitLen(bits);
                               session_.Publish();
                           });
    dialog.help = [this](DeviceHelp where) {
        session_.HelpOn(where == DeviceHelp::Dialog ? HelpPage::DeviceDialog
                                                    : HelpPage::FormatList);
    };
    dialog.RunModal();
    session_.OfferFormat();
    session_.Publish();
}

void MainForm::SyncFilterEditor() {
    const bool on = session_.Controls().ToolbarChecked(ToolbarControl::FilterOn);
    if (on && session_.Activated()) {
        if (!filterForm_) {
            // First place: the main window's left edge, at the top of its wave pages.
            RECT window{}, pages{};
            GetWindowRect(Hwnd(), &window);
            if (const Control* tabs = Find(RowRole::Tabs))
                GetWindowRect(tabs->hwnd, &pages);
            filterForm_ = std::make_unique<FilterConfigForm>(
                instance_, Hwnd(), font_, session_, POINT{window.left, pages.top + Scale(3)});
        }
        if (!IsWindowVisible(filterForm_->Window()))
            filterForm_->Show();
    } else if (!on && filterForm_) {
        filterForm_->Hide();
    }
}

void MainForm::ToggleFreqBar() {
    if (freqBar_ && IsWindowVisible(freqBar_->Window())) {
        freqBar_->Hide();
        return;
    }
    if (!freqBar_) {
        // First place: just left of the client area, under the Bar button, a little wider than
        // the window.
        RECT client{}, button{};
        GetClientRect(Hwnd(), &client);
        POINT origin{0, 0};
        ClientToScreen(Hwnd(), &origin);
        if (const Control* bar = Find(0, SlotControl::FreqBarButton))
            GetWindowRect(bar->hwnd, &button);
        freqBar_ = std::make_unique<FreqBarForm>(
            instance_, Hwnd(), font_, session_,
            RECT{origin.x - Scale(5), button.bottom + Scale(2), client.right + Scale(20), 0});
    }
    freqBar_->Show();
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
        MainControls& m = session_.Controls();
        if (freq)
            m.OnFreqStep(master, delta);
        else
            m.OnAmpStep(master, delta);
        session_.Publish();
        return true;
    }
    return false;
}

bool MainForm::PreTranslate(const MSG& msg) {
    if (rows_.empty())
        return false;
    // The filter editor's keys are its own; the main window's shortcuts act on the main window.
    if (filterForm_ && filterForm_->PreTranslate(msg))
        return true;
    if (freqBar_ && freqBar_->PreTranslate(msg))
        return true;
    if (GetAncestor(msg.hwnd, GA_ROOT) != Hwnd())
        return false;
    if (msg.message == WM_MOUSEWHEEL)
        return OnWheel(msg);
    if (msg.message != WM_KEYDOWN)
        return false;
    // Enter commits what was typed into a box.
    if (msg.wParam == VK_RETURN) {
        for (const Control& c : rows_) {
            if (c.row->kind == ControlKind::DropEdit && IsChild(c.hwnd, msg.hwnd)) {
                session_.Controls().CommitEntries();
                session_.Publish();
                return true;
            }
        }
    }
    KeyPress key{static_cast<unsigned>(msg.wParam), GetKeyState(VK_CONTROL) < 0,
                 GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0};
    // The slot check boxes and the comment box keep Space for themselves.
    const HWND focus = GetFocus();
    for (const Control& c : rows_) {
        const LayoutRow& r = *c.row;
        if (c.hwnd == focus &&
            ((r.kind == ControlKind::CheckBox && r.role == RowRole::Slot) ||
             (r.role == RowRole::Toolbar && r.toolbarControl == ToolbarControl::Comment)))
            key.focusKeepsSpace = true;
    }
    switch (session_.OnKey(key)) {
    case KeyCommand::None:
        return false;
    case KeyCommand::Device:
        ClickIfEnabled(ToolbarControl::Device);
        return true;
    case KeyCommand::Load:
        ClickIfEnabled(ToolbarControl::Load);
        return true;
    case KeyCommand::Save:
        ClickIfEnabled(ToolbarControl::Save);
        return true;
    case KeyCommand::Write:
        ClickIfEnabled(ToolbarControl::Write);
        return true;
    default:
        return true;
    }
}

void MainForm::ShowContextMenu(HWND control, POINT at) {
    // A combo box's field belongs to its combo box.
    const Control* c = nullptr;
    for (const Control& row : rows_) {
        if (row.hwnd == control || row.hwnd == GetParent(control))
            c = &row;
    }
    if (!c || c->row->slot < 0)
        return;
    const LayoutRow& r = *c->row;
    const int i = r.slot;
    MainControls& m = session_.Controls();
    if (r.role == RowRole::FreqUpDown || r.role == RowRole::AmpUpDown) {
        // The buttons' settings window, at the cursor; each change holds at once.
        const bool freq = r.role == RowRole::FreqUpDown;
        const LiveSettings& live = m.Live();
        UpDownForm form(instance_, Hwnd(), font_, session_.Language(), freq,
                        freq ? live.freq : live.amp, at, [this, freq](const UpDownSettings& set) {
                            LiveSettings changed = session_.Controls().Live();
                            (freq ? changed.freq : changed.amp) = set;
                            session_.Controls().SetLiveSettings(changed);
                            session_.Publish();
                        });
        form.RunModal();
        return;
    }
    Menu menu;
    if (r.role == RowRole::FreqUnit)
        menu = FreqUnitMenu(m, i);
    else if (r.role == RowRole::AmpUnit || r.role == RowRole::OffsetUnit)
        menu = LevelUnitMenu(m, i, r.role == RowRole::AmpUnit);
    else if (r.role == RowRole::Slot && r.slotControl == SlotControl::Freq)
        menu = FreqMenu(m, i);
    else if (r.role == RowRole::Slot && r.slotControl == SlotControl::Sweep)
        menu = SweepMenu(m, i);
    else if (r.role == RowRole::Slot && r.slotControl == SlotControl::Modulation)
        menu = ModulationMenu(m, i);
    if (RunPopupMenu(Hwnd(), menu, at))
        session_.Publish();
}

} // namespace qv
