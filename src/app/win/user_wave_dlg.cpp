#include "app/win/user_wave_dlg.h"

#include "app/main_texts.h"
#include "app/win/file_dialog.h"
#include "platform/app_title.h"
#include "platform/language.h"
#include "platform/win/dropped_file.h"
#include "platform/win/text_conversion.h"
#include "platform/win/window_messages.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <array>
#include <vector>

namespace qv {

namespace {

constexpr wchar_t kPreviewClass[] = L"TUserWavePreview";
constexpr UINT_PTR kCountdownTimer = kTimerUserWaveCountdown;
constexpr size_t kMaxDroppedPath = 260;
// Fewer points than this are marked with dotted vertical lines.
constexpr int32_t kMarkedPoints = 50;

} // namespace

// --- The preview.

void UserWaveDlg::Preview::Create(HINSTANCE instance, HWND parent, const RECT& place) {
    On(WM_PAINT, [this](const WindowMessage&) {
        Paint();
        return LRESULT{0};
    });
    On(WM_ERASEBKGND, [](const WindowMessage&) { return LRESULT{1}; });
    Blueprint plan{kPreviewClass, WS_CHILD | WS_VISIBLE, 0, parent};
    plan.place = {place.left, place.top, place.right - place.left, place.bottom - place.top};
    plan.buttonFace = false;
    CreateWindowOf(instance, plan);
}

void UserWaveDlg::Preview::Paint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(Hwnd(), &ps);
    RECT r{};
    GetClientRect(Hwnd(), &r);
    const AppSettings& s = dlg_.session_.Settings();
    const MemoryDc mem(dc);
    const Bitmap picture(
        CreateCompatibleBitmap(dc, r.right > 0 ? r.right : 1, r.bottom > 0 ? r.bottom : 1));
    const Selection onPicture(mem, picture);
    const Brush back(CreateSolidBrush(s.diagramBackColor));
    FillRect(mem, &r, back);
    SetBkMode(mem, TRANSPARENT);
    const UserWavePreview& p = dlg_.points_;
    const auto count = static_cast<size_t>(p.layout.count);
    {
        const Pen dots(CreatePen(PS_DOT, 1, s.scaleColor));
        const Selection pen(mem, dots);
        MoveToEx(mem, 0, r.bottom / 2, nullptr);
        LineTo(mem, r.right, r.bottom / 2);
        if (count > 0 && p.layout.count < kMarkedPoints) {
            for (size_t i = 0; i < count && i < p.first.size(); ++i) {
                MoveToEx(mem, p.first[i].x, 0, nullptr);
                LineTo(mem, p.first[i].x, r.bottom);
            }
        }
    }
    const auto trace = [&](const std::vector<ScreenPoint>& points, COLORREF colour) {
        std::vector<POINT> line;
        for (size_t i = 0; i < count && i < points.size(); ++i)
            line.push_back({points[i].x, points[i].y});
        const Pen pen(CreatePen(PS_SOLID, 1, colour));
        const Selection on(mem, pen);
        if (line.size() > 1)
            Polyline(mem, line.data(), static_cast<int>(line.size()));
        else if (line.size() == 1)
            SetPixel(mem, line[0].x, line[0].y, colour);
    };
    trace(p.second, s.lineColorR);
    trace(p.first, s.lineColorL);
    {
        const Brush frame(CreateSolidBrush(s.frameColor));
        FrameRect(mem, &r, frame);
    }
    BitBlt(dc, 0, 0, r.right, r.bottom, mem, 0, 0, SRCCOPY);
    EndPaint(Hwnd(), &ps);
}

// --- The window.

