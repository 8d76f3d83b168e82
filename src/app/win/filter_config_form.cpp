#include "app/win/filter_config_form.h"

#include "app/filter_editor_layout.h"
#include "app/filter_editor_texts.h"
#include "app/main_texts.h"
#include "app/win/edit_filter_point_form.h"
#include "app/win/file_dialog.h"
#include "platform/win/dropped_file.h"
#include "platform/win/popup_menu.h"
#include "platform/win/text_conversion.h"
#include "platform/win/ui_font.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <vector>

namespace qv {

namespace {

using I = FilterEditorIds;

constexpr wchar_t kClass[] = L"TFilterConfigForm";
constexpr wchar_t kPlotClass[] = L"TFilterPlot";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kExStyle = WS_EX_ACCEPTFILES | WS_EX_CONTROLPARENT;
constexpr size_t kMaxDroppedPath = 263;

SIZE FrameFor(int width, int height) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
    return {r.right - r.left, r.bottom - r.top};
}

} // namespace

// --- The plot.

void FilterConfigForm::Plot::Create(HINSTANCE instance, HWND parent) {
    On(WM_PAINT, [this](const WindowMessage&) {
        Paint();
        return LRESULT{0};
    });
    On(WM_ERASEBKGND, [](const WindowMessage&) { return LRESULT{1}; });
    On(WM_MOUSEMOVE, [this](const WindowMessage& m) {
        if (!tracking_) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Hwnd(), 0};
            tracking_ = TrackMouseEvent(&track) != FALSE;
        }
        form_.editor_.MouseMove(GET_X_LPARAM(m.l), GET_Y_LPARAM(m.l));
        form_.ShowReadout();
        return LRESULT{0};
    });
    On(WM_LBUTTONDOWN, [this](const WindowMessage& m) {
        SetFocus(Hwnd());
        SetCapture(Hwnd());
        form_.editor_.MouseDown(GET_X_LPARAM(m.l), GET_Y_LPARAM(m.l));
        form_.ShowReadout();
        return LRESULT{0};
    });
    On(WM_LBUTTONUP, [this](const WindowMessage&) {
        if (GetCapture() == Hwnd())
            ReleaseCapture(); // WM_CAPTURECHANGED ends the drag
        form_.editor_.MouseUp();
        return LRESULT{0};
    });
    On(WM_CAPTURECHANGED, [this](const WindowMessage&) {
        form_.editor_.MouseUp();
        return LRESULT{0};
    });
    On(WM_RBUTTONDOWN, [this](const WindowMessage& m) {
        FilterEditor& editor = form_.editor_;
        editor.MouseMove(GET_X_LPARAM(m.l), GET_Y_LPARAM(m.l));
        const int index = editor.Hover();
        if (index < 0)
            return LRESULT{0};
        POINT at{GET_X_LPARAM(m.l), GET_Y_LPARAM(m.l)};
        ClientToScreen(Hwnd(), &at);
        form_.float_->Hide();
        RunPopupMenu(
            Hwnd(),
            editor.PointMenu(index,
                             [this, index, at] {
                                 EditFilterPointForm edit(
                                     form_.instance_, form_.Hwnd(), form_.baseFont_,
                                     form_.session_.Language(), form_.editor_, index, at,
                                     [this] { form_.session_.HelpOn(HelpPage::FilterPoint); });
                                 edit.Run();
                             }),
            at);
        return LRESULT{0};
    });
    On(WM_MOUSELEAVE, [this](const WindowMessage&) {
        tracking_ = false;
        form_.editor_.MouseLeave();
        form_.float_->Hide();
        return LRESULT{0};
    });
    On(WM_SETCURSOR, [this](const WindowMessage& m) {
        if (LOWORD(m.l) != HTCLIENT)
            return Default(m);
        const bool cross = form_.editor_.Hover() >= 0 || form_.editor_.Dragging();
        // The cross over a point and while dragging (IDC_CROSS, IDC_ARROW).
        SetCursor(LoadCursorW(nullptr, cross ? MAKEINTRESOURCEW(32515) : MAKEINTRESOURCEW(32512)));
        return LRESULT{TRUE};
    });
    Blueprint plan{kPlotClass, WS_CHILD | WS_VISIBLE, 0, parent};
    plan.buttonFace = false;
    CreateWindowOf(instance, plan);
}

