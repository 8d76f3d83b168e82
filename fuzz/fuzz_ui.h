// The user interface of the fuzz targets: messages are counted, questions get a fixed answer.
#pragma once

#include "platform/ui.h"

#include <string>

namespace qv::fuzz {

class CountingUi final : public Ui {
public:
    explicit CountingUi(MsgResult answer = MsgResult::Yes) : answer_(answer) {}
    MsgResult Message(const std::string&, const std::string&, MsgIcon, MsgButtons buttons,
                      bool) override {
        ++messages;
        return buttons == MsgButtons::YesNoCancel ? answer_ : MsgResult::Ok;
    }
    void Beep() override {}
    int messages = 0;

private:
    MsgResult answer_;
};

} // namespace qv::fuzz
