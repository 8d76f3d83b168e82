// The driver types' device lists and the switch between types.
#include "engine/wave_play_rec.h"

namespace qv {

void WavePlayRec::AttachCatalog(DriverCatalog* catalog) {
    catalog_ = catalog;
    if (EnumerateDevices(true) == EngineOutcome::Failed) {
        settings_.driverType = PlayDriverType::Mme;
        (void)EnumerateDevices(true); // MME's failure is in the error text
    }
}

EngineOutcome WavePlayRec::EnumerateDevices(bool clearFlags) {
    if (clearFlags) {
        errorText.Clear();
        driverFailed_ = false;
    }
    if (catalog_ != nullptr) {
        if (catalog_->Enumerate(settings_.driverType, errorText))
            driverFailed_ = true;
        device_ = catalog_->DeviceFor(settings_.driverType);
    }
    return driverFailed_ ? EngineOutcome::Failed : EngineOutcome::Done;
}

int WavePlayRec::GetDeviceCount(bool input) const {
    return catalog_ ? catalog_->Count(settings_.driverType, input) : 0;
}

std::string WavePlayRec::GetDeviceName(int entry, bool input) const {
    return catalog_ ? catalog_->Name(settings_.driverType, entry, input) : std::string();
}

EngineOutcome WavePlayRec::SetDriverType(PlayDriverType type) {
    if (type == settings_.driverType || static_cast<int>(type) < 0)
        return EngineOutcome::Done;
    if (PlaybackRunning() || catalog_ == nullptr)
        return EngineOutcome::Failed;
    catalog_->Release(settings_.driverType);
    ringBlock_.reset(); // the next preparation sizes it for the new type's device
    const PlayDriverType old = settings_.driverType;
    settings_.driverType = type;
    if (EnumerateDevices(true) == EngineOutcome::Done)
        return EngineOutcome::Done;
    catalog_->Release(type);
    settings_.driverType = old;
    (void)EnumerateDevices(false); // the failed attempt's text stays
    return EngineOutcome::Failed;
}

} // namespace qv