// The grid, the response and the points, composed off screen and copied in one go.
void FilterConfigForm::Plot::Paint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(Hwnd(), &ps);
    RECT r;
    GetClientRect(Hwnd(), &r);
    const AppSettings& s = form_.session_.Settings();
    const FilterEditor& e = form_.editor_;
    const MemoryDc mem(dc);
    const Bitmap picture(
        CreateCompatibleBitmap(dc, std::max<int>(r.right, 1), std::max<int>(r.bottom, 1)));
    const Selection onPicture(mem, picture);
    const Brush back(CreateSolidBrush(s.diagramBackColor));
    FillRect(mem, &r, back);
    SetBkMode(mem, TRANSPARENT);
    {
        const Pen dots(CreatePen(PS_DOT, 1, s.scaleColor));
        const Selection pen(mem, dots);
        for (int32_t x : e.FrequencyAxis().grid) {
            MoveToEx(mem, x, 0, nullptr);
            LineTo(mem, x, r.bottom);
        }
        for (int32_t y : e.DbAxis().grid) {
            MoveToEx(mem, 0, y, nullptr);
            LineTo(mem, r.right, y);
        }
    }
    {
        // Levels far below the range are drawn just off the plot, not millions of pixels away.
        std::vector<POINT> line;
        line.reserve(e.Response().size());
        for (const ScreenPoint& p : e.Response())
            line.push_back({p.x, std::clamp<LONG>(p.y, -2, r.bottom + 2)});
        const Pen response(CreatePen(PS_SOLID, 1, s.filterResponseColor));
        const Selection pen(mem, response);
        if (line.size() > 1)
            Polyline(mem, line.data(), static_cast<int>(line.size()));
    }
    {
        std::vector<POINT> marks;
        for (const PointMark& m : e.Marks())
            marks.push_back({m.x, m.y});
        const Pen points(CreatePen(PS_SOLID, 1, s.filterPointColor));
        const Selection pen(mem, points);
        const Selection fill(mem, back);
        if (marks.size() > 1)
            Polyline(mem, marks.data(), static_cast<int>(marks.size()));
        for (const POINT& m : marks)
            Ellipse(mem, m.x - 2, m.y - 2, m.x + 3, m.y + 3);
    }
    BitBlt(dc, 0, 0, r.right, r.bottom, mem, 0, 0, SRCCOPY);
    EndPaint(Hwnd(), &ps);
}

// --- The window.

