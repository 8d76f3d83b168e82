#include "engine/win/select_device_dlg.h"

#include "engine/device_dialog_texts.h"
#include "engine/win/format_list_form.h"
#include "platform/app_title.h"
#include "platform/key_state.h"
#include "platform/ui.h"
#include "platform/win/text_conversion.h"

#include <commctrl.h>
#include <shellapi.h>

namespace qv {

namespace {

// Centred over the owner (kept inside the work area by the base).
POINT Centred(HWND owner, const WindowLayout& layout) {
    RECT r{};
    if (!owner || !GetWindowRect(owner, &r))
        return {0, 0};
    return {(r.left + r.right - layout.client.w) / 2, (r.top + r.bottom - layout.client.h) / 2};
}

constexpr wchar_t kLicenceSite[] = L"https://www.steinberg.net/";

} // namespace

SelectDeviceDlg::SelectDeviceDlg(HINSTANCE instance, HWND owner, HFONT font, int languageIndex,
                                 DeviceDialog& dialog, Ui& ui, const KeyState& keys,
                                 std::function<void(int, int)> chosen)
    : SettingsWindow(instance, owner, font, languageIndex, kSoundDeviceTitle, DeviceDialogLayout(),
                     Centred(owner, DeviceDialogLayout())),
      instance_(instance), dialog_(dialog), ui_(ui), keys_(keys), language_(languageIndex),
      chosen_(std::move(chosen)) {
    SetWindowTextW(
        Hwnd(),
        Utf8ToWide(std::string(kAppTitle) + " - " + kSoundDeviceTitle(languageIndex)).c_str());
    SetHint(kFormatList, kFormatListHint(languageIndex));
    SetHint(kInfo, kInfoHint(languageIndex));
    LOGFONTW lf{};
    GetObjectW(ShownFont(), sizeof lf, &lf);
    lf.lfUnderline = TRUE;
    linkFont_.Reset(CreateFontIndirectW(&lf));
    SendMessageW(Control(kLicence), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.Get()), FALSE);
    On(WM_SETCURSOR, [this](const WindowMessage& m) {
        if (reinterpret_cast<HWND>(m.w) != Control(kLicence))
            return Default(m);
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649))); // the hand
        return LRESULT{TRUE};
    });
    // The latency's buttons step the typed value.
    On(WM_NOTIFY, [this](const WindowMessage& m) {
        const auto* header = reinterpret_cast<const NMHDR*>(m.l);
        if (header->idFrom == static_cast<UINT_PTR>(kLatencyUpDown) &&
            header->code == UDN_DELTAPOS) {
            const int step = reinterpret_cast<const NMUPDOWN*>(m.l)->iDelta > 0 ? 1 : -1;
            SetText(kLatencyEdit, std::to_string(dialog_.SetLatencyText(
                                      std::to_string(dialog_.Latency() + step))));
            return LRESULT{TRUE};
        }
        return Default(m);
    });
    On(WM_HELP, [this](const WindowMessage&) {
        if (help)
            help(DeviceHelp::Dialog);
        return LRESULT{TRUE};
    });
    SetText(kLatencyEdit, std::to_string(dialog_.Latency()));
    ShowLists();
    ShowState();
    Ready();
}

