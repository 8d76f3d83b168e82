// The base of every window of the program: the object is bound to its handle while the window
// is being created, messages reach the handlers registered for them (the rest the system's
// default), and the window keeps the one DPI it is laid out for, following WM_DPICHANGED.
#pragma once

#include "platform/window_layout.h"

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace qv {

struct WindowMessage {
    UINT id;
    WPARAM w;
    LPARAM l;
};

// The DPI a window is shown at (the system's per-window value where it has one, else the
// screen's).
UINT DpiOf(HWND hwnd);

// Registers a window class of this program once: the arrow cursor and, unless the window paints
// all of itself, the button face behind it.
void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc,
                         bool buttonFace = true, HICON icon = nullptr, UINT classStyle = 0);

class WindowBase {
public:
    WindowBase() = default;
    virtual ~WindowBase();
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    HWND Hwnd() const { return hwnd_; }
    UINT Dpi() const { return dpi_; }
    // 96-DPI pixels at this window's DPI.
    int Scale(int px) const { return MulDiv(px, static_cast<int>(dpi_), 96); }
    RECT Scale(const LayoutRect& r) const {
        return {Scale(r.x), Scale(r.y), Scale(r.x + r.w), Scale(r.y + r.h)};
    }

protected:
    struct Blueprint {
        const wchar_t* className;
        DWORD style;
        DWORD exStyle = 0;
        HWND parent = nullptr; // the parent of a child window, the owner of a popup
        int id = 0;            // a child window's control id
        const wchar_t* title = L"";
        RECT place = {CW_USEDEFAULT, CW_USEDEFAULT, 100, 100}; // left, top, width, height
        HICON icon = nullptr;
        bool buttonFace = true; // the class background
        UINT classStyle = 0;    // CS_DBLCLKS for a window that takes double-clicks
    };
    // Creates the window; the handlers registered so far already see its first messages.
    bool CreateWindowOf(HINSTANCE instance, const Blueprint& plan);

    using Handler = std::function<LRESULT(const WindowMessage&)>;
    // The handler of a message (a later one for the same message replaces it).
    void On(UINT message, Handler handler);
    LRESULT Default(const WindowMessage& m) const { return DefWindowProcW(hwnd_, m.id, m.w, m.l); }
    // After WM_DPICHANGED has set the new DPI and the suggested place: lay the window out again
    // and make its fonts anew.
    virtual void DpiChanged() {}
    // A child window follows its top-level window's DPI, which tells it.
    void SetDpi(UINT dpi) { dpi_ = dpi; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
    LRESULT Dispatch(const WindowMessage& m);

    HWND hwnd_ = nullptr;
    UINT dpi_ = 96;
    std::vector<std::pair<UINT, Handler>> handlers_;
};

} // namespace qv
