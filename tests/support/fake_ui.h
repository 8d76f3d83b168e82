// Test doubles for the user interface: messages are recorded, answers and keys are scripted.
#pragma once

#include "platform/key_state.h"
#include "platform/ui.h"

#include <string>
#include <vector>

namespace qv::test {

struct RecordedMessage {
    std::string text, caption;
    MsgIcon icon;
    bool ownedByMain;
};

class RecordingUi final : public Ui {
public:
    MsgResult Message(const std::string& text, const std::string& caption, MsgIcon icon,
                      MsgButtons buttons, bool ownedByMain) override {
        messages.push_back({text, caption, icon, ownedByMain});
        return buttons == MsgButtons::Ok ? MsgResult::Ok : answer;
    }
    void Beep() override { ++beeps; }
    void PumpMessages() override { ++pumps; }
    std::vector<RecordedMessage> messages;
    MsgResult answer = MsgResult::Ok; // to every question
    int beeps = 0, pumps = 0;
};

// Escape goes down once it has been asked about escapeAfter times.
class ScriptedKeys final : public KeyState {
public:
    explicit ScriptedKeys(int escapeAfter = -1) : escapeAfter_(escapeAfter) {}
    bool ShiftDown() const override { return false; }
    bool CtrlDown() const override { return false; }
    bool EscapeDown() const override { return escapeAfter_ >= 0 && ++asked_ >= escapeAfter_; }

private:
    int escapeAfter_;
    mutable int asked_ = 0;
};

} // namespace qv::test
