// Messages of a headless run go to standard error; questions take their default answer.
#pragma once

#include "platform/ui.h"

namespace qv {

class ConsoleUi final : public Ui {
public:
    MsgResult Message(const std::string& text, const std::string& caption, MsgIcon icon,
                      MsgButtons buttons, bool ownedByMain) override;
    void Beep() override {}
    int MessagesShown() const { return shown_; }

private:
    int shown_ = 0;
};

} // namespace qv
