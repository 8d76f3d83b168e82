// The DirectSound device lists as the device dialog shows them: entry i is the i-th device of
// the system's enumeration, so entry 0 is the primary sound driver (the system default, given
// without an identifier). At most 30 devices of each direction are kept.
#pragma once

#include "engine/error_text.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class DsDeviceList {
public:
    static constexpr int kMaxDevices = 30;
    static constexpr int kMaxNameChars = 70;

    // Enumerates the output and the capture devices. Leaves the message of a missing direction
    // in errorText (each message overwrites the last); true ("failed") when both are missing.
    bool Enumerate(ErrorText& errorText);

    int OutCount() const { return int(out_.size()); }
    int InCount() const { return int(in_.size()); }
    // The devices beyond the primary driver, which the dialog lists as entry 0.
    int Count(bool input) const {
        const int n = input ? InCount() : OutCount();
        return n > 0 ? n - 1 : 0;
    }
    // A device's description in UTF-8, at most 70 characters; empty beyond the list.
    std::string Name(int entry, bool input) const;
    // The 16 bytes of an output device's identifier (all zero for the primary driver); null
    // beyond the list.
    const std::array<uint8_t, 16>* Guid(int entry) const;

    struct Entry {
        std::array<uint8_t, 16> guid{};
        std::string name;
    };

private:
    std::vector<Entry> out_;
    std::vector<Entry> in_;
};

} // namespace qv
