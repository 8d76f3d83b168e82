// The ASIO drivers installed on this system, in the order the registry lists them under
// HKEY_LOCAL_MACHINE\software\asio: each sub-key names a class whose in-process server must be
// registered with an existing file, or the driver is left out. An entry's name is the key's
// "description", else the key's own name.
#pragma once

#include "engine/win/asio_interface.h"

#include <string>
#include <vector>

#include <windows.h>

namespace qv {

class AsioDriverList {
public:
    struct Entry {
        CLSID clsid{};    // all zero when the registry's text does not parse
        std::string name; // UTF-8, at most 127 characters
    };

    // Reads the registry anew.
    void Build();
    void Clear() { entries_.clear(); }
    int Count() const { return static_cast<int>(entries_.size()); }
    const Entry& At(int i) const { return entries_[static_cast<size_t>(i)]; }
    // Creates the driver object of an entry (its class id is also the interface asked for);
    // null when the class cannot be created.
    asio::Driver* Create(int i) const;

private:
    std::vector<Entry> entries_;
};

} // namespace qv
