#include "platform/win/window.h"

namespace qv {

UINT DpiOf(HWND hwnd) {
    using GetDpi = UINT(WINAPI*)(HWND);
    static const auto get = reinterpret_cast<GetDpi>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (get && hwnd) {
        if (const UINT dpi = get(hwnd); dpi > 0)
            return dpi;
    }
    const HDC dc = GetDC(hwnd);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(hwnd, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, bool buttonFace,
                         HICON icon, UINT classStyle) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, name, &wc))
        return;
    wc = {};
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // the arrow
    wc.hbrBackground = buttonFace ? reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1) : nullptr;
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

WindowBase::~WindowBase() {
    // The derived object is gone: its handlers must not see the destruction.
    handlers_.clear();
    if (hwnd_ && IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool WindowBase::CreateWindowOf(HINSTANCE instance, const Blueprint& plan) {
    RegisterWindowClass(instance, plan.className, Proc, plan.buttonFace, plan.icon,
                        plan.classStyle);
    if (plan.parent)
        dpi_ = DpiOf(plan.parent);
    const RECT& p = plan.place;
    const HWND h = CreateWindowExW(
        plan.exStyle, plan.className, plan.title, plan.style, p.left, p.top, p.right, p.bottom,
        plan.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(plan.id)), instance, this);
    if (h && !plan.parent)
        dpi_ = DpiOf(h);
    return h != nullptr;
}

void WindowBase::On(UINT message, Handler handler) {
    for (auto& [id, h] : handlers_) {
        if (id == message) {
            h = std::move(handler);
            return;
        }
    }
    handlers_.emplace_back(message, std::move(handler));
}

LRESULT WindowBase::Dispatch(const WindowMessage& m) {
    if (m.id == WM_DPICHANGED) {
        dpi_ = HIWORD(m.w);
        const auto* suggested = reinterpret_cast<const RECT*>(m.l);
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        DpiChanged();
        return 0;
    }
    for (const auto& [id, handler] : handlers_) {
        if (id == m.id)
            return handler(m);
    }
    return Default(m);
}

LRESULT CALLBACK WindowBase::Proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, message, w, l);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        const LRESULT result = self->Dispatch({message, w, l});
        self->hwnd_ = nullptr;
        return result;
    }
    return self->Dispatch({message, w, l});
}

} // namespace qv
