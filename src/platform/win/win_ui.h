// The core's user interaction on Windows: message boxes (wide-character, so Japanese shows on
// any code page), the beep, the one message pump every long operation of the main thread uses,
// and the asynchronous key state.
#pragma once

#include "platform/key_state.h"
#include "platform/ui.h"

#include <windows.h>

namespace qv {

// Lets the queued messages of the calling thread run (paint, keys, the engine's steps).
void PumpWindowMessages();

class WinUi final : public Ui {
public:
    // Boxes owned by the main window are owned by owner (which may be set later).
    explicit WinUi(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    MsgResult Message(const std::string& text, const std::string& caption, MsgIcon icon,
                      MsgButtons buttons = MsgButtons::Ok, bool ownedByMain = true) override;
    void Beep() override;
    void PumpMessages() override { PumpWindowMessages(); }

private:
    HWND owner_;
};

class WinKeyState final : public KeyState {
public:
    bool ShiftDown() const override { return Down(VK_SHIFT); }
    bool CtrlDown() const override { return Down(VK_CONTROL); }
    bool EscapeDown() const override { return Down(VK_ESCAPE); }

private:
    static bool Down(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }
};

} // namespace qv
