// The hints of a window's controls: one tooltip window per window, a text per control.
#pragma once

#include <windows.h>

#include <string>

namespace qv {

class Hints {
public:
    Hints() = default;
    Hints(const Hints&) = delete;
    Hints& operator=(const Hints&) = delete;

    // The hint of control (a child of parent); the tooltip window is made on the first one and
    // goes with owner.
    void Add(HWND owner, HWND parent, HWND control, const std::string& text);
    // A new text for a control's hint.
    void Update(HWND parent, HWND control, const std::string& text);
    HWND Window() const { return tooltip_; }

private:
    HWND tooltip_ = nullptr;
};

} // namespace qv