FilterConfigForm::FilterConfigForm(HINSTANCE instance, HWND mainWindow, HFONT font,
                                   ProgramSession& session, POINT defaultAt)
    : instance_(instance), main_(mainWindow), session_(session), editor_(session.Filter()),
      baseFont_(font), fontDpi_(DpiOf(mainWindow)) {
    On(WM_COMMAND, [this](const WindowMessage& m) {
        OnCommand(LOWORD(m.w), HIWORD(m.w));
        return LRESULT{0};
    });
    On(WM_NOTIFY, [this](const WindowMessage& m) {
        const auto* header = reinterpret_cast<const NMHDR*>(m.l);
        if (header->idFrom != static_cast<UINT_PTR>(I::kAlphaUpDown) ||
            header->code != UDN_DELTAPOS)
            return Default(m);
        const int step = reinterpret_cast<const NMUPDOWN*>(m.l)->iDelta > 0 ? 1 : -1;
        const std::string shown = editor_.StepKaiserAlpha(step);
        showing_ = true;
        SetWindowTextW(controls_.Find(I::kAlpha), Utf8ToWide(shown).c_str());
        showing_ = false;
        return LRESULT{TRUE};
    });
    On(WM_PAINT, [this](const WindowMessage&) {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(Hwnd(), &ps);
        PaintAxes(dc);
        EndPaint(Hwnd(), &ps);
        return LRESULT{0};
    });
    On(WM_SIZE, [this](const WindowMessage&) {
        Relayout();
        return LRESULT{0};
    });
    On(WM_GETMINMAXINFO, [this](const WindowMessage& m) {
        const WindowLayout& layout = FilterEditorLayout();
        const SIZE least = FrameFor(Scale(layout.client.w), Scale(layout.client.h));
        auto* info = reinterpret_cast<MINMAXINFO*>(m.l);
        info->ptMinTrackSize = {least.cx, least.cy};
        return LRESULT{0};
    });
    // The right button left of the plot: the dB range.
    On(WM_RBUTTONDOWN, [this](const WindowMessage& m) {
        const RECT plot = PlotRect();
        const POINT p{GET_X_LPARAM(m.l), GET_Y_LPARAM(m.l)};
        if (p.x < plot.left && p.y >= plot.top && p.y < plot.bottom &&
            editor_.AmpScaleMenuOffered()) {
            POINT at = p;
            ClientToScreen(Hwnd(), &at);
            RunPopupMenu(Hwnd(), editor_.AmpScaleMenu(), at);
        }
        return LRESULT{0};
    });
    On(WM_DROPFILES, [this](const WindowMessage& m) {
        OnDrop(reinterpret_cast<HDROP>(m.w));
        return LRESULT{0};
    });
    On(WM_CLOSE, [this](const WindowMessage&) {
        CloseByUser();
        return LRESULT{0};
    });
    // Keys pressed while the read-out is under the mouse arrive here. Only the window's own keys
    // are taken: handing the key to the dialog navigation would dispatch it here again.
    On(WM_KEYDOWN,
       [this](const WindowMessage& m) { return OwnKey(m.w) ? LRESULT{0} : Default(m); });

    Blueprint plan{kClass, kStyle, kExStyle, mainWindow};
    const std::wstring title = Utf8ToWide(editor_.Caption());
    plan.title = title.c_str();
    CreateWindowOf(instance, plan);
    if (Dpi() != fontDpi_)
        scaledFont_.Reset(ScaledFont(font, fontDpi_, Dpi()));
    panelBrush_.Reset(CreateSolidBrush(session_.Settings().backColor));
    BuildControls();
    plot_.Create(instance, Hwnd());
    float_ = std::make_unique<FloatForm>(instance, Hwnd());
    PlaceFirst(defaultAt);
    session_.Attach(*this);
}

FilterConfigForm::~FilterConfigForm() {
    session_.Detach(*this);
}

