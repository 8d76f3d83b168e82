// The driver types as this Windows build has them: a row per type, MME with its path through
// waveOut, DirectSound (once DirectX 7 is found) through a secondary buffer, ASIO through the
// installed drivers' COM objects, WASAPI (on a system that has it, with Avrt.dll) in exclusive
// mode.
#pragma once

#include "engine/driver_table.h"
#include "engine/win/platform_probe.h"

namespace qv {

class Ui;

class WinDriverCatalog final : public DriverTable {
public:
    // Runs the engine's start-up tests: DirectX 7, the system version, and, on a system with
    // WASAPI, Avrt.dll. An Avrt failure keeps its message, which a switch to WASAPI reports;
    // everything else goes on without it.
    explicit WinDriverCatalog(Ui& ui);

    bool HasDirectX7() const { return hasDirectX7_; }
    bool OsHasWasapi() const { return osHasWasapi_; }
    const AvrtLibrary& Avrt() const { return avrt_; }
    // Empty unless Avrt.dll or one of its entries was missing.
    const char* AvrtMessage() const { return avrtMessage_.Get(); }

private:
    WinDriverCatalog(Ui& ui, bool hasDirectX7, bool osHasWasapi);
    std::vector<DriverRow> Rows();

    Ui& ui_;
    bool hasDirectX7_;
    bool osHasWasapi_;
    AvrtLibrary avrt_;
    ErrorText avrtMessage_;
};

} // namespace qv
