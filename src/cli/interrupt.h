// Ctrl-C and termination requests during a write: noted by a signal handler and seen by the
// writer as the Escape key, so the file ends after the current block with a header that matches
// its data, as a write cancelled in the program does.
#pragma once

#include "platform/key_state.h"

namespace qv {

// Installs the handlers for SIGINT and SIGTERM (and SIGHUP, SIGBREAK where they exist).
void CatchInterrupts();

// The signal that arrived since CatchInterrupts, or 0.
int InterruptSignal();

// The keys of a write, with Escape down once a signal has arrived.
class InterruptibleKeys final : public KeyState {
public:
    explicit InterruptibleKeys(const KeyState& keys) : keys_(keys) {}
    bool ShiftDown() const override { return keys_.ShiftDown(); }
    bool CtrlDown() const override { return keys_.CtrlDown(); }
    bool EscapeDown() const override { return InterruptSignal() != 0 || keys_.EscapeDown(); }

private:
    const KeyState& keys_;
};

} // namespace qv