void SelectDeviceDlg::ShowLists() {
    const Showing showing(*this);
    SendMessageW(Control(kDriverBox), CB_SETCURSEL, dialog_.DriverItem(), 0);
    const auto fill = [this](int box, const std::vector<std::string>& items, int selected) {
        SendMessageW(Control(box), CB_RESETCONTENT, 0, 0);
        for (const std::string& item : items)
            SendMessageW(Control(box), CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
        SendMessageW(Control(box), CB_SETCURSEL, items.empty() ? -1 : selected, 0);
    };
    fill(kDeviceBox, dialog_.DeviceItems(), dialog_.DeviceItem());
    fill(kChannelBox, dialog_.ChannelItems(), dialog_.ChannelItem());
}

void SelectDeviceDlg::ShowState() {
    const Showing showing(*this);
    const DeviceDialog::Shown shown = dialog_.Visible();
    const auto show = [this](int id, bool on) {
        ShowWindow(Control(id), on ? SW_SHOWNA : SW_HIDE);
    };
    show(kLicence, shown.licence);
    show(kEventMode, shown.eventMode);
    for (int id : {kLatencyLabel, kLatencyEdit, kLatencyUpDown, kLatencyMs})
        show(id, shown.latency);
    show(kExtensible, shown.extensible);
    show(kInfo, shown.info);
    show(kPanel, shown.panel);
    show(kFullVolume, shown.fullVolume);
    EnableWindow(Control(kDeviceBox), dialog_.HasDevice());
    EnableWindow(Control(kFormatList), dialog_.HasDevice());
    EnableWindow(Control(kChannelLabel), dialog_.ChannelsEnabled());
    EnableWindow(Control(kChannelBox), dialog_.ChannelsEnabled());
    EnableWindow(Control(kInfo), dialog_.InfoEnabled());
    EnableWindow(Control(kPanel), dialog_.InfoEnabled());
    CheckDlgButton(Hwnd(), kExtensible, dialog_.Extensible() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Hwnd(), kEventMode, dialog_.EventMode() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Hwnd(), kFullVolume, dialog_.FullVolume() ? BST_CHECKED : BST_UNCHECKED);
}

bool SelectDeviceDlg::OnCommand(int id, int code) {
    const auto checked = [this](int box) { return IsDlgButtonChecked(Hwnd(), box) == BST_CHECKED; };
    const auto selected = [this](int box) {
        return static_cast<int>(SendMessageW(Control(box), CB_GETCURSEL, 0, 0));
    };
    switch (id) {
    case kDriverBox: {
        if (code != CBN_SELCHANGE)
            return false;
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514))); // the wait cursor
        dialog_.SelectDriver(selected(kDriverBox));
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
        ShowLists(); // a refused type is selected again
        return true;
    }
    case kDeviceBox:
        if (code != CBN_SELCHANGE)
            return false;
        dialog_.SelectDevice(selected(kDeviceBox));
        ShowLists();
        return true;
    case kChannelBox:
        if (code != CBN_SELCHANGE)
            return false;
        dialog_.SelectChannel(selected(kChannelBox));
        return true;
    case kExtensible:
        dialog_.SetExtensible(checked(kExtensible));
        return true;
    case kEventMode:
        dialog_.SetEventMode(checked(kEventMode));
        return true;
    case kFullVolume:
        dialog_.SetFullVolume(checked(kFullVolume));
        return true;
    case kLatencyEdit: {
        if (code != EN_CHANGE)
            return false;
        const std::string typed = ChosenText(kLatencyEdit, code);
        const int kept = dialog_.SetLatencyText(typed);
        if (typed != std::to_string(kept))
            SetText(kLatencyEdit, std::to_string(kept)); // written back within its limits
        return true;
    }
    case kInfo:
        if (const std::string info = dialog_.InfoText(keys_.ShiftDown()); !info.empty())
            ui_.Message(info, kSoundDeviceTitle(language_), MsgIcon::Information);
        return false;
    case kPanel:
        if (dialog_.PressPanel())
            OpenPanel();
        ShowLists(); // the driver's panel may have changed its channels
        return true;
    case kFormatList:
        ShowFormatList();
        return false;
    case kLicence:
        if (code == STN_CLICKED)
            ShellExecuteW(Hwnd(), L"open", kLicenceSite, nullptr, nullptr, SW_SHOWNORMAL);
        return false;
    default:
        return false;
    }
}

// The system's sound control panel (WASAPI's Panel).
void SelectDeviceDlg::OpenPanel() {
    std::wstring command = Utf8ToWide(kSoundControlPanel);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

void SelectDeviceDlg::ShowFormatList() {
    RECT r{};
    GetWindowRect(Hwnd(), &r);
    FormatListForm form(instance_, Hwnd(), ShownFont(), language_, dialog_, keys_,
                        {r.left + 20, r.top + 20}, [this](int row, int column) {
                            if (chosen_)
                                chosen_(row, column);
                        });
    form.help = [this] {
        if (help)
            help(DeviceHelp::FormatList);
    };
    form.RunModal();
}

} // namespace qv