UserWaveDlg::UserWaveDlg(HINSTANCE instance, HWND owner, HFONT font, ProgramSession& session,
                         int master, POINT at)
    : SettingsWindow(instance, owner, font, session.Language(), kUserWaveTitle, UserWaveLayout(),
                     at),
      session_(session), master_(master), ui_(Hwnd()), model_(session.UserWaveDialogOf(master)),
      preview_(*this) {
    SetWindowTextW(Hwnd(), Utf8ToWide(model_.Caption(kAppTitle)).c_str());
    preview_.Create(instance, Hwnd(), CellRect(kPreview));
    SendMessageW(Control(kFileName), EM_SETREADONLY, TRUE, 0);
    SendMessageW(Control(kProgress), PBM_SETRANGE32, 0, 200);
    const AppSettings& s = session.Settings();
    if (session.Language() == kEnglish) {
        const std::string face = s.fileFontName.empty() ? "Arial" : s.fileFontName;
        LOGFONTW lf{};
        lf.lfHeight =
            -MulDiv(s.fileFontSize == 0 ? 8 : s.fileFontSize, static_cast<int>(Dpi()), 72);
        lf.lfCharSet = static_cast<BYTE>(s.fileFontCharset < 0 ? 0 : s.fileFontCharset);
        const std::wstring wide = Utf8ToWide(face);
        wide.copy(lf.lfFaceName, LF_FACESIZE - 1);
        fileFont_.Reset(CreateFontIndirectW(&lf));
        SendMessageW(Control(kFileName), WM_SETFONT, reinterpret_cast<WPARAM>(fileFont_.Get()),
                     FALSE);
    }
    DragAcceptFiles(Hwnd(), TRUE);
    On(WM_DROPFILES, [this](const WindowMessage& m) {
        OnDrop(reinterpret_cast<HDROP>(m.w));
        return LRESULT{0};
    });
    On(WM_HELP, [this](const WindowMessage&) {
        session_.HelpOn(HelpPage::UserWave);
        return LRESULT{TRUE};
    });
    On(WM_TIMER, [this](const WindowMessage& m) {
        if (m.w == kCountdownTimer) {
            const bool over = model_.Tick();
            ShowState();
            if (over) {
                KillTimer(Hwnd(), kCountdownTimer);
                Close();
            }
        }
        return LRESULT{0};
    });
    // The showing's load runs once the window is up, so its messages have their owner.
    On(kMsgUserWaveStart, [this](const WindowMessage&) {
        ShowLoading(true);
        model_.Show(Environment());
        ShowLoading(false);
        ShowState();
        ShowPreview();
        if (model_.Countdown() > 0)
            SetTimer(Hwnd(), kCountdownTimer, 1000, nullptr);
        return LRESULT{0};
    });
    ShowState();
    Ready();
}

void UserWaveDlg::Run() {
    PostMessageW(Hwnd(), kMsgUserWaveStart, 0, 0);
    RunModal();
    KillTimer(Hwnd(), kCountdownTimer);
    model_.Close();
}

UserWaveLoadEnvironment UserWaveDlg::Environment() {
    return {.ui = ui_,
            .keys = session_.Keys(),
            .languageIndex = session_.Language(),
            .appTitle = kAppTitle,
            .progress = [this](uint64_t position, uint64_t maximum) {
                const auto step = maximum ? static_cast<WPARAM>(position * 200 / maximum) : 0;
                SendMessageW(Control(kProgress), PBM_SETPOS, step, 0);
                UpdateWindow(Control(kProgress));
            }};
}

// A load: hourglass, Open and Close disabled, the progress bar over the info line.
void UserWaveDlg::ShowLoading(bool loading) {
    static const HCURSOR wait = LoadCursorW(nullptr, MAKEINTRESOURCEW(32514));  // IDC_WAIT
    static const HCURSOR arrow = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    SetCursor(loading ? wait : arrow);
    EnableWindow(Control(kOpen), !loading);
    EnableWindow(Control(kClose), !loading);
    SendMessageW(Control(kProgress), PBM_SETPOS, 0, 0);
    ShowWindow(Control(kProgress), loading ? SW_SHOWNA : SW_HIDE);
    ShowWindow(Control(kInfo), loading ? SW_HIDE : SW_SHOWNA);
    if (loading) {
        points_ = {};
        InvalidateRect(preview_.Hwnd(), nullptr, FALSE);
        UpdateWindow(Hwnd());
    }
}

