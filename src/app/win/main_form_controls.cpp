// The main window's controls: built from the layout table, filled from the session's controls
// model, and their notifications handed to the model's handlers.
#include "app/main_controls.h"
#include "app/win/main_form.h"
#include "platform/win/control_hooks.h"
#include "platform/win/dropped_file.h"
#include "platform/win/text_conversion.h"
#include "platform/win/ui_font.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <span>

namespace qv {

namespace {

int PageOf(const LayoutRow& r) {
    return r.parent == LayoutParent::Page1 ? 0 : r.parent == LayoutParent::Page2 ? 1 : -1;
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
    {SlotControl::Modulation, nullptr, nullptr, &MC::OnModulationBox},
};

// What a tool-bar control's notification calls in the model.
struct ToolbarHandlers {
    ToolbarControl control;
    void (MainControls::*item)(int);
    void (MainControls::*text)(std::string_view);
    void (MainControls::*check)(bool);
};
constexpr ToolbarHandlers kToolbarHandlers[] = {
    {ToolbarControl::SampleRate, &MC::OnSampleRateItem, &MC::OnSampleRateText, nullptr},
    {ToolbarControl::BitLen, &MC::OnBitLen, nullptr, nullptr},
    {ToolbarControl::Channels, &MC::OnChannels, nullptr, nullptr},
    {ToolbarControl::FileLength, nullptr, &MC::OnFileLengthText, nullptr},
    {ToolbarControl::Comment, nullptr, &MC::OnCommentText, nullptr},
    {ToolbarControl::FilterOn, nullptr, nullptr, &MC::OnFilterOn},
};

} // namespace

void MainForm::BuildControls() {
    const int lang = session_.Language();
    const AppSettings& s = session_.Settings();
    font_.Reset(CreateUiFont(lang, Dpi()));
    redBrush_.Reset(CreateSolidBrush(RGB(255, 96, 96)));
    filterBrush_.Reset(CreateSolidBrush(s.filterPointColor));
    backBrush_.Reset(CreateSolidBrush(s.backColor));
    const RECT area = Scale(kPageArea);
    for (auto& page : pages_)
        page = std::make_unique<ForwardingPane>(instance_, Hwnd(), Hwnd(), area);
    // Containers first, so that they lie under the controls they hold.
    std::vector<const LayoutRow*> order;
    for (const LayoutRow& r : MainLayout())
        order.push_back(&r);
    std::stable_partition(order.begin(), order.end(),
                          [](const LayoutRow* r) { return IsContainer(r->kind); });
    for (const LayoutRow* r : order) {
        const HWND parent = PageOf(*r) < 0 ? Hwnd() : pages_[PageOf(*r)]->Hwnd();
        const HWND h = CreateLayoutControl(
            instance_, parent, r->id, r->kind, r->rect, Utf8ToWide(r->caption(lang)), Dpi(), font_,
            r->kind == ControlKind::Label && *r->hint.en ? SS_NOTIFY : 0);
        if (r->kind == ControlKind::Tab) {
            for (const char* name : {r->caption.ja, r->caption.en}) {
                std::wstring text = Utf8ToWide(name);
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = text.data();
                SendMessageW(h, TCM_INSERTITEMW, SendMessageW(h, TCM_GETITEMCOUNT, 0, 0),
                             reinterpret_cast<LPARAM>(&item));
            }
        }
        // The frequency field's own menu gives way to the frequency menu.
        if (r->role == RowRole::Slot && r->slotControl == SlotControl::Freq) {
            if (const HWND field = GetWindow(h, GW_CHILD))
                ForwardContextMenu(field, Hwnd(), ContextClick::Field);
        }
        if (r->kind == ControlKind::UpDown) {
            SendMessageW(h, UDM_SETRANGE32, 0, 100);
            ForwardContextMenu(h, Hwnd(), ContextClick::ButtonDown);
        }
        if (r->kind == ControlKind::DropEdit || r->kind == ControlKind::DropList)
            SendMessageW(h, CB_SETMINVISIBLE, 12, 0);
        const std::string hint = r->role == RowRole::Slot
                                     ? session_.Controls().Hint(r->slot, r->slotControl)
                                     : std::string(r->hint(lang));
        if (!hint.empty())
            hints_.Add(Hwnd(), parent, h, hint);
        rows_.push_back({r, h});
    }
    // Containers lie under the controls they hold, and the tab control under the group boxes.
    for (ControlKind bottom : {ControlKind::GroupBox, ControlKind::Panel, ControlKind::Tab}) {
        for (const Control& c : rows_) {
            if (c.row->kind == bottom)
                StackUnder(c.hwnd);
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
    const MainControls& m = session_.Controls();
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
        visible = m.Visible(r.slot, r.slotControl);
        enabled = m.Enabled(r.slot, r.slotControl);
        if (r.kind == ControlKind::DropList) {
            fill(m.Items(r.slot, r.slotControl), m.Selected(r.slot, r.slotControl), nullptr);
        } else if (r.kind == ControlKind::DropEdit) {
            const std::string text = m.Text(r.slot, r.slotControl);
            fill(m.Items(r.slot, r.slotControl), -1, &text);
        } else if (r.kind == ControlKind::CheckBox) {
            SendMessageW(c.hwnd, BM_SETCHECK, m.Checked(r.slot, r.slotControl), 0);
        }
        if (r.slotControl == SlotControl::Waveform)
            hints_.Update(GetParent(c.hwnd), c.hwnd, m.Hint(r.slot, SlotControl::Waveform));
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
            visible = m.Visible(r.slot, r.slotControl);
        if (r.kind == ControlKind::Progress)
            visible = session_.Writing(); // in the format boxes' place during a write
        if (r.exclusion == kFormatOrProgress && r.kind != ControlKind::Progress)
            visible = !session_.Writing();
        break;
    case RowRole::Toolbar: {
        const ToolbarControl t = r.toolbarControl;
        enabled = m.ToolbarEnabled(t);
        if (r.exclusion == kFormatOrProgress)
            visible = !session_.Writing();
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
    case RowRole::Play:
        enabled = session_.PlayEnabled();
        break;
    case RowRole::Stop:
        enabled = session_.StopEnabled();
        break;
    default:
        break;
    }
    ShowWindow(c.hwnd, visible ? SW_SHOWNA : SW_HIDE);
    EnableWindow(c.hwnd, enabled);
}

// Play and Stop, and the progress bar that takes the format boxes' place during a write.
void MainForm::ShowRun() {
    for (Control& c : rows_) {
        const LayoutRow& r = *c.row;
        if (r.role == RowRole::Play || r.role == RowRole::Stop || r.exclusion == kFormatOrProgress)
            ShowRow(c);
        if (r.kind == ControlKind::Progress)
            SendMessageW(c.hwnd, PBM_SETPOS, session_.WriteProgress(), 0);
    }
    // A button disabled under the focus (Play once clicked, Stop, Write during its run) leaves
    // the keys with nowhere to go: the focus moves to the button that acts now, else the window.
    const HWND focus = GetFocus();
    if (GetActiveWindow() == Hwnd() && (!focus || !IsWindowEnabled(focus))) {
        HWND to = Hwnd();
        for (const RowRole role : {RowRole::Play, RowRole::Stop}) {
            const Control* button = Find(role);
            if (button && IsWindowEnabled(button->hwnd) && to == Hwnd())
                to = button->hwnd;
        }
        SetFocus(to);
    }
}

void MainForm::SelectPage(int page) {
    page_ = page;
    ShowWindow(pages_[page]->Hwnd(), SW_SHOWNA);
    ShowWindow(pages_[1 - page]->Hwnd(), SW_HIDE);
}

void MainForm::OnNotify(const NMHDR& header, LPARAM l) {
    if (header.code == TCN_SELCHANGE) {
        SelectPage(static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
    } else if (header.code == UDN_DELTAPOS) {
        const auto* ud = reinterpret_cast<const NMUPDOWN*>(l);
        if (const Control* c = Find(static_cast<int>(header.idFrom))) {
            const int delta = ud->iDelta > 0 ? 120 : -120;
            MainControls& m = session_.Controls();
            if (c->row->role == RowRole::FreqUpDown)
                m.OnFreqStep(c->row->slot, delta);
            else
                m.OnAmpStep(c->row->slot, delta);
            session_.Publish();
        }
    }
}

void MainForm::OnCommand(const Control& c, int code) {
    const LayoutRow& r = *c.row;
    MainControls& m = session_.Controls();
    const bool selChange = code == CBN_SELCHANGE;
    const bool edited = code == CBN_EDITCHANGE || code == EN_CHANGE;
    const bool clicked = code == BN_CLICKED;
    // A box left with a text it cannot use shows its value again.
    if (code == CBN_KILLFOCUS && r.kind == ControlKind::DropEdit) {
        m.CommitEntries();
        session_.Publish();
        return;
    }
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
    const auto dispatch = [&](auto item, auto typed, auto check, auto&&... slot) {
        if (item && selChange)
            (m.*item)(slot..., selected());
        else if (typed && (selChange || edited))
            (m.*typed)(slot..., text());
        else if (check && clicked)
            (m.*check)(slot..., SendMessageW(c.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED);
    };
    if (r.role == RowRole::Slot) {
        for (const SlotHandlers& h : kSlotHandlers) {
            if (h.control == r.slotControl)
                dispatch(h.item, h.text, h.check, r.slot);
        }
        if (r.slotControl == SlotControl::UserWaveButton && clicked)
            session_.UserWaveButton(r.slot);
        if (r.slotControl == SlotControl::FreqBarButton && clicked)
            ToggleFreqBar();
    } else if (r.role == RowRole::Toolbar) {
        for (const ToolbarHandlers& h : kToolbarHandlers) {
            if (h.control == r.toolbarControl)
                dispatch(h.item, h.text, h.check);
        }
        if (clicked) {
            switch (r.toolbarControl) {
            case ToolbarControl::Load:
                Load();
                break;
            case ToolbarControl::Save:
                Save();
                break;
            case ToolbarControl::Write:
                Write();
                break;
            case ToolbarControl::Device:
                OpenDeviceDialog();
                break;
            default:
                break;
            }
        }
    } else if (r.role == RowRole::Play && clicked) {
        session_.Play();
    } else if (r.role == RowRole::Stop && clicked) {
        session_.Stop();
    }
    session_.Publish();
}

void MainForm::OnUnitLabel(const Control& c, bool doubleClick) {
    if (!doubleClick)
        return;
    const LayoutRow& r = *c.row;
    MainControls& m = session_.Controls();
    if (r.role == RowRole::FreqUnit)
        m.CycleFreqUnit(r.slot);
    else if (r.role == RowRole::AmpUnit)
        m.CycleAmpUnit(r.slot);
    else
        m.CycleOffsetUnit(r.slot);
    session_.Publish();
}

void MainForm::OnDrop(HDROP drop) {
    const std::string path = TakeDroppedFile(drop);
    if (!path.empty())
        session_.DropFile(path, page_ == 0 ? 0 : 4);
}

} // namespace qv
