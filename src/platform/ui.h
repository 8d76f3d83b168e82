// User interaction seen by the portable core: message boxes, questions and the beep.
// The Windows program implements it with MessageBoxW; tests and qvrender use fakes.
#pragma once

#include <string>

namespace qv {

enum class MsgIcon { Warning, Question, Information, Error };

enum class MsgButtons { Ok, YesNo, YesNoCancel };

enum class MsgResult { Ok, Yes, No, Cancel };

class Ui {
public:
    virtual ~Ui() = default;
    // text and caption are UTF-8; ownedByMain is false for boxes shown without an owner window.
    virtual MsgResult Message(const std::string& text, const std::string& caption, MsgIcon icon,
                              MsgButtons buttons = MsgButtons::Ok, bool ownedByMain = true) = 0;
    virtual void Beep() = 0;
    // Lets queued window messages run (paint, keys) during a long operation on the UI thread.
    virtual void PumpMessages() {}
};

} // namespace qv
