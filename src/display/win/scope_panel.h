// The main window's lower panel: the display-channel box and the eight level meters in a strip
// at its top, and below them the oscilloscope (frame, time and level labels, dotted grid, the
// two traces), drawn off-screen and copied onto the screen in one operation.
#pragma once

#include "display/scope_view.h"
#include "platform/win/gdi.h"
#include "platform/win/layout_controls.h"
#include "platform/win/window.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace qv {

struct ScopeColors {
    COLORREF back, diagramBack, frame, scale, lineL, lineR, chars;
};

class ScopePanel final : public WindowBase {
public:
    ScopePanel(HINSTANCE instance, HWND parent, HFONT font, int languageIndex,
               const ScopeColors& colors);
    ~ScopePanel() override;

    // The panel's place in the parent's client area at the parent's DPI (with its font); the
    // oscilloscope takes what the strip leaves.
    void Place(const RECT& area, int dpi, HFONT font = nullptr);
    // The shown frames and format changed: n frames at rate, channels outputs.
    void Relayout(int32_t n, double rate, bool eightBit, int channels, const FftApi& api);
    // Draws what the view holds now (after an update, a clear or a magnification change).
    void Redraw();

    ScopeView& View() { return view_; }
    double Rate() const { return rate_; }
    // The display-channel box (its notifications reach the parent with this id).
    HWND ChannelBox() const;
    static constexpr int kChannelBoxId = 2200;
    // The picture last drawn (for the tests: the oscilloscope's pixels).
    HBITMAP Picture() const { return picture_; }
    HWND Meter(int channel) const;
    // Told after the right button's menu has changed a magnification.
    std::function<void()> magnificationChanged;

private:
    class Scope;
    void Render();
    void ShowMeters();
    void ShowMenu(POINT at);

    HINSTANCE instance_;
    HFONT font_;
    Font labelFont_;
    ScopeColors colors_;
    LayoutControls strip_;
    std::unique_ptr<Scope> scope_;
    Brush backBrush_, redBrush_;
    Bitmap picture_;
    int scopeWidth_ = 1, scopeHeight_ = 1, channels_ = 2;
    int32_t n_ = 4096;
    double rate_ = 44100;
    bool eightBit_ = false;
    const FftApi* api_ = nullptr;
    ScopeView view_;
};

} // namespace qv
