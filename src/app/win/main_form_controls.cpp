// The main window's controls: built from the layout table, filled from the model, and their
// notifications handed to the model's handlers.
#include "app/win/main_form.h"
#include "platform/win/text_conversion.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <span>

namespace qv {

namespace {

bool FaceInstalled(const wchar_t* face) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy_s(lf.lfFaceName, face);
    bool found = false;
    const HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(
        dc, &lf,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM l) {
            *reinterpret_cast<bool*>(l) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

// The windows are laid out for a 6 x 12 pixel cell. The Japanese interface takes the system's
// UI Gothic; the English one a fixed-pitch face of that cell, the first one installed.
HFONT CreateUiFont(int lang, int cellHeight) {
    LOGFONTW lf{};
    lf.lfHeight = cellHeight;
    lf.lfCharSet = lang == kJapanese ? SHIFTJIS_CHARSET : DEFAULT_CHARSET;
    lf.lfPitchAndFamily = lang == kJapanese ? DEFAULT_PITCH : FIXED_PITCH | FF_MODERN;
    const wchar_t* face = L"MS UI Gothic";
    if (lang != kJapanese) {
        face = L"";
        for (const wchar_t* candidate :
             {L"Consolas", L"Lucida Console", L"DejaVu Sans Mono", L"Courier New"}) {
            if (FaceInstalled(candidate)) {
                face = candidate;
                break;
            }
        }
    }
    wcscpy_s(lf.lfFaceName, face);
    return CreateFontIndirectW(&lf);
}

int PageOf(const LayoutRow& r) {
    return r.parent == LayoutParent::Page1 ? 0 : r.parent == LayoutParent::Page2 ? 1 : -1;
}

const wchar_t* ClassFor(ControlKind kind) {
    switch (kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::GroupBox:
        return WC_BUTTONW;
    case ControlKind::DropList:
    case ControlKind::DropEdit:
        return WC_COMBOBOXW;
    case ControlKind::Edit:
        return WC_EDITW;
    case ControlKind::UpDown:
        return UPDOWN_CLASSW;
    case ControlKind::Progress:
        return PROGRESS_CLASSW;
    case ControlKind::Tab:
        return WC_TABCONTROLW;
    default:
        return WC_STATICW;
    }
}

DWORD StyleFor(ControlKind kind) {
    switch (kind) {
    case ControlKind::Button:
        return BS_PUSHBUTTON | WS_TABSTOP;
    case ControlKind::CheckBox:
        return BS_AUTOCHECKBOX | WS_TABSTOP;
    case ControlKind::GroupBox:
        return BS_GROUPBOX;
    case ControlKind::DropList:
        return CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    case ControlKind::DropEdit:
        return CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
    case ControlKind::Edit:
        return ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
    case ControlKind::UnitLabel:
        return SS_NOTIFY | SS_CENTER;
    case ControlKind::UpDown:
        return 0;
    case ControlKind::Panel:
        return SS_OWNERDRAW; // its colour says whether the filter is on
    default:
        return 0;
    }
}

// What a slot control's notification calls in the model: a chosen item, a text (chosen or
// typed) or a check state.
struct SlotHandlers {
    SlotControl control;
    void (MainControls::*item)(int, int);
    void (MainControls::*text)(int, std::string_view);
    void (MainControls::*check)(int, bool);
};
using MC = MainControls;
constexpr SlotHandlers kSlotHandlers[] = {
    {SlotControl::Waveform, &MC::OnWaveform, nullptr, nullptr},
    {SlotControl::OutCh, &MC::OnOutCh, nullptr, nullptr},
    {SlotControl::BandLimit, &MC::OnBandLimit, nullptr, nullptr},
    {SlotControl::Freq, nullptr, &MC::OnFrequencyText, nullptr},
    {SlotControl::Amp, nullptr, &MC::OnAmplitudeText, nullptr},
    {SlotControl::Offset, nullptr, &MC::OnOffsetText, nullptr},
    {SlotControl::Delay, nullptr, &MC::OnDelayText, nullptr},
    {SlotControl::Phase, nullptr, &MC::OnPhaseText, nullptr},
    {SlotControl::GateOn, nullptr, &MC::OnGateOnText, nullptr},
    {SlotControl::GateOff, nullptr, &MC::OnGateOffText, nullptr},
    {SlotControl::Sweep, nullptr, nullptr, &MC::OnSweep},
    {SlotControl::FollowerGate, nullptr, nullptr, &MC::OnFollowerGate},
};

} // namespace

RECT MainForm::Placed(const LayoutRect& r) const {
    return {Scale(r.x), Scale(r.y), Scale(r.x + r.w), Scale(r.y + r.h)};
}

// Sends a combo box field's right click to the main window as the combo box's.
// The right button on an up/down control opens its settings window (posted, so that the window
// does not run inside the control's own mouse handling).
LRESULT CALLBACK MainForm::FieldMenuProc(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR id,
                                         DWORD_PTR main) {
    if (message == WM_CONTEXTMENU && id == kComboField)
        return SendMessageW(reinterpret_cast<HWND>(main), WM_CONTEXTMENU,
                            reinterpret_cast<WPARAM>(GetParent(hwnd)), l);
    if (message == WM_RBUTTONDOWN && id == kUpDownButtons) {
        const DWORD at = GetMessagePos();
        PostMessageW(reinterpret_cast<HWND>(main), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                     static_cast<LPARAM>(at));
        return 0;
    }
    if (message == WM_RBUTTONUP && id == kUpDownButtons)
        return 0;
    return DefSubclassProc(hwnd, message, w, l);
}

// A page of the tab control: a plain window over the tab's display area that hands its
// controls' notifications to the main window.
LRESULT CALLBACK MainForm::PageProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CONTEXTMENU:
        return SendMessageW(GetParent(hwnd), message, w, l);
    default:
        return DefWindowProcW(hwnd, message, w, l);
    }
}

