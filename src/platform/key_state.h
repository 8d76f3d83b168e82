// Asynchronous key state (key down at this moment), polled during writes and on clicks.
#pragma once

namespace qv {

class KeyState {
public:
    virtual ~KeyState() = default;
    virtual bool ShiftDown() const = 0;
    virtual bool CtrlDown() const = 0;
    virtual bool EscapeDown() const = 0;
};

// No key is ever down: the state of a headless run.
class NoKeysDown final : public KeyState {
public:
    bool ShiftDown() const override { return false; }
    bool CtrlDown() const override { return false; }
    bool EscapeDown() const override { return false; }
};

// Ctrl held for the whole run (a headless Write with Ctrl: the oversampled file).
class CtrlHeld final : public KeyState {
public:
    bool ShiftDown() const override { return false; }
    bool CtrlDown() const override { return true; }
    bool EscapeDown() const override { return false; }
};

} // namespace qv
