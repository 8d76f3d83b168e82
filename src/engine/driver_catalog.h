// The device lists of the four driver types as the platform finds them, and the device path
// that plays through each. The engine keeps one current type; switching builds the new type's
// lists and falls back to the old type when the new one finds nothing to play on.
#pragma once

#include "engine/device.h"
#include "engine/error_text.h"

#include <string>

namespace qv {

class DriverCatalog {
public:
    virtual ~DriverCatalog() = default;
    // The start-up tests allow the type on this system (DirectX 7, the system version, ...).
    virtual bool SystemOffers(PlayDriverType) const { return true; }
    // Builds the lists of type, writing each problem into text (a later one overwrites an
    // earlier one: "No Wave Input device" on a machine without inputs stays there without
    // failing). True when the type cannot play: it failed.
    virtual bool Enumerate(PlayDriverType type, ErrorText& text) = 0;
    // Entries as the type counts them (MME and DirectSound: devices without the mapper or
    // primary driver, which the device list shows as entry 0).
    virtual int Count(PlayDriverType type, bool input) const = 0;
    // The name of a device list entry.
    virtual std::string Name(PlayDriverType type, int entry, bool input) const = 0;
    // The path that plays through type; null when this build has none.
    virtual Device* DeviceFor(PlayDriverType type) = 0;
    // Lets go of what the type's lists hold (a driver switch).
    virtual void Release(PlayDriverType type) = 0;
};

} // namespace qv
