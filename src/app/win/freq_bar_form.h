// "TFreqBarForm": the frequency bar, a slim always-on-top window with a long slider over the
// whole band that glides Wave1 (and Wave5 while synchronised), a scale above the slider, and
// sweep buttons that move Wave1 up or down the band on a timer. A view of the session's bar.
#pragma once

#include "app/freq_bar.h"
#include "app/freq_bar_layout.h"
#include "app/program_session.h"
#include "platform/win/gdi.h"
#include "platform/win/hints.h"
#include "platform/win/layout_controls.h"
#include "platform/win/window.h"

namespace qv {

class FreqBarForm final : public WindowBase, private SessionView {
public:
    // defaultPlace: left, top and width of the first showing when QV.INI keeps no place.
    FreqBarForm(HINSTANCE instance, HWND mainWindow, HFONT font, ProgramSession& session,
                RECT defaultPlace);
    ~FreqBarForm() override;

    HWND Window() const { return Hwnd(); }
    HWND Slider() const { return controls_.Find(FreqBarIds::kSlider); }
    // Comes up where it was last (inside the work area) over the band of the output format.
    void Show();
    // Keeps its place and goes out of sight.
    void Hide();
    // Its place to the settings while it is shown (the program is ending).
    void KeepPlace();
    // Escape closes, Page Up and Page Down move the slider a page, F1 opens the help, the wheel
    // over the bar steps Wave1; true when the message was taken.
    bool PreTranslate(const MSG& msg);

private:
    void SessionChanged(const SessionChanges& changes) override;
    void BuildControls();
    void DpiChanged() override;
    void Relayout();
    // The band and the slider's range and place over it, and the scale (RefreshBar).
    void Refresh();
    // The slider at Wave1's frequency, without acting on the move (SetBarFrequency).
    void ShowFrequency();
    void ShowSweep();
    void ShowSync();
    void OnCommand(int id, int code);
    void OnScroll(HWND control);
    void MoveSlider(int32_t by);
    void OpenSyncWindow();
    void Paint(HDC dc);
    LRESULT HitTest(const WindowMessage& m);
    void RecordPlace();

    HINSTANCE instance_;
    ProgramSession& session_;
    FreqBar& bar_;
    HFONT baseFont_;
    UINT fontDpi_;
    Font scaledFont_;
    LayoutControls controls_;
    Hints hints_;
    AxisScale scale_;
    bool updating_ = false; // the program moves the slider (updatingBar)
    bool ticking_ = false;
};

} // namespace qv
