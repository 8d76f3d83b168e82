// The main window's lower panel: the display-channel box and the eight level meters in a strip
// at its top, and below them the oscilloscope (frame, time and level labels, dotted grid, the
// two traces), drawn off-screen and copied onto the screen in one operation.
#pragma once

#include "display/scope_view.h"

#include <windows.h>

#include <array>
#include <string>
#include <vector>

namespace qv {

struct ScopeColors {
    COLORREF back, diagramBack, frame, scale, lineL, lineR, chars;
};

class ScopePanel {
public:
    ScopePanel(HINSTANCE instance, HWND parent, HFONT font, int languageIndex,
               const ScopeColors& colors);
    ~ScopePanel();
    ScopePanel(const ScopePanel&) = delete;
    ScopePanel& operator=(const ScopePanel&) = delete;

    // The panel's place in the parent's client area; the oscilloscope takes what the strip
    // leaves.
    void Place(const RECT& area, int dpi);
    // The shown frames and format changed: n frames at rate, channels outputs.
    void Relayout(int32_t n, double rate, bool eightBit, int channels, const FftApi& api);
    // Draws what the view holds now (after an update, a clear or a magnification change).
    void Redraw();

    ScopeView& View() { return view_; }
    double Rate() const { return rate_; }
    // The display-channel box (its notifications reach the parent with this id).
    HWND ChannelBox() const { return channelBox_; }
    static constexpr int kChannelBoxId = 2200;
    // The picture last drawn (for the tests: the oscilloscope's pixels).
    HBITMAP Picture() const { return picture_; }
    HWND Meter(int channel) const { return meters_[channel]; }

private:
    static LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
    static LRESULT CALLBACK ScopeProc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
    void Render();
    void ShowMeters();
    void ShowMenu(POINT at);

    HINSTANCE instance_;
    HFONT font_;
    HFONT labelFont_ = nullptr;
    int language_;
    ScopeColors colors_;
    HWND panel_ = nullptr, scope_ = nullptr, label_ = nullptr, channelBox_ = nullptr;
    std::array<HWND, 8> meters_{};
    HBRUSH backBrush_ = nullptr, redBrush_ = nullptr;
    HBITMAP picture_ = nullptr;
    int scopeWidth_ = 1, scopeHeight_ = 1, channels_ = 2, dpi_ = 96;
    int32_t n_ = 4096;
    double rate_ = 44100;
    bool eightBit_ = false;
    const FftApi* api_ = nullptr;
    ScopeView view_;
};

} // namespace qv