void UserWaveDlg::ShowState() {
    const Showing showing(*this);
    // The path shortened to the field (two pixels to spare), in the field's own font.
    const HWND field = Control(kFileName);
    RECT room{};
    GetClientRect(field, &room);
    std::wstring path = Utf8ToWide(model_.Path());
    path.resize(path.size() + MAX_PATH, L'\0');
    {
        const WindowDc dc(field);
        const Selection font(dc, reinterpret_cast<HFONT>(SendMessageW(field, WM_GETFONT, 0, 0)));
        PathCompactPathW(dc, path.data(), static_cast<UINT>(room.right - 2));
    }
    SetWindowTextW(field, path.c_str());
    SetWindowTextW(Control(kInfo), Utf8ToWide(model_.InfoLine()).c_str());
    const int left = model_.Countdown();
    SetWindowTextW(Control(kCountdown), left > 0 ? std::to_wstring(left).c_str() : L"");
    const auto showList = [&](int id, const UserWaveDialog::List& list) {
        const HWND box = Control(id);
        SendMessageW(box, CB_RESETCONTENT, 0, 0);
        for (const UserWaveItem& item : list.items)
            SendMessageW(box, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(Utf8ToWide(item.text).c_str()));
        SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(list.selected), 0);
        EnableWindow(box, list.enabled);
        ShowWindow(box, list.visible ? SW_SHOWNA : SW_HIDE);
    };
    showList(kChannel, model_.Channels());
    showList(kModSignal, model_.ModSignals());
    ShowWindow(Control(kModLabel), model_.ModSignals().visible ? SW_SHOWNA : SW_HIDE);
}

// After a load only: a long wave takes a while to lay out, and the countdown redraws every second.
void UserWaveDlg::ShowPreview() {
    RECT plot{};
    GetClientRect(preview_.Hwnd(), &plot);
    points_ = BuildUserWavePreview(session_.Gen().userWaves[master_ / 4], plot.right, plot.bottom,
                                   session_.Fft());
    InvalidateRect(preview_.Hwnd(), nullptr, FALSE);
}

void UserWaveDlg::Choose(const std::string& path) {
    ShowLoading(true);
    model_.Choose(path, Environment());
    ShowLoading(false);
    ShowState();
    ShowPreview();
}

bool UserWaveDlg::OnCommand(int id, int code) {
    if (id == kOpen && code == BN_CLICKED) {
        OpenFile();
    } else if (id == kChannel && code == CBN_SELCHANGE) {
        model_.SelectChannel(static_cast<int>(SendMessageW(Control(id), CB_GETCURSEL, 0, 0)));
    } else if (id == kModSignal && code == CBN_SELCHANGE) {
        model_.SelectModSignal(static_cast<int>(SendMessageW(Control(id), CB_GETCURSEL, 0, 0)));
    }
    return false;
}

void UserWaveDlg::OpenFile() {
    const int lang = session_.Language();
    const std::wstring title = Utf8ToWide(kRegisterUserWaveTitle(lang));
    const std::wstring waves = Utf8ToWide(kFilterWaveFiles(lang));
    const std::wstring texts = Utf8ToWide(kFilterTextFiles(lang));
    std::string path = model_.Path();
    if (AskFile(Hwnd(), false, title.c_str(),
                {waves.c_str(), L"*.WAV", L"WAV", texts.c_str(), L"*.QVT"},
                session_.Settings().lastDirectory, path))
        Choose(path);
}

void UserWaveDlg::OnDrop(HDROP drop) {
    const std::string path = TakeDroppedFile(drop, kMaxDroppedPath);
    if (!path.empty() && !model_.Loading())
        Choose(path);
}

} // namespace qv
