// The driver types as this Windows build has them: MME plays through waveOut; DirectSound,
// ASIO and WASAPI are tested for (DirectX 7, the system version, Avrt.dll) and report that
// this version cannot play through them.
#pragma once

#include "engine/driver_catalog.h"
#include "engine/win/mme_device.h"
#include "engine/win/mme_device_list.h"
#include "engine/win/platform_probe.h"

namespace qv {

class Ui;

class WinDriverCatalog final : public DriverCatalog {
public:
    // Runs the engine's start-up tests: DirectX 7, the system version, and, on a system with
    // WASAPI, Avrt.dll. An Avrt failure keeps its message, which a switch to WASAPI reports;
    // everything else goes on without it.
    explicit WinDriverCatalog(Ui& ui);

    bool Enumerate(PlayDriverType type, ErrorText& text) override;
    int Count(PlayDriverType type, bool input) const override;
    std::string Name(PlayDriverType type, int entry, bool input) const override;
    Device* DeviceFor(PlayDriverType type) override;
    void Release(PlayDriverType type) override;

    bool HasDirectX7() const { return hasDirectX7_; }
    bool OsHasWasapi() const { return osHasWasapi_; }
    const AvrtLibrary& Avrt() const { return avrt_; }
    // Empty unless Avrt.dll or one of its entries was missing.
    const char* AvrtMessage() const { return avrtMessage_.Get(); }

private:
    bool hasDirectX7_ = false;
    bool osHasWasapi_ = false;
    AvrtLibrary avrt_;
    ErrorText avrtMessage_;
    MmeDeviceList mmeList_;
    MmeDevice mme_{mmeList_};
};

// The driver combo box's text of a type.
const char* DriverTypeName(PlayDriverType type);

} // namespace qv