void MainForm::BuildControls() {
    const int lang = controls_->Language();
    font_ = CreateUiFont(lang, Scale(12));
    redBrush_ = CreateSolidBrush(RGB(255, 96, 96));
    filterBrush_ = CreateSolidBrush(settings_.filterPointColor);
    backBrush_ = CreateSolidBrush(settings_.backColor);
    tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               instance_, nullptr);
    RegisterWindowClass(instance_, L"QvPage", PageProc);
    const RECT area = Placed(kPageArea);
    for (HWND& page : pages_) {
        page = CreateWindowExW(WS_EX_CONTROLPARENT, L"QvPage", L"", WS_CHILD | WS_CLIPSIBLINGS,
                               area.left, area.top, area.right - area.left, area.bottom - area.top,
                               hwnd_, nullptr, instance_, nullptr);
    }
    const auto rows = MainLayout();
    std::vector<const LayoutRow*> order;
    for (const LayoutRow& r : rows)
        order.push_back(&r);
    std::stable_partition(order.begin(), order.end(), [](const LayoutRow* r) {
        return r->kind == ControlKind::Tab || r->kind == ControlKind::GroupBox ||
               r->kind == ControlKind::Panel;
    });
    for (const LayoutRow* r : order) {
        const RECT rc = Placed(r->rect);
        const bool combo = r->kind == ControlKind::DropList || r->kind == ControlKind::DropEdit;
        const int height = combo ? Scale(200) : rc.bottom - rc.top; // the list's dropped height
        const HWND parent = PageOf(*r) < 0 ? hwnd_ : pages_[PageOf(*r)];
        const HWND h = CreateWindowExW(
            0, ClassFor(r->kind), Utf8ToWide(r->caption(lang)).c_str(),
            WS_CHILD | WS_CLIPSIBLINGS | StyleFor(r->kind) |
                (r->kind == ControlKind::Label && *r->hint.en ? SS_NOTIFY : 0),
            rc.left, rc.top, rc.right - rc.left, height, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(r->id)), instance_, nullptr);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        if (r->kind == ControlKind::Tab) {
            for (int page = 0; page < 2; ++page) {
                std::wstring text = Utf8ToWide(page == 0 ? r->caption.ja : r->caption.en);
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = text.data();
                SendMessageW(h, TCM_INSERTITEMW, page, reinterpret_cast<LPARAM>(&item));
            }
        }
        // The frequency field's own menu gives way to the frequency menu.
        if (r->role == RowRole::Slot && r->slotControl == SlotControl::Freq) {
            if (const HWND field = GetWindow(h, GW_CHILD))
                SetWindowSubclass(field, FieldMenuProc, kComboField,
                                  reinterpret_cast<DWORD_PTR>(hwnd_));
        }
        if (r->kind == ControlKind::UpDown) {
            SendMessageW(h, UDM_SETRANGE32, 0, 100);
            SetWindowSubclass(h, FieldMenuProc, kUpDownButtons, reinterpret_cast<DWORD_PTR>(hwnd_));
        }
        if (r->kind == ControlKind::DropEdit || r->kind == ControlKind::DropList) {
            SendMessageW(h, CB_SETMINVISIBLE, 12, 0);
        }
        {
            const std::string hint = r->role == RowRole::Slot
                                         ? controls_->Hint(r->slot, r->slotControl)
                                         : std::string(r->hint(lang));
            if (!hint.empty()) {
                std::wstring text = Utf8ToWide(hint);
                TTTOOLINFOW info{};
                info.cbSize = sizeof info;
                info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
                info.hwnd = parent;
                info.uId = reinterpret_cast<UINT_PTR>(h);
                info.lpszText = text.data();
                SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
            }
        }
        rows_.push_back({r, h});
    }
    // Containers lie under the controls they hold, and the tab control under the group boxes.
    for (ControlKind bottom : {ControlKind::GroupBox, ControlKind::Panel, ControlKind::Tab}) {
        for (const Control& c : rows_) {
            if (c.row->kind == bottom)
                SetWindowPos(c.hwnd, HWND_BOTTOM, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

MainForm::Control* MainForm::Find(int id) {
    for (Control& c : rows_) {
        if (c.row->id == id)
            return &c;
    }
    return nullptr;
}

MainForm::Control* MainForm::Find(RowRole role, int slot) {
    for (Control& c : rows_) {
        if (c.row->role == role && c.row->slot == slot)
            return &c;
    }
    return nullptr;
}

MainForm::Control* MainForm::Find(ToolbarControl control) {
    for (Control& c : rows_) {
        if (c.row->role == RowRole::Toolbar && c.row->toolbarControl == control)
            return &c;
    }
    return nullptr;
}

MainForm::Control* MainForm::Find(int slot, SlotControl control) {
    for (Control& c : rows_) {
        if (c.row->role == RowRole::Slot && c.row->slot == slot && c.row->slotControl == control)
            return &c;
    }
    return nullptr;
}

std::string MainForm::ComboText(HWND combo) const {
    std::array<wchar_t, 256> text{};
    GetWindowTextW(combo, text.data(), static_cast<int>(text.size()));
    return WideToShiftJis(text.data());
}

void MainForm::ShowRow(Control& c) {
    const LayoutRow& r = *c.row;
    const MainControls& m = *controls_;
    bool visible = true;
    bool enabled = true;
    const auto fill = [&](std::span<const char* const> items, int selected,
                          const std::string* text) {
        // A list is refilled only when it changed (a unit, the channel count): refilling clears
        // the field, which would move the caret while the user types.
        if (items.data() != c.items || items.size() != c.itemCount) {
            SendMessageW(c.hwnd, CB_RESETCONTENT, 0, 0);
            for (const char* item : items)
                SendMessageW(c.hwnd, CB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(ShiftJisToWide(item).c_str()));
            c.items = items.data();
            c.itemCount = items.size();
        }
        if (selected >= 0)
            SendMessageW(c.hwnd, CB_SETCURSEL, selected, 0);
        if (text && ComboText(c.hwnd) != *text)
            SetWindowTextW(c.hwnd, ShiftJisToWide(*text).c_str());
    };
    switch (r.role) {
    case RowRole::Slot:
        visible = visible && m.Visible(r.slot, r.slotControl);
        enabled = m.Enabled(r.slot, r.slotControl);
        if (r.kind == ControlKind::DropList) {
            fill(m.Items(r.slot, r.slotControl), m.Selected(r.slot, r.slotControl), nullptr);
        } else if (r.kind == ControlKind::DropEdit) {
            const std::string text = m.Text(r.slot, r.slotControl);
            fill(m.Items(r.slot, r.slotControl), -1, &text);
        } else if (r.kind == ControlKind::CheckBox) {
            SendMessageW(c.hwnd, BM_SETCHECK, m.Checked(r.slot, r.slotControl), 0);
        }
        if (r.slotControl == SlotControl::Waveform) {
            std::wstring hint = Utf8ToWide(m.Hint(r.slot, SlotControl::Waveform));
            TTTOOLINFOW info{};
            info.cbSize = sizeof info;
            info.hwnd = GetParent(c.hwnd);
            info.uId = reinterpret_cast<UINT_PTR>(c.hwnd);
            info.lpszText = hint.data();
            SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
        }
        if (r.slotControl == SlotControl::Freq)
            InvalidateRect(c.hwnd, nullptr, TRUE); // its colour
        break;
    case RowRole::FreqUnit:
    case RowRole::AmpUnit:
    case RowRole::OffsetUnit:
        SetWindowTextW(c.hwnd, ShiftJisToWide(m.UnitLabel(r.slot, r.slotControl)).c_str());
        break;
    case RowRole::Caption:
        if (r.slot >= 0 && r.slotControl != SlotControl::Count)
            visible = visible && m.Visible(r.slot, r.slotControl);
        if (r.kind == ControlKind::Progress)
            visible = false; // shown only during a write
        break;
    case RowRole::Toolbar: {
        const ToolbarControl t = r.toolbarControl;
        enabled = m.ToolbarEnabled(t);
        if (r.kind == ControlKind::DropList) {
            fill(m.ToolbarItems(t), m.ToolbarSelected(t), nullptr);
        } else if (r.kind == ControlKind::DropEdit) {
            const std::string text = m.ToolbarText(t);
            fill(m.ToolbarItems(t), -1, &text);
        } else if (r.kind == ControlKind::CheckBox) {
            SendMessageW(c.hwnd, BM_SETCHECK, m.ToolbarChecked(t), 0);
            if (t == ToolbarControl::FilterOn) {
                InvalidateRect(c.hwnd, nullptr, TRUE);
                if (const Control* panel = Find(kFilterPanelId))
                    InvalidateRect(panel->hwnd, nullptr, TRUE);
            }
        } else if (r.kind == ControlKind::Edit) {
            const std::wstring text = ShiftJisToWide(m.ToolbarText(t));
            std::array<wchar_t, 256> now{};
            GetWindowTextW(c.hwnd, now.data(), static_cast<int>(now.size()));
            if (text != now.data())
                SetWindowTextW(c.hwnd, text.c_str());
        }
        break;
    }
    default:
        break;
    }
    ShowWindow(c.hwnd, visible ? SW_SHOWNA : SW_HIDE);
    if (r.role != RowRole::Play && r.role != RowRole::Stop)
        EnableWindow(c.hwnd, enabled);
}

void MainForm::Refresh(const ControlChanges& changes, bool all) {
    refreshing_ = true;
    for (Control& c : rows_) {
        const LayoutRow& r = *c.row;
        bool changed = all;
        if (!changed && r.slot >= 0 && r.slotControl != SlotControl::Count)
            changed = changes.Has(r.slot, r.slotControl);
        if (!changed && r.role == RowRole::Toolbar)
            changed = changes.Has(r.toolbarControl);
        if (changed)
            ShowRow(c);
    }
    refreshing_ = false;
    if (all || changes.Has(ToolbarControl::SampleRate) || changes.Has(ToolbarControl::BitLen) ||
        changes.Has(ToolbarControl::Channels))
        RelayoutScope();
}

void MainForm::SelectPage(int page) {
    page_ = page;
    ShowWindow(pages_[page], SW_SHOWNA);
    ShowWindow(pages_[1 - page], SW_HIDE);
}

void MainForm::OnCommand(const Control& c, int code) {
    const LayoutRow& r = *c.row;
    MainControls& m = *controls_;
    const bool selChange = code == CBN_SELCHANGE;
    const bool edited = code == CBN_EDITCHANGE || code == EN_CHANGE;
    const bool clicked = code == BN_CLICKED;
    const auto selected = [&] {
        return static_cast<int>(SendMessageW(c.hwnd, CB_GETCURSEL, 0, 0));
    };
    // The text of a drop-down with a field: the chosen item, or what was typed.
    const auto text = [&] {
        if (selChange) {
            const int i = selected();
            const int n = static_cast<int>(SendMessageW(c.hwnd, CB_GETLBTEXTLEN, i, 0));
            std::wstring item(static_cast<size_t>(n > 0 ? n : 0), L'\0');
            SendMessageW(c.hwnd, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
            return WideToShiftJis(item);
        }
        return ComboText(c.hwnd);
    };
    const bool checked = SendMessageW(c.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (r.role == RowRole::Slot) {
        const int i = r.slot;
        for (const SlotHandlers& h : kSlotHandlers) {
            if (h.control != r.slotControl)
                continue;
            if (h.item && selChange)
                (m.*h.item)(i, selected());
            else if (h.text && (selChange || edited))
                (m.*h.text)(i, text());
            else if (h.check && clicked)
                (m.*h.check)(i, checked);
        }
        if (r.slotControl == SlotControl::Modulation && clicked)
            m.OnModulation(i, checked, generator_.slots[i].modulationType,
                           generator_.slots[i].modulatingSignal);
        if ((r.slotControl == SlotControl::UserWaveButton ||
             r.slotControl == SlotControl::FreqBarButton) &&
            clicked)
            NotAvailable();
    } else if (r.role == RowRole::Toolbar) {
        switch (r.toolbarControl) {
        case ToolbarControl::SampleRate:
            if (selChange || edited)
                m.OnSampleRateText(text());
            break;
        case ToolbarControl::BitLen:
            if (selChange)
                m.OnBitLen(selected());
            break;
        case ToolbarControl::Channels:
            if (selChange)
                m.OnChannels(selected());
            break;
        case ToolbarControl::FileLength:
            if (selChange || edited)
                m.OnFileLengthText(text());
            break;
        case ToolbarControl::Comment:
            if (edited)
                m.OnCommentText(ComboText(c.hwnd));
            break;
        case ToolbarControl::FilterOn:
            if (clicked)
                m.OnFilterOn(checked);
            break;
        case ToolbarControl::Load:
            if (clicked)
                Load();
            break;
        case ToolbarControl::Save:
            if (clicked)
                Save();
            break;
        case ToolbarControl::Write:
            if (clicked)
                Write();
            break;
        case ToolbarControl::Device:
            if (clicked)
                NotAvailable();
            break;
        default:
            break;
        }
        if (r.toolbarControl == ToolbarControl::SampleRate ||
            r.toolbarControl == ToolbarControl::BitLen ||
            r.toolbarControl == ToolbarControl::Channels)
            (void)play_->OfferFormat();
    } else if (r.role == RowRole::Play && clicked) {
        Play();
    } else if (r.role == RowRole::Stop && clicked) {
        Stop();
    }
    Refresh(m.TakeChanges(), false);
}

void MainForm::OnUnitLabel(const Control& c, bool doubleClick) {
    if (!doubleClick)
        return;
    const LayoutRow& r = *c.row;
    if (r.role == RowRole::FreqUnit)
        controls_->CycleFreqUnit(r.slot);
    else if (r.role == RowRole::AmpUnit)
        controls_->CycleAmpUnit(r.slot);
    else
        controls_->CycleOffsetUnit(r.slot);
    Refresh(controls_->TakeChanges(), false);
}

} // namespace qv
