// The MME device lists as the device dialog shows them: entry 0 is the system's mapper,
// entry i is device i - 1. Only counts are kept; names are asked for when they are shown.
#pragma once

#include "engine/error_text.h"

#include <string>

namespace qv {

class MmeDeviceList {
public:
    // Counts the output and input devices. Leaves the message of a missing direction in
    // errorText (each message overwrites the last); true ("failed") when both are missing.
    bool Enumerate(ErrorText& errorText);

    int OutCount() const { return outCount_; }
    int InCount() const { return inCount_; }
    int Count(bool input) const { return input ? inCount_ : outCount_; }

    // The name of a list entry: "Wave Mapper" for 0, else the device's own name (empty when
    // the system cannot tell it).
    std::wstring Name(int index, bool input) const;
    std::string NameUtf8(int index, bool input) const;

private:
    int outCount_ = 0;
    int inCount_ = 0;
};

} // namespace qv