void FilterConfigForm::BuildControls() {
    const int lang = session_.Language();
    const HFONT shown = scaledFont_ ? scaledFont_.Get() : baseFont_;
    for (const LayoutCell& cell : FilterEditorLayout().cells) {
        if (cell.kind == ControlKind::Custom)
            continue;
        const HWND h = controls_.Add(instance_, Hwnd(), cell, lang, Dpi(), shown, WS_VISIBLE);
        if (cell.id == I::kSize)
            for (const char* item : editor_.FilterSizeItems())
                SendMessageW(h, CB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
        if (cell.id == I::kAlpha)
            for (const char* item : editor_.KaiserAlphaItems())
                SendMessageW(h, CB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
        if (cell.id == I::kOverSample)
            for (const std::string& item : editor_.OverSampleItems())
                SendMessageW(h, CB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
    }
    controls_.StackContainers();
    SendMessageW(controls_.Find(I::kComment), EM_LIMITTEXT, 100, 0);
    SendMessageW(controls_.Find(I::kAlphaUpDown), UDM_SETRANGE32, static_cast<WPARAM>(-1000), 1000);
    for (const auto& [id, hint] :
         {std::pair{I::kLog, kHintLogScale}, std::pair{I::kAlpha, kHintKaiserAlpha},
          std::pair{I::kOverSample, kHintOverSample}})
        hints_.Add(Hwnd(), Hwnd(), controls_.Find(id), hint(lang));
}

void FilterConfigForm::DpiChanged() {
    scaledFont_.Reset(ScaledFont(baseFont_, fontDpi_, Dpi()));
    controls_.Relayout(Dpi(), scaledFont_);
    Relayout();
}

// The first showing goes where QV.INI says; with nothing kept there, to the main window's left
// edge at the top of its wave pages, at the smallest size.
void FilterConfigForm::PlaceFirst(POINT defaultAt) {
    const AppSettings& s = session_.Settings();
    const WindowLayout& layout = FilterEditorLayout();
    const bool kept = s.filterX != 0 || s.filterY != 0 || s.filterWidth != 0 || s.filterHeight != 0;
    const SIZE least = {Scale(layout.client.w), Scale(layout.client.h)};
    const SIZE frame = FrameFor(kept ? std::max<int>(s.filterWidth, least.cx) : least.cx,
                                kept ? std::max<int>(s.filterHeight, least.cy) : least.cy);
    const POINT at = kept ? POINT{s.filterX, s.filterY} : defaultAt;
    SetWindowPos(Hwnd(), nullptr, at.x, at.y, frame.cx, frame.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FilterConfigForm::Show() {
    closing_ = false;
    // Inside the work area, however the screens have changed since.
    RECT w{}, work{};
    GetWindowRect(Hwnd(), &w);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const LONG width = w.right - w.left, height = w.bottom - w.top;
    const LONG x =
        std::clamp<LONG>(w.left, work.left, std::max<LONG>(work.left, work.right - width));
    const LONG y =
        std::clamp<LONG>(w.top, work.top, std::max<LONG>(work.top, work.bottom - height));
    SetWindowPos(Hwnd(), nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(Hwnd(), SW_SHOW);
    Relayout();
    editor_.Showing();
    ShowState();
    ShowEnabled();
}

void FilterConfigForm::KeepPlace() {
    if (!IsWindowVisible(Hwnd()))
        return;
    RecordPlace();
    editor_.SetComment(WideToShiftJis(Utf8ToWide(FieldText(I::kComment)).c_str()));
}

void FilterConfigForm::Hide() {
    if (!IsWindowVisible(Hwnd()))
        return;
    KeepPlace();
    float_->Hide();
    ShowWindow(Hwnd(), SW_HIDE);
}

void FilterConfigForm::CloseByUser() {
    if (!editor_.Editable())
        return; // the filter stays on while a run uses it
    Hide();
    editor_.Close();
}

void FilterConfigForm::RecordPlace() {
    RECT w{}, c{};
    GetWindowRect(Hwnd(), &w);
    GetClientRect(Hwnd(), &c);
    AppSettings& s = session_.Settings();
    s.filterX = w.left;
    s.filterY = w.top;
    s.filterWidth = c.right;
    s.filterHeight = c.bottom;
}

RECT FilterConfigForm::PlotRect() const {
    RECT c{};
    GetClientRect(Hwnd(), &c);
    return {Scale(kFilterPlotLeft), Scale(kFilterPlotTop),
            std::max<LONG>(c.right - Scale(kFilterPlotRightMargin), Scale(kFilterPlotLeft) + 4),
            std::max<LONG>(c.bottom - Scale(kFilterPlotBottomMargin), Scale(kFilterPlotTop) + 4)};
}

// The plot fills its panel less a pixel on each side.
void FilterConfigForm::Relayout() {
    if (!plot_.Hwnd())
        return;
    const RECT p = PlotRect();
    const int width = p.right - p.left - 2, height = p.bottom - p.top - 2;
    MoveWindow(plot_.Hwnd(), p.left + 1, p.top + 1, width, height, TRUE);
    editor_.Resize(width, height);
    InvalidateRect(Hwnd(), nullptr, TRUE);
    InvalidateRect(plot_.Hwnd(), nullptr, FALSE);
}

void FilterConfigForm::SessionChanged(const SessionChanges& changes) {
    if (!IsWindowVisible(Hwnd()))
        return;
    if (changes.all || changes.filter) {
        ShowState();
        InvalidateRect(plot_.Hwnd(), nullptr, FALSE);
        const RECT p = PlotRect();
        RECT c{};
        GetClientRect(Hwnd(), &c);
        // The axes' labels around the plot.
        RECT axes{0, p.top - Scale(8), c.right, c.bottom};
        InvalidateRect(Hwnd(), &axes, TRUE);
    }
    if (changes.all || changes.run || changes.buttons)
        ShowEnabled();
}

void FilterConfigForm::ShowState() {
    showing_ = true;
    const HWND comment = controls_.Find(I::kComment);
    const std::wstring text = ShiftJisToWide(editor_.Comment());
    if (GetFocus() != comment && Utf8ToWide(FieldText(I::kComment)) != text)
        SetWindowTextW(comment, text.c_str());
    SendMessageW(controls_.Find(I::kSize), CB_SETCURSEL, editor_.FilterSizeItem(), 0);
    const HWND alpha = controls_.Find(I::kAlpha);
    if (GetFocus() != alpha && GetParent(GetFocus()) != alpha)
        SetWindowTextW(alpha, Utf8ToWide(editor_.KaiserAlphaText()).c_str());
    SendMessageW(controls_.Find(I::kOverSample), CB_SETCURSEL, editor_.OverSampleItem(), 0);
    CheckDlgButton(Hwnd(), I::kLog, editor_.LogScale() ? BST_CHECKED : BST_UNCHECKED);
    SetWindowTextW(controls_.Find(I::kPointCount), Utf8ToWide(editor_.PointCountText()).c_str());
    showing_ = false;
}

void FilterConfigForm::ShowEnabled() {
    const bool editable = editor_.Editable();
    for (int id : {I::kOpen, I::kSave, I::kComment, I::kSize, I::kOverSample, I::kClose})
        EnableWindow(controls_.Find(id), editable);
}

std::string FilterConfigForm::FieldText(int id) const {
    std::array<wchar_t, 128> text{};
    GetWindowTextW(controls_.Find(id), text.data(), static_cast<int>(text.size()));
    return WideToUtf8(text.data());
}

void FilterConfigForm::OnCommand(int id, int code) {
    if (showing_)
        return;
    const HWND h = controls_.Find(id);
    switch (id) {
    case I::kOpen:
        if (code == BN_CLICKED)
            OpenFile();
        break;
    case I::kSave:
        if (code == BN_CLICKED)
            SaveFile();
        break;
    case I::kReset:
        if (code == BN_CLICKED)
            editor_.Reset();
        break;
    case I::kClose:
        if (code == BN_CLICKED)
            CloseByUser();
        break;
    case I::kComment:
        if (code == EN_CHANGE)
            editor_.SetComment(WideToShiftJis(Utf8ToWide(FieldText(id)).c_str()));
        break;
    case I::kSize:
        if (code == CBN_SELCHANGE)
            editor_.SetFilterSizeItem(static_cast<int>(SendMessageW(h, CB_GETCURSEL, 0, 0)));
        break;
    case I::kAlpha: {
        // A choice or a finished entry shows the value as taken; typing only sets it.
        std::string typed = FieldText(id);
        if (code == CBN_SELCHANGE) {
            const auto i = SendMessageW(h, CB_GETCURSEL, 0, 0);
            if (i >= 0 && static_cast<size_t>(i) < editor_.KaiserAlphaItems().size())
                typed = editor_.KaiserAlphaItems()[static_cast<size_t>(i)];
        }
        if (code == CBN_EDITCHANGE) {
            (void)editor_.SetKaiserAlphaText(typed, false);
        } else if (code == CBN_SELCHANGE || code == CBN_KILLFOCUS) {
            const std::string shown = editor_.SetKaiserAlphaText(typed);
            showing_ = true;
            SetWindowTextW(h, Utf8ToWide(shown).c_str());
            showing_ = false;
        }
        break;
    }
    case I::kOverSample:
        if (code == CBN_SELCHANGE)
            editor_.SetOverSampleItem(static_cast<int>(SendMessageW(h, CB_GETCURSEL, 0, 0)));
        break;
    case I::kLog:
        if (code == BN_CLICKED)
            editor_.SetLogScale(IsDlgButtonChecked(Hwnd(), I::kLog) == BST_CHECKED);
        break;
    default:
        break;
    }
}

void FilterConfigForm::ShowReadout() {
    const FilterEditor::Readout& r = editor_.CurrentReadout();
    if (r.lines.empty()) {
        float_->Hide();
        return;
    }
    const AppSettings& s = session_.Settings();
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT bounds{};
    GetWindowRect(plot_.Hwnd(), &bounds);
    float_->ShowAt(r.lines, r.ofPoint ? s.filterPointColor : s.filterResponseColor,
                   scaledFont_ ? scaledFont_.Get() : baseFont_, cursor, bounds);
}

// Ticks and labels around the plot: the frequencies under it, the levels left of it.
void FilterConfigForm::PaintAxes(HDC dc) {
    const RECT p = PlotRect();
    FillRect(dc, &p, panelBrush_);
    const Selection font(dc, scaledFont_ ? scaledFont_.Get() : baseFont_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const Pen tickPen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT)));
    const Selection pen(dc, tickPen);
    const AxisScale& f = editor_.FrequencyAxis();
    const int left = p.left + 1, top = p.top + 1;
    for (int32_t x : f.grid) {
        const int length = Scale(f.Labelled(x) ? 5 : 3);
        MoveToEx(dc, left + x, p.bottom, nullptr);
        LineTo(dc, left + x, p.bottom + length);
    }
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    for (const AxisLabel& l : f.labels) {
        const std::wstring text = Utf8ToWide(l.text);
        TextOutW(dc, left + l.pos, p.bottom + Scale(5), text.c_str(),
                 static_cast<int>(text.size()));
    }
    const AxisScale& d = editor_.DbAxis();
    for (int32_t y : d.grid) {
        const int length = Scale(d.Labelled(y) ? 4 : 3);
        MoveToEx(dc, p.left - 1, top + y, nullptr);
        LineTo(dc, p.left - 1 - length, top + y);
    }
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SetTextAlign(dc, TA_RIGHT | TA_TOP);
    for (const AxisLabel& l : d.labels) {
        const std::wstring text = Utf8ToWide(l.text);
        TextOutW(dc, p.left - Scale(6), top + l.pos - tm.tmHeight / 2, text.c_str(),
                 static_cast<int>(text.size()));
    }
}

bool FilterConfigForm::PreTranslate(const MSG& msg) {
    if (msg.hwnd != Hwnd() && !IsChild(Hwnd(), msg.hwnd))
        return false;
    if (msg.message == WM_KEYDOWN && OwnKey(msg.wParam))
        return true;
    MSG copy = msg;
    return IsDialogMessageW(Hwnd(), &copy) != FALSE;
}

// Escape closes the editor (the filter goes off), F1 opens its help page.
bool FilterConfigForm::OwnKey(WPARAM key) {
    if (key == VK_ESCAPE)
        CloseByUser();
    else if (key == VK_F1)
        session_.HelpOn(HelpPage::FilterEditor);
    return key == VK_ESCAPE || key == VK_F1;
}

void FilterConfigForm::OpenFile() {
    const int lang = session_.Language();
    const std::wstring title = Utf8ToWide(kOpenFilterTitle(lang));
    const std::wstring files = Utf8ToWide(kFilterFileKind(lang));
    std::string path = editor_.FilterFile();
    if (AskFile(Hwnd(), false, title.c_str(), {files.c_str(), L"*.QVF", L"QVF"},
                session_.Settings().lastDirectory, path))
        editor_.OpenFile(path);
}

void FilterConfigForm::SaveFile() {
    const int lang = session_.Language();
    const std::wstring title = Utf8ToWide(kSaveFilterTitle(lang));
    const std::wstring files = Utf8ToWide(kFilterFileKind(lang));
    const std::wstring all = Utf8ToWide(kFilterAllFiles(lang));
    std::string path = editor_.FilterFile();
    if (AskFile(Hwnd(), true, title.c_str(), {files.c_str(), L"*.QVF", L"QVF", all.c_str()},
                session_.Settings().lastDirectory, path))
        editor_.SaveFile(path);
}

void FilterConfigForm::OnDrop(HDROP drop) {
    const std::string path = TakeDroppedFile(drop, kMaxDroppedPath);
    if (!path.empty() && editor_.Editable())
        editor_.OpenFile(path);
}

} // namespace qv
